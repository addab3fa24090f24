#pragma once

#include <array>
#include <string>

#include "flight/FlightRecord.h"

namespace quorvanta {

enum class TextColour { Black, Red, Green };

// What one of the main window's status labels shows.
struct StatusLabel {
  std::string text;
  TextColour colour = TextColour::Black;
};

// Label1 to Label4 after a load.
using LoadLabels = std::array<StatusLabel, 4>;

// The fix count, dropped and uncertain fixes, and the mean data rate of a
// freshly loaded record.
LoadLabels loadStatusLabels(const FlightRecord& record);

}  // namespace quorvanta
