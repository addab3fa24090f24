#pragma once

#include <cstdint>

#include "flight/FlightRecord.h"

namespace quorvanta {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Track colour modes; the legend uses LegendMode to show the scale itself.
enum TrackColourMode : int {
  HeightMode = 0,
  GroundSpeedMode = 1,
  VarioMode = 2,
  ValidityMode = 3,
  LegendMode = 1000,
};

// The colour scale from blue (0) over cyan, green and yellow to red (1).
Rgb colourScale(double t);

// The colour of fix i in a mode: height of the fix, ground speed or climb of
// the segment leaving it, or black/red for valid/uncertain fixes. Values that
// cannot be computed (no spread, no time between fixes) take the colour of 0.
Rgb TrackColour(const FlightRecord& record, int i, int mode);

}  // namespace quorvanta
