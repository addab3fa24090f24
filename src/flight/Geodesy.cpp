#include "flight/Geodesy.h"

#include <cmath>
#include <cstdint>

#include "flight/NumberText.h"

namespace quorvanta {

// Intermediate values are kept in extended precision (long double) and only
// the result is rounded to double, so every caller gets the same bits.
double ArcDistance(const ArcPoint& p, const ArcPoint& q) {
  const long double sinLat = std::sin((static_cast<long double>(p.lat) - q.lat) / 2);
  const long double sinLon = std::sin((static_cast<long double>(p.lon) - q.lon) / 2);
  const long double a = sinLat * sinLat;
  const long double b = sinLon * sinLon;
  const long double h = a + p.cosLat * q.cosLat * b;
  // Rounding can lift h a hair above 1 for near-antipodal points.
  return static_cast<double>(2 * std::asin(std::sqrt(std::fmin(h, 1.0L))));
}

ArcPoint arcPoint(double lat, double lon) {
  return {lat, lon, std::cos(static_cast<long double>(lat))};
}

UnitVector unitVector(double lat, double lon) {
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

double ArcDistance(double lat1, double lon1, double lat2, double lon2) {
  return ArcDistance(arcPoint(lat1, lon1), arcPoint(lat2, lon2));
}

double Bearing(double lat1, double lon1, double lat2, double lon2) {
  const long double dLon = static_cast<long double>(lon2) - lon1;
  const long double y = std::sin(dLon) * std::cos(static_cast<long double>(lat2));
  const long double x = std::cos(static_cast<long double>(lat1)) *
                            std::sin(static_cast<long double>(lat2)) -
                        std::sin(static_cast<long double>(lat1)) *
                            std::cos(static_cast<long double>(lat2)) * std::cos(dLon);
  const long double theta = std::atan2(y, x) * 180 / static_cast<long double>(Pi);
  return static_cast<double>(theta < 0 ? theta + 360 : theta);
}

namespace {

std::string degreesAndMinutes(double degrees) {
  const double whole = std::trunc(degrees);
  std::string text = fixedText(whole, 0) + ":";
  const double minutes = std::fabs(degrees - whole) * 60;
  if (minutes < 9.9995) text += "0";
  return text + fixedText(minutes, 3);
}

std::string zeroPadded(std::int64_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

std::string paddedDegreesAndMinutes(double degrees) {
  std::string text(std::fabs(degrees) < 10 ? " " : "");
  return text += degreesAndMinutes(degrees);
}

}  // namespace

std::string AngleText(double angleRad) { return degreesAndMinutes(angleRad / DegToRad); }

std::string PaddedAngleText(double angleRad) {
  return paddedDegreesAndMinutes(angleRad / DegToRad);
}

std::string DegreesText(double angleDeg) { return paddedDegreesAndMinutes(angleDeg); }

std::string ClaimCoordinateText(std::string_view keyPrefix, char axisLetter, double angleRad) {
  const double degrees = angleRad / DegToRad;
  const bool longitude = axisLetter == 'l' || axisLetter == 'L';
  const char hemisphere = longitude ? (degrees >= 0 ? 'E' : 'W') : (degrees >= 0 ? 'N' : 'S');
  // Bounded by the positions the program writes (a longitude up to 360 east),
  // so that no value can overflow the conversion below.
  const double limit = longitude ? 360 : 90;
  const double magnitude = std::isnan(degrees) ? 0 : std::fmin(std::fabs(degrees), limit);
  // Split one truncated total of thousandths of a minute, so that a value a
  // hair below a whole minute cannot show 60 minutes or 1000 thousandths.
  const auto thousandths = static_cast<std::int64_t>(magnitude * 60000 + 0.0001);
  std::string key(1, '&');
  key.append(keyPrefix) += axisLetter;
  return key + "h=" + hemisphere + key + "g=" + std::to_string(thousandths / 60000) + key +
         "m=" + zeroPadded(thousandths / 1000 % 60, 2) + key + "md=" +
         zeroPadded(thousandths % 1000, 3);
}

}  // namespace quorvanta
