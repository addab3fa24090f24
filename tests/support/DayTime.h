#pragma once

#include "flight/DayCount.h"

namespace quorvanta::test {

// A date and time as the day count the flight code keeps.
inline double at(int year, int month, int day, int hour, int minute, int second) {
  return *encodeDate(year, month, day) + *encodeTime(hour, minute, second);
}

}  // namespace quorvanta::test
