#include "views/ResultTexts.h"

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "optimize/Scoring.h"
#include "views/MapTexts.h"

namespace quorvanta {

namespace {

double legKm(const FlightRecord& r, int from, int to) {
  return ArcDistance(r.FixLat[from], r.FixLon[from], r.FixLat[to], r.FixLon[to]) * EarthRadiusKm;
}

void addKind(std::vector<PanelText>& panel, int top, int pointsTop, const std::string& heading,
             double km, const std::array<int, 3>& turnpoints, double points, bool best) {
  panel.push_back({0, top, heading + fixedText(km, 3), PanelStyle::Heading});
  for (int k = 0; k < 3; ++k) {
    panel.push_back({10, top + 20 + 15 * k,
                     "WP " + std::to_string(k + 1) + ": " +
                         std::to_string(turnpoints[static_cast<std::size_t>(k)]),
                     PanelStyle::Detail});
  }
  panel.push_back({0, pointsTop, "Wertungspunkte: " + fixedText(points, 2),
                   best ? PanelStyle::BestPoints : PanelStyle::Points});
}

}  // namespace

std::vector<PanelText> pointsPanel(const OptimizationResult& r) {
  std::vector<PanelText> panel;
  addKind(panel, 0, 70, "FAI - Dreieckstrecke [km]: ", r.FaiPerimeter * EarthRadiusKm,
          {r.FaiTp1, r.FaiTp2, r.FaiTp3}, r.FaiPoints, r.FaiIsBest);
  addKind(panel, 100, 170, "Dreieckstrecke [km]: ", r.FlatPerimeter * EarthRadiusKm,
          {r.FlatTp1, r.FlatTp2, r.FlatTp3}, r.FlatPoints, r.FlatIsBest);
  addKind(panel, 200, 285, "freie Strecke [km]: ", r.FreeDistance * EarthRadiusKm,
          {r.FreeTp1, r.FreeTp2, r.FreeTp3}, r.FreePoints, r.FreeIsBest);
  panel.push_back({10, 265, "ZielP: " + std::to_string(r.FreeFinish), PanelStyle::Detail});
  return panel;
}

std::string exactKindName(const exact::ScoringKind& kind) {
  if (kind.code == "free") return "freie Strecke";
  if (kind.code == "flat") return "flaches Dreieck";
  if (kind.code == "fai") return "FAI-Dreieck";
  if (kind.code == "closed_flat") return "geschl. Dreieck";
  if (kind.code == "closed_fai") return "geschl. FAI-Dreieck";
  return kind.name;
}

std::vector<PanelText> exactPointsPanel(const exact::RuleSet& rules, const exact::ScoringTrack& track,
                                        const exact::ScoreResult& result) {
  // Five kinds at most: each takes 59 pixels under the title, the best
  // kind's large points included, within the panel's 313.
  constexpr int Top = 16, Pitch = 59;
  std::vector<PanelText> panel = {{0, 0, std::string("Exakte Wertung ") + rules.name, PanelStyle::Heading}};
  const auto fix = [&track](int index) {
    return std::to_string(track.fixNumber.at(static_cast<std::size_t>(index)));
  };
  for (std::size_t k = 0; k < result.kinds.size(); ++k) {
    const exact::KindResult& r = result.kinds[k];
    const int top = Top + Pitch * static_cast<int>(k);
    const std::string name = exactKindName(*r.kind);
    if (!r.found) {
      panel.push_back({0, top, name + ": keine Strecke", PanelStyle::Heading});
      continue;
    }
    const bool triangle = r.kind->shape == exact::RouteShape::Triangle;
    panel.push_back({0, top, name + " [km]: " + fixedText(r.distanceKm, 3), PanelStyle::Heading});
    panel.push_back({10, top + 13, std::string("WP ") + fix(r.tp1) + " / " + fix(r.tp2) + " / " + fix(r.tp3),
                     PanelStyle::Detail});
    std::string status = triangle ? std::string("Lücke ") + fixedText(r.gapKm, 3) + " km, " : std::string();
    status += r.proven ? "optimal" : std::string("nicht bewiesen, Schranke ") + fixedText(r.upperBound, 2);
    panel.push_back({10, top + 25, status, PanelStyle::Detail});
    const bool best = static_cast<int>(k) == result.best;
    panel.push_back({0, top + 37, std::string("Wertungspunkte: ") + fixedText(r.score, 2),
                     best ? PanelStyle::BestPoints : PanelStyle::Points});
  }
  return panel;
}

std::optional<ExactRoute> exactBestRoute(const exact::ScoringTrack& track,
                                         const exact::ScoreResult& result) {
  if (result.best < 0) return std::nullopt;
  const exact::KindResult& r = result.kinds.at(static_cast<std::size_t>(result.best));
  ExactRoute route;
  route.triangle = r.kind->shape == exact::RouteShape::Triangle;
  const std::array<int, 5> points = {r.start, r.tp1, r.tp2, r.tp3, r.finish};
  for (std::size_t k = 0; k < points.size(); ++k) {
    const auto i = static_cast<std::size_t>(points[k]);
    route.points[k] = {track.lat.at(i), track.lon.at(i), track.alt.at(i), track.time.at(i),
                       track.fixNumber.at(i)};
  }
  return route;
}

RoutePoints routePoints(const FlightRecord& r, const RouteFixes& route) {
  RoutePoints points;
  for (std::size_t k = 0; k < route.size(); ++k) {
    const int n = route[k];
    points[k] = {r.FixLat[n], r.FixLon[n], r.FixAlt[n], r.FixTime[n], n};
  }
  return points;
}

RouteFixes freeRoute(const OptimizationResult& r) {
  return {r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish};
}
RouteFixes flatRoute(const OptimizationResult& r) {
  return {r.FlatStart, r.FlatTp1, r.FlatTp2, r.FlatTp3, r.FlatFinish};
}
RouteFixes faiRoute(const OptimizationResult& r) {
  return {r.FaiStart, r.FaiTp1, r.FaiTp2, r.FaiTp3, r.FaiFinish};
}

std::array<std::string, 5> routeLabelTexts(const RoutePoints& route) {
  static constexpr std::array<const char*, 5> Prefixes = {"StartP:  ", "WP1:  ", "WP2:  ",
                                                          "WP3:  ", "ZielP:  "};
  std::array<std::string, 5> texts;
  for (std::size_t k = 0; k < 5; ++k) {
    const RoutePoint& p = route[k];
    texts[k] = std::string(Prefixes[k]) + positionText(p.lat, p.lon) + "  " +
               std::to_string(p.alt) + "m  " + timeOfDayText(p.time) + "  (" +
               std::to_string(p.fixNumber) + ")";
  }
  return texts;
}

std::string freeLegsText(const FlightRecord& r, const RouteFixes& route) {
  std::string text;
  for (std::size_t k = 0; k < 4; ++k) {
    if (k > 0) text += " + ";
    text += fixedText(legKm(r, route[k], route[k + 1]), 3);
  }
  return text + " km";
}

std::array<std::string, 2> triangleLegsTexts(const FlightRecord& r, const RouteFixes& route) {
  const double l1 = legKm(r, route[3], route[1]);
  const double l2 = legKm(r, route[1], route[2]);
  const double l3 = legKm(r, route[2], route[3]);
  const double gap = legKm(r, route[0], route[4]);
  const double perimeter = l1 + l2 + l3;
  std::array<std::string, 2> texts;
  texts[0] = fixedText(l1, 3) + " + " + fixedText(l2, 3) + " + " + fixedText(l3, 3) + " - " +
             fixedText(gap, 3) + " km";
  if (perimeter > 0) {
    const auto share = [perimeter](double km) { return fixedText(km / perimeter * 100, 2); };
    texts[1] = share(l1) + "% + " + share(l2) + "% + " + share(l3) + "% - " + share(gap) + "%";
  }
  return texts;
}

std::string startToFinishText(const FlightRecord& record) {
  return "Start bis Ziel direkt [km]: " + fixedText(startToFinishKm(record), 3);
}

std::string trackLengthText(const FlightRecord& record) {
  return "Gesamtlänge des Tracks [km]: " + fixedText(trackLengthKm(record), 3);
}

}  // namespace quorvanta
