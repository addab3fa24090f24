#include "views/TrackColour.h"

#include <algorithm>
#include <cmath>

#include "flight/Geodesy.h"

namespace quorvanta {

namespace {

std::uint8_t channel(double value) {
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

// Ratio or 0 when it cannot be formed.
double ratioOrZero(double numerator, double denominator) {
  const double t = numerator / denominator;
  return std::isfinite(t) ? t : 0;
}

double parameter(const FlightRecord& r, int i, int mode) {
  switch (mode) {
    case HeightMode:
      if (r.MaxAlt == 0 || r.MaxAlt == r.MinAlt) return 0;
      return ratioOrZero(r.FixAlt[i] - r.MinAlt, r.MaxAlt - r.MinAlt);
    case GroundSpeedMode:
      if (r.MaxSpeed == 0 || i > r.FixCount - 1) return 0;
      return ratioOrZero(ArcDistance(r.FixLat[i + 1], r.FixLon[i + 1], r.FixLat[i], r.FixLon[i]),
                         (r.FixTime[i + 1] - r.FixTime[i]) * r.MaxSpeed);
    case VarioMode: {
      if (r.MaxAlt == 0 || r.MaxAlt == r.MinAlt || i >= r.FixCount) return 0;
      const double v = (r.FixAlt[i + 1] - r.FixAlt[i]) / ((r.FixTime[i + 1] - r.FixTime[i]) * 86400);
      return std::isfinite(v) ? ratioOrZero(v - r.MaxSink, r.MaxClimb - r.MaxSink) : 0;
    }
    case LegendMode: return i / 1000.0;
    default: return 0;
  }
}

}  // namespace

Rgb colourScale(double t) {
  t = std::clamp(t, 0.0, 1.0);
  if (t <= 0.3333) return {0, channel(t / 0.3333 * 255), 255};
  if (t <= 0.5) return {0, 255, channel((0.5 - t) / 0.3333 * 255)};
  if (t <= 0.6666) return {channel(((t - 0.6666) / 0.25 + 1) * 255), 255, 0};
  return {255, channel((1 - t) / 0.3333 * 255), 0};
}

Rgb TrackColour(const FlightRecord& record, int i, int mode) {
  if (mode == ValidityMode) {
    return record.FixValid[i] ? Rgb{0, 0, 0} : Rgb{255, 0, 0};
  }
  return colourScale(parameter(record, i, mode));
}

}  // namespace quorvanta
