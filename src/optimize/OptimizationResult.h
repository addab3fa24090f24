#pragma once

#include <cstdint>

namespace quorvanta {

// The routes of the last optimization. Turnpoints are fix numbers of the
// flight record (0: the kind was not found); lengths and gaps are radians.
struct OptimizationResult {
  std::int32_t FlatTp1 = 0, FlatTp2 = 0, FlatTp3 = 0;
  std::int32_t FreeStart = 0, FreeTp1 = 0, FreeTp2 = 0, FreeTp3 = 0, FreeFinish = 0;
  std::int32_t FaiTp1 = 0, FaiTp2 = 0, FaiTp3 = 0;
  std::int32_t FlatStart = 0, FlatFinish = 0;
  std::int32_t FaiStart = 0, FaiFinish = 0;
  double FreePoints = 0, FlatPoints = 0, FaiPoints = 0;
  double FlatPerimeter = 0, FaiPerimeter = 0;
  double FreeDistance = 0;
  double FlatGap = 0, FaiGap = 0;
  bool FreeIsBest = false, FlatIsBest = false, FaiIsBest = false;

  bool operator==(const OptimizationResult&) const = default;
};

}  // namespace quorvanta
