#include "flight/IgcRecords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flight/DayCount.h"

namespace quorvanta {

namespace {

// The magnitude is brought into 0..limit first, so that no value (NaN,
// infinity, 1e39) can overflow the conversion or widen the field.
std::string coordinateField(double degrees, double limit, const char* format, char positive,
                            char negative) {
  const double magnitude = std::isnan(degrees) ? 0 : std::min(std::fabs(degrees), limit);
  auto whole = static_cast<long long>(std::floor(magnitude));
  long long thousandths = std::llround((magnitude - static_cast<double>(whole)) * 60000.0);
  if (thousandths >= 60000) {
    ++whole;
    thousandths -= 60000;
  }
  char text[48];
  std::snprintf(text, sizeof text, format, whole, thousandths, degrees > 0 ? positive : negative);
  return text;
}

// Whole days of a day count as the date of its time rounded to the second.
double dateOf(double dayCount) {
  const DateTimeParts t = dateTimeParts(dayCount);
  return *encodeDate(t.year, t.month, t.day);
}

}  // namespace

std::string altitudeField(std::int32_t alt) {
  char text[8];
  std::snprintf(text, sizeof text, "%05d", std::clamp(alt, -9999, 99999));
  return text;
}

std::string dateLine(double dayCount) {
  const DateTimeParts t = dateTimeParts(dayCount);
  char text[16];
  std::snprintf(text, sizeof text, "HFDTE%02d%02d%02d", t.day, t.month, t.year % 100);
  return text;
}

std::string latitudeField(double degrees) {
  return coordinateField(degrees, 90, "%02lld%05lld%c", 'N', 'S');
}

std::string longitudeField(double degrees) {
  if (degrees > 180) degrees -= 360;
  if (degrees < -180) degrees += 360;
  return coordinateField(degrees, 180, "%03lld%05lld%c", 'E', 'W');
}

std::string bRecord(const FixFields& fix) {
  const DateTimeParts t = dateTimeParts(fix.time);
  char time[8];
  std::snprintf(time, sizeof time, "%02d%02d%02d", t.hour, t.minute, t.second);
  std::string line("B");
  line += time;
  line += latitudeField(fix.latDeg);
  line += longitudeField(fix.lonDeg);
  line += fix.valid ? 'A' : 'V';
  line += altitudeField(fix.pressureAlt);
  line += altitudeField(fix.gpsAlt);
  return line;
}

FixLineWriter::FixLineWriter(std::string& text, std::optional<double> dateLineTime)
    : text_(text) {
  if (dateLineTime) dateWritten_ = dateOf(*dateLineTime);
}

void FixLineWriter::add(const FixFields& fix) {
  const double date = dateOf(fix.time);
  const DateTimeParts t = dateTimeParts(fix.time);
  const int secondOfDay = t.hour * 3600 + t.minute * 60 + t.second;
  // The reader takes a time of day more than twelve hours before the previous
  // one for the next day, unless a date line stands between them.
  const bool readAsNextDay =
      previousSecondOfDay_ && *previousSecondOfDay_ - secondOfDay > 12 * 3600;
  if (dateWritten_ != date || readAsNextDay) {
    text_ += dateLine(fix.time);
    text_ += "\r\n";
    dateWritten_ = date;
  }
  previousSecondOfDay_ = secondOfDay;
  text_ += bRecord(fix);
  text_ += "\r\n";
}

}  // namespace quorvanta
