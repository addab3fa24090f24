#include "optimize/UsableTrack.h"

#include <cmath>

#include "flight/Geodesy.h"

namespace quorvanta {

namespace {
constexpr double UnitsPerRadian = EarthRadiusKm * 10000;
}

UsableTrack usableFixes(const FlightRecord& record) {
  UsableTrack track;
  for (int i = 1; i <= record.FixCount; ++i) {
    if (!record.FixValid[i]) continue;
    track.lat.push_back(record.FixLat[i]);
    track.lon.push_back(record.FixLon[i]);
    track.fixNumber.push_back(i);
    track.points.push_back(arcPoint(record.FixLat[i], record.FixLon[i]));
    track.unit.push_back(unitVector(record.FixLat[i], record.FixLon[i]));
  }
  return track;
}

ThinningPlan planThinning(int usableCount, int budget) {
  ThinningPlan plan{0, 10000};
  while (plan.points > budget) {
    ++plan.step;
    plan.points = usableCount / plan.step;
  }
  return plan;
}

std::int32_t distanceUnits(double radians) {
  return static_cast<std::int32_t>(std::nearbyint(radians * EarthRadiusKm * 10000));
}

double unitsToRadians(std::int32_t units) { return units / UnitsPerRadian; }

}  // namespace quorvanta
