#include "optimize/exact/ExactSolver.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "flight/Geodesy.h"
#include "flight/IgcReader.h"
#include "optimize/exact/TrackDistance.h"
#include "support/ExactBruteForce.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta::exact {
namespace {

using test::bruteForce;

// Positions in degrees around 46.5 N 11 E (or the given centre).
struct Shape {
  std::string name;
  std::function<void(std::vector<double>& lat, std::vector<double>& lon)> fill;
};

void add(std::vector<double>& lat, std::vector<double>& lon, double latDeg, double lonDeg) {
  lat.push_back(latDeg * DegToRad);
  lon.push_back(lonDeg * DegToRad);
}

std::vector<Shape> shapes() {
  return {
      {"random walk", [](auto& lat, auto& lon) {
         std::mt19937 random(7);
         std::normal_distribution<double> step(0, 0.004);
         double y = 46.5, x = 11;
         for (int i = 0; i < 220; ++i) add(lat, lon, y += step(random), x += step(random) + 0.001);
       }},
      {"collinear with repeats", [](auto& lat, auto& lon) {
         for (int i = 0; i < 200; ++i) add(lat, lon, 46.5, 11 + 0.002 * ((i * 7) % 150 + (i % 5 == 0)));
       }},
      {"circling and drifting", [](auto& lat, auto& lon) {
         for (int i = 0; i < 220; ++i) {
           const double a = i * 0.35;
           add(lat, lon, 46.5 + 0.003 * std::sin(a) + 0.0004 * i, 11 + 0.004 * std::cos(a));
         }
       }},
      {"out and return", [](auto& lat, auto& lon) {
         for (int i = 0; i < 200; ++i) add(lat, lon, 46.5 + 0.001 * (i < 100 ? i : 200 - i), 11 + 0.00003 * i);
       }},
      {"triangle flown twice, large", [](auto& lat, auto& lon) {
         const double y[] = {46.5, 46.9, 46.6, 46.5}, x[] = {11, 11.2, 11.6, 11};
         for (int i = 0; i < 240; ++i) {
           const double t = (i % 120) / 40.0;
           const int leg = static_cast<int>(t);
           const double f = t - leg;
           add(lat, lon, y[leg] + f * (y[leg + 1] - y[leg]) + 0.001 * (i / 120),
               x[leg] + f * (x[leg + 1] - x[leg]));
         }
       }},
      {"there and back and there again over the same points", [](auto& lat, auto& lon) {
         for (int i = 0; i < 210; ++i) {
           const int j = i % 140 < 70 ? i % 70 : 69 - i % 70;
           add(lat, lon, 46.5 + 0.001 * j, 11 + 0.003 * std::sin(j * 0.9));
         }
       }},
      {"every fix twice, then a jump", [](auto& lat, auto& lon) {
         for (int i = 0; i < 210; ++i) {
           const int j = i / 2;
           add(lat, lon, 46.5 + 0.0005 * j + (j >= 90 ? 0.15 : 0), 11 + 0.002 * std::sin(j * 0.7));
         }
       }},
      {"southern and western hemisphere", [](auto& lat, auto& lon) {
         std::mt19937 random(3);
         std::uniform_real_distribution<double> jitter(-0.02, 0.02);
         for (int i = 0; i < 180; ++i) add(lat, lon, -33.5 + 0.1 * std::sin(i * 0.05) + jitter(random), -70.6 + 0.002 * i);
       }},
  };
}

ScoringTrack trackOf(const Shape& shape) {
  ScoringTrack track;
  shape.fill(track.lat, track.lon);
  for (int i = 0; i < track.size(); ++i) track.fixNumber.push_back(i + 1);
  return track;
}

ScoreResult solve(const ScoringTrack& track, const RuleSet& rules, const SearchLimits& limits = {}) {
  RunControl control;
  return scoreTrack(track, rules, control, limits);
}

void expectExact(const ScoringTrack& track, const RuleSet& rules, const std::string& what) {
  const ScoreResult result = solve(track, rules);
  ASSERT_EQ(result.kinds.size(), rules.kinds.size());
  for (std::size_t k = 0; k < rules.kinds.size(); ++k) {
    const KindResult& r = result.kinds[k];
    SCOPED_TRACE(what + ", " + rules.name + ", " + rules.kinds[k].name);
    EXPECT_EQ(r.score, bruteForce(track, rules, rules.kinds[k]));
    EXPECT_TRUE(r.proven);
    EXPECT_EQ(r.found, r.score > 0);
    if (!r.found) continue;
    // The route reported scores what the search says.
    const TrackDistance d(rules.model, rules.sphereRadiusKm, track.lat, track.lon);
    EXPECT_TRUE(r.start <= r.tp1 && r.tp1 <= r.tp2 && r.tp2 <= r.tp3 && r.tp3 <= r.finish);
    if (rules.kinds[k].shape == RouteShape::FreeDistance) {
      EXPECT_EQ(r.score, freeScore(rules.kinds[k], d.km(r.start, r.tp1), d.km(r.tp1, r.tp2),
                                   d.km(r.tp2, r.tp3), d.km(r.tp3, r.finish)));
    } else {
      EXPECT_EQ(r.gapKm, d.km(r.start, r.finish));
      EXPECT_EQ(r.score, triangleScore(rules.kinds[k], d.km(r.tp1, r.tp2), d.km(r.tp2, r.tp3),
                                       d.km(r.tp3, r.tp1), r.gapKm));
    }
  }
}

TEST(ExactSolver, EqualsBruteForceForEveryShapeKindAndRuleSet) {
  for (const Shape& shape : shapes()) {
    const ScoringTrack track = trackOf(shape);
    for (const RuleSet& rules : ruleSets()) expectExact(track, rules, shape.name);
  }
}

TEST(ExactSolver, ClosingExactlyAtTheLimitCounts) {
  const ScoringTrack track = trackOf(shapes()[2]);
  RuleSet rules = *findRuleSet("fai");
  const TrackDistance d(rules.model, 0, track.lat, track.lon);
  // Limits that equal a gap of the track to the last bit.
  for (const auto& [a, b] : {std::pair{30, 150}, std::pair{60, 200}, std::pair{5, 215}}) {
    for (ScoringKind& kind : rules.kinds) kind.closingFixedKm = kind.closingFreeKm = d.km(a, b);
    expectExact(track, rules, "limit " + std::to_string(a) + "-" + std::to_string(b));
  }
}

TEST(ExactSolver, InvalidFixesAreNeverChosen) {
  auto record = std::make_unique<FlightRecord>();
  const ScoringTrack all = trackOf(shapes()[4]);
  for (int i = 0; i < all.size(); ++i) {
    record->FixLat[i + 1] = all.lat[static_cast<std::size_t>(i)];
    record->FixLon[i + 1] = all.lon[static_cast<std::size_t>(i)];
    // The corners and every third fix are invalid.
    record->FixValid[i + 1] = i % 3 != 0 && i % 40 != 0;
  }
  record->FixCount = all.size();
  const ScoringTrack track = scoringTrack(*record);
  ASSERT_EQ(track.size(), 156);
  for (const RuleSet& rules : ruleSets()) {
    expectExact(track, rules, "invalid fixes");
    for (const KindResult& r : solve(track, rules).kinds) {
      if (!r.found) continue;
      for (const int index : {r.start, r.tp1, r.tp2, r.tp3, r.finish}) {
        EXPECT_TRUE(record->FixValid[track.fixNumber[static_cast<std::size_t>(index)]]);
      }
    }
  }
}

TEST(ExactSolver, ALimitedSearchSaysHowFarItsBoundIs) {
  const ScoringTrack track = trackOf(shapes()[0]);
  const RuleSet& rules = *findRuleSet("xcontest");
  const ScoreResult result = solve(track, rules, {.boxes = 50});
  for (std::size_t k = 0; k < rules.kinds.size(); ++k) {
    const KindResult& r = result.kinds[k];
    EXPECT_GE(r.upperBound, bruteForce(track, rules, rules.kinds[k]));
    EXPECT_EQ(r.proven, r.upperBound == r.score);
  }
  EXPECT_FALSE(result.kinds[0].proven);
}

TEST(ExactSolver, TinyTracksAndCancel) {
  for (int n = 0; n <= 3; ++n) {
    ScoringTrack track = trackOf(shapes()[0]);
    track.lat.resize(static_cast<std::size_t>(n)), track.lon.resize(static_cast<std::size_t>(n));
    track.fixNumber.resize(static_cast<std::size_t>(n));
    for (const RuleSet& rules : ruleSets()) expectExact(track, rules, std::to_string(n) + " fixes");
  }
  const std::atomic<bool> cancel{true};
  RunControl control({}, &cancel);
  EXPECT_THROW(scoreTrack(trackOf(shapes()[0]), *findRuleSet("ffvl"), control), OptimizationCancelled);
}

TEST(ExactSolver, TheWholeTrackIsReadWhereALoadThinsIt) {
  test::ScratchDir scratch;
  for (const int count : {3000, 20000}) {
    auto fixes = test::generateTrack({.fixCount = count, .seed = 5, .invalidShare = 0.1});
    const std::string file = scratch.write("f.igc", test::igcFile(fixes));
    const ScoringTrackRead read = readScoringTrack(file);
    ASSERT_FALSE(read.error) << *read.error;
    auto record = std::make_unique<FlightRecord>();
    ASSERT_TRUE(readFlightFile(file, *record).ok());
    const ScoringTrack loaded = scoringTrack(*record);
    if (count <= MaxFixes) {
      EXPECT_EQ(read.track.lat, loaded.lat);
      EXPECT_EQ(read.track.lon, loaded.lon);
      EXPECT_EQ(read.track.time, loaded.time);
      EXPECT_EQ(read.track.fixNumber, loaded.fixNumber);
      EXPECT_EQ(read.track.alt, loaded.alt);
    }
    EXPECT_EQ(wholeScoringTrack(*record).fixNumber, read.track.fixNumber);
    std::vector<std::int32_t> valid;
    for (int i = 0; i < count; ++i) {
      if (fixes[static_cast<std::size_t>(i)].valid) valid.push_back(i + 1);
    }
    EXPECT_EQ(read.track.fixNumber, valid);
    EXPECT_EQ(read.track.size(), static_cast<int>(valid.size()));
    if (count <= MaxFixes) continue;
    // A CSV track, a record shifted in time or a file changed since: the record as loaded.
    const auto asLoaded = [&record] {
      return wholeScoringTrack(*record).fixNumber == scoringTrack(*record).fixNumber;
    };
    record->CsvTrack = true;
    EXPECT_TRUE(asLoaded());
    record->CsvTrack = false;
    for (int i = 1; i <= record->FixCount; ++i) record->FixTime[i] += 1.0 / 24;
    EXPECT_TRUE(asLoaded());
    record = std::make_unique<FlightRecord>();
    ASSERT_TRUE(readFlightFile(file, *record).ok());
    fixes.resize(fixes.size() / 2);
    scratch.write("f.igc", test::igcFile(fixes));
    EXPECT_TRUE(asLoaded());
  }
  // A file a load refuses is refused with the load's message.
  const std::string fix = "B1000004630000N01100000EA0010000100\r\n";
  for (const std::string& content : {test::igcFile({}), fix, "HFDTE150703\r\n" + fix + "B10000046X0000N01100000EA0010000100\r\n"}) {
    const std::string file = scratch.write("bad.igc", content);
    ReadResult load = readFlightFile(file, *std::make_unique<FlightRecord>());
    ASSERT_FALSE(load.ok());
    EXPECT_EQ(readScoringTrack(file).error, load.error->message);
  }
  EXPECT_TRUE(readScoringTrack("/nonexistent/f.igc").error);
}

TEST(ExactSolver, Wgs84DistanceOfVincentysExample) {
  // Flinders Peak to Buninyong, the example of Vincenty's paper: 54 972.271 m.
  const auto rad = [](double d, double m, double s) { return (d + m / 60 + s / 3600) * DegToRad; };
  EXPECT_NEAR(wgs84DistanceKm(-rad(37, 57, 3.72030), rad(144, 25, 29.52440), -rad(37, 39, 10.15610),
                              rad(143, 55, 35.38390)),
              54.972271, 1e-6);
}

TEST(ExactSolver, QuickDistanceBoundsHoldTheDistance) {
  // Pairs from metres to thousands of kilometres apart, near the poles, the
  // equator and the date line, under both models.
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<double> lat, lon;
  for (const double spread : {1e-6, 1e-3, 0.05, 0.5, 3.0}) {
    for (int k = 0; k < 200; ++k) {
      const double lat0 = (unit(random) * 178 - 89) * DegToRad, lon0 = (unit(random) * 360 - 180) * DegToRad;
      lat.push_back(lat0), lon.push_back(lon0);
      lat.push_back(std::clamp(lat0 + (unit(random) - 0.5) * spread, -Pi / 2, Pi / 2));
      lon.push_back(lon0 + (unit(random) - 0.5) * spread);
    }
  }
  for (const RuleSet* rules : {findRuleSet("xcontest"), findRuleSet("olc2003")}) {
    const TrackDistance d(rules->model, rules->sphereRadiusKm, lat, lon);
    double widest = 0;
    for (int a = 0; a + 1 < d.size(); a += 2) {
      const double km = d.km(a, a + 1);
      const auto [least, most] = d.bounds(a, a + 1);
      ASSERT_LE(least, km) << rules->id << " pair " << a;
      ASSERT_GE(most, km) << rules->id << " pair " << a;
      if (km < 100) widest = std::max(widest, most - least);
    }
    EXPECT_LT(widest, 0.002) << rules->id;  // a few metres at most: tight enough to prune with
  }
}

TEST(ExactSolver, RuleSetBoundaries) {
  const RuleSet& olc = *findRuleSet("olc2003");
  const RuleSet& ffvl = *findRuleSet("ffvl");
  EXPECT_FALSE(triangleScore(olc.kinds[2], 28, 42, 30, 0));  // 28 % is not more than 28 %
  EXPECT_EQ(triangleScore(findRuleSet("xcontest")->kinds[2], 28.5, 41.5, 30, 0), 140);
  EXPECT_EQ(triangleScore(olc.kinds[1], 40, 30, 30, 20), 80 * 1.75);  // gap of exactly 20 %
  EXPECT_FALSE(triangleScore(olc.kinds[1], 40, 30, 30, 20.001));
  EXPECT_EQ(triangleScore(ffvl.kinds[1], 10, 10, 10, 3), 36);  // within the free 3 km
  EXPECT_FALSE(triangleScore(ffvl.kinds[1], 10, 10, 10, 3.01));
  EXPECT_DOUBLE_EQ(*triangleScore(ffvl.kinds[1], 40, 40, 40, 5.9), (120 - 5.9) * 1.2);
  EXPECT_EQ(findRuleSet("olc"), nullptr);
}

}  // namespace
}  // namespace quorvanta::exact
