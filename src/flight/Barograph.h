#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "flight/FlightRecord.h"
#include "flight/OneBasedArray.h"

namespace quorvanta {

inline constexpr int MaxBaroSamples = 22000;

// A barogram from a barograph file or a variometer download.
struct BarographBuffer {
  OneBasedArray<std::int16_t, MaxBaroSamples> BaroAlt;  // metres
  std::int32_t BaroCount = 0;
  double BaroStart = 0;     // day count of the first sample
  double BaroInterval = 0;  // days between samples; 0: no barogram
  std::int32_t BaroSerial = 0;
};

// Reads a PC-Graph barograph file (".cmp"): altitude lines, then the start
// date and time and the sample interval. On any fault the buffer stays as it
// was and the German message says what is wrong and where.
std::optional<std::string> parseBarograph(std::string_view content, BarographBuffer& buffer);
std::optional<std::string> readBarographFile(const std::string& path, BarographBuffer& buffer);

// Replaces every fix altitude by the barogram altitude at the fix time
// shifted by `baroOffset` (days), interpolated between samples; fixes
// outside the barogram take the altitude at its nearer end. Updates MaxAlt
// and MinAlt. Does nothing without a barogram.
void BaroZeiten(FlightRecord& record, const BarographBuffer& buffer, double baroOffset);

// The four time-shift choices of the barogram.
enum class TimeShift {
  AsRecorded,       // "wie aufgezeichnet"
  SyncAtSwitchOff,  // "sync. bei Ausschalten": the barogram ends at the last fix
  SyncAtSwitchOn,   // "sync. bei Einschalten": it starts at the first fix
  Entered,          // "Verschiebung eingeben"
};

// BaroOffset for a choice; `entered` is the shift the pilot entered.
double baroOffsetFor(TimeShift shift, const FlightRecord& record, const BarographBuffer& buffer,
                     double entered);

// The entered shift: a time of day (fraction of a day), negative when the
// barograph clock is behind.
double enteredBaroOffset(double timeOfDay, bool barographBehind);

// The variometers whose downloads leave a barogram in the buffer.
enum class Variometer { BraeunigerIq, Flytec40xx };

// The header line that names the merged barogram's sensor, e.g.
// "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 4711".
std::string pressureSensorLine(Variometer instrument, std::int32_t serial);

}  // namespace quorvanta
