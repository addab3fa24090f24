#include "views/MapTexts.h"

#include <cmath>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"

namespace quorvanta {

int nearestFix(const FlightRecord& record, double lat, double lon) {
  int best = 0;
  double bestDistance = 0;
  const ArcPoint here = arcPoint(lat, lon);
  for (int i = 1; i <= record.FixCount; ++i) {
    const double d = ArcDistance(here, arcPoint(record.FixLat[i], record.FixLon[i]));
    if (best == 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

std::optional<std::string> heightLineText(const FlightRecord& record, double baroOffset) {
  if (record.MinAlt >= 10000) return std::nullopt;
  std::string text = "hmax: " + std::to_string(record.MaxAlt) + " m    hmin: " +
                     std::to_string(record.MinAlt) + " m";
  if (baroOffset > 0.000001) text += "     BaroOffset: + " + timeOfDayText(baroOffset);
  if (baroOffset < -0.000001) text += "     BaroOffset: - " + timeOfDayText(-baroOffset);
  return text;
}

std::string positionText(double lat, double lon) {
  std::string text = lat <= 0 ? "S " : "N ";
  text += AngleText(std::fabs(lat));
  text += lon <= 0 ? "  W " : "  E ";
  text += AngleText(std::fabs(lon));
  return text;
}

namespace {

std::string feetText(std::int32_t metres) {
  return std::to_string(static_cast<long>(std::nearbyint(metres * 3.2808)));
}

}  // namespace

std::vector<TextLine> infoBoxLines(const FlightRecord& r, int n, const TerrainModel* terrain) {
  std::vector<TextLine> lines;
  lines.push_back({8, "Nr. " + std::to_string(n) + "  UTC: " + timeOfDayText(r.FixTime[n]) + "     "});
  lines.push_back({22, positionText(r.FixLat[n], r.FixLon[n]) + "   "});
  lines.push_back({36, "Höhe:  " + std::to_string(r.FixAlt[n]) + " m  " + feetText(r.FixAlt[n]) + " ft     "});
  int shift = 0;
  if (terrain && terrain->loaded()) {
    if (const auto ground = terrain->DemHeightAt(r.FixLat[n], r.FixLon[n])) {
      lines.push_back({50, "Boden: " + std::to_string(*ground) + " m  " + feetText(*ground) + " ft     "});
    }
    shift = 14;
  }
  const bool hasNeighbours = n >= 2 && n < r.FixCount;
  const double hours = hasNeighbours ? (r.FixTime[n + 1] - r.FixTime[n - 1]) * 24 : 0;
  if (hours != 0) {
    const double vario = (r.FixAlt[n + 1] - r.FixAlt[n - 1]) / (hours * 3600);
    const double speed =
        ArcDistance(r.FixLat[n - 1], r.FixLon[n - 1], r.FixLat[n + 1], r.FixLon[n + 1]) *
        EarthRadiusKm / hours;
    lines.push_back({50 + shift, "Vario: " + fixedText(vario, 1, 3) + " m/s   "});
    lines.push_back({64 + shift, "Groundspeed: " + fixedText(speed, 1, 5) + " km/h   "});
  }
  return lines;
}

std::string mouseReadoutText(const Position& p, const TerrainModel* terrain) {
  std::string text = p.lat < 0 ? "Maus:   S " : "Maus:   N ";
  text += AngleText(std::fabs(p.lat));
  text += p.lon < 0 ? "   W " : "   E ";
  text += AngleText(std::fabs(p.lon));
  text += "  ";
  if (terrain && terrain->loaded()) {
    const auto ground = terrain->DemHeightAt(p.lat, p.lon);
    text += ground ? std::to_string(*ground) + " m     " : std::string(10, ' ');
  }
  return text;
}

}  // namespace quorvanta
