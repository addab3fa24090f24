#include <memory>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/TimeShiftArgument.h"
#include "flight/Barograph.h"
#include "flight/IgcWriter.h"

namespace quorvanta::cli {

namespace {

constexpr const char* SaveUsage =
    "Aufruf: quorvanta-cli save DATEI AUSGABE.igc [--baro BAROGRAMM.cmp "
    "[--sync start|end|none|±hh:mm:ss]]\n";

struct SaveArguments {
  std::string input, output, barogram;
  TimeShiftArgument shift;
};

bool parseSaveArguments(const std::vector<std::string>& args, SaveArguments& parsed) {
  if (args.size() < 2 || args.size() % 2 != 0) return false;
  parsed.input = args[0];
  parsed.output = args[1];
  bool shiftGiven = false;
  for (std::size_t k = 2; k < args.size(); k += 2) {
    if (args[k] == "--baro") {
      parsed.barogram = args[k + 1];
    } else if (args[k] == "--sync") {
      const auto shift = parseTimeShift(args[k + 1]);
      if (!shift) return false;
      parsed.shift = *shift;
      shiftGiven = true;
    } else {
      return false;
    }
  }
  return !shiftGiven || !parsed.barogram.empty();
}

}  // namespace

int saveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  SaveArguments parsed;
  if (!parseSaveArguments(args, parsed)) {
    err << SaveUsage;
    return 2;
  }
  const auto record = loadFlight(parsed.input, err);
  if (!record) return 1;
  if (!parsed.barogram.empty()) {
    auto buffer = std::make_unique<BarographBuffer>();
    if (const auto failure = readBarographFile(parsed.barogram, *buffer)) {
      err << parsed.barogram << ": " << *failure << "\n";
      return 1;
    }
    record->SignOnSave = false;
    BaroZeiten(*record, *buffer, baroOffsetFor(parsed.shift.shift, *record, *buffer, parsed.shift.entered));
  }
  const std::string path = igcFileName(parsed.output);
  const SaveOutcome outcome = saveFlight(path, *record);
  if (outcome.error) {
    err << *outcome.error << "\n";
    return 1;
  }
  out << outcome.label.text << ": " << path << "\n";
  return 0;
}

}  // namespace quorvanta::cli
