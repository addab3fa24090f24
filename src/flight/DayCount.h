#pragma once

#include <optional>
#include <string>

namespace quorvanta {

// Times are day counts: whole days since 30 December 1899 00:00 plus the
// fraction of the day.

// Day count of a calendar date, or nothing when the date does not exist
// (years 1..9999).
std::optional<double> encodeDate(int year, int month, int day);

// Fraction of the day for a time of day, or nothing when it is out of range.
std::optional<double> encodeTime(int hour, int minute, int second);

// The day count brought into the years 1..9999 (NaN gives day 0), so that
// any double can be turned into a date and whole numbers without overflow.
double clampedDayCount(double dayCount);

struct DateTimeParts {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 Sunday .. 6 Saturday
};

// Calendar date and time of day of a day count, rounded to the nearest
// second (a time that rounds up to midnight belongs to the next day); the
// day count is clamped first.
DateTimeParts dateTimeParts(double dayCount);

// The local date and time of the system clock now. Only the programs' outer
// layers call it; everything below takes the time as an argument.
double localNow();

// "dd.mm.yyyy", the German short date, of the time rounded to the second.
std::string shortDateText(double dayCount);

// "hh:mm:ss" of the time of day, rounded to the nearest second.
std::string timeOfDayText(double dayCount);

// "YYYY-MM-DDThh:mm:ss", rounded to the nearest second.
std::string isoDateTimeText(double dayCount);

}  // namespace quorvanta
