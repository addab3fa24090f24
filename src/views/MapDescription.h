#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "views/MapGeometry.h"

namespace quorvanta {

// A georeferenced map bitmap as its ".map" description file gives it.
struct MapDescription {
  std::string fileName;         // the bitmap, beside the description file
  double topLat = 0;            // radians, top edge
  double topLon = 0;            // radians, left edge
  double latPerPixel = 0;       // radians
  double lonPerPixel = 0;       // radians
  int pixWidth = 0, pixHeight = 0;
};

// Section "Map" of the description file; missing keys read as 0 or empty.
MapDescription parseMapDescription(std::string_view content);

// "47.30.0": degrees, minutes and seconds; a "-" anywhere makes it negative.
double dmsDegrees(std::string_view text);

// "2.5": arc-seconds per pixel, at most seven fraction digits counted.
double secondsPerPixel(std::string_view text);

// Where the bitmap goes in a map of the given size, or that it would be
// overzoomed (one bitmap pixel over more than three map pixels).
struct MapPlacement {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool overzoomed = false;
};
MapPlacement placeMap(const MapDescription& map, const MapRect& rect, int width, int height);

}  // namespace quorvanta
