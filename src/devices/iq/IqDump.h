#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/Barograph.h"

namespace quorvanta::iq {

// One sample of the barogram: altitude and speed.
struct IqSample {
  int altitude = 0;  // metres
  int speed = 0;     // km/h
};

// The flight a Bräuniger IQ variometer sends as its memory dump: a header,
// the pilot's name, a summary, the samples and the landing site elevation.
// Whatever lies beyond the bytes received is left out: `missing` then names
// the first part that did not arrive.
struct IqFlight {
  int flightNumber = 0;
  int barographNumber = 0;
  std::string pilot;
  bool summaryComplete = false;  // every field from the date to the landing time
  int day = 0, month = 0, year = 0;
  int maxHeight1 = 0, maxHeight2 = 0;  // metres
  int maxClimbTenths = 0;              // 0.1 m/s
  int flightHours = 0, flightMinutes = 0;
  int scanSeconds = 0;
  int startHours = 0, startMinutes = 0;
  int landingHours = 0, landingMinutes = 0;
  std::vector<IqSample> samples;
  std::optional<int> landingElevation;  // metres
  std::string missing;                  // German, empty when nothing is missing
};

// The dump's own length field: the bytes that follow its first seven.
// Nothing when the dump is too short to hold it.
std::optional<int> declaredLength(std::string_view dump);

IqFlight decodeDump(std::string_view dump);

// The step of the barogram table: every k-th sample (and the last), the
// smallest k of at least 2 that keeps the table at 500 lines.
int displayStep(int sampleCount);

// The summary lines of the window, from "Flugnummer: " to "Landeplatzhöhe: ".
std::vector<std::string> summaryLines(const IqFlight& flight);

// Date and start time of the first sample as a day count; nothing when the
// summary is incomplete or holds no valid date or time.
std::optional<double> baroStart(const IqFlight& flight);

// The barogram table, one line per shown sample, timed from `start`.
std::vector<std::string> barogramLines(const IqFlight& flight, double start);

// Takes the barogram over into the buffer. A German message, and the buffer
// as it was, when the summary is incomplete, its date or times are no valid
// ones, or the samples do not fit the buffer.
std::optional<std::string> takeOver(const IqFlight& flight, BarographBuffer& buffer);

}  // namespace quorvanta::iq
