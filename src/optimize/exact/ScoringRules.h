#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta::exact {

// How a rule set measures distances: the program's sphere (haversine on a
// radius) or geodesics on the WGS 84 ellipsoid.
enum class DistanceModel { Sphere, Wgs84 };

enum class RouteShape { FreeDistance, Triangle };

// One kind of flight a rule set scores. A triangle counts when its closing
// gap is at most max(closingFixedKm, closingRelative * perimeter); a gap
// above closingFreeKm is subtracted whole from the perimeter.
struct ScoringKind {
  std::string name;
  std::string code;  // free, flat, fai, closed_flat, closed_fai
  RouteShape shape = RouteShape::FreeDistance;
  double multiplier = 1;
  double closingFixedKm = 0;
  double closingRelative = 0;
  double closingFreeKm = 0;
  double minLegShare = 0;       // 0: any triangle; else every leg at least this share
  bool strictLegShare = false;  // the share must be exceeded, not only reached
};

struct RuleSet {
  std::string id;    // xcontest, ffvl, fai, olc2003
  std::string name;  // as shown
  DistanceModel model = DistanceModel::Wgs84;
  double sphereRadiusKm = 0;  // for DistanceModel::Sphere
  std::vector<ScoringKind> kinds;
};

const std::vector<RuleSet>& ruleSets();
const RuleSet* findRuleSet(std::string_view id);

// A triangle's legs checked against the kind's leg share and closing rule;
// nothing when it does not count, else its score.
std::optional<double> triangleScore(const ScoringKind& kind, double leg1Km, double leg2Km,
                                    double leg3Km, double gapKm);

// A free distance's score from its four legs, summed in route order.
double freeScore(const ScoringKind& kind, double startLegKm, double leg1Km, double leg2Km,
                 double finishLegKm);

}  // namespace quorvanta::exact
