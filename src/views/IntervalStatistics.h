#pragma once

#include <array>

#include "flight/FlightRecord.h"
#include "views/AxisScale.h"

namespace quorvanta {

// How often each interval between consecutive fixes occurs, in whole
// seconds; bin 65 collects 65 s and more, bin 0 (never drawn) zero and
// backward steps.
struct IntervalHistogram {
  std::array<int, 66> counts{};
  int shownBins = 32;  // L: bars 1..L are drawn
  AxisScale axis;      // counts, from 0
};

IntervalHistogram intervalHistogram(const FlightRecord& record);

}  // namespace quorvanta
