#include "cli/DownloadArguments.h"
#include "devices/galileo/GalileoDownload.h"
#include "flight/DayCount.h"

#include <ostream>

namespace quorvanta::cli {

// The instrument's file names pilot and glider itself; only the competition
// details and the file's place come from the options or the settings.
int downloadGalileo(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  auto header = headerFromArguments(args, true);
  if (const auto* problems = std::get_if<std::string>(&header)) {
    err << *problems << "\n";
    return 2;
  }
  galileo::GalileoDownloadRequest request;
  request.device = args.option("--device");
  request.transcriptPath = args.option("--transcript");
  request.header = std::get<IgcHeaderValues>(std::move(header));
  request.now = localNow;
  const auto report = [&err](std::string_view line) { err << line << "\n"; };
  return reportOutcome(galileo::downloadGalileoTrack(request, report), out, err);
}

}  // namespace quorvanta::cli
