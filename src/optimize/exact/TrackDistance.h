#pragma once

#include <cmath>
#include <vector>

#include "flight/Geodesy.h"
#include "optimize/exact/ScoringRules.h"

namespace quorvanta::exact {

// Geodesic distance on the WGS 84 ellipsoid in kilometres (Vincenty's
// inverse formula, well below a millimetre off for the legs of a flight).
double wgs84DistanceKm(double lat1, double lon1, double lat2, double lon2);

// Distances in kilometres between the fixes of one track under a rule set's
// model, with what each model needs per fix worked out once.
class TrackDistance {
 public:
  TrackDistance(DistanceModel model, double sphereRadiusKm, const std::vector<double>& lat,
                const std::vector<double>& lon);

  double km(int a, int b) const;
  int size() const { return static_cast<int>(fixes_.size()); }

  // Bounds on km(a, b) at a small part of its cost, for pruning a search.
  struct Bounds {
    double least, most;
  };
  Bounds bounds(int a, int b) const;

  // Whether two fixes lie at the same position, so that their distances to
  // any fix are the same to the last bit.
  bool samePlace(int a, int b) const {
    const Fix& p = fixes_[static_cast<std::size_t>(a)];
    const Fix& q = fixes_[static_cast<std::size_t>(b)];
    return p.arc.lat == q.arc.lat && p.arc.lon == q.arc.lon;
  }

 private:
  struct Fix {
    ArcPoint arc;
    double sinU = 0, cosU = 0;  // reduced latitude on the ellipsoid
    double x = 0, y = 0, z = 0;  // km, earth-centred, on the model's surface
  };
  Bounds farBounds(int a, int b, double margin) const;

  DistanceModel model_;
  double radiusKm_;
  double boundRadiusKm_;  // of the sharpest curvature: the sphere's, or B^2 / A
  std::vector<Fix> fixes_;
};

// The straight line between two points is never longer than the way over
// the surface. A geodesic bends no more than the surface's sharpest normal
// section, the meridian at the equator with radius B^2 / A on the ellipsoid,
// so it is no longer than the circular arc of that radius over the same
// chord (Schur's comparison theorem). The arc 2 r asin(x), x = chord / 2r,
// lies between the series' first two terms, x + x^3 / 6, and their sum
// with every later coefficient raised to 1/6, x + x^3 / (6 (1 - x^2)).
// Both bounds leave a centimetre for the rounding of the distance
// formulas; past 1000 km they fall back on the distance itself.
inline TrackDistance::Bounds TrackDistance::bounds(int a, int b) const {
  const Fix& p = fixes_[static_cast<std::size_t>(a)];
  const Fix& q = fixes_[static_cast<std::size_t>(b)];
  const double dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
  const double chord = std::sqrt(dx * dx + dy * dy + dz * dz);
  const double margin = 1e-5 + 1e-9 * chord;
  if (chord > 1000) return farBounds(a, b, margin);
  const double x = chord / (2 * boundRadiusKm_), cube = x * x * x / 6;
  const double least = model_ == DistanceModel::Sphere ? 2 * boundRadiusKm_ * (x + cube) : chord;
  const double most = 2 * boundRadiusKm_ * (x + cube / (1 - x * x));
  return {least - margin, most + margin};
}

}  // namespace quorvanta::exact
