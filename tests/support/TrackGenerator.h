#pragma once

#include <string>
#include <vector>

namespace quorvanta::test {

// Writes realistic IGC flights: a pilot glides round an FAI triangle and
// climbs in thermal circles whenever low.
struct TrackOptions {
  int fixCount = 1000;
  unsigned seed = 1;
  double startLatDeg = 46.5;
  double startLonDeg = 11.0;
  double triangleKm = 60;     // perimeter of the triangle flown round
  int intervalSeconds = 1;
  int startSecondOfDay = 10 * 3600;
  double invalidShare = 0;    // share of fixes marked V
};

struct GeneratedFix {
  double latDeg = 0, lonDeg = 0;
  int secondOfDay = 0;  // may pass 86400 on long flights
  int pressureAlt = 0, gpsAlt = 0;
  bool valid = true;
};

std::vector<GeneratedFix> generateTrack(const TrackOptions& options);

// "B" record of a fix, 35 characters.
std::string bRecord(const GeneratedFix& fix);

// A complete IGC file of 15 July 2003 with CR LF line ends.
std::string igcFile(const std::vector<GeneratedFix>& fixes);

struct BarogramOptions {
  int day = 15, month = 7, year = 2003, hour = 10, minute = 0;
  int intervalSeconds = 10;
  std::string lineEnd = "\r\n";
};

// A PC-Graph barograph file (".cmp"): altitude lines, the closing line, a
// skipped line, day, month, year, hour and minute (with a blank line and
// trailing words as real files have them), nine skipped lines, the interval.
std::string cmpFile(const std::vector<int>& alts, const BarogramOptions& options = {});

}  // namespace quorvanta::test
