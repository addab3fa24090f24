#include "views/FlightSketch3d.h"

#include <algorithm>
#include <cmath>

#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "views/PixelMath.h"

namespace quorvanta {

namespace {

// The parallel projection of one drawing.
class Projection {
 public:
  Projection(const MapRect& map, const PerspectiveView& view, double heightScale, int width, int height)
      : a_(view.azimuthDeg * DegToRad), e_(view.elevationDeg * DegToRad), h_(heightScale), width_(width) {
    const double k = (20 - view.zoom) / 10.0;
    n_ = map.north + (map.north - map.south) * k;
    s_ = map.south - (map.north - map.south) * k;
    double east = map.east + (map.east - map.west) * k, west = map.west - (map.east - map.west) * k;
    q_ = std::cos((map.south + map.north) / 2);
    const double c = (east + west) / 2, d = east - west;
    w_ = c - d / 2 * q_;
    e2_ = c + d / 2 * q_;
    const double cx = (e2_ + w_) / 2, cy = (n_ + s_) / 2;
    ox_ = cx - (cx * q_ * std::cos(a_) - cy * std::sin(a_));
    oy_ = cy - (cx * q_ * std::sin(a_) + cy * std::cos(a_)) * std::sin(e_);
    dy_ = -(height / 20);
  }

  Pixel at(double lat, double lon, double altitude = 0) const {
    const double x = lon * q_ * std::cos(a_) - lat * std::sin(a_) + ox_;
    const double y = (lon * q_ * std::sin(a_) + lat * std::cos(a_)) * std::sin(e_) + oy_;
    const double fx = (x - w_) / (e2_ - w_), fy = (y - s_) / (n_ - s_);
    const Pixel ground{truncatedPixel(width_ * fx), truncatedPixel(width_ * (1 - fy)) + dy_};
    return {ground.x, ground.y - truncatedPixel(altitude * h_ * std::cos(e_))};
  }
  double extentRatio(const MapRect& map) const { return (map.north - map.south) / (n_ - s_); }
  double elevation() const { return e_; }

 private:
  double a_, e_, h_;
  int width_;
  double n_ = 0, s_ = 0, w_ = 0, e2_ = 0, q_ = 1, ox_ = 0, oy_ = 0;
  int dy_ = 0;
};

// Pixels per metre before the elevation factor.
double heightScale(const FlightRecord& r, const PerspectiveView& view, int height, double extentRatio) {
  const int m = r.MaxAlt >= 1 ? r.MaxAlt : r.MaxGroundAlt;
  if (m < 1) return 100;
  return (view.heightZoom * 10.0 / m) * height / 400 * extentRatio;
}

void addPolyline(std::vector<SketchLine>& lines, const std::vector<Pixel>& points, Rgb colour, int width) {
  for (std::size_t i = 1; i < points.size(); ++i) lines.push_back({points[i - 1], points[i], colour, width});
}

}  // namespace

int heightStep(const FlightRecord& r) {
  const int m = r.MaxAlt != 0 ? r.MaxAlt : r.MaxGroundAlt;
  int step = 10;
  for (const int threshold : {20, 50, 100, 200, 500, 1000, 2000}) {
    if (m > threshold) step = threshold;
  }
  return step;
}

PerspectiveSketch perspectiveSketch(const FlightRecord& r, const MapRect& map, const PerspectiveView& view,
                                    const PerspectiveRoute& route, int step, int colourMode, int width,
                                    int height) {
  PerspectiveSketch sketch;
  const double h = heightScale(r, view, height, Projection(map, view, 0, width, height).extentRatio(map));
  const Projection p(map, view, h, width, height);
  sketch.texts.push_back({{10, 10}, "Blick aus Richtung   " + fixedText(view.azimuthDeg + 180, 0) + "°"});
  sketch.texts.push_back({{10, 30}, "Elevation Blickpunkt " + fixedText(view.elevationDeg, 0) + "°"});
  sketch.texts.push_back({{10, 50}, "Rasterfläche in x/y  " + fixedText((map.north - map.south) * EarthRadiusKm, 1) + " km"});

  const auto latLine = [&](int j) { return map.south + (map.north - map.south) * (j - 1) / 10; };
  const auto lonLine = [&](int j) { return map.west + (map.east - map.west) * (j - 1) / 10; };
  if (view.grid) {
    for (int j = 1; j <= 11; ++j) {
      sketch.lines.push_back({p.at(latLine(1), lonLine(j)), p.at(latLine(11), lonLine(j)), {128, 128, 128}, 1});
      sketch.lines.push_back({p.at(latLine(j), lonLine(1)), p.at(latLine(j), lonLine(11)), {128, 128, 128}, 1});
    }
  }
  const Pixel tip = p.at(latLine(6), lonLine(3));
  addPolyline(sketch.lines,
              {p.at(latLine(3), lonLine(3)), tip, p.at(latLine(5), (2 * lonLine(3) + lonLine(2)) / 3),
               p.at(latLine(5), (2 * lonLine(3) + lonLine(4)) / 3), tip},
              {255, 0, 0}, 3);
  std::vector<Pixel> ground, air;
  for (int i = 1; i <= r.FixCount; ++i) {
    ground.push_back(p.at(r.FixLat[i], r.FixLon[i]));
    air.push_back(p.at(r.FixLat[i], r.FixLon[i], r.FixAlt[i]));
    if (view.dropLines) {
      sketch.lines.push_back({ground.back(), air.back(), {192, 192, 192}, 1});
      sketch.lines.push_back({ground.back(), p.at(r.FixLat[i], r.FixLon[i], r.FixGroundAlt[i]), {51, 51, 51}, 1});
    }
  }
  for (std::size_t i = 1; i < air.size(); ++i) {
    sketch.lines.push_back({air[i - 1], air[i], TrackColour(r, static_cast<int>(i) + 1, colourMode), 2});
  }
  addPolyline(sketch.lines, ground, {0, 0, 0}, 1);

  if (route.count > 0) {
    for (const bool inAir : {true, false}) {
      std::vector<Pixel> points;
      for (const int fix : route.fixes) points.push_back(p.at(r.FixLat[fix], r.FixLon[fix], inAir ? r.FixAlt[fix] : 0));
      const int width2 = inAir ? 2 : 1;
      if (route.triangle) {
        addPolyline(sketch.lines, {points[0], points[1], points[2], points[0]}, {0, 128, 0}, width2);
        sketch.lines.push_back({points[3], points[4], {255, 0, 0}, width2});
      } else {
        addPolyline(sketch.lines, points, {0, 128, 0}, width2);
      }
    }
  }
  sketch.scaleFrom = {20, height - 20};
  sketch.scaleTo = {20, height - 20 - static_cast<int>(step * h * std::cos(p.elevation()))};
  sketch.scaleLabel = {{25, height - 30}, std::to_string(step) + "m Höhe"};
  return sketch;
}

PerspectiveView rotatedView(const PerspectiveView& atStart, Pixel start, Pixel now) {
  PerspectiveView view = atStart;
  view.azimuthDeg = std::clamp(atStart.azimuthDeg + (start.x - now.x) / 2, -180, 180);
  view.elevationDeg = std::clamp(atStart.elevationDeg + (start.y - now.y) / 2, 0, 90);
  return view;
}

}  // namespace quorvanta
