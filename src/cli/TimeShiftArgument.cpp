#include "cli/TimeShiftArgument.h"

#include "flight/DayCount.h"
#include "flight/FieldText.h"

namespace quorvanta::cli {

namespace {

std::optional<double> enteredShift(const std::string& text) {
  if (text.size() != 9 || (text[0] != '+' && text[0] != '-') || text[3] != ':' ||
      text[6] != ':') {
    return std::nullopt;
  }
  const auto hour = integerField(text.substr(1, 2));
  const auto minute = integerField(text.substr(4, 2));
  const auto second = integerField(text.substr(7, 2));
  if (!hour || !minute || !second) return std::nullopt;
  const auto timeOfDay = encodeTime(*hour, *minute, *second);
  if (!timeOfDay) return std::nullopt;
  return enteredBaroOffset(*timeOfDay, text[0] == '-');
}

}  // namespace

std::optional<TimeShiftArgument> parseTimeShift(const std::string& text) {
  if (text == "none") return TimeShiftArgument{TimeShift::AsRecorded, 0};
  if (text == "end") return TimeShiftArgument{TimeShift::SyncAtSwitchOff, 0};
  if (text == "start") return TimeShiftArgument{TimeShift::SyncAtSwitchOn, 0};
  const auto entered = enteredShift(text);
  if (!entered) return std::nullopt;
  return TimeShiftArgument{TimeShift::Entered, *entered};
}

}  // namespace quorvanta::cli
