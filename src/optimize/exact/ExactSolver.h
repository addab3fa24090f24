#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "flight/FlightRecord.h"
#include "optimize/RunControl.h"
#include "optimize/exact/ScoringRules.h"

namespace quorvanta::exact {

// The fixes a route may use: the valid ones, in recording order, 0-based,
// with their fix numbers in the flight record (1-based).
struct ScoringTrack {
  std::vector<double> lat, lon;  // radians
  std::vector<std::int32_t> fixNumber;
  std::vector<double> time;       // day count, as FlightRecord::FixTime
  std::vector<std::int32_t> alt;  // m, as FlightRecord::FixAlt
  int size() const { return static_cast<int>(lat.size()); }
};

ScoringTrack scoringTrack(const FlightRecord& record);

struct ScoringTrackRead {
  ScoringTrack track;
  std::optional<std::string> error;  // German, ready to show
};

// Every valid fix of an IGC file, without the thinning a load applies to
// long flights; fix numbers count the B records of the file from 1. A file
// the reader refuses is refused here with the same message.
ScoringTrackRead readScoringTrack(const std::string& path);

// The record's flight with every fix: read anew from its IGC file when the
// load thinned it and the file still holds the record's fixes; otherwise,
// a CSV track, a file gone, changed or the record edited since, the record's.
ScoringTrack wholeScoringTrack(const FlightRecord& record);

// 0: no limit. The boxes count for each kind; the seconds for the whole run:
// the free distance may use all that is left, the triangle kinds share what
// it leaves in equal parts. A search stopped by a
// limit reports the best route found so far and the bound it could not close.
struct SearchLimits {
  double seconds = 0;
  long long boxes = 0;
};

// The best route of one kind. Points are track indices (-1: none). For a
// free distance start and finish are the route's ends; for a triangle they
// are the closing points.
struct KindResult {
  const ScoringKind* kind = nullptr;
  bool found = false;
  bool proven = false;   // no route of the kind scores more than `score`
  double score = 0;
  double upperBound = 0;  // no route of the kind scores more than this
  int start = -1, tp1 = -1, tp2 = -1, tp3 = -1, finish = -1;
  double distanceKm = 0;  // free distance: start to finish; triangle: perimeter
  double gapKm = 0, penaltyKm = 0;
  long long boxes = 0;    // boxes of the search taken apart
};

struct ScoreResult {
  std::vector<KindResult> kinds;  // in the rule set's order
  int best = -1;                  // highest score, the first on ties; -1 when none found
  double seconds = 0;
};

// The exact optimum of every kind of the rule set over the track's fixes:
// branch and bound over the three turnpoints' fix ranges with bounds from
// the ranges' geometry, on every core. Throws OptimizationCancelled.
ScoreResult scoreTrack(const ScoringTrack& track, const RuleSet& rules, RunControl& control,
                       const SearchLimits& limits = {});

}  // namespace quorvanta::exact
