#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "flight/FlightRecord.h"

namespace quorvanta {

// A record that cannot be read; the text says why, in German.
class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// „<text>“, cut after 100 characters, so that no message grows with its input.
std::string quotedExcerpt(std::string_view text);

// "Fehler in Zeile N: <reason>: „<line>“", the line quoted as above.
std::string lineErrorText(int lineNumber, std::string_view reason, std::string_view line);

struct ExtensionLayout {
  int count = 0;  // at most MaxExtensions are kept
  std::array<int, MaxExtensions> start{};
  std::array<int, MaxExtensions> length{};
  std::array<std::string, MaxExtensions> code{};
};

struct BRecord {
  int hour = 0, minute = 0, second = 0;
  double latDeg = 0, lonDeg = 0;  // south and west negative
  bool valid = false;
  std::int32_t pressureAlt = 0;
  std::int32_t gpsAlt = 0;
  std::array<std::int32_t, MaxExtensions> ext{};
};

// The height a fix is shown with: the pressure altitude where the logger
// recorded one, else the GPS altitude.
inline std::int32_t shownAltitude(const BRecord& b) {
  return b.pressureAlt >= 1 ? b.pressureAlt : b.gpsAlt;
}

struct FlightDate {
  int day = 0, month = 0, year = 0;
};

struct CsvFix {
  double latDeg = 0, lonDeg = 0;
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  std::int32_t alt = 0;
  std::string text;  // everything after the first comma
};

// Each parser throws RecordError for a field that is not a number, and the
// CSV parser also for a latitude outside -90..90 or a longitude outside
// -180..360.
BRecord parseBRecord(std::string_view line, const ExtensionLayout& extensions);
ExtensionLayout parseIRecord(std::string_view line);
FlightDate parseDateLine(std::string_view line);  // HFDTEddmmyy or HFDTEDATE:ddmmyy[,nn]
std::string pilotText(std::string_view line);      // HFPLT...
CsvFix parseCsvFix(std::string_view line);         // a line starting with T or N

// Header-type line that names the date (DTE) or the pilot (PLT) from column 3.
bool namesDate(std::string_view line);
bool namesPilot(std::string_view line);

}  // namespace quorvanta
