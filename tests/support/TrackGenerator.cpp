#include "support/TrackGenerator.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace quorvanta::test {

namespace {

constexpr double MetresPerDegree = 111195.0;
constexpr double PiValue = 3.141592653589793;

struct Pilot {
  double northM = 0, eastM = 0;  // from the start
  double alt = 1500;
  double heading = 0;            // radians, 0 = north
  bool circling = false;
  double circleTurn = 0;         // radians left to turn in this thermal
};

}  // namespace

std::vector<GeneratedFix> generateTrack(const TrackOptions& options) {
  std::mt19937 random(options.seed);
  std::uniform_real_distribution<double> unit(0, 1);
  std::normal_distribution<double> noise(0, 1.5);

  // Equilateral triangle: every leg a third, an FAI triangle by construction.
  const double leg = options.triangleKm * 1000 / 3;
  const double turnpoints[3][2] = {
      {leg * std::sin(PiValue / 3), leg * std::cos(PiValue / 3)}, {0, leg}, {0, 0}};
  int target = 0;

  Pilot pilot;
  pilot.heading = std::atan2(turnpoints[0][1], turnpoints[0][0]);
  std::vector<GeneratedFix> fixes;
  fixes.reserve(static_cast<std::size_t>(options.fixCount));
  const double dt = options.intervalSeconds;
  for (int i = 0; i < options.fixCount; ++i) {
    if (pilot.circling) {
      const double turn = 2 * PiValue / 25 * dt;  // one circle in 25 s
      pilot.heading += turn;
      pilot.circleTurn -= turn;
      pilot.alt += (1.5 + unit(random)) * dt;
      if (pilot.circleTurn <= 0) pilot.circling = false;
    } else {
      const double dn = turnpoints[target][0] - pilot.northM;
      const double de = turnpoints[target][1] - pilot.eastM;
      if (std::hypot(dn, de) < 200) target = (target + 1) % 3;
      pilot.heading = std::atan2(de, dn) + 0.2 * (unit(random) - 0.5);
      pilot.alt -= 1.1 * dt;
      if (pilot.alt < 900 + 400 * unit(random)) {
        pilot.circling = true;
        pilot.circleTurn = 2 * PiValue * (4 + 10 * unit(random));
      }
    }
    const double speed = pilot.circling ? 9.5 : 11 + 3 * unit(random);
    pilot.northM += speed * dt * std::cos(pilot.heading);
    pilot.eastM += speed * dt * std::sin(pilot.heading);

    GeneratedFix fix;
    fix.latDeg = options.startLatDeg + (pilot.northM + noise(random)) / MetresPerDegree;
    fix.lonDeg = options.startLonDeg + (pilot.eastM + noise(random)) / MetresPerDegree /
                                           std::cos(options.startLatDeg * PiValue / 180);
    fix.secondOfDay = options.startSecondOfDay + i * options.intervalSeconds;
    fix.pressureAlt = static_cast<int>(std::lround(pilot.alt));
    fix.gpsAlt = fix.pressureAlt + 35 + static_cast<int>(std::lround(noise(random)));
    fix.valid = unit(random) >= options.invalidShare;
    fixes.push_back(fix);
  }
  return fixes;
}

namespace {

// Degrees and thousandths of minutes, the thousandths rounded without ever
// showing 60 minutes.
void degreesAndMilliminutes(double degrees, int& whole, int& milliminutes) {
  const long total = std::lround(std::fabs(degrees) * 60000);
  whole = static_cast<int>(total / 60000);
  milliminutes = static_cast<int>(total % 60000);
}

}  // namespace

std::string bRecord(const GeneratedFix& fix) {
  int latDeg, latMin, lonDeg, lonMin;
  degreesAndMilliminutes(fix.latDeg, latDeg, latMin);
  degreesAndMilliminutes(fix.lonDeg, lonDeg, lonMin);
  const int second = fix.secondOfDay % 86400;
  char text[64];
  std::snprintf(text, sizeof text, "B%02d%02d%02d%02d%05d%c%03d%05d%c%c%05d%05d", second / 3600,
                second / 60 % 60, second % 60, latDeg, latMin, fix.latDeg < 0 ? 'S' : 'N', lonDeg,
                lonMin, fix.lonDeg < 0 ? 'W' : 'E', fix.valid ? 'A' : 'V', fix.pressureAlt,
                fix.gpsAlt);
  return text;
}

std::string igcFile(const std::vector<GeneratedFix>& fixes) {
  std::string file =
      "AXXX001 Quorvanta test track\r\nHFDTE150703\r\nHFPLTPILOT:Test Pilot\r\n"
      "HFGTYGLIDERTYPE:Test Wing\r\n";
  for (const GeneratedFix& fix : fixes) file += bRecord(fix) + "\r\n";
  return file + "LXXX end of track\r\n";
}

std::string cmpFile(const std::vector<int>& alts, const BarogramOptions& options) {
  const std::string& end = options.lineEnd;
  std::string text;
  for (const int alt : alts) text += std::to_string(alt) + " 0 km/h" + end;
  text += "END" + end + "Startzeit" + end;
  text += std::to_string(options.day) + " Tag" + end + end;
  text += std::to_string(options.month) + end + std::to_string(options.year) + " Jahr" + end;
  text += std::to_string(options.hour) + end + std::to_string(options.minute) + " Minute" + end;
  for (int i = 0; i < 9; ++i) text += "Angabe " + std::to_string(i) + end;
  text += std::to_string(options.intervalSeconds) + " s" + end;
  return text;
}

}  // namespace quorvanta::test
