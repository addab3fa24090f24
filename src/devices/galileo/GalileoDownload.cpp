#include "devices/galileo/GalileoDownload.h"

#include <chrono>

#include "devices/LoopSessionHost.h"
#include "devices/SessionDriver.h"
#include "devices/galileo/GalileoSession.h"
#include "devices/port/EventLoop.h"

namespace quorvanta::galileo {

DownloadOutcome downloadGalileoTrack(const GalileoDownloadRequest& request,
                                     const std::function<void(std::string_view)>& report) {
  EventLoop loop;
  TVaComm port(loop);
  configurePort(port);
  port.setDeviceName(request.device);
  GalileoSession session;
  LoopSessionHost host(loop, request.transcriptPath, nullptr);
  SessionDriver driver(session, port, host);
  host.connect(driver);

  report("Track wird gelesen …");
  driver.run(session.readTrack());
  // The answer ends with half a second of quiet; the deadline only guards
  // against an instrument that never stops talking.
  const auto deadline = EventLoop::Clock::now() + std::chrono::hours(1);
  loop.runUntil([&] { return session.answersEvaluated() > 0 || !session.view().message.empty(); },
                deadline);
  port.Close();
  DownloadOutcome outcome;
  if (!session.view().message.empty()) {
    outcome.error = session.view().message;
  } else if (session.answersEvaluated() == 0) {
    outcome.error = "Die Übertragung wurde nicht abgeschlossen.";
  } else if (session.lines().empty()) {
    outcome.error = "Galileo antwortet nicht!";
  } else {
    report(std::to_string(session.lines().size()) + " Zeilen empfangen");
    outcome = session.writeFile(request.header, request.now());
  }
  return outcome;
}

}  // namespace quorvanta::galileo
