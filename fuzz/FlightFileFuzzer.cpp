// A flight file as the pilot opens it: read, optimised, claimed, saved and
// read back as the same flight.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "flight/IgcReader.h"
#include "flight/IgcWriter.h"
#include "optimize/ClaimFile.h"
#include "optimize/Optimizer.h"
#include "support/SameFlight.h"

namespace quorvanta {
namespace {

using fuzz::require;

// The smallest budget keeps one run well below the fuzzer's time per input.
constexpr int PointBudget = 512;

struct Loaded {
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  ReadResult result;
};

Loaded load(const std::string& path) {
  Loaded loaded;
  loaded.result = readFlightFile(path, *loaded.record);
  return loaded;
}

// A CSV track starts with a fix line; anything else is offered as IGC, so
// that the shared flights serve as seeds unchanged.
std::string fileNameFor(std::string_view content) {
  const bool csv = !content.empty() && (content.front() == 'T' || content.front() == 'N');
  return csv ? "flight.csv" : "flight.igc";
}

void checkRecord(const FlightRecord& record) {
  require(record.FixCount >= 1 && record.FixCount <= MaxFixes, "a read flight has fixes");
  require(record.HeaderLineCount <= MaxHeaderLines && record.OtherLineCount <= MaxOtherLines,
          "kept lines stay within their capacity");
  require(record.ExtCount >= 0 && record.ExtCount <= MaxExtensions, "at most three extensions");
  require(record.ViewFirst == 1 && record.ViewLast == record.FixCount, "the view shows all fixes");
}

// start <= Tp1 <= Tp2 <= Tp3 <= finish, every one a valid fix, or a kind
// not found at all.
void checkRoute(const FlightRecord& record, std::initializer_list<std::int32_t> route) {
  std::int32_t previous = 0;
  for (const std::int32_t fix : route) {
    require(fix >= 0 && fix <= record.FixCount, "a turnpoint is a fix of the flight");
    if (fix == 0) continue;
    require(record.FixValid[fix], "a turnpoint is a valid fix");
    require(fix >= previous, "turnpoints follow the flight");
    previous = fix;
  }
}

void checkOptimization(const FlightRecord& record) {
  RunControl control;
  const OptimizationRun run = optimizeFlight(record, PointBudget, control);
  const OptimizationResult& r = run.result;
  checkRoute(record, {r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish});
  checkRoute(record, {r.FlatStart, r.FlatTp1, r.FlatTp2, r.FlatTp3, r.FlatFinish});
  checkRoute(record, {r.FaiStart, r.FaiTp1, r.FaiTp2, r.FaiTp3, r.FaiFinish});
  for (const double value : {r.FreeDistance, r.FlatPerimeter, r.FaiPerimeter, r.FlatGap,
                             r.FaiGap, r.FreePoints, r.FlatPoints, r.FaiPoints}) {
    require(std::isfinite(value) && value >= 0, "lengths and points are finite, not negative");
  }
  require(r.FreeIsBest || r.FlatIsBest || r.FaiIsBest, "one kind scores best");
  if (const auto line = claimLine(record, r)) {
    require(line->find_first_of("\r\n") == std::string::npos, "the claim is one line");
  }
}

void checkReadsBack(Loaded& original) {
  std::string text;
  try {
    text = flightFileText(*original.record);
  } catch (const UnwritableFlight&) {
    return;  // refused plainly rather than written unfaithfully
  }
  const Loaded back = load(fuzz::scratch().write("saved.igc", text));
  require(back.result.ok(), "the saved flight reads",
          back.result.ok() ? "" : back.result.error->message);
  const auto difference = test::flightDifference(*original.record, original.result.flightTitles,
                                                 *back.record, back.result.flightTitles);
  require(!difference, "the saved flight reads back the same", difference.value_or(""));
  std::string again;
  try {
    again = flightFileText(*back.record);
  } catch (const UnwritableFlight& refused) {
    require(false, "a saved flight saves again", refused.what());
  }
  require(again == text, "saving what was read writes the same file");
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  const std::string_view content = fuzz::textOf(data, size);
  Loaded original = load(fuzz::scratch().write(fileNameFor(content), content));
  if (!original.result.ok()) return 0;
  checkRecord(*original.record);
  checkOptimization(*original.record);
  checkReadsBack(original);
  return 0;
}
