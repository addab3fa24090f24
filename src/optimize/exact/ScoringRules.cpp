#include "optimize/exact/ScoringRules.h"

#include <algorithm>

namespace quorvanta::exact {

namespace {

ScoringKind freeKind(std::string name, double multiplier) {
  return {std::move(name), "free", RouteShape::FreeDistance, multiplier};
}

ScoringKind triangleKind(std::string name, std::string code, double multiplier, double fixedKm,
                         double relative, double freeKm, double legShare, bool strict = false) {
  return {std::move(name), std::move(code), RouteShape::Triangle, multiplier, fixedKm, relative,
          freeKm, legShare, strict};
}

constexpr double FaiLegShare = 0.28;

// XContest, FFVL (CFD) and FAI (Sporting Code Section 7D, without cylinders)
// measure on the WGS 84 ellipsoid; the 2003 rules are the program's own, on
// its sphere of 6371.0 km.
std::vector<RuleSet> makeRuleSets() {
  std::vector<RuleSet> sets;
  sets.push_back({"xcontest", "XContest", DistanceModel::Wgs84, 0,
                  {freeKind("Free flight", 1.0),
                   triangleKind("Free triangle", "flat", 1.2, 0, 0.2, 0, 0),
                   triangleKind("FAI triangle", "fai", 1.4, 0, 0.2, 0, FaiLegShare),
                   triangleKind("Closed free triangle", "closed_flat", 1.4, 0, 0.05, 0, 0),
                   triangleKind("Closed FAI triangle", "closed_fai", 1.6, 0, 0.05, 0, FaiLegShare)}});
  sets.push_back({"ffvl", "FFVL", DistanceModel::Wgs84, 0,
                  {freeKind("Distance 3 points", 1.0),
                   triangleKind("Triangle plat", "flat", 1.2, 3, 0.05, 3, 0),
                   triangleKind("Triangle FAI", "fai", 1.4, 3, 0.05, 3, FaiLegShare)}});
  sets.push_back({"fai", "FAI", DistanceModel::Wgs84, 0,
                  {freeKind("Open distance", 1.0),
                   triangleKind("Free triangle", "flat", 1.2, 0.8, 0, 0.8, 0),
                   triangleKind("FAI triangle", "fai", 1.4, 0.8, 0, 0.8, FaiLegShare)}});
  sets.push_back({"olc2003", "OLC 2003", DistanceModel::Sphere, 6371.0,
                  {freeKind("freie Strecke", 1.5),
                   triangleKind("Dreieck", "flat", 1.75, 0, 0.2, 0, 0),
                   triangleKind("FAI-Dreieck", "fai", 2.0, 0, 0.2, 0, FaiLegShare, true)}});
  return sets;
}

}  // namespace

const std::vector<RuleSet>& ruleSets() {
  static const std::vector<RuleSet> sets = makeRuleSets();
  return sets;
}

const RuleSet* findRuleSet(std::string_view id) {
  for (const RuleSet& set : ruleSets()) {
    if (set.id == id) return &set;
  }
  return nullptr;
}

std::optional<double> triangleScore(const ScoringKind& kind, double leg1Km, double leg2Km,
                                    double leg3Km, double gapKm) {
  const double perimeter = leg1Km + leg2Km + leg3Km;
  if (kind.minLegShare > 0) {
    const double least = kind.minLegShare * perimeter;
    const double shortest = std::min({leg1Km, leg2Km, leg3Km});
    if (kind.strictLegShare ? !(shortest > least) : !(shortest >= least)) return std::nullopt;
  }
  if (gapKm > std::max(kind.closingFixedKm, kind.closingRelative * perimeter)) return std::nullopt;
  const double penalty = gapKm > kind.closingFreeKm ? gapKm : 0;
  return kind.multiplier * (perimeter - penalty);
}

double freeScore(const ScoringKind& kind, double startLegKm, double leg1Km, double leg2Km,
                 double finishLegKm) {
  return kind.multiplier * (startLegKm + leg1Km + leg2Km + finishLegKm);
}

}  // namespace quorvanta::exact
