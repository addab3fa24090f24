// A short track built from the input: a rule set, a scale from metres to
// hundreds of kilometres, a starting point anywhere on the earth, then one
// step per byte pair (a zero step records the fix again). The exact scoring
// of every kind must equal a search of every fix combination and be proven.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "flight/Geodesy.h"
#include "optimize/exact/ExactSolver.h"
#include "support/ExactBruteForce.h"

namespace quorvanta {
namespace {

using fuzz::require;

constexpr std::size_t HeaderBytes = 4;
constexpr int MostFixes = 48;  // the comparison search grows with the cube

exact::ScoringTrack trackOf(const std::uint8_t* data, std::size_t size) {
  const double stepDeg = 1e-5 * std::pow(10.0, data[1] % 6);
  double lat = -89.0 + 178.0 * data[2] / 255, lon = -180.0 + 360.0 * data[3] / 255;
  exact::ScoringTrack track;
  for (std::size_t k = HeaderBytes; k + 1 < size && track.size() < MostFixes; k += 2) {
    lat = std::clamp(lat + stepDeg * static_cast<std::int8_t>(data[k]), -90.0, 90.0);
    lon += stepDeg * static_cast<std::int8_t>(data[k + 1]);
    track.lat.push_back(lat * DegToRad);
    track.lon.push_back(lon * DegToRad);
    track.fixNumber.push_back(track.size());
  }
  return track;
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  if (size < HeaderBytes) return 0;
  const exact::RuleSet& rules = exact::ruleSets()[data[0] % exact::ruleSets().size()];
  const exact::ScoringTrack track = trackOf(data, size);
  RunControl control;
  const exact::ScoreResult result = exact::scoreTrack(track, rules, control);
  require(result.kinds.size() == rules.kinds.size(), "every kind has its result");
  for (std::size_t k = 0; k < rules.kinds.size(); ++k) {
    const exact::KindResult& r = result.kinds[k];
    const double expected = test::bruteForce(track, rules, rules.kinds[k]);
    require(r.proven, "a search without limits is proven", rules.kinds[k].name);
    require(r.score == expected, "the score equals the search of every combination",
            rules.id + " " + rules.kinds[k].name + ": " + std::to_string(r.score) + " vs " +
                std::to_string(expected));
  }
  return 0;
}
