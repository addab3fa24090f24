#pragma once

#include <cstdio>
#include <string>

#include "flight/DayCount.h"
#include "flight/TrackRecords.h"

namespace quorvanta {

// The day count of each B record in file order: the date of the last date
// line, one day later for every passing of midnight since. The reader and the
// writer share it, so that a written file is dated as the writer expects.
class FixDates {
 public:
  void setDate(const FlightDate& date) {
    date_ = date;
    dayOffset_ = 0;
    previousSecondOfDay_ = -1;
  }

  // Throws RecordError for a fix before any date line and for an invalid date
  // or time.
  double dayCount(const BRecord& fix) {
    followMidnight(fix);
    const auto day = encodeDate(date_.year, date_.month, date_.day);
    if (!day) {
      throw RecordError(date_.year == 0 ? "B-Datensatz vor der Datumszeile HFDTE"
                                        : "ungültiges Datum " + std::to_string(date_.day) + "." +
                                              std::to_string(date_.month) + "." +
                                              std::to_string(date_.year));
    }
    const auto time = encodeTime(fix.hour, fix.minute, fix.second);
    if (!time) throw RecordError("ungültige Uhrzeit " + timeText(fix));
    return *day + dayOffset_ + *time;
  }

 private:
  // A time of day more than twelve hours before the previous fix's means the
  // flight has passed midnight; a smaller step back is a second recording.
  void followMidnight(const BRecord& fix) {
    const int secondOfDay = fix.hour * 3600 + fix.minute * 60 + fix.second;
    if (previousSecondOfDay_ >= 0 && previousSecondOfDay_ - secondOfDay > 12 * 3600) ++dayOffset_;
    previousSecondOfDay_ = secondOfDay;
  }

  static std::string timeText(const BRecord& fix) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", fix.hour, fix.minute, fix.second);
    return text;
  }

  FlightDate date_;
  int dayOffset_ = 0;
  int previousSecondOfDay_ = -1;
};

}  // namespace quorvanta
