#include "devices/garmin/GarminDownload.h"

#include <algorithm>
#include <chrono>

#include "devices/LoopSessionHost.h"
#include "devices/garmin/GarminPort.h"
#include "devices/garmin/GarminSession.h"

namespace quorvanta::garmin {

namespace {

// Reports every tenth of the expected records.
class ProgressReport {
 public:
  explicit ProgressReport(const std::function<void(std::string_view)>& report) : report_(report) {}
  void operator()(const GarminView& view) {
    if (!view.progressVisible || view.progressMaximum <= 0) return;
    const int tenth = std::min(view.progress, view.progressMaximum) * 10 / view.progressMaximum;
    if (tenth == shown_) return;
    shown_ = tenth;
    report_("Übertragung: " + std::to_string(tenth * 10) + " %");
  }

 private:
  const std::function<void(std::string_view)>& report_;
  int shown_ = -1;
};

bool runUntil(LoopSessionRun& run, const GarminSession& session, const std::function<bool()>& done) {
  run.runFor([&] { return done() || !session.view().message.empty(); }, std::chrono::hours(2));
  return done();
}

DownloadOutcome failure(const GarminSession& session) {
  DownloadOutcome outcome;
  outcome.error = session.view().message.empty()
                      ? std::string("Die Übertragung wurde nicht abgeschlossen.")
                      : session.view().message;
  return outcome;
}

}  // namespace

DownloadOutcome downloadGarminFlight(const GarminDownloadRequest& request,
                                     const std::function<void(std::string_view)>& report) {
  GarminSession session;
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath,
                     [&request] { return transcriptFirstLine(request.now()); });

  report("Gerätetyp wird gelesen …");
  run.driver.run(session.readProductData());
  if (!runUntil(run, session, [&] { return session.productKnown(); })) return failure(session);
  report(session.unitDescription());

  ProgressReport progress(report);
  run.driver.run(session.readTracks());
  const bool complete = runUntil(run, session, [&] {
    progress(session.view());
    return session.trackLogComplete();
  });
  run.port.Close();
  if (!complete) return failure(session);
  report(session.view().statusLabel);
  if (!session.view().message.empty()) report(session.view().message);

  run.driver.run(session.showTrackList());
  for (std::size_t item = 0; item < session.view().trackItems.size(); ++item) {
    session.tickTrack(static_cast<int>(item), true);
  }
  session.showPointList();
  return session.writeFile(request.header, request.now());
}

}  // namespace quorvanta::garmin
