#pragma once

#include <array>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "views/MapGeometry.h"
#include "views/TrackColour.h"

namespace quorvanta {

// The controls of the perspective sketch.
struct PerspectiveView {
  int azimuthDeg = 20;    // -180..180
  int elevationDeg = 30;  // 0..90
  int zoom = 19;          // 3..23
  int heightZoom = 10;    // 0..30
  bool grid = true;       // "xy-Raster"
  bool dropLines = false; // "Lotlinien"
};

// The route drawn with it: five points (start, Tp1, Tp2, Tp3, finish for a
// free distance; Tp1, Tp2, Tp3, start, finish for a triangle).
struct PerspectiveRoute {
  int count = 0;
  bool triangle = false;
  std::array<int, 5> fixes{};
};

// The height step of the scale bar for the flight's highest altitude (or
// terrain height when it has none).
int heightStep(const FlightRecord& record);

struct SketchLine {
  Pixel from, to;
  Rgb colour;
  int width = 1;
};

struct SketchText {
  Pixel at;
  std::string text;
};

// Everything the sketch draws, in order, for an image of the given size.
struct PerspectiveSketch {
  std::vector<SketchText> texts;  // on yellow, top left
  std::vector<SketchLine> lines;
  Pixel scaleFrom, scaleTo;       // magenta height bar
  SketchText scaleLabel;
};

PerspectiveSketch perspectiveSketch(const FlightRecord& record, const MapRect& rect,
                                    const PerspectiveView& view, const PerspectiveRoute& route,
                                    int step, int colourMode, int width, int height);

// The view after a mouse drag from `start` to `now` begun at `atStart`.
PerspectiveView rotatedView(const PerspectiveView& atStart, Pixel start, Pixel now);

}  // namespace quorvanta
