#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "optimize/ClaimFile.h"
#include "optimize/Optimizer.h"
#include "optimize/Scoring.h"

namespace quorvanta::cli {

namespace {

std::string km(double radians) { return jsonNumber(radians * EarthRadiusKm); }

std::string freeJson(const OptimizationResult& r) {
  return "{\"start\": " + std::to_string(r.FreeStart) + ", \"tp1\": " + std::to_string(r.FreeTp1) +
         ", \"tp2\": " + std::to_string(r.FreeTp2) + ", \"tp3\": " + std::to_string(r.FreeTp3) +
         ", \"finish\": " + std::to_string(r.FreeFinish) + ", \"distance_km\": " +
         km(r.FreeDistance) + ", \"points\": " + jsonNumber(r.FreePoints) + "}";
}

std::string triangleJson(int tp1, int tp2, int tp3, int start, int finish, double perimeter,
                         double gap, double points) {
  return "{\"tp1\": " + std::to_string(tp1) + ", \"tp2\": " + std::to_string(tp2) +
         ", \"tp3\": " + std::to_string(tp3) + ", \"start\": " + std::to_string(start) +
         ", \"finish\": " + std::to_string(finish) + ", \"perimeter_km\": " + km(perimeter) +
         ", \"gap_km\": " + km(gap) + ", \"points\": " + jsonNumber(points) + "}";
}

bool parseBudgetValue(const std::string& text, int& budget) {
  try {
    std::size_t used = 0;
    budget = std::stoi(text, &used);
    return used == text.size() && isPointBudget(budget);
  } catch (const std::exception&) {
    return false;
  }
}

// FILE, then "--budget N" and, where `output` is given, "-o PATH", in any order.
bool parseArguments(const std::vector<std::string>& args, int& budget, std::string* output) {
  budget = DefaultPointBudget;
  if (args.empty()) return false;
  for (std::size_t k = 1; k < args.size(); k += 2) {
    if (k + 1 >= args.size()) return false;
    if (args[k] == "--budget") {
      if (!parseBudgetValue(args[k + 1], budget)) return false;
    } else if (args[k] == "-o" && output) {
      *output = args[k + 1];
    } else {
      return false;
    }
  }
  return !output || !output->empty();
}

}  // namespace

int optimizeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int budget = 0;
  if (!parseArguments(args, budget, nullptr)) {
    err << "Aufruf: quorvanta-cli optimize DATEI [--budget 512|1024|2048|4096|8192]\n";
    return 2;
  }
  const auto record = loadFlight(args[0], err);
  if (!record) return 1;
  RunControl control;
  const OptimizationRun run = optimizeFlight(*record, budget, control);
  const OptimizationResult& r = run.result;
  out << "{\"fix_count\": " << record->FixCount << ", \"usable_fixes\": " << run.usableFixes
      << ", \"budget\": " << run.budget << ", \"step\": " << run.step
      << ", \"thinned_points\": " << run.thinnedPoints << ", \"free\": " << freeJson(r)
      << ", \"flat\": "
      << triangleJson(r.FlatTp1, r.FlatTp2, r.FlatTp3, r.FlatStart, r.FlatFinish,
                      r.FlatPerimeter, r.FlatGap, r.FlatPoints)
      << ", \"fai\": "
      << triangleJson(r.FaiTp1, r.FaiTp2, r.FaiTp3, r.FaiStart, r.FaiFinish, r.FaiPerimeter,
                      r.FaiGap, r.FaiPoints)
      << ", \"best\": {\"free\": " << jsonBool(r.FreeIsBest) << ", \"flat\": "
      << jsonBool(r.FlatIsBest) << ", \"fai\": " << jsonBool(r.FaiIsBest) << "}, \"labels\": {";
  for (std::size_t k = 0; k < run.labels.size(); ++k) {
    out << (k ? ", " : "") << "\"Label" << k + 1 << "\": " << jsonString(run.labels[k]);
  }
  out << "}, \"timings_s\": {\"table\": " << jsonNumber(run.tableSeconds)
      << ", \"search\": " << jsonNumber(run.searchSeconds)
      << ", \"refine\": " << jsonNumber(run.refineSeconds) << "}}\n";
  return 0;
}

int claimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int budget = 0;
  std::string output;
  if (!parseArguments(args, budget, &output)) {
    err << "Aufruf: quorvanta-cli claim DATEI [--budget 512|1024|2048|4096|8192] -o AUSGABE.olc\n";
    return 2;
  }
  const auto record = loadFlight(args[0], err);
  if (!record) return 1;
  RunControl control;
  const OptimizationRun run = optimizeFlight(*record, budget, control);
  const auto line = claimLine(*record, run.result);
  if (!line) {
    err << args[0] << ": Keine Strecke gefunden, die sich melden ließe.\n";
    return 1;
  }
  if (const auto failure = writeClaimFile(output, *line)) {
    err << *failure << "\n";
    return 1;
  }
  out << "OLC-File geschrieben\n";
  return 0;
}

int measureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "Aufruf: quorvanta-cli measure DATEI\n";
    return 2;
  }
  const auto record = loadFlight(args[0], err);
  if (!record) return 1;
  out << "Start bis Ziel direkt [km]: " << fixedText(startToFinishKm(*record), 3) << "\n"
      << "Gesamtlänge des Tracks [km]: " << fixedText(trackLengthKm(*record), 3) << "\n";
  return 0;
}

}  // namespace quorvanta::cli
