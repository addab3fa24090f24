#include "views/MapScene.h"

#include <cmath>

#include "flight/Geodesy.h"
#include "views/MapTexts.h"
#include "views/ResultTexts.h"

namespace quorvanta {

namespace {

MapCircle circleAt(const FlightRecord& r, int i, const MapRect& rect, int width, Rgb fill) {
  const double metres = std::nearbyint((rect.north - rect.south) * EarthRadiusKm * 15);
  const double d = metres / 1000 / EarthRadiusKm;
  const double lat = r.FixLat[i], lon = r.FixLon[i];
  return {xy(rect, lat - d, lon - d / std::cos(lat), width),
          xy(rect, lat + d, lon + d / std::cos(lat), width), fill};
}

void addRoute(MapScene& scene, const FlightRecord& r, const MapRect& rect, DrawnRoute route,
              const OptimizationResult& result) {
  if (route == DrawnRoute::None) return;
  const RouteFixes fixes = route == DrawnRoute::Free   ? freeRoute(result)
                           : route == DrawnRoute::Flat ? flatRoute(result)
                                                       : faiRoute(result);
  if (fixes[2] == 0) return;
  addRouteLines(scene, rect, routePoints(r, fixes), route != DrawnRoute::Free);
}

}  // namespace

void addRouteLines(MapScene& scene, const MapRect& rect, const RoutePoints& route, bool triangle) {
  const auto at = [&](const RoutePoint& p) { return xy(rect, p.lat, p.lon, scene.width); };
  if (triangle) {
    scene.routeLine = {at(route[1]), at(route[2]), at(route[3]), at(route[1])};
    scene.gapLine = {at(route[0]), at(route[4])};
  } else {
    scene.routeLine.clear();
    for (const RoutePoint& p : route) scene.routeLine.push_back(at(p));
  }
}

MapScene buildMapScene(const FlightRecord& r, const MapRect& rect, int width, int colourMode,
                       double baroOffset, DrawnRoute route, const OptimizationResult& result) {
  MapScene scene;
  scene.width = width;
  scene.scaleKm = scaleKmFor(rect.north - rect.south);
  scene.scaleFrom = xy1(0.05, 0.05, width);
  scene.scaleTo = xy1(0.05 + (scene.scaleKm / std::cos(rect.south) / EarthRadiusKm) /
                                 (rect.east - rect.west),
                      0.05, width);
  scene.scaleLabelAt = xy1(0.07, 0.09, width);
  scene.scaleLabel = std::to_string(scene.scaleKm) + " km";
  scene.heightLine = heightLineText(r, baroOffset);
  scene.heightLineAt = xy1(0.05, 0.96, width);
  if (r.FixCount < 1) return scene;

  scene.circles.push_back(circleAt(r, 1, rect, width, {32, 255, 176}));
  scene.circles.push_back(circleAt(r, r.FixCount, rect, width, {128, 0, 0}));
  scene.track.reserve(static_cast<std::size_t>(r.FixCount));
  scene.trackColours.reserve(static_cast<std::size_t>(r.FixCount));
  for (int i = 1; i <= r.FixCount; ++i) {
    scene.track.push_back(xy(rect, r.FixLat[i], r.FixLon[i], width));
    scene.trackColours.push_back(i == 1 ? Rgb{} : TrackColour(r, i, colourMode));
  }
  addRoute(scene, r, rect, route, result);
  return scene;
}

}  // namespace quorvanta
