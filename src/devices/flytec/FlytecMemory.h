#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/Barograph.h"

namespace quorvanta::flytec {

// The answer to the directory command: 511 bytes used, two more sent.
inline constexpr std::size_t DirectoryAnswerSize = 513;
inline constexpr int MaxFlights = 19;

// One flight of the instrument's directory.
struct FlytecFlight {
  int altitude1 = 0, altitude2 = 0;  // metres, shown as they are
  int durationHours = 0, durationMinutes = 0, durationSeconds = 0;
  int day = 0, month = 0, year = 0, hour = 0, minute = 0;  // start
  int sensorType = 0;    // 0: no speed sensor, so 2-byte samples
  int intervalCode = 0;  // 0: 1 s, 1: 5 s, else 15 s
  int firstAddress = 0, lastAddress = 0;
};

struct FlytecDirectory {
  std::vector<FlytecFlight> flights;
  int serial = 0;
  int memorySize = 0;  // bytes the memory answer must hold besides its last two
  std::string error;   // German; the directory cannot be used when set
};

// Packed BCD: the low nibble plus ten times the high one.
int bcd(unsigned char byte);

// The directory answer, its used part placed as the instrument's
// addresses 0xFE00 to 0xFFFE.
FlytecDirectory decodeDirectory(std::string_view answer);

// The start of the flight's first sample as a day count; nothing when its
// date or time is no valid one.
std::optional<double> flightStart(const FlytecFlight& flight);

// The line of the flight list for flight number `number` (from 1).
std::string flightListLine(int number, const FlytecFlight& flight);

// Takes the flight's samples from the memory copy into the buffer. A German
// message, and the buffer as it was, when the flight's addresses lie outside
// the memory or in the wrong order, its start is no valid time, or its
// samples do not fit the buffer.
std::optional<std::string> takeOverFlight(const FlytecFlight& flight, std::string_view memory,
                                          int serial, BarographBuffer& buffer);

}  // namespace quorvanta::flytec
