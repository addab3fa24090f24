// A barograph file merged into a flight with each time shift the pilot can
// choose, as the main window and "quorvanta-cli save --baro" do.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

#include "FuzzSupport.h"
#include "flight/Barograph.h"
#include "flight/DayCount.h"
#include "flight/FlightRecord.h"
#include "flight/Geodesy.h"

namespace quorvanta {
namespace {

using fuzz::require;

constexpr double Second = 1.0 / 86400;
constexpr int FlightFixes = 200;

// 15 July 2003 from 10:00 UTC, a fix every 20 s: the day of the seeds.
const FlightRecord& flight() {
  static const auto record = [] {
    auto built = std::make_unique<FlightRecord>();
    const double start = *encodeDate(2003, 7, 15) + *encodeTime(10, 0, 0);
    built->FixCount = FlightFixes;
    for (int i = 1; i <= FlightFixes; ++i) {
      built->FixTime[i] = start + 20 * (i - 1) * Second;
      built->FixLat[i] = (46.5 + 0.001 * i) * DegToRad;
      built->FixLon[i] = 11 * DegToRad;
      built->FixValid[i] = true;
      built->FixAlt[i] = 1000 + i;
    }
    return built;
  }();
  return *record;
}

void checkParsed(const BarographBuffer& buffer) {
  require(buffer.BaroCount >= 2 && buffer.BaroCount <= MaxBaroSamples,
          "a barogram has 2 to MaxBaroSamples samples");
  require(buffer.BaroInterval >= Second && buffer.BaroInterval <= 59 * Second,
          "samples are 1 to 59 s apart");
  require(std::isfinite(buffer.BaroStart), "the barogram starts at a time");
}

// The barogram altitudes span [low, high]; rounding may add a metre.
void checkMerged(const FlightRecord& merged, const BarographBuffer& buffer) {
  const FlightRecord& original = flight();
  std::int32_t low = std::numeric_limits<std::int32_t>::max();
  std::int32_t high = std::numeric_limits<std::int32_t>::min();
  for (int k = 1; k <= buffer.BaroCount; ++k) {
    low = std::min<std::int32_t>(low, buffer.BaroAlt[k]);
    high = std::max<std::int32_t>(high, buffer.BaroAlt[k]);
  }
  require(merged.FixCount == original.FixCount, "the merge keeps the fixes");
  std::int32_t maxAlt = merged.FixAlt[1], minAlt = 100000;
  for (int i = 1; i <= merged.FixCount; ++i) {
    require(merged.FixTime[i] == original.FixTime[i] && merged.FixLat[i] == original.FixLat[i] &&
                merged.FixLon[i] == original.FixLon[i],
            "the merge changes altitudes only");
    const std::int32_t alt = merged.FixAlt[i];
    require(alt == 0 || (alt >= low - 1 && alt <= high + 1), "altitudes come from the barogram");
    maxAlt = std::max(maxAlt, alt);
    if (alt > 0) minAlt = std::min(minAlt, alt);
  }
  require(merged.MaxAlt == maxAlt && merged.MinAlt == minAlt, "MaxAlt and MinAlt follow the fixes");
}

void mergeWith(const BarographBuffer& buffer, TimeShift shift, double entered) {
  auto record = std::make_unique<FlightRecord>(flight());
  BaroZeiten(*record, buffer, baroOffsetFor(shift, *record, buffer, entered));
  checkMerged(*record, buffer);
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  auto buffer = std::make_unique<BarographBuffer>();
  buffer->BaroSerial = 7;
  if (parseBarograph(fuzz::textOf(data, size), *buffer)) {
    require(buffer->BaroCount == 0 && buffer->BaroInterval == 0 && buffer->BaroSerial == 7,
            "a refused file leaves the buffer as it was");
    return 0;
  }
  checkParsed(*buffer);
  require(buffer->BaroSerial == 7, "the serial number stays");
  mergeWith(*buffer, TimeShift::AsRecorded, 0);
  mergeWith(*buffer, TimeShift::SyncAtSwitchOff, 0);
  mergeWith(*buffer, TimeShift::SyncAtSwitchOn, 0);
  mergeWith(*buffer, TimeShift::Entered, enteredBaroOffset(*encodeTime(1, 30, 0), false));
  mergeWith(*buffer, TimeShift::Entered, enteredBaroOffset(*encodeTime(23, 59, 59), true));
  return 0;
}
