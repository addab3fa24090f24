#include "views/PolarDiagram.h"

#include <algorithm>
#include <cmath>

#include "flight/Geodesy.h"
#include "views/Barogram.h"

namespace quorvanta {

namespace {

void fillPoints(const FlightRecord& r, PolarKind kind, AnalysisState& s) {
  const int n = r.FixCount;
  for (int i = 1; i <= n; ++i) s.BaroSeries[i] = s.PolarXSeries[i] = 0;
  for (int i = firstPolarPoint(kind); i <= n - 1; ++i) {
    const double hours = (r.FixTime[i + 1] - r.FixTime[i]) * 24;
    if (hours == 0) continue;
    if (kind == PolarKind::Velocity) {
      s.BaroSeries[i] = (r.FixLat[i + 1] - r.FixLat[i]) * EarthRadiusKm / hours;
      s.PolarXSeries[i] = std::cos(r.FixLat[i]) * (r.FixLon[i + 1] - r.FixLon[i]) * EarthRadiusKm / hours;
    } else {
      s.BaroSeries[i] = (r.FixAlt[i + 1] - r.FixAlt[i]) / (hours * 3600);
      s.PolarXSeries[i] =
          ArcDistance(r.FixLat[i], r.FixLon[i], r.FixLat[i + 1], r.FixLon[i + 1]) * EarthRadiusKm / hours;
    }
  }
  s.polarTitle = kind == PolarKind::Velocity ? "Speed und Richtung zum nächsten Punkt" : "Polardiagramm";
  s.SeriesUnit = kind == PolarKind::Velocity ? "kmh" : "m/s";
}

}  // namespace

void computePolar(const FlightRecord& r, PolarKind kind, int colourMode, AnalysisState& s) {
  s.PolarRecompute = false;
  if (!s.KeepSeries) {
    s.LeftCircles = s.RightCircles = 0;
    s.ShowCircles = false;
    for (int i = 1; i <= r.FixCount; ++i) s.SeriesColour[i] = TrackColour(r, i, colourMode);
    fillPoints(r, kind, s);
  }
  s.KeepSeries = false;
  double xMax = 0, xMin = 0, yMax = 0, yMin = 0;
  for (int i = firstPolarPoint(kind); i <= r.FixCount - 1; ++i) {
    xMax = std::max(xMax, s.PolarXSeries[i]);
    xMin = std::min(xMin, s.PolarXSeries[i]);
    yMax = std::max(yMax, s.BaroSeries[i]);
    yMin = std::min(yMin, s.BaroSeries[i]);
  }
  s.polarAxis = axisScale(xMax, xMin, kind == PolarKind::Velocity);
  s.axis = axisScale(yMax, yMin, true);
  // The barogram draws from these series too: it must recompute its own.
  s.NeedRecompute = true;
}

void smoothPolar(const FlightRecord& r, AnalysisState& s) {
  smoothSeries(s.BaroSeries, r.FixCount);
  smoothSeries(s.PolarXSeries, r.FixCount);
  s.KeepSeries = true;
  s.PolarRecompute = true;
}

}  // namespace quorvanta
