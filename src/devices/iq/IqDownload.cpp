#include "devices/BarogramDownload.h"
#include "devices/LoopSessionHost.h"
#include "devices/iq/IqPort.h"
#include "devices/iq/IqSession.h"
#include "flight/DayCount.h"

namespace quorvanta::iq {

namespace {

// The evaluation follows half a second after the last byte; this only
// guards against a dump that never ends.
constexpr auto TransferLimit = std::chrono::minutes(10);

void reportLines(const std::string& text, const ProgressReport& report) {
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    report(std::string_view(text).substr(from, end - from));
    from = end + 1;
  }
}

}  // namespace

std::optional<std::string> downloadBarogram(const BarogramDownloadRequest& request,
                                            BarographBuffer& buffer, const ProgressReport& report) {
  IqSession session(buffer);
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath,
                     [] { return "Bräuniger IQ " + isoDateTimeText(localNow()); });

  run.driver.run(session.openPort());
  const IqView& view = session.view();
  const auto failed = [&] { return !view.message.empty(); };
  const auto evaluated = [&] { return !view.checkBoxVisible; };
  if (!failed()) {
    report("Warte auf die Daten des Varios (Memo/Enter am Vario gedrückt halten) …");
    run.runFor([&] { return failed() || !view.bytesLabel.empty(); }, request.wait);
  }
  if (!failed() && !view.bytesLabel.empty()) {
    run.runFor([&] { return failed() || evaluated(); }, TransferLimit);
  }
  run.port.Close();
  if (failed()) return view.message;
  if (view.bytesLabel.empty()) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(request.wait).count();
    return "Das Vario hat innerhalb von " +
           (seconds == 1 ? std::string("einer Sekunde") : std::to_string(seconds) + " Sekunden") +
           " keine Daten gesendet.";
  }
  if (!evaluated()) return std::string("Die Übertragung wurde nicht abgeschlossen.");
  report(view.bytesLabel);
  if (!session.barogramTaken()) return view.checkLabel + "\n" + view.summary;
  reportLines(view.summary, report);
  return std::nullopt;
}

}  // namespace quorvanta::iq
