#include "views/IntervalStatistics.h"

#include <algorithm>
#include <cmath>

namespace quorvanta {

IntervalHistogram intervalHistogram(const FlightRecord& r) {
  IntervalHistogram h;
  for (int i = 1; i <= r.FixCount - 1; ++i) {
    const double d = std::nearbyint((r.FixTime[i + 1] - r.FixTime[i]) * 86400);
    ++h.counts[static_cast<std::size_t>(std::clamp(d, 0.0, 65.0))];
  }
  int last = 30, largest = 0;  // 30 when no bin from 1 on is filled
  for (int k = 1; k <= 65; ++k) {
    if (h.counts[static_cast<std::size_t>(k)] > 0) last = k;
    largest = std::max(largest, h.counts[static_cast<std::size_t>(k)]);
  }
  h.shownBins = last < 62 ? last + 2 : last;
  // An empty chart still gets an axis: 0..1.
  h.axis = axisScale(std::max(largest, 0), 0, false);
  if (h.axis.empty()) {
    h.axis.high = 1;
    h.axis.range = 1;
  }
  return h;
}

}  // namespace quorvanta
