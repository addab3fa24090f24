#include <memory>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "flight/Barograph.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/IgcWriter.h"

namespace quorvanta::cli {

namespace {

constexpr const char* SaveUsage =
    "Aufruf: quorvanta-cli save DATEI AUSGABE.igc [--baro BAROGRAMM.cmp "
    "[--sync start|end|none|±hh:mm:ss]]\n";

struct SaveArguments {
  std::string input, output, barogram;
  TimeShift shift = TimeShift::AsRecorded;
  double entered = 0;
};

// "+hh:mm:ss" (the barograph clock is ahead) or "-hh:mm:ss" (behind).
bool parseEnteredShift(const std::string& text, double& offset) {
  if (text.size() != 9 || (text[0] != '+' && text[0] != '-') || text[3] != ':' ||
      text[6] != ':') {
    return false;
  }
  const auto hour = integerField(text.substr(1, 2));
  const auto minute = integerField(text.substr(4, 2));
  const auto second = integerField(text.substr(7, 2));
  if (!hour || !minute || !second) return false;
  const auto timeOfDay = encodeTime(*hour, *minute, *second);
  if (!timeOfDay) return false;
  offset = enteredBaroOffset(*timeOfDay, text[0] == '-');
  return true;
}

bool parseShift(const std::string& text, SaveArguments& parsed) {
  if (text == "none") {
    parsed.shift = TimeShift::AsRecorded;
  } else if (text == "end") {
    parsed.shift = TimeShift::SyncAtSwitchOff;
  } else if (text == "start") {
    parsed.shift = TimeShift::SyncAtSwitchOn;
  } else {
    parsed.shift = TimeShift::Entered;
    return parseEnteredShift(text, parsed.entered);
  }
  return true;
}

bool parseSaveArguments(const std::vector<std::string>& args, SaveArguments& parsed) {
  if (args.size() < 2 || args.size() % 2 != 0) return false;
  parsed.input = args[0];
  parsed.output = args[1];
  bool shiftGiven = false;
  for (std::size_t k = 2; k < args.size(); k += 2) {
    if (args[k] == "--baro") {
      parsed.barogram = args[k + 1];
    } else if (args[k] == "--sync") {
      if (!parseShift(args[k + 1], parsed)) return false;
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
    BaroZeiten(*record, *buffer, baroOffsetFor(parsed.shift, *record, *buffer, parsed.entered));
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
