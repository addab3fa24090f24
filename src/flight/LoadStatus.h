#pragma once

#include <array>
#include <string>

#include "flight/FlightRecord.h"

namespace quorvanta {

// What the main window's status labels Label1 to Label4 show after a load.
struct StatusLabel {
  std::string text;
  bool red = false;
};

using LoadLabels = std::array<StatusLabel, 4>;

// The fix count, dropped and uncertain fixes, and the mean data rate of a
// freshly loaded record.
LoadLabels loadStatusLabels(const FlightRecord& record);

}  // namespace quorvanta
