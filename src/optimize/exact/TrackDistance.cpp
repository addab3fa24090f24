#include "optimize/exact/TrackDistance.h"

#include <cmath>

namespace quorvanta::exact {

namespace {

constexpr double A = 6378.137;  // km
constexpr double F = 1 / 298.257223563;
constexpr double B = A * (1 - F);

struct Reduced {
  double sinU, cosU;
};

Reduced reduced(double lat) {
  const double u = std::atan((1 - F) * std::tan(lat));
  return {std::sin(u), std::cos(u)};
}

double vincenty(Reduced p, double lon1, Reduced q, double lon2) {
  double l = lon2 - lon1;
  l = std::remainder(l, 2 * Pi);
  double lambda = l;
  double sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
  // Near-antipodal positions converge slowly or not at all; no flight leg
  // comes near them, and the last iterate is still a finite distance.
  for (int iteration = 0; iteration < 200; ++iteration) {
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const double t1 = q.cosU * sinLambda;
    const double t2 = p.cosU * q.sinU - p.sinU * q.cosU * cosLambda;
    sinSigma = std::sqrt(t1 * t1 + t2 * t2);
    if (sinSigma == 0) return 0;
    cosSigma = p.sinU * q.sinU + p.cosU * q.cosU * cosLambda;
    sigma = std::atan2(sinSigma, cosSigma);
    const double sinAlpha = p.cosU * q.cosU * sinLambda / sinSigma;
    cos2Alpha = 1 - sinAlpha * sinAlpha;
    cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * p.sinU * q.sinU / cos2Alpha : 0;
    const double c = F / 16 * cos2Alpha * (4 + F * (4 - 3 * cos2Alpha));
    const double previous = lambda;
    lambda = l + (1 - c) * F * sinAlpha *
                     (sigma + c * sinSigma *
                                  (cos2SigmaM + c * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
    if (std::fabs(lambda - previous) < 1e-13) break;
  }
  const double u2 = cos2Alpha * (A * A - B * B) / (B * B);
  const double a = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
  const double b = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
  const double deltaSigma =
      b * sinSigma *
      (cos2SigmaM + b / 4 *
                        (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                         b / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                             (-3 + 4 * cos2SigmaM * cos2SigmaM)));
  return B * a * (sigma - deltaSigma);
}

}  // namespace

double wgs84DistanceKm(double lat1, double lon1, double lat2, double lon2) {
  return vincenty(reduced(lat1), lon1, reduced(lat2), lon2);
}

TrackDistance::TrackDistance(DistanceModel model, double sphereRadiusKm,
                             const std::vector<double>& lat, const std::vector<double>& lon)
    : model_(model), radiusKm_(sphereRadiusKm),
      boundRadiusKm_(model == DistanceModel::Sphere ? sphereRadiusKm : B * B / A) {
  const double e2 = model == DistanceModel::Sphere ? 0 : F * (2 - F);
  const double a = model == DistanceModel::Sphere ? sphereRadiusKm : A;
  fixes_.reserve(lat.size());
  for (std::size_t i = 0; i < lat.size() && i < lon.size(); ++i) {
    const Reduced u = reduced(lat[i]);
    const double sinLat = std::sin(lat[i]);
    const double n = a / std::sqrt(1 - e2 * sinLat * sinLat);
    const double horizontal = n * std::cos(lat[i]);
    fixes_.push_back({arcPoint(lat[i], lon[i]), u.sinU, u.cosU, horizontal * std::cos(lon[i]),
                      horizontal * std::sin(lon[i]), n * (1 - e2) * sinLat});
  }
}

TrackDistance::Bounds TrackDistance::farBounds(int a, int b, double margin) const {
  const double exact = km(a, b);
  return {exact - margin, exact + margin};
}

double TrackDistance::km(int a, int b) const {
  const Fix& p = fixes_[static_cast<std::size_t>(a)];
  const Fix& q = fixes_[static_cast<std::size_t>(b)];
  if (model_ == DistanceModel::Sphere) return ArcDistance(p.arc, q.arc) * radiusKm_;
  return vincenty({p.sinU, p.cosU}, p.arc.lon, {q.sinU, q.cosU}, q.arc.lon);
}

}  // namespace quorvanta::exact
