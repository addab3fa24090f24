#include "devices/pmlr/PmlrDownload.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "devices/LoopSessionHost.h"
#include "devices/pmlr/MlrSession.h"
#include "devices/pmlr/RenschlerSession.h"

namespace quorvanta::pmlr {

namespace {

// The index of `speed` among `speeds`, or nothing when it is not offered.
template <std::size_t N>
std::optional<int> speedIndex(const int (&speeds)[N], int speed) {
  const auto found = std::find(std::begin(speeds), std::end(speeds), speed);
  if (found == std::end(speeds)) return std::nullopt;
  return static_cast<int>(found - std::begin(speeds));
}

// Until the session has given up waiting ("Com Abbruch" hidden again by the
// evaluation or a lost port) or `done`.
void runUntilIdle(LoopSessionRun& run, const PmlrSession& session, const std::function<bool()>& done) {
  run.runFor(
      [&] { return done() || !session.view().abortButtonVisible || !session.view().message.empty(); },
      std::chrono::hours(2));
}

// What the window shows last: its message box, else the newest line of Memo1.
std::string shownFailure(const PmlrSession& session) {
  if (!session.view().message.empty()) return session.view().message;
  std::string_view memo = session.view().memo;
  while (memo.ends_with('\n')) memo.remove_suffix(1);
  const std::size_t lineStart = memo.rfind('\n');
  memo.remove_prefix(lineStart == std::string_view::npos ? 0 : lineStart + 1);
  return memo.empty() ? std::string("Die Übertragung wurde nicht abgeschlossen.") : std::string(memo);
}

DownloadOutcome failure(std::string message) { return {std::move(message), {}, {}}; }

std::string speedsText(const std::vector<int>& speeds) {
  std::string text;
  for (const int speed : speeds) {
    if (!text.empty()) text += ", ";
    text += std::to_string(speed);
  }
  return text;
}

}  // namespace

void configurePort(TVaComm& port) {
  port.setUserBaudrate(CommandSpeed);
  setLine8N1(port);  // DTR and RTS off
  TVaBuffers buffers;
  buffers.ReadTimeout = 10000;
  port.setBuffers(buffers);
}

DownloadOutcome downloadPmlrTrack(const PmlrDownloadRequest& request,
                                  const std::function<void(std::string_view)>& report) {
  std::unique_ptr<PmlrSession> owned;
  if (request.renschler) {
    auto renschler = std::make_unique<RenschlerSession>();
    renschler->setSpeedIndex(speedIndex(RenschlerSpeeds, request.speed).value_or(0));
    owned = std::move(renschler);
  } else {
    auto mlr = std::make_unique<MlrSession>();
    mlr->setSpeedIndices(speedIndex(MlrSpeeds, request.speed).value_or(0),
                         speedIndex(LogItSpeeds, request.speed).value_or(0));
    owned = std::move(mlr);
  }
  PmlrSession& session = *owned;
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath, nullptr);

  report("Seriennummer wird gelesen …");
  run.driver.run(session.readSerialNumber());
  runUntilIdle(run, session, [&session] { return session.identified(); });
  if (!session.identified() || !session.view().message.empty()) {
    run.port.Close();
    return failure(shownFailure(session));
  }
  report(session.aRecord());
  const std::vector<int> speeds = session.speedChoices();
  if (request.speed != 0 && std::find(speeds.begin(), speeds.end(), request.speed) == speeds.end()) {
    run.port.Close();
    return failure("Das Gerät sendet den Track nicht mit " + std::to_string(request.speed) +
                   " Baud, nur mit " + speedsText(speeds) + " Baud.");
  }

  // Each further request keeps the records received and fills the gaps.
  for (int attempt = 1; attempt <= MaxTrackRequests; ++attempt) {
    report(attempt == 1 ? "Track wird gelesen …" : "Fehlende Datensätze werden nachgelesen …");
    run.driver.run(session.readTrack());
    runUntilIdle(run, session, [] { return false; });
    if (!session.view().message.empty() || !session.evaluated() || session.trackComplete() ||
        session.view().saveButtonVisible) {
      break;
    }
    report(session.view().label2);
  }
  run.port.Close();
  const PmlrView& view = session.view();
  // Only a store overflow leaves a message with a track to save.
  if (!view.saveButtonVisible) {
    return failure(!view.message.empty() || view.label2.empty() ? shownFailure(session) : view.label2);
  }
  if (!view.message.empty()) report(view.message);
  report(std::to_string(session.store().pointCount()) + " Punkte empfangen");

  session.showPointList();
  if (request.window) session.setTimeWindow(request.window->start, request.window->end, request.window->date);
  return session.writeFile(request.header, request.now());
}

}  // namespace quorvanta::pmlr
