#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvanta {

// Five characters for an altitude field; a negative altitude has its sign
// first ("-0012"), and the field holds at most five digits.
std::string altitudeField(std::int32_t alt);

// "HFDTE" and the date of a day count as DDMMYY.
std::string dateLine(double dayCount);

// Latitude as DDMMmmmN/S and longitude as DDDMMmmmE/W: whole degrees, then
// thousandths of minutes rounded; 60000 of them carry into the degrees.
// Longitudes are brought into -180..180 first; 0 counts as south or west.
// Whatever the value, the field keeps its width: magnitudes beyond 90 and 180
// are written as 90 and 180, and NaN as 0.
std::string latitudeField(double degrees);
std::string longitudeField(double degrees);

struct FixFields {
  double time = 0;  // day count
  double latDeg = 0;
  double lonDeg = 0;
  bool valid = true;
  std::int32_t pressureAlt = 0;
  std::int32_t gpsAlt = 0;
};

// A B record of 35 characters, without line end.
std::string bRecord(const FixFields& fix);

// Appends B records, each preceded by an HFDTE line when its date differs
// from the date written last or its time of day lies more than twelve hours
// before the previous one's, with CR LF line ends. `dateLineTime` is the
// time whose HFDTE line the header holds already, if any.
class FixLineWriter {
 public:
  FixLineWriter(std::string& text, std::optional<double> dateLineTime);
  void add(const FixFields& fix);

 private:
  std::string& text_;
  std::optional<double> dateWritten_;
  std::optional<int> previousSecondOfDay_;
};

}  // namespace quorvanta
