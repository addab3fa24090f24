#include <cmath>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "flight/DayCount.h"
#include "flight/FieldText.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "optimize/exact/ExactSolver.h"

namespace quorvanta::cli {

namespace {

using exact::KindResult;
using exact::RouteShape;

struct Arguments {
  const exact::RuleSet* rules = nullptr;
  bool json = false;
  double seconds = 0;
};

bool parseArguments(const std::vector<std::string>& args, Arguments& parsed) {
  parsed.rules = exact::findRuleSet("xcontest");
  if (args.empty()) return false;
  for (std::size_t k = 1; k < args.size(); ++k) {
    if (args[k] == "--json") {
      parsed.json = true;
    } else if (args[k] == "--rules" && k + 1 < args.size()) {
      parsed.rules = exact::findRuleSet(args[++k]);
      if (!parsed.rules) return false;
    } else if (args[k] == "--max-seconds" && k + 1 < args.size()) {
      try {
        std::size_t used = 0;
        parsed.seconds = std::stod(args[++k], &used);
        if (used != args[k].size() || !(parsed.seconds > 0)) return false;
      } catch (const std::exception&) {
        return false;
      }
    } else {
      return false;
    }
  }
  return true;
}

struct RoutePoint {
  const char* role;
  int index;
};

std::vector<RoutePoint> routePoints(const KindResult& r) {
  const bool free = r.kind->shape == RouteShape::FreeDistance;
  return {{free ? "start" : "closing_start", r.start}, {"tp1", r.tp1}, {"tp2", r.tp2},
          {"tp3", r.tp3}, {free ? "finish" : "closing_finish", r.finish}};
}

double rounded2(double value) { return std::round(value * 100) / 100; }

std::string pointJson(const exact::ScoringTrack& track, int index) {
  const auto k = static_cast<std::size_t>(index);
  return "{\"fix\": " + std::to_string(track.fixNumber[k]) + ", \"time\": " +
         jsonString(timeOfDayText(track.time[k])) +
         ", \"lat_deg\": " + jsonNumber(track.lat[k] / DegToRad) +
         ", \"lon_deg\": " + jsonNumber(track.lon[k] / DegToRad) + "}";
}

void writeJson(std::ostream& out, const exact::ScoringTrack& track,
               const exact::RuleSet& rules, const exact::ScoreResult& result) {
  out << "{\"rules\": " << jsonString(rules.id) << ", \"distance_model\": "
      << jsonString(rules.model == exact::DistanceModel::Wgs84 ? "wgs84" : "sphere")
      << ", \"usable_fixes\": " << track.size() << ", \"kinds\": [";
  for (std::size_t k = 0; k < result.kinds.size(); ++k) {
    const KindResult& r = result.kinds[k];
    out << (k ? ", " : "") << "{\"name\": " << jsonString(r.kind->name)
        << ", \"code\": " << jsonString(r.kind->code) << ", \"found\": " << jsonBool(r.found)
        << ", \"proven\": " << jsonBool(r.proven) << ", \"score\": " << jsonNumber(r.score)
        << ", \"score_rounded\": " << jsonNumber(rounded2(r.score))
        << ", \"upper_bound\": " << jsonNumber(r.upperBound)
        << ", \"multiplier\": " << jsonNumber(r.kind->multiplier)
        << ", \"distance_km\": " << jsonNumber(r.distanceKm) << ", \"gap_km\": "
        << jsonNumber(r.gapKm) << ", \"penalty_km\": " << jsonNumber(r.penaltyKm)
        << ", \"boxes\": " << r.boxes;
    if (r.found) {
      for (const RoutePoint& p : routePoints(r)) {
        out << ", \"" << p.role << "\": "
            << pointJson(track, p.index);
      }
    }
    out << "}";
  }
  out << "], \"best\": "
      << (result.best < 0 ? "null" : jsonString(result.kinds[static_cast<std::size_t>(result.best)].kind->code))
      << ", \"seconds\": " << jsonNumber(result.seconds) << "}\n";
}

void writeText(std::ostream& out, const exact::ScoringTrack& track,
               const exact::RuleSet& rules, const exact::ScoreResult& result) {
  out << "Wertung nach " << rules.name << " ("
      << (rules.model == exact::DistanceModel::Wgs84 ? "WGS-84-Ellipsoid"
                                                      : "Kugel " + fixedText(rules.sphereRadiusKm, 1) + " km")
      << "), " << track.size() << " gültige Punkte, " << fixedText(result.seconds, 2) << " s\n";
  for (const KindResult& r : result.kinds) {
    out << r.kind->name << ": ";
    if (!r.found) {
      out << "keine Strecke\n";
      continue;
    }
    out << fixedText(r.score, 2) << " Punkte, " << fixedText(r.distanceKm, 3) << " km";
    if (r.kind->shape == RouteShape::Triangle) out << ", Lücke " << fixedText(r.gapKm, 3) << " km";
    out << (r.proven ? ", optimal" : ", nicht bewiesen (Schranke " + fixedText(r.upperBound, 2) + ")")
        << "\n";
    const bool free = r.kind->shape == RouteShape::FreeDistance;
    const char* names[] = {free ? "Start" : "Schließen ab", "WP 1", "WP 2", "WP 3",
                           free ? "Ziel" : "Schließen an"};
    const auto points = routePoints(r);
    for (std::size_t k = 0; k < points.size(); ++k) {
      const auto i = static_cast<std::size_t>(points[k].index);
      const double lat = track.lat[i], lon = track.lon[i];
      out << "  " << names[k] << ": " << track.fixNumber[i] << "  " << timeOfDayText(track.time[i])
          << "  " << AngleText(lat) << (lat < 0 ? " S  " : " N  ") << AngleText(lon)
          << (lon < 0 ? " W\n" : " E\n");
    }
  }
  out << "Beste Art: "
      << (result.best < 0 ? std::string("keine")
                          : result.kinds[static_cast<std::size_t>(result.best)].kind->name)
      << "\n";
}

}  // namespace

int scoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments parsed;
  if (!parseArguments(args, parsed)) {
    err << "Aufruf: quorvanta-cli score DATEI [--rules xcontest|ffvl|fai|olc2003] [--json] "
           "[--max-seconds S]\n";
    return 2;
  }
  // An IGC file is scored on every fix; a load would thin a long flight.
  exact::ScoringTrack track;
  if (toLower(args[0]).find(".igc") != std::string::npos) {
    exact::ScoringTrackRead read = exact::readScoringTrack(args[0]);
    if (read.error) {
      err << args[0] << ": " << *read.error << "\n";
      return 1;
    }
    track = std::move(read.track);
  } else {
    const auto record = loadFlight(args[0], err);
    if (!record) return 1;
    track = exact::scoringTrack(*record);
  }
  RunControl control;
  const exact::ScoreResult result =
      exact::scoreTrack(track, *parsed.rules, control, {.seconds = parsed.seconds});
  if (parsed.json) {
    writeJson(out, track, *parsed.rules, result);
  } else {
    writeText(out, track, *parsed.rules, result);
  }
  return 0;
}

}  // namespace quorvanta::cli
