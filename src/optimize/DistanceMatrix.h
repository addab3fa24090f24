#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "optimize/RunControl.h"
#include "optimize/UsableTrack.h"

namespace quorvanta {

// Distances between the points of the thinned track in units of 0.1 m,
// indexed 1..n both ways. The matrix is kept whole (it is symmetric), so
// that both D[i][k] and D[k][j] can be read along a row.
class DistanceMatrix {
 public:
  // Reports progress as the share of rows measured.
  DistanceMatrix(const UsableTrack& track, const ThinningPlan& plan, RunControl& control);
  // A matrix of given units (upper triangle, i <= j), mirrored below. Unlike
  // measured distances, they need not obey the triangle inequality.
  DistanceMatrix(int n, const std::function<std::int32_t(int i, int j)>& units);

  int size() const { return n_; }
  const std::int32_t* row(int i) const {
    return cells_.data() + static_cast<std::size_t>(i) * stride_;
  }
  std::int32_t at(int i, int j) const { return row(i)[j]; }
  std::int32_t largest() const { return largest_; }

  // True for distances measured on the earth: then |D[i][k] - D[i][p]| is at
  // most D[p][k] + 1, the triangle inequality after rounding each distance.
  bool measured() const { return measured_; }

  // Smallest distance from a point at or before i to one at or after j.
  std::int32_t closingGap(int i, int j) const;

 private:
  int n_;
  std::size_t stride_;
  std::vector<std::int32_t> cells_;
  std::int32_t largest_ = 0;
  bool measured_ = false;
};

}  // namespace quorvanta
