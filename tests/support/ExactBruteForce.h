#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "optimize/exact/ExactSolver.h"
#include "optimize/exact/TrackDistance.h"

// Header-only and free of GoogleTest, so that the fuzz harnesses share it.
namespace quorvanta::test {

// The plainest search there is: every combination of fixes.
inline double bruteForce(const exact::ScoringTrack& track, const exact::RuleSet& rules,
                         const exact::ScoringKind& kind) {
  const exact::TrackDistance distance(rules.model, rules.sphereRadiusKm, track.lat, track.lon);
  const int n = track.size();
  const auto at = [n](int a, int b) { return static_cast<std::size_t>(a * n + b); };
  std::vector<double> d(static_cast<std::size_t>(n * n));
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) d[at(a, b)] = distance.km(a, b);
  }
  double best = 0;
  if (kind.shape == exact::RouteShape::FreeDistance) {
    std::vector<double> in(static_cast<std::size_t>(n)), out(static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) {
      for (int s = 0; s <= t; ++s) in[static_cast<std::size_t>(t)] = std::max(in[static_cast<std::size_t>(t)], d[at(s, t)]);
      for (int f = t; f < n; ++f) out[static_cast<std::size_t>(t)] = std::max(out[static_cast<std::size_t>(t)], d[at(t, f)]);
    }
    for (int t1 = 0; t1 < n; ++t1) {
      for (int t2 = t1; t2 < n; ++t2) {
        for (int t3 = t2; t3 < n; ++t3) {
          best = std::max(best, exact::freeScore(kind, in[static_cast<std::size_t>(t1)], d[at(t1, t2)],
                                          d[at(t2, t3)], out[static_cast<std::size_t>(t3)]));
        }
      }
    }
    return best;
  }
  // gap[a][b]: the closest start s <= a to a finish f >= b.
  std::vector<double> gap(d);
  for (int a = 0; a < n; ++a) {
    for (int b = n - 1; b > a; --b) {
      if (a > 0) gap[at(a, b)] = std::min(gap[at(a, b)], gap[at(a - 1, b)]);
      if (b < n - 1) gap[at(a, b)] = std::min(gap[at(a, b)], gap[at(a, b + 1)]);
    }
  }
  for (int t1 = 0; t1 < n; ++t1) {
    for (int t2 = t1 + 1; t2 < n; ++t2) {
      for (int t3 = t2 + 1; t3 < n; ++t3) {
        const auto score =
            exact::triangleScore(kind, d[at(t1, t2)], d[at(t2, t3)], d[at(t3, t1)], gap[at(t1, t3)]);
        if (score) best = std::max(best, *score);
      }
    }
  }
  return best;
}

}  // namespace quorvanta::test
