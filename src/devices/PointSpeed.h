#pragma once

#include <string>

#include "flight/Geodesy.h"
#include "flight/NumberText.h"

namespace quorvanta {

// Points no more than this far apart in time (about half a second) have no
// meaningful speed between them.
inline constexpr double SpeedlessDays = 6e-6;

// Ground speed in km/h between two positions (radians) `days` apart, or
// `speedless` when they are too close in time.
inline double groundSpeedKmh(double lat1, double lon1, double lat2, double lon2, double days,
                             double speedless) {
  if (days <= SpeedlessDays) return speedless;
  return ArcDistance(lat1, lon1, lat2, lon2) * EarthRadiusKm / (days * 24);
}

// A speed as the download point lists show it: a blank, the value with one
// decimal right-aligned in six places, " km/h".
inline std::string speedItemText(double kmh) {
  std::string number = fixedText(kmh, 1);
  std::string text(number.size() < 6 ? 7 - number.size() : 1, ' ');
  text += number;
  text += " km/h";
  return text;
}

}  // namespace quorvanta
