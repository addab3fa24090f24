#pragma once

#include <cmath>

namespace quorvanta {

// Pixel coordinates are kept within ±10^7, so that a position far outside a
// deeply zoomed view can neither overflow an int nor upset the painter.
inline constexpr double PixelLimit = 1e7;

// Truncation toward zero (NaN counts as far off to the left or top).
inline int truncatedPixel(double value) {
  if (!(value > -PixelLimit)) return static_cast<int>(-PixelLimit);
  if (value > PixelLimit) return static_cast<int>(PixelLimit);
  return static_cast<int>(value);
}

// Rounding to the nearest pixel, an exact half to the even neighbour.
inline int roundedPixel(double value) {
  if (!(value > -PixelLimit)) return static_cast<int>(-PixelLimit);
  if (value > PixelLimit) return static_cast<int>(PixelLimit);
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace quorvanta
