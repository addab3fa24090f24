#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight/FlightRecord.h"
#include "flight/Geodesy.h"

// Header-only and free of GoogleTest, so that the fuzz harnesses share it.
namespace quorvanta::test {

// Half a thousandth of a minute of angle, the rounding of a written position.
inline constexpr double WrittenPrecision = 0.0005 / 60 * DegToRad * (1 + 1e-9);

inline std::vector<std::string> headerLinesOf(const FlightRecord& record) {
  std::vector<std::string> lines;
  for (int k = 1; k <= record.HeaderLineCount; ++k) lines.push_back(record.HeaderLines[k]);
  return lines;
}

inline std::optional<std::string> fixDifference(const FlightRecord& original,
                                                const FlightRecord& back) {
  const double tolerance = original.CsvTrack ? WrittenPrecision : 0;
  const auto near = [tolerance](double a, double b) { return std::abs(a - b) <= tolerance; };
  // A CSV longitude may run up to 360 east; the file holds it as -180..180.
  const auto sameMeridian = [tolerance](double a, double b) {
    return std::abs(std::remainder(a - b, 2 * Pi)) <= tolerance;
  };
  for (int i = 1; i <= original.FixCount; ++i) {
    const std::string fix = "fix " + std::to_string(i) + ": ";
    if (back.FixTime[i] != original.FixTime[i]) return fix + "time";
    if (!near(back.FixLat[i], original.FixLat[i])) return fix + "latitude";
    if (!sameMeridian(back.FixLon[i], original.FixLon[i])) return fix + "longitude";
    if (back.FixAlt[i] != original.FixAlt[i]) return fix + "altitude";
    if (back.FixValid[i] != original.FixValid[i]) return fix + "validity";
    // A CSV track has no GPS altitude of its own to keep.
    if (!original.CsvTrack && back.FixGpsAlt[i] != original.FixGpsAlt[i]) return fix + "GPS altitude";
    for (int k = 1; k <= MaxExtensions; ++k) {
      if (back.FixExt[k][i] != original.FixExt[k][i]) return fix + "extension " + std::to_string(k);
    }
  }
  return std::nullopt;
}

inline std::optional<std::string> extensionDifference(const FlightRecord& original,
                                                      const FlightRecord& back) {
  if (back.ExtCount != original.ExtCount) return "extension count";
  for (int k = 1; k <= original.ExtCount; ++k) {
    if (back.ExtStart[k] != original.ExtStart[k] || back.ExtLen[k] != original.ExtLen[k] ||
        back.ExtCode[k] != original.ExtCode[k]) {
      return "extension " + std::to_string(k) + " of the I record";
    }
  }
  return std::nullopt;
}

// Where `back`, read from the saved file, is not the flight `original` was:
// its fixes, extensions and, for an IGC file, its title and header lines.
// `titles` are the pilot titles read with each. `addedLine` is a header line
// the save may add (a merged barogram's sensor line); header lines pushed
// past the capacity by added lines are not missed.
inline std::optional<std::string> flightDifference(const FlightRecord& original,
                                                   const std::vector<std::string>& titles,
                                                   const FlightRecord& back,
                                                   const std::vector<std::string>& backTitles,
                                                   std::string_view addedLine = {}) {
  if (back.FixCount != original.FixCount) {
    return "fix count " + std::to_string(back.FixCount) + " instead of " +
           std::to_string(original.FixCount);
  }
  if (auto difference = fixDifference(original, back)) return difference;
  if (auto difference = extensionDifference(original, back)) return difference;
  if (original.CsvTrack) return std::nullopt;
  if (back.FlightTitle != original.FlightTitle) return "flight title";
  if (backTitles != titles) return "pilot titles";
  std::vector<std::string> lines = headerLinesOf(back);
  const auto added = std::find(lines.begin(), lines.end(), addedLine);
  if (!addedLine.empty() && added != lines.end()) lines.erase(added);
  std::vector<std::string> kept = headerLinesOf(original);
  kept.resize(std::min(kept.size(), lines.size()));
  if (lines != kept) return "header lines";
  return std::nullopt;
}

}  // namespace quorvanta::test
