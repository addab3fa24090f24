#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "devices/garmin/GarminDownload.h"
#include "flight/DayCount.h"
#include "flight/IgcHeader.h"
#include "flight/IniSettings.h"

namespace quorvanta::cli {

namespace {

constexpr const char* DownloadUsage =
    "Aufruf: quorvanta-cli download garmin --device GERÄT [--out-dir VERZEICHNIS]\n"
    "         [--pilot TEXT] [--glider-type TEXT] [--glider-id TEXT] [--competition-id TEXT]\n"
    "         [--class TEXT] [--site TEXT] [--compid XXXX] [--transcript DATEI]\n";

struct DownloadArguments {
  std::string device, transcript;
  std::optional<std::string> outDir;
  IgcHeaderValues header;
};

bool parseDownloadArguments(const std::vector<std::string>& args, DownloadArguments& parsed) {
  if (args.empty() || args[0] != "garmin" || args.size() % 2 != 1) return false;
  parsed.header = readIgcHeader(readUserSettings());
  const std::map<std::string, std::string*> options = {
      {"--device", &parsed.device},
      {"--transcript", &parsed.transcript},
      {"--pilot", &parsed.header.pilot},
      {"--glider-type", &parsed.header.gliderType},
      {"--glider-id", &parsed.header.gliderId},
      {"--competition-id", &parsed.header.competitionId},
      {"--class", &parsed.header.competitionClass},
      {"--site", &parsed.header.site},
      {"--compid", &parsed.header.pilotId},
  };
  for (std::size_t k = 1; k < args.size(); k += 2) {
    if (args[k] == "--out-dir") {
      parsed.outDir = args[k + 1];
    } else if (const auto option = options.find(args[k]); option != options.end()) {
      *option->second = args[k + 1];
    } else {
      return false;
    }
  }
  return !parsed.device.empty();
}

// The header must pass the same checks as in the download window, as the
// file name and the signed header are built from it.
std::optional<std::string> headerProblems(const IgcHeaderValues& header,
                                          const std::string& directoryText) {
  const HeaderFieldChecks checks = checkHeaderFields(header, directoryText, false);
  if (checks.saveAllowed) return std::nullopt;
  std::string text = "Die Angaben für den IGC-Kopf sind unvollständig:";
  const auto problem = [&text](bool passed, const char* what) {
    if (!passed) text += std::string("\n  ") + what;
  };
  problem(checks.pilot, "--pilot: mindestens 5 Zeichen");
  problem(checks.gliderType, "--glider-type: mindestens 5 Zeichen");
  problem(checks.gliderId, "--glider-id: mindestens 2 Zeichen");
  problem(checks.competitionClass, "--class: mindestens 5 Zeichen");
  problem(checks.site, "--site: mindestens 4 Zeichen");
  problem(checks.competitionId, "--competition-id: mindestens 5 Zeichen");
  problem(checks.pilotId, "--compid: genau 4 Buchstaben");
  problem(checks.directory, "--out-dir: ein vorhandenes Verzeichnis");
  return text;
}

int download(const DownloadArguments& parsed, std::ostream& out, std::ostream& err) {
  garmin::GarminDownloadRequest request;
  request.device = parsed.device;
  request.transcriptPath = parsed.transcript;
  request.header = parsed.header;
  request.now = localNow;
  const DownloadOutcome outcome =
      garmin::downloadGarminFlight(request, [&err](std::string_view line) { err << line << "\n"; });
  if (outcome.error) {
    err << *outcome.error << "\n";
    return 1;
  }
  err << outcome.status << "\n";
  out << outcome.path << "\n";
  return 0;
}

}  // namespace

int downloadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DownloadArguments parsed;
  if (!parseDownloadArguments(args, parsed)) {
    err << DownloadUsage;
    return 2;
  }
  std::string directoryText = parsed.outDir.value_or(parsed.header.directory);
  if (!directoryText.empty() && !directoryText.ends_with('/')) directoryText += '/';
  parsed.header.directory = directoryText;
  if (const auto problems = headerProblems(parsed.header, directoryText)) {
    err << *problems << "\n";
    return 2;
  }
  return download(parsed, out, err);
}

}  // namespace quorvanta::cli
