#pragma once

#include "flight/FlightRecord.h"

namespace quorvanta {

// The part of the earth shown in the square map: edges in radians.
struct MapRect {
  double north = 0, south = 0, east = 0, west = 0;
  bool operator==(const MapRect&) const = default;
};

struct Pixel {
  int x = 0, y = 0;
  bool operator==(const Pixel&) const = default;
};

struct Position {
  double lat = 0, lon = 0;  // radians
};

// The rectangle that shows the whole track: squared so that a kilometre is
// about as long east-west as north-south, with 5 % margins.
MapRect fitToTrack(const FlightRecord& record);

// Pixel of a position in a square of side `width` (truncated toward zero).
Pixel xy(const MapRect& rect, double lat, double lon, int width);

// Pixel at a fraction across (fx) and up (fy) the square.
Pixel xy1(double fx, double fy, int width);

// The position under a pixel of a map of the given size.
Position positionAt(const MapRect& rect, Pixel pixel, int width, int height);

// "Zoom out 2x": both extents doubled about the centre.
MapRect zoomedOut(const MapRect& rect);

// The mouse wheel: one step down widens both extents by a fifth, up narrows
// them by a fifth, about the centre.
MapRect wheelZoomed(const MapRect& rect, bool down);

// The larger side of a mouse drag; drags of 20 pixels or less do nothing.
int dragSize(Pixel start, Pixel last);
inline constexpr int MinimumDrag = 20;

// Zooms to the square of side dragSize anchored at `start` toward `last`.
MapRect dragZoomed(const MapRect& rect, Pixel start, Pixel last, int width, int height);

// Moves the rectangle so that the map follows the mouse from start to last.
MapRect dragPanned(const MapRect& rect, Pixel start, Pixel last, int width, int height);

// Length of the scale bar for the latitude extent shown (radians).
int scaleKmFor(double latExtent);

}  // namespace quorvanta
