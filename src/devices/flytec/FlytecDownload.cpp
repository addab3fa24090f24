#include "devices/BarogramDownload.h"
#include "devices/LoopSessionHost.h"
#include "devices/flytec/FlytecPort.h"
#include "devices/flytec/FlytecSession.h"
#include "flight/DayCount.h"

namespace quorvanta::flytec {

namespace {

// Every answer ends with half a second of quiet; this only guards against a
// session that would not end.
constexpr auto TransferLimit = std::chrono::minutes(10);

}  // namespace

std::optional<std::string> downloadBarogram(const BarogramDownloadRequest& request,
                                            BarographBuffer& buffer, const ProgressReport& report) {
  FlytecSession session(buffer);
  LoopSessionRun run(session, configurePort, request.device, request.transcriptPath,
                     [] { return "Flytec 40XX " + isoDateTimeText(localNow()); });

  report("Verzeichnis und Speicher werden gelesen …");
  run.driver.run(session.readBarograph());
  const FlytecView& view = session.view();
  run.runFor([&] { return session.dataReady() || view.statusRed || !view.message.empty(); },
             TransferLimit);
  run.port.Close();
  if (!view.message.empty()) return view.message;
  if (!session.dataReady()) return view.status.empty() ? std::string("Flytec 40XX antwortet nicht!") : view.status;
  for (const std::string& line : view.flights) report(line);
  const int count = static_cast<int>(view.flights.size());
  if (count == 0) return std::string("Das Gerät hat keine Flüge gespeichert.");
  const int chosen = request.flight == 0 ? count : request.flight;
  if (chosen < 1 || chosen > count) {
    return "Flug " + std::to_string(chosen) + " gibt es nicht; das Gerät hat " +
           (count == 1 ? std::string("einen Flug") : std::to_string(count) + " Flüge") + " gespeichert.";
  }
  session.tickFlight(chosen - 1);
  session.takeOverFlight();
  if (!session.barogramTaken()) return session.view().message;
  report("Flug " + std::to_string(chosen) + " übernommen.");
  return std::nullopt;
}

}  // namespace quorvanta::flytec
