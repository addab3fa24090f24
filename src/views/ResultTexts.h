#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"
#include "optimize/exact/ExactSolver.h"

namespace quorvanta {

// How a text of the points panel is set.
enum class PanelStyle {
  Heading,     // bold, black
  Points,      // bold navy
  BestPoints,  // bold red, size 14
  Detail,      // size 8, black
};

struct PanelText {
  int x = 0, y = 0;
  std::string text;
  PanelStyle style = PanelStyle::Detail;
  bool operator==(const PanelText&) const = default;
};

// The points panel after an optimization: each kind's distance, turnpoints
// and points, the best kind's points in red.
std::vector<PanelText> pointsPanel(const OptimizationResult& result);

// The five route points in the order start, Tp1, Tp2, Tp3, finish.
using RouteFixes = std::array<int, 5>;
RouteFixes freeRoute(const OptimizationResult& result);
RouteFixes flatRoute(const OptimizationResult& result);
RouteFixes faiRoute(const OptimizationResult& result);

// A kind of an exact scoring as the panel names it.
std::string exactKindName(const exact::ScoringKind& kind);

// The points panel after an exact scoring: the rule set, then each kind's
// distance, turnpoints, gap, whether it is proven optimal and its points,
// the best kind's points in red.
std::vector<PanelText> exactPointsPanel(const exact::RuleSet& rules, const exact::ScoringTrack& track,
                                        const exact::ScoreResult& result);

// A route point as drawn and labelled, wherever its fix was read from.
struct RoutePoint {
  double lat = 0, lon = 0;  // radians
  std::int32_t alt = 0;     // m
  double time = 0;          // day count
  std::int32_t fixNumber = 0;
};
using RoutePoints = std::array<RoutePoint, 5>;
RoutePoints routePoints(const FlightRecord& record, const RouteFixes& route);

// The best kind's route, its points taken from the scored track; nothing
// when no kind was found.
struct ExactRoute {
  RoutePoints points{};
  bool triangle = false;
};
std::optional<ExactRoute> exactBestRoute(const exact::ScoringTrack& track,
                                         const exact::ScoreResult& result);

// Label1 to Label5 while a route is drawn: "StartP:  N 47:30.000  E …".
std::array<std::string, 5> routeLabelTexts(const RoutePoints& route);

// Label6 of the free distance: its four legs in km.
std::string freeLegsText(const FlightRecord& record, const RouteFixes& route);

// Label6 and Label7 of a triangle: the three legs and the gap in km, and the
// same as shares of the perimeter.
std::array<std::string, 2> triangleLegsTexts(const FlightRecord& record, const RouteFixes& route);

// Label1 of "Start - Ziel" and "Gesamtstrecke".
std::string startToFinishText(const FlightRecord& record);
std::string trackLengthText(const FlightRecord& record);

}  // namespace quorvanta
