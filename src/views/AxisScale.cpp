#include "views/AxisScale.h"

#include <algorithm>
#include <cmath>

namespace quorvanta {

AxisScale axisScale(double max, double min, bool fromBelowZero) {
  AxisScale axis;
  axis.max = max;
  axis.min = min;
  if (axis.empty()) return axis;
  // All values at or below 0: the magnitude of the lowest sets the exponent.
  const double magnitude = max > 0 ? max : -min;
  axis.exponent = static_cast<int>(std::trunc(std::log10(magnitude)));
  const double power = std::pow(10.0, axis.exponent);
  const double a = max / power, b = min / power;
  axis.step = a > 8 ? 2 : 1;
  axis.low = fromBelowZero || max <= 0 ? (static_cast<int>(std::trunc(b / axis.step)) - 1) * axis.step : 0;
  axis.high = (static_cast<int>(std::trunc(a / axis.step)) + 1) * axis.step;
  axis.range = power * (axis.high - axis.low);
  axis.offset = -power * axis.low;
  return axis;
}

AxisScale headingScale(double max, double min) {
  return {.max = max, .min = min, .exponent = 1, .step = 9, .low = 0, .high = 36, .range = 360, .offset = 0};
}

}  // namespace quorvanta
