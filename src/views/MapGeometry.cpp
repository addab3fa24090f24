#include "views/MapGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "views/PixelMath.h"

namespace quorvanta {

namespace {

// A zero extent would give an empty map: widen it by 0.0145 % of the value.
void widenDegenerate(double& low, double& high) {
  if (low != high) return;
  if (high > 0) {
    low *= 0.999855;
    high *= 1.000145;
  } else if (high < 0) {
    low *= 1.000145;
    high *= 0.999855;
  } else {
    high = 0.000145;
    low = -0.000145;
  }
}

}  // namespace

MapRect fitToTrack(const FlightRecord& record) {
  if (record.FixCount < 1) return {};
  MapRect r{record.FixLat[1], record.FixLat[1], record.FixLon[1], record.FixLon[1]};
  for (int i = 2; i <= record.FixCount; ++i) {
    r.north = std::max(r.north, record.FixLat[i]);
    r.south = std::min(r.south, record.FixLat[i]);
    r.east = std::max(r.east, record.FixLon[i]);
    r.west = std::min(r.west, record.FixLon[i]);
  }
  widenDegenerate(r.south, r.north);
  widenDegenerate(r.west, r.east);
  const double dLat = r.north - r.south;
  const double dLon = r.east - r.west;
  const double q = dLat / (std::cos((r.north + r.south) / 2) * dLon);
  if (q <= 1) {
    const double centre = (r.north + r.south) / 2;
    r.north = centre + 0.5 * dLat / q;
    r.south = centre - 0.5 * dLat / q;
  } else {
    const double centre = (r.east + r.west) / 2;
    r.east = centre + 0.5 * dLon * q;
    r.west = centre - 0.5 * dLon * q;
  }
  r.south -= 0.05 * dLat;
  r.north += 0.05 * dLat;
  r.west -= 0.05 * dLon;
  r.east += 0.05 * dLon;
  return r;
}

Pixel xy(const MapRect& rect, double lat, double lon, int width) {
  const double fx = (lon - rect.west) / (rect.east - rect.west);
  const double fy = (lat - rect.south) / (rect.north - rect.south);
  return xy1(fx, fy, width);
}

Pixel xy1(double fx, double fy, int width) {
  return {truncatedPixel(width * fx), truncatedPixel(width * (1 - fy))};
}

Position positionAt(const MapRect& rect, Pixel pixel, int width, int height) {
  return {rect.south + (rect.north - rect.south) * (height - pixel.y) / height,
          rect.west + (rect.east - rect.west) * pixel.x / width};
}

MapRect zoomedOut(const MapRect& rect) {
  const double halfLat = (rect.north - rect.south) / 2;
  const double halfLon = (rect.east - rect.west) / 2;
  return {rect.north + halfLat, rect.south - halfLat, rect.east + halfLon, rect.west - halfLon};
}

MapRect wheelZoomed(const MapRect& rect, bool down) {
  const double sign = down ? 1 : -1;
  const double tenthLat = sign * (rect.north - rect.south) / 10;
  const double tenthLon = sign * (rect.east - rect.west) / 10;
  return {rect.north + tenthLat, rect.south - tenthLat, rect.east + tenthLon,
          rect.west - tenthLon};
}

int dragSize(Pixel start, Pixel last) {
  return std::max(std::abs(start.x - last.x), std::abs(start.y - last.y));
}

MapRect dragZoomed(const MapRect& rect, Pixel start, Pixel last, int width, int height) {
  const int d = dragSize(start, last);
  const int x1 = last.x >= start.x ? start.x + d : start.x - d;
  const int y1 = last.y >= start.y ? start.y + d : start.y - d;
  const double latExtent = rect.north - rect.south;
  const double lonExtent = rect.east - rect.west;
  MapRect zoomed;
  zoomed.north = rect.south + (height - std::min(start.y, y1)) * latExtent / height;
  zoomed.south = rect.south + (height - std::max(start.y, y1)) * latExtent / height;
  zoomed.east = rect.west + std::max(start.x, x1) * lonExtent / width;
  zoomed.west = rect.west + std::min(start.x, x1) * lonExtent / width;
  return zoomed;
}

MapRect dragPanned(const MapRect& rect, Pixel start, Pixel last, int width, int height) {
  const double dLat = (rect.north - rect.south) * (last.y - start.y) / height;
  const double dLon = (rect.east - rect.west) * (start.x - last.x) / width;
  return {rect.north + dLat, rect.south + dLat, rect.east + dLon, rect.west + dLon};
}

int scaleKmFor(double latExtent) {
  int km = 1;
  if (latExtent > 0.002) km = 2;
  if (latExtent > 0.005) km = 5;
  if (latExtent > 0.01) km = 10;
  if (latExtent > 0.02) km = 20;
  if (latExtent > 0.05) km = 50;
  return km;
}

}  // namespace quorvanta
