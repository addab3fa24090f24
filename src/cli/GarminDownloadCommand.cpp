#include "cli/DownloadArguments.h"
#include "devices/garmin/GarminDownload.h"
#include "flight/DayCount.h"

#include <ostream>

namespace quorvanta::cli {

int downloadGarmin(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  auto header = headerFromArguments(args);
  if (const auto* problems = std::get_if<std::string>(&header)) {
    err << *problems << "\n";
    return 2;
  }
  garmin::GarminDownloadRequest request;
  request.device = args.option("--device");
  request.transcriptPath = args.option("--transcript");
  request.header = std::get<IgcHeaderValues>(std::move(header));
  request.now = localNow;
  const auto report = [&err](std::string_view line) { err << line << "\n"; };
  return reportOutcome(garmin::downloadGarminFlight(request, report), out, err);
}

}  // namespace quorvanta::cli
