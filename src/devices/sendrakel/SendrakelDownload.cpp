#include "devices/sendrakel/SendrakelDownload.h"

#include <chrono>

#include "devices/LoopSessionHost.h"
#include "devices/garmin/GarminSession.h"
#include "devices/sendrakel/SendrakelSession.h"

namespace quorvanta::sendrakel {

namespace {

using namespace std::chrono_literals;

// Bytes arriving this long after an answer ended belong to it: a transfer
// that paused, which the session then refuses. A line lost just after its
// last byte is noticed within this time too, even on a busy machine.
constexpr auto LateBytes = 1500ms;

// Runs one request to the end of its answer; false with the session's
// message when the logger failed.
bool answered(LoopSessionRun& run, SendrakelSession& session) {
  const auto failed = [&] { return !session.view().message.empty(); };
  for (;;) {
    run.runFor([&] { return !session.answerPending() || failed(); }, 1h);
    if (failed()) return false;
    run.runFor([&] { return session.answerPending() || failed(); }, LateBytes);
    if (failed()) return false;
    if (!session.answerPending()) return true;
  }
}

DownloadOutcome failure(std::string message) { return {std::move(message), {}, {}}; }

}  // namespace

void configurePort(TVaComm& port) {
  port.setUserBaudrate(LineSpeed);
  setLine8N1(port);  // DTR and RTS off
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
}

DownloadOutcome downloadSendrakelFlight(const SendrakelDownloadRequest& request,
                                        const std::function<void(std::string_view)>& report) {
  SendrakelSession session;
  session.setSpeedIndex(request.speedIndex);
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath,
                     [&request] { return garmin::transcriptFirstLine(request.now()); });

  report("Status des Sendrakels wird gelesen …");
  run.driver.run(session.readStatus());
  if (!answered(run, session)) return failure(session.view().message);
  if (session.view().memo1.find("Sendrakel antwortet nicht") != std::string::npos) {
    run.port.Close();
    return failure("Der Sendrakel antwortet nicht.");
  }
  report("Tracks werden gelesen …");
  run.driver.run(session.readTracks());
  const bool complete = answered(run, session);
  run.port.Close();
  if (!complete) return failure(session.view().message);
  report(session.view().label1);
  if (!session.view().saveButtonVisible) return failure("Der Sendrakel hat keine Tracks gesendet.");

  session.showTrackList();
  const auto& items = session.view().trackItems;
  for (const std::string& item : items) report(item);
  const int count = static_cast<int>(items.size());
  const int chosen = request.track.value_or(count);
  if (chosen < 1 || chosen > count) {
    return failure("Track " + std::to_string(chosen) + " gibt es nicht; der Sendrakel hat " +
                   std::to_string(count) + " Tracks gesendet.");
  }
  session.tickTrack(chosen - 1, true);
  session.setTakeNames(request.takeNames);
  return session.writeFile(request.header, request.now());
}

}  // namespace quorvanta::sendrakel
