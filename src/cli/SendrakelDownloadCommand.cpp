#include "cli/DownloadArguments.h"
#include "devices/sendrakel/SendrakelDownload.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"

#include <ostream>

namespace quorvanta::cli {

// "--names logger" (the default) keeps the logger's pilot, glider and G
// record; "--names own" takes them from the options or the settings, and
// the file is signed by the program.
int downloadSendrakel(const DownloadArguments& args, std::ostream& out, std::ostream& err) {
  const std::string names = args.option("--names", "logger");
  const auto track = integerField(args.option("--track", "0"));
  const auto speed = integerField(args.option("--speed", "0"));
  if ((names != "logger" && names != "own") || !track || *track < 0 || !speed || *speed < 0 ||
      *speed > 4) {
    err << "--names logger|own, --track N (ab 1) und --speed 0..4 erwartet.\n";
    return 2;
  }
  const bool takeNames = names == "logger";
  auto header = headerFromArguments(args, takeNames);
  if (const auto* problems = std::get_if<std::string>(&header)) {
    err << *problems << "\n";
    return 2;
  }
  sendrakel::SendrakelDownloadRequest request;
  request.device = args.option("--device");
  request.transcriptPath = args.option("--transcript");
  request.header = std::get<IgcHeaderValues>(std::move(header));
  request.speedIndex = *speed;
  if (*track > 0) request.track = *track;
  request.takeNames = takeNames;
  request.now = localNow;
  const auto report = [&err](std::string_view line) { err << line << "\n"; };
  return reportOutcome(sendrakel::downloadSendrakelFlight(request, report), out, err);
}

}  // namespace quorvanta::cli
