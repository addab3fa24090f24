#pragma once

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

 private:
  struct Fix {
    ArcPoint arc;
    double sinU = 0, cosU = 0;  // reduced latitude on the ellipsoid
    double x = 0, y = 0, z = 0;  // km, earth-centred, on the model's surface
  };
  DistanceModel model_;
  double radiusKm_;
  std::vector<Fix> fixes_;
};

}  // namespace quorvanta::exact
