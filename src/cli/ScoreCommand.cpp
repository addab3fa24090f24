#include <cmath>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "flight/DayCount.h"
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

std::string pointJson(const FlightRecord& record, int fix) {
  return "{\"fix\": " + std::to_string(fix) + ", \"time\": " +
         jsonString(timeOfDayText(record.FixTime[fix])) +
         ", \"lat_deg\": " + jsonNumber(record.FixLat[fix] / DegToRad) +
         ", \"lon_deg\": " + jsonNumber(record.FixLon[fix] / DegToRad) + "}";
}

void writeJson(std::ostream& out, const FlightRecord& record, const exact::ScoringTrack& track,
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
            << pointJson(record, track.fixNumber[static_cast<std::size_t>(p.index)]);
      }
    }
    out << "}";
  }
  out << "], \"best\": "
      << (result.best < 0 ? "null" : jsonString(result.kinds[static_cast<std::size_t>(result.best)].kind->code))
      << ", \"seconds\": " << jsonNumber(result.seconds) << "}\n";
}

void writeText(std::ostream& out, const FlightRecord& record, const exact::ScoringTrack& track,
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
      const int fix = track.fixNumber[static_cast<std::size_t>(points[k].index)];
      out << "  " << names[k] << ": " << fix << "  " << timeOfDayText(record.FixTime[fix]) << "  "
          << AngleText(record.FixLat[fix]) << (record.FixLat[fix] < 0 ? " S  " : " N  ")
          << AngleText(record.FixLon[fix]) << (record.FixLon[fix] < 0 ? " W\n" : " E\n");
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
  const auto record = loadFlight(args[0], err);
  if (!record) return 1;
  const exact::ScoringTrack track = exact::scoringTrack(*record);
  RunControl control;
  const exact::ScoreResult result =
      exact::scoreTrack(track, *parsed.rules, control, {.seconds = parsed.seconds});
  if (parsed.json) {
    writeJson(out, *record, track, *parsed.rules, result);
  } else {
    writeText(out, *record, track, *parsed.rules, result);
  }
  return 0;
}

}  // namespace quorvanta::cli
