#include <memory>
#include <ostream>

#include "cli/Commands.h"
#include "cli/DownloadArguments.h"
#include "cli/TimeShiftArgument.h"
#include "devices/BarogramDownload.h"
#include "flight/FieldText.h"
#include "flight/IgcWriter.h"

namespace quorvanta::cli {

namespace {

using Download = std::optional<std::string> (*)(const BarogramDownloadRequest&, BarographBuffer&,
                                                const ProgressReport&);

// Receives the barogram, merges it into the given flight as the main window
// does after the variometer's window has closed, and saves the flight.
int downloadBarogram(const DownloadArguments& args, Download download, Variometer instrument,
                     std::ostream& out, std::ostream& err) {
  const auto shift = parseTimeShift(args.option("--sync", "none"));
  const auto flight = integerField(args.option("--track", "0"));
  const auto wait = integerField(args.option("--wait", "120"));
  if (!shift || !flight || *flight < 0 || !wait || *wait < 1 || !args.has("--flight") || !args.has("-o")) {
    err << "Aufruf: quorvanta-cli download iq|flytec --device GERÄT --flight FLUG.igc -o AUSGABE.igc\n"
           "       [--sync start|end|none|±hh:mm:ss] [--track N (flytec)] [--wait SEKUNDEN (iq)]\n";
    return 2;
  }
  const auto record = loadFlight(args.option("--flight"), err);
  if (!record) return 1;
  BarogramDownloadRequest request;
  request.device = args.option("--device");
  request.transcriptPath = args.option("--transcript");
  request.wait = std::chrono::seconds(*wait);
  request.flight = *flight;
  auto buffer = std::make_unique<BarographBuffer>();
  const auto report = [&err](std::string_view line) { err << line << "\n"; };
  if (const auto failure = download(request, *buffer, report)) {
    err << *failure << "\n";
    return 1;
  }
  BaroZeiten(*record, *buffer, baroOffsetFor(shift->shift, *record, *buffer, shift->entered));
  record->ExtraHeaderLine = pressureSensorLine(instrument, buffer->BaroSerial);
  const std::string path = igcFileName(args.option("-o"));
  const SaveOutcome outcome = saveFlight(path, *record);
  if (outcome.error) {
    err << *outcome.error << "\n";
    return 1;
  }
  err << outcome.label.text << "\n";
  out << path << "\n";
  return 0;
}

}  // namespace

int downloadIq(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  return downloadBarogram(args, iq::downloadBarogram, Variometer::BraeunigerIq, out, err);
}

int downloadFlytec(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  return downloadBarogram(args, flytec::downloadBarogram, Variometer::Flytec40xx, out, err);
}

}  // namespace quorvanta::cli
