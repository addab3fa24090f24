#include "optimize/Optimizer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "flight/Geodesy.h"
#include "optimize/ReferenceOptimizer.h"
#include "optimize/Scoring.h"
#include "optimize/UsableTrack.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

// A flight record straight from positions in degrees.
struct TrackBuilder {
  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  void add(double latDeg, double lonDeg, bool valid = true) {
    const int i = ++record->FixCount;
    record->FixLat[i] = latDeg * DegToRad;
    record->FixLon[i] = lonDeg * DegToRad;
    record->FixValid[i] = valid;
    record->FixTime[i] = 37817 + i / 86400.0;
  }
};

OptimizationResult production(const FlightRecord& record, int budget) {
  RunControl control;
  return optimizeFlight(record, budget, control).result;
}

OptimizationResult reference(const FlightRecord& record, int budget, bool literal) {
  OptimizationResult result =
      test::referenceOptimize(record, budget, {.skipBoundedCandidates = !literal}).result;
  scoreResult(result);
  return result;
}

std::string describe(const OptimizationResult& r) {
  char text[400];
  std::snprintf(text, sizeof text,
                "free %d/%d/%d/%d/%d %.17g flat %d/%d/%d %d-%d %.17g %.17g fai %d/%d/%d %d-%d %.17g %.17g",
                r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish, r.FreeDistance, r.FlatTp1,
                r.FlatTp2, r.FlatTp3, r.FlatStart, r.FlatFinish, r.FlatPerimeter, r.FlatGap, r.FaiTp1,
                r.FaiTp2, r.FaiTp3, r.FaiStart, r.FaiFinish, r.FaiPerimeter, r.FaiGap);
  return text;
}

// The refinement runs literally where its windows are small (step up to 3,
// windows of up to 15 fixes); beyond that the reference may skip provably
// hopeless groups of candidates.
void expectSameAsReference(const FlightRecord& record, int budget) {
  const int step = planThinning(usableFixes(record).count(), budget).step;
  const OptimizationResult expected = reference(record, budget, step <= 3);
  const OptimizationResult actual = production(record, budget);
  EXPECT_EQ(describe(actual), describe(expected)) << "budget " << budget;
  EXPECT_TRUE(actual == expected);
}

std::unique_ptr<FlightRecord> generated(int fixes, unsigned seed, double invalidShare = 0) {
  TrackBuilder track;
  for (const auto& fix : test::generateTrack({.fixCount = fixes, .seed = seed, .triangleKm = 8,
                                              .invalidShare = invalidShare})) {
    track.add(fix.latDeg, fix.lonDeg, fix.valid);
  }
  return std::move(track.record);
}

TEST(Thinning, StepIsTheSmallestThatFitsTheBudget) {
  EXPECT_EQ(planThinning(2000, 2048).step, 1);
  EXPECT_EQ(planThinning(2000, 2048).points, 2000);
  EXPECT_EQ(planThinning(2049, 2048).step, 2);
  EXPECT_EQ(planThinning(2049, 2048).points, 1024);
  EXPECT_EQ(planThinning(5000, 2048).step, 3);
  EXPECT_EQ(planThinning(5000, 2048).points, 1666);
  EXPECT_EQ(thinnedToUsable(1666, 3), 4996);
  EXPECT_EQ(planThinning(0, 512).points, 0);
  EXPECT_EQ(distanceUnits(2.5 / (EarthRadiusKm * 10000)), 2);
  EXPECT_EQ(distanceUnits(3.5 / (EarthRadiusKm * 10000)), 4);
}

TEST(Optimizer, MatchesTheLiteralRunOnRealisticTracks) {
  for (unsigned seed = 1; seed <= 24; ++seed) {
    const auto record = generated(60 + static_cast<int>(seed) * 7, seed, seed % 3 ? 0 : 0.1);
    for (int budget : {50, 90, 1024}) expectSameAsReference(*record, budget);
  }
}

TEST(Optimizer, MatchesTheLiteralRunOnZigZagsAndCircuits) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> jitter(-0.002, 0.002);
  for (int trial = 0; trial < 6; ++trial) {
    TrackBuilder zigzag, circuit;
    for (int i = 0; i < 150; ++i) {
      zigzag.add(46 + (i % 20 < 10 ? i % 10 : 10 - i % 10) * 0.01 + jitter(random), 11 + i * 0.002);
      const double angle = i * 2 * Pi / 140;
      circuit.add(46 + 0.1 * std::cos(angle) + jitter(random), 11 + 0.14 * std::sin(angle));
    }
    for (int budget : {50, 75, 200}) {
      expectSameAsReference(*zigzag.record, budget);
      expectSameAsReference(*circuit.record, budget);
    }
  }
}

TEST(Optimizer, MatchesTheLiteralRunOnCollinearAndRepeatedPoints) {
  TrackBuilder line, repeated;
  for (int i = 0; i < 120; ++i) {
    line.add(46 + i * 0.001, 11);  // straight glide along a meridian
    repeated.add(46 + (i / 30) * 0.01, 11 + (i / 40) * 0.01);  // long stays at few places
  }
  for (int budget : {40, 60, 120}) {
    expectSameAsReference(*line.record, budget);
    expectSameAsReference(*repeated.record, budget);
  }
}

TEST(Optimizer, StraightGlideStartsAtTp1) {
  TrackBuilder line;
  for (int i = 0; i < 200; ++i) line.add(46 + i * 0.001, 11);
  const OptimizationResult r = production(*line.record, 1024);  // step 1: no refinement
  EXPECT_EQ(r.FreeStart, 1);
  EXPECT_EQ(r.FreeTp1, 1);  // at i = 1 the start is Tp1: the first leg is 0
  EXPECT_EQ(r.FreeFinish, 200);
  EXPECT_EQ(r.FlatTp2, 0);  // no closed triangle on a straight line
  EXPECT_EQ(r.FaiTp2, 0);
  EXPECT_NEAR(r.FreeDistance * EarthRadiusKm, 0.199 * 111.195, 0.01);
}

// The reference's bounded skips must not change what its literal loops find.
TEST(ReferenceOptimizer, SkippingBoundedCandidatesChangesNothing) {
  for (unsigned seed = 30; seed < 36; ++seed) {
    const auto record = generated(150, seed);
    for (int budget : {30, 40, 60}) {
      const auto literal = test::referenceOptimize(*record, budget, {.skipBoundedCandidates = false});
      const auto skipping = test::referenceOptimize(*record, budget, {.skipBoundedCandidates = true});
      EXPECT_TRUE(literal.result == skipping.result) << "seed " << seed << " budget " << budget;
    }
  }
}

TEST(Optimizer, FewerThanThreePointsFindNothing) {
  TrackBuilder track;
  track.add(46, 11);
  track.add(46.1, 11);
  track.add(46.2, 11, false);
  const OptimizationRun run = [&] {
    RunControl control;
    return optimizeFlight(*track.record, 512, control);
  }();
  EXPECT_EQ(run.thinnedPoints, 2);
  EXPECT_EQ(run.result.FreeTp2, 0);
  EXPECT_EQ(run.result.FreeDistance, 0);
  EXPECT_TRUE(run.result.FreeIsBest && run.result.FlatIsBest && run.result.FaiIsBest);
  EXPECT_EQ(run.labels[0], "optimale Strecken für 2 TrPkte o.k.");
}

TEST(Optimizer, InvalidFixesAreNeverTurnpoints) {
  const auto record = generated(400, 5, 0.3);
  const OptimizationResult r = production(*record, 64);
  for (int fix : {r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish, r.FlatTp1, r.FlatTp2,
                  r.FlatTp3, r.FlatStart, r.FlatFinish}) {
    if (fix) {
      EXPECT_TRUE(record->FixValid[fix]) << fix;
    }
  }
}

TEST(Optimizer, ReportsProgressAndStopsWhenCancelled) {
  const auto record = generated(3000, 9);
  std::vector<int> seen;
  std::vector<RunPhase> phases;
  std::atomic<bool> cancel{false};
  RunControl control([&](int percent) { seen.push_back(percent); }, &cancel,
                     [&](RunPhase phase) { phases.push_back(phase); });
  const OptimizationRun run = optimizeFlight(*record, 512, control);
  EXPECT_GT(run.step, 1);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 1);
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end(), std::greater_equal<>()) == seen.end());
  EXPECT_EQ(phases, (std::vector<RunPhase>{RunPhase::Table, RunPhase::Search, RunPhase::RefineFlat,
                                            RunPhase::RefineFai, RunPhase::RefineFree,
                                            RunPhase::Closing}));

  RunControl cancelling([&](int percent) { cancel = percent >= 50; }, &cancel);
  EXPECT_THROW(optimizeFlight(*record, 512, cancelling), OptimizationCancelled);
}

TEST(Scoring, PointsPerKindAndBestFlags) {
  const double km = 1 / EarthRadiusKm;
  OptimizationResult r;
  r.FlatPerimeter = 100 * km, r.FlatGap = 20 * km;
  scoreResult(r);
  EXPECT_NEAR(r.FlatPoints, 140, 1e-9);
  r.FlatGap = 20.001 * km;
  scoreResult(r);
  EXPECT_EQ(r.FlatPoints, 0);

  OptimizationResult fai;
  fai.FaiPerimeter = 100 * km;
  fai.FreeDistance = 120 * km;
  scoreResult(fai);
  EXPECT_NEAR(fai.FaiPoints, 200, 1e-9);
  EXPECT_NEAR(fai.FreePoints, 180, 1e-9);
  EXPECT_TRUE(fai.FaiIsBest);
  EXPECT_FALSE(fai.FreeIsBest || fai.FlatIsBest);

  // 140 km free and 120 km flat both give 210 points; nudge the perimeter
  // by an ulp or two so that the two products are the same double.
  OptimizationResult tie;
  tie.FreeDistance = 140 * km;
  tie.FlatPerimeter = 120 * km;
  for (int nudge = 0; nudge < 8; ++nudge) {
    scoreResult(tie);
    if (tie.FlatPoints == tie.FreePoints) break;
    tie.FlatPerimeter = std::nextafter(tie.FlatPerimeter, tie.FlatPoints < tie.FreePoints ? 1.0 : 0.0);
  }
  ASSERT_EQ(tie.FreePoints, tie.FlatPoints);
  EXPECT_NEAR(tie.FreePoints, 210, 1e-9);
  EXPECT_TRUE(tie.FreeIsBest && tie.FlatIsBest);
  EXPECT_FALSE(tie.FaiIsBest);
}

TEST(Scoring, MeasurementsOverAllFixes) {
  TrackBuilder track;
  track.add(46, 11);
  EXPECT_EQ(trackLengthKm(*track.record), 0);
  track.add(47, 11, false);
  track.add(46, 11);
  EXPECT_EQ(startToFinishKm(*track.record), 0);
  EXPECT_NEAR(trackLengthKm(*track.record), 2 * 111.19, 0.01);
}

}  // namespace
}  // namespace quorvanta
