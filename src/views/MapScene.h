#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"
#include "views/MapGeometry.h"
#include "views/ResultTexts.h"
#include "views/TrackColour.h"

namespace quorvanta {

// The route drawn over the track, as ticked in the "Zeichnen" menu.
enum class DrawnRoute { None, Free, Flat, Fai };

struct MapCircle {
  Pixel corner1, corner2;  // opposite corners of the circle's bounding box
  Rgb fill;
};

// What the map shows over its background, in drawing order, in pixels of a
// square of side `width`.
struct MapScene {
  int width = 0;
  int scaleKm = 1;
  Pixel scaleFrom, scaleTo, scaleLabelAt;
  std::string scaleLabel;
  std::optional<std::string> heightLine;
  Pixel heightLineAt;
  std::vector<MapCircle> circles;  // take-off, then landing
  std::vector<Pixel> track;        // one pixel per fix
  std::vector<Rgb> trackColours;   // per fix: its dot outline and incoming segment
  std::vector<Pixel> routeLine;    // green, two pixels wide
  std::vector<Pixel> gapLine;      // red: a triangle's start to finish
};

MapScene buildMapScene(const FlightRecord& record, const MapRect& rect, int width, int colourMode,
                       double baroOffset, DrawnRoute route, const OptimizationResult& result);

// A route over the scene's track: green through its turnpoints (a triangle
// closed), and for a triangle the red gap from start to finish.
void addRouteLines(MapScene& scene, const MapRect& rect, const RoutePoints& route, bool triangle);

}  // namespace quorvanta
