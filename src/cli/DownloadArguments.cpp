#include "cli/DownloadArguments.h"

#include <ostream>

#include "flight/IniSettings.h"

namespace quorvanta::cli {

const std::vector<std::string> HeaderOptions = {
    "--out-dir", "--pilot", "--glider-type", "--glider-id", "--competition-id",
    "--class",   "--site",  "--compid",
};

const std::vector<std::string> RecorderHeaderOptions = {
    "--out-dir", "--competition-id", "--class", "--site", "--compid",
};

std::string DownloadArguments::option(const std::string& name, const std::string& fallback) const {
  const auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

namespace {

// The header must pass the same checks as in the download window, as the
// file name and the signed header are built from it.
std::optional<std::string> headerProblems(const IgcHeaderValues& header, bool fromFlightRecorder) {
  const HeaderFieldChecks checks = checkHeaderFields(header, header.directory, fromFlightRecorder);
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

}  // namespace

std::variant<IgcHeaderValues, std::string> headerFromArguments(const DownloadArguments& args,
                                                               bool fromFlightRecorder) {
  IgcHeaderValues header = readIgcHeader(readUserSettings());
  const std::map<std::string, std::string*> fields = {
      {"--pilot", &header.pilot},
      {"--glider-type", &header.gliderType},
      {"--glider-id", &header.gliderId},
      {"--competition-id", &header.competitionId},
      {"--class", &header.competitionClass},
      {"--site", &header.site},
      {"--compid", &header.pilotId},
  };
  for (const auto& [name, field] : fields) *field = args.option(name, *field);
  header.directory = args.option("--out-dir", header.directory);
  if (!header.directory.empty() && !header.directory.ends_with('/')) header.directory += '/';
  if (auto problems = headerProblems(header, fromFlightRecorder)) return std::move(*problems);
  return header;
}

int reportOutcome(const DownloadOutcome& outcome, std::ostream& out, std::ostream& err) {
  if (outcome.error) {
    err << *outcome.error << "\n";
    return 1;
  }
  err << outcome.status << "\n";
  out << outcome.path << "\n";
  return 0;
}

}  // namespace quorvanta::cli
