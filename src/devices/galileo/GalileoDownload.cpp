#include "devices/galileo/GalileoDownload.h"

#include <chrono>

#include "devices/LoopSessionHost.h"
#include "devices/galileo/GalileoSession.h"

namespace quorvanta::galileo {

DownloadOutcome downloadGalileoTrack(const GalileoDownloadRequest& request,
                                     const std::function<void(std::string_view)>& report) {
  GalileoSession session;
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath, nullptr);

  report("Track wird gelesen …");
  run.driver.run(session.readTrack());
  // The answer ends with half a second of quiet.
  run.runFor([&] { return session.answersEvaluated() > 0 || !session.view().message.empty(); },
             std::chrono::hours(1));
  run.port.Close();
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
