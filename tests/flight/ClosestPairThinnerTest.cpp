#include "flight/ClosestPairThinner.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "flight/Geodesy.h"

namespace quorvanta {
namespace {

struct Position {
  double lat, lon;
  int id;
};

// Literal form of the rule: while full, scan pairs (i, i+1) for i = 2..n-1,
// a pair wins only when strictly closer, and fix i+1 is moved out.
std::vector<int> literalThinning(const std::vector<Position>& input, int capacity) {
  std::vector<Position> kept(1);  // index 0 unused
  for (const Position& p : input) {
    if (static_cast<int>(kept.size()) - 1 == capacity) {
      double best = 100;
      int closest = 0;
      for (int i = 2; i <= capacity - 1; ++i) {
        const double d = ArcDistance(kept[i].lat, kept[i].lon, kept[i + 1].lat, kept[i + 1].lon);
        if (d < best) {
          best = d;
          closest = i;
        }
      }
      kept.erase(kept.begin() + closest + 1);
    }
    kept.push_back(p);
  }
  std::vector<int> ids;
  for (std::size_t i = 1; i < kept.size(); ++i) ids.push_back(kept[i].id);
  return ids;
}

std::vector<int> thinnedIds(const std::vector<Position>& input, int capacity) {
  ClosestPairThinner thinner(capacity);
  std::vector<int> idOfSlot(static_cast<std::size_t>(capacity));
  for (const Position& p : input) idOfSlot[static_cast<std::size_t>(thinner.add(p.lat, p.lon))] = p.id;
  std::vector<int> ids;
  for (int slot : thinner.slotsInOrder()) ids.push_back(idOfSlot[static_cast<std::size_t>(slot)]);
  return ids;
}

// A wandering track on a coarse grid, so that equal distances (ties) and
// repeated positions are frequent.
std::vector<Position> gridTrack(std::mt19937& random, int length) {
  std::uniform_int_distribution<int> step(-2, 2);
  std::vector<Position> track;
  int north = 0, east = 0;
  for (int id = 0; id < length; ++id) {
    north += step(random);
    east += step(random);
    track.push_back({(46 + north * 1e-4) * DegToRad, (11 + east * 1e-4) * DegToRad, id});
  }
  return track;
}

TEST(ClosestPairThinner, MatchesTheLiteralRuleOnRandomTracks) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> capacityOf(3, 40);
  for (int trial = 0; trial < 400; ++trial) {
    const int capacity = capacityOf(random);
    const auto track = gridTrack(random, capacity + std::uniform_int_distribution<int>(0, 200)(random));
    ASSERT_EQ(thinnedIds(track, capacity), literalThinning(track, capacity)) << "trial " << trial;
  }
}

TEST(ClosestPairThinner, FirstFixAndNewestFixAlwaysStay) {
  std::mt19937 random(9);
  const auto track = gridTrack(random, 500);
  ClosestPairThinner thinner(10);
  for (const Position& p : track) thinner.add(p.lat, p.lon);
  EXPECT_EQ(thinner.size(), 10);
  EXPECT_EQ(thinner.droppedCount(), 490);
  const auto ids = thinnedIds(track, 10);
  EXPECT_EQ(ids.front(), 0);
  EXPECT_EQ(ids.back(), 499);
}

TEST(ClosestPairThinner, EarliestOfEquallyClosePairsGoes) {
  // Four fixes evenly spaced: pairs (2,3) and (3,4) tie, so fix 3 goes.
  std::vector<Position> track;
  for (int id = 0; id < 5; ++id) track.push_back({id * 1e-5, 0, id});
  EXPECT_EQ(thinnedIds(track, 4), (std::vector<int>{0, 1, 3, 4}));
}

TEST(ClosestPairThinner, NeedsRoomForThreeFixes) {
  EXPECT_THROW(ClosestPairThinner(2), std::invalid_argument);
}

}  // namespace
}  // namespace quorvanta
