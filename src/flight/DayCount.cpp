#include "flight/DayCount.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace quorvanta {

namespace {

constexpr std::int64_t SecondsPerDay = 24 * 3600;

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

const std::int64_t DayCountEpoch = daysFromCivil(1899, 12, 30);

}  // namespace

std::optional<double> encodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month)) {
    return std::nullopt;
  }
  return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month),
                                           static_cast<unsigned>(day)) -
                             DayCountEpoch);
}

std::optional<double> encodeTime(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  const double milliseconds = hour * 3600000.0 + minute * 60000.0 + second * 1000.0;
  return milliseconds / 86400000.0;
}

double clampedDayCount(double dayCount) {
  static const double first = *encodeDate(1, 1, 1);
  // The last second of 31 December 9999, which cannot round into a year 10000.
  static const double last = *encodeDate(9999, 12, 31) + (SecondsPerDay - 1.0) / SecondsPerDay;
  return std::isnan(dayCount) ? 0 : std::clamp(dayCount, first, last);
}

DateTimeParts dateTimeParts(double dayCount) {
  const auto seconds =
      static_cast<std::int64_t>(std::llround(clampedDayCount(dayCount) * SecondsPerDay));
  std::int64_t days = seconds / SecondsPerDay;
  std::int64_t secondOfDay = seconds % SecondsPerDay;
  if (secondOfDay < 0) {
    secondOfDay += SecondsPerDay;
    days -= 1;
  }
  const CivilDate date = civilFromDays(days + DayCountEpoch);
  DateTimeParts parts;
  parts.year = static_cast<int>(date.year);
  parts.month = static_cast<int>(date.month);
  parts.day = static_cast<int>(date.day);
  parts.hour = static_cast<int>(secondOfDay / 3600);
  parts.minute = static_cast<int>(secondOfDay / 60 % 60);
  parts.second = static_cast<int>(secondOfDay % 60);
  // Day 0, 30 December 1899, was a Saturday.
  parts.weekday = static_cast<int>(((days + 6) % 7 + 7) % 7);
  return parts;
}

double localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  const double date = *encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return date + (local.tm_hour * 3600.0 + local.tm_min * 60.0 + std::min(local.tm_sec, 59)) /
                    SecondsPerDay;
}

std::string shortDateText(double dayCount) {
  const DateTimeParts t = dateTimeParts(dayCount);
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.day, t.month, t.year);
  return text;
}

std::string timeOfDayText(double dayCount) {
  const DateTimeParts t = dateTimeParts(dayCount);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

std::string isoDateTimeText(double dayCount) {
  const DateTimeParts t = dateTimeParts(dayCount);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return text;
}

}  // namespace quorvanta
