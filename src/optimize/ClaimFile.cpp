#include "optimize/ClaimFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/Geodesy.h"

namespace quorvanta {

namespace {

// Day count of 1 January 1601 before 30 December 1899.
constexpr int DaysFrom1601 = 109205;

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
  return text;
}

std::size_t fileNameStart(const std::string& path) { return path.find_last_of("/\\") + 1; }

// The path without the extension part of its file name: everything from the
// first "." of the name on. Dots in directory names are left alone.
std::string withoutExtension(const std::string& path) {
  const std::size_t dot = path.find('.', fileNameStart(path));
  return dot == std::string::npos ? path : path.substr(0, dot);
}

// "hh%3Amm%3Ass" of a day count's time of day.
std::string timeField(double dayCount) {
  const double day = clampedDayCount(dayCount);
  const double fraction = day - std::floor(day);
  const auto ms = static_cast<long long>(std::llround(fraction * 86400000.0)) % 86400000;
  const long long seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld%%3A%02lld%%3A%02lld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

struct Route {
  int points[5];  // start, Tp1, Tp2, Tp3, finish (fix numbers)
};

bool found(const Route& route) {
  for (int fix : route.points) {
    if (fix < 1) return false;
  }
  return true;
}

}  // namespace

std::string proposedClaimFileName(const std::string& trackFileName, const std::string& lastClaimFile) {
  std::string name = upper(trackFileName).find(".IGC") != std::string::npos
                         ? withoutExtension(trackFileName)
                         : lastClaimFile;
  if (name.find(".olc") == std::string::npos) name += ".olc";
  return name;
}

std::string claimFileName(const std::string& chosen) {
  return upper(chosen).find(".OLC") == std::string::npos ? chosen + ".olc" : chosen;
}

std::optional<std::string> claimLine(const FlightRecord& record, const OptimizationResult& r) {
  std::vector<Route> routes;
  if (r.FreeIsBest) routes.push_back({{r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish}});
  if (r.FlatIsBest) routes.push_back({{r.FlatStart, r.FlatTp1, r.FlatTp2, r.FlatTp3, r.FlatFinish}});
  if (r.FaiIsBest) routes.push_back({{r.FaiStart, r.FaiTp1, r.FaiTp2, r.FaiTp3, r.FaiFinish}});
  for (const Route& route : routes) {
    if (!found(route)) return std::nullopt;
    for (int fix : route.points) {
      if (fix > record.FixCount) return std::nullopt;
    }
  }
  if (routes.empty()) return std::nullopt;

  std::string line = "OLCvnolc=";
  const std::string base = withoutExtension(record.TrackFileName);
  if (!record.TrackFileName.empty()) {
    // At most the last 8 characters of the name itself, never of a directory.
    const std::string name = base.substr(fileNameStart(base));
    line += "&igcfn=";
    line += name.size() > 8 ? name.substr(name.size() - 8) : name;
  }
  line += "&ind=100&flugzeug=2";
  const double middleDay = record.FixTime[std::max(record.FixCount / 2, 1)];
  line += "&ft=";
  line += std::to_string(static_cast<long long>(std::trunc(clampedDayCount(middleDay))) +
                        DaysFrom1601);
  line += "&s0=";
  line += timeField(record.FixTime[routes.back().points[0]]);
  for (const Route& route : routes) {
    for (int k = 0; k < 5; ++k) {
      const std::string prefix{'w', static_cast<char>('0' + k)};
      line += ClaimCoordinateText(prefix, 'b', record.FixLat[route.points[k]]);
      line += ClaimCoordinateText(prefix, 'l', record.FixLon[route.points[k]]);
    }
  }
  line += "&s4=";
  line += timeField(record.FixTime[routes.back().points[4]]);
  line += "&ligcfn=";
  if (!record.TrackFileName.empty()) line += base;
  return line;
}

std::optional<std::string> writeClaimFile(const std::string& path, const std::string& line) {
  return writeWholeFile(path, line + "\r\n");
}

}  // namespace quorvanta
