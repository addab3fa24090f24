// A map description file and where its bitmap goes in a few map views.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "flight/Geodesy.h"
#include "flight/TextLines.h"
#include "views/MapDescription.h"
#include "views/PixelMath.h"

namespace quorvanta {
namespace {

using fuzz::require;

struct View {
  MapRect rect;
  int width, height;
};

// The Pyrenees of the seed, a view zoomed deep into it, the whole earth and
// a view of no extent at all.
constexpr double D = DegToRad;
constexpr View Views[] = {
    {{42.8 * D, 42.0 * D, 2.0 * D, 1.0 * D}, 419, 419},
    {{42.7001 * D, 42.7 * D, 1.2001 * D, 1.2 * D}, 800, 600},
    {{90 * D, -90 * D, 180 * D, -180 * D}, 365, 365},
    {{42.5 * D, 42.5 * D, 1.5 * D, 1.5 * D}, 1, 1},
};

void checkParsed(const MapDescription& map) {
  for (const double value : {map.topLat, map.topLon, map.latPerPixel, map.lonPerPixel}) {
    require(std::isfinite(value), "the description reads as finite numbers");
  }
}

// Coordinates stay within the painter's limits, and in a view of some
// extent a bitmap of positive size never turns inside out.
void checkPlaced(const MapDescription& map, const View& view) {
  const MapPlacement placed = placeMap(map, view.rect, view.width, view.height);
  constexpr int Limit = 2 * static_cast<int>(PixelLimit);
  for (const int value : {placed.left, placed.top, placed.right, placed.bottom}) {
    require(value >= -Limit && value <= Limit, "the bitmap is placed within the pixel limits");
  }
  const MapRect& rect = view.rect;
  if (rect.north <= rect.south || rect.east <= rect.west) return;
  if (map.lonPerPixel >= 0 && map.pixWidth >= 0) {
    require(placed.right >= placed.left, "a bitmap's right edge is not left of its left edge");
  }
  if (map.latPerPixel >= 0 && map.pixHeight >= 0) {
    require(placed.bottom >= placed.top, "a bitmap's bottom is not above its top");
  }
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  const std::string_view content = fuzz::textOf(data, size);
  const MapDescription map = parseMapDescription(content);
  checkParsed(map);
  for (const View& view : Views) checkPlaced(map, view);
  // The field readers on their own, on every line of the input.
  for (const std::string& line : splitLines(content)) {
    require(std::isfinite(dmsDegrees(line)) && std::isfinite(secondsPerPixel(line)),
            "fields read as finite numbers");
  }
  return 0;
}
