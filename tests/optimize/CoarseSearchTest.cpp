#include "optimize/CoarseSearch.h"

#include <random>

#include <gtest/gtest.h>

#include "optimize/ReferenceOptimizer.h"

namespace quorvanta {
namespace {

test::ReferenceCoarse asReference(const CoarseRoutes& r) {
  return {r.freeStart, r.freeTp1, r.freeTp2, r.freeTp3, r.freeFinish, r.flatTp1,
          r.flatTp2,   r.flatTp3, r.faiTp1,  r.faiTp2,  r.faiTp3};
}

test::ReferenceCoarse productionSearch(int n, const std::function<std::int32_t(int, int)>& units) {
  const DistanceMatrix D(n, units);
  RunControl control;
  return asReference(coarseSearch(D, control));
}

void expectSameAsReference(int n, const std::function<std::int32_t(int, int)>& units) {
  const auto expected = test::referenceSearch(n, units);
  ASSERT_EQ(productionSearch(n, units), expected) << "n = " << n;
}

// Tables of small integers that obey no geometry: ties everywhere, middle
// maxima that stay below D[i][j], and gaps of every size.
TEST(CoarseSearch, MatchesTheReferenceOnRandomIntegerTables) {
  std::mt19937 random(77);
  for (int trial = 0; trial < 300; ++trial) {
    const int n = std::uniform_int_distribution<int>(0, 70)(random);
    const int spread = std::uniform_int_distribution<int>(1, trial % 3 == 0 ? 4 : 60)(random);
    std::vector<std::int32_t> cells(static_cast<std::size_t>((n + 1) * (n + 1)));
    for (auto& cell : cells) cell = std::uniform_int_distribution<int>(0, spread)(random);
    expectSameAsReference(n, [&](int i, int j) {
      return i == j ? 0 : cells[static_cast<std::size_t>(i * (n + 1) + j)];
    });
  }
}

// Points on a line: D[i][k] + D[k][j] = D[i][j] - 1 everywhere, so no pair
// reaches its middle maximum and the free distance keeps reusing an old one.
TEST(CoarseSearch, MatchesTheReferenceWhenNoMiddleMaximumIsReached) {
  for (int n : {3, 4, 5, 12, 40}) {
    expectSameAsReference(n, [](int i, int j) { return i == j ? 0 : 10 * (j - i) - 1 + (j - i == 1); });
    expectSameAsReference(n, [](int i, int j) { return 7 * (j - i); });
  }
}

TEST(CoarseSearch, TriangleTestsAreStrictAtTheirLimits) {
  // Thinned points 1..5: a triangle 1-2-3 with legs 30, 42, 28 (28 % leg),
  // and 4-5 closing back to 1.
  const std::int32_t legs[6][6] = {{0},
                                   {0, 0, 30, 28, 50, 20},
                                   {0, 0, 0, 42, 45, 40},
                                   {0, 0, 0, 0, 30, 30},
                                   {0, 0, 0, 0, 0, 10},
                                   {0, 0, 0, 0, 0, 0}};
  const auto table = [&](int i, int j) { return legs[i][j]; };
  expectSameAsReference(5, table);
  const auto routes = productionSearch(5, table);
  EXPECT_NE(routes.fai1 * 100 + routes.fai2 * 10 + routes.fai3, 123);  // 28 % is not more than 28 %

  // Perimeter exactly five gaps: t = 100, g = 20 is not considered.
  const auto exactFifth = [](int i, int j) {
    static const std::int32_t d[5][5] = {{0}, {0, 0, 40, 30, 20}, {0, 0, 0, 30, 60}, {0, 0, 0, 0, 50}, {0}};
    return d[i][j];
  };
  expectSameAsReference(4, exactFifth);
}

}  // namespace
}  // namespace quorvanta
