#pragma once

namespace quorvanta {

// A value axis: grid lines every `step` units of 10^exponent from `low` up
// to `high`; `range` and `offset` turn a value into a share of the axis.
struct AxisScale {
  double max = 0, min = 0;  // of the values, taken from 0
  int exponent = 0, step = 1, low = 0, high = 1;
  double range = 1, offset = 0;
  bool empty() const { return max == min; }
};

// The axis for values between min <= 0 <= max. The axis starts below the
// smallest value when `fromBelowZero` (or when no value is above 0), at 0
// otherwise.
AxisScale axisScale(double max, double min, bool fromBelowZero);

// The course axis: 0..360 degrees with lines every 90.
AxisScale headingScale(double max, double min);

// Share 0 (bottom) .. 1 (top) of a value on the axis.
inline double axisShare(const AxisScale& axis, double value) {
  return (value + axis.offset) / axis.range;
}

}  // namespace quorvanta
