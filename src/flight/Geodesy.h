#pragma once

#include <string>
#include <string_view>

namespace quorvanta {

inline constexpr double Pi = 3.141592653589793;
inline constexpr double DegToRad = Pi / 180;
inline constexpr double EarthRadiusKm = 6371.0;

// Central angle in radians between two positions (radians) on a sphere, by
// the haversine formula. The one distance function of the program: callers
// multiply by EarthRadiusKm themselves.
double ArcDistance(double lat1, double lon1, double lat2, double lon2);

// A position with its cosine of latitude worked out once, for callers that
// measure the same positions many times. Gives the same bits as ArcDistance.
struct ArcPoint {
  double lat = 0, lon = 0;
  long double cosLat = 1;
};
ArcPoint arcPoint(double lat, double lon);
double ArcDistance(const ArcPoint& p, const ArcPoint& q);

// A position as a point on the unit sphere. The straight (chord) distance
// between two of them grows with the central angle, so it orders pairs by
// distance cheaply; its rounding error stays near 1e-15 whatever the angle.
struct UnitVector {
  double x = 0, y = 0, z = 0;
};
UnitVector unitVector(double lat, double lon);
inline double chordSquared(const UnitVector& p, const UnitVector& q) {
  const double dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
  return dx * dx + dy * dy + dz * dz;
}

// Initial course from position 1 to position 2, degrees in [0, 360).
double Bearing(double lat1, double lon1, double lat2, double lon2);

// "47:30.000": whole degrees, a colon, minutes with three decimals.
std::string AngleText(double angleRad);
// As AngleText, with one leading blank below 10 degrees.
std::string PaddedAngleText(double angleRad);
// As PaddedAngleText, for an angle already in degrees.
std::string DegreesText(double angleDeg);

// Claim-file fragment "&Pch=H&Pcg=D&Pcm=MM&Pcmd=TTT"; axisLetter is "b" for
// latitude and "l" for longitude. Magnitudes beyond 90 (latitude) or 360
// (longitude) are written as those, NaN as 0.
std::string ClaimCoordinateText(std::string_view keyPrefix, char axisLetter, double angleRad);

}  // namespace quorvanta
