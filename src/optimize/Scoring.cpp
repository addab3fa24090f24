#include "optimize/Scoring.h"

#include "flight/Geodesy.h"

namespace quorvanta {

namespace {

// A triangle scores its perimeter less the gap, and nothing once the gap is
// more than a fifth of the perimeter.
double trianglePoints(double perimeter, double gap, double pointsPerKm) {
  const double points = (perimeter - gap) * EarthRadiusKm * pointsPerKm;
  return points < 0 || gap > TriangleGapLimit * perimeter ? 0 : points;
}

}  // namespace

void scoreResult(OptimizationResult& r) {
  r.FaiPoints = trianglePoints(r.FaiPerimeter, r.FaiGap, FaiPointsPerKm);
  r.FlatPoints = trianglePoints(r.FlatPerimeter, r.FlatGap, FlatPointsPerKm);
  r.FreePoints = EarthRadiusKm * r.FreeDistance * FreePointsPerKm;
  r.FreeIsBest = r.FreePoints >= r.FlatPoints && r.FreePoints >= r.FaiPoints;
  r.FlatIsBest = r.FlatPoints >= r.FreePoints && r.FlatPoints >= r.FaiPoints;
  r.FaiIsBest = r.FaiPoints >= r.FlatPoints && r.FaiPoints >= r.FreePoints;
}

double startToFinishKm(const FlightRecord& record) {
  if (record.FixCount < 1) return 0;
  const int n = record.FixCount;
  return ArcDistance(record.FixLat[1], record.FixLon[1], record.FixLat[n], record.FixLon[n]) *
         EarthRadiusKm;
}

double trackLengthKm(const FlightRecord& record) {
  double sum = 0;
  for (int i = 1; i < record.FixCount; ++i) {
    sum += ArcDistance(record.FixLat[i], record.FixLon[i], record.FixLat[i + 1], record.FixLon[i + 1]);
  }
  return sum * EarthRadiusKm;
}

}  // namespace quorvanta
