#pragma once

#include <optional>
#include <string>

#include "flight/Barograph.h"

namespace quorvanta::cli {

// The barogram's time shift as given with "--sync".
struct TimeShiftArgument {
  TimeShift shift = TimeShift::AsRecorded;
  double entered = 0;  // days, for TimeShift::Entered
};

// "start", "end", "none", or "+hh:mm:ss" (the barograph clock is ahead) and
// "-hh:mm:ss" (behind); nothing for anything else.
std::optional<TimeShiftArgument> parseTimeShift(const std::string& text);

}  // namespace quorvanta::cli
