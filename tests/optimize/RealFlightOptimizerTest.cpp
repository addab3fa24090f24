#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flight/IgcReader.h"
#include "optimize/Optimizer.h"
#include "optimize/ReferenceOptimizer.h"
#include "optimize/Scoring.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

struct Case {
  std::string file;
  int budget;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.file << " at " << c.budget; }

class RealFlightOptimizerTest : public ::testing::TestWithParam<Case> {};

TEST_P(RealFlightOptimizerTest, MatchesTheReference) {
  const Case& param = GetParam();
  auto record = std::make_unique<FlightRecord>();
  ASSERT_TRUE(readFlightFile(test::realFlight(param.file).string(), *record).ok());
  const auto t0 = std::chrono::steady_clock::now();
  OptimizationResult expected = test::referenceOptimize(*record, param.budget).result;
  scoreResult(expected);
  const auto t1 = std::chrono::steady_clock::now();
  RunControl control;
  const OptimizationRun run = optimizeFlight(*record, param.budget, control);
  const auto t2 = std::chrono::steady_clock::now();
  const auto seconds = [](auto d) { return std::chrono::duration<double>(d).count(); };
  RecordProperty("reference_s", std::to_string(seconds(t1 - t0)));
  RecordProperty("production_s", std::to_string(seconds(t2 - t1)));
  EXPECT_TRUE(run.result == expected)
      << "free " << run.result.FreeTp1 << "/" << run.result.FreeTp2 << "/" << run.result.FreeTp3
      << " vs " << expected.FreeTp1 << "/" << expected.FreeTp2 << "/" << expected.FreeTp3
      << "; flat " << run.result.FlatTp1 << "/" << run.result.FlatTp2 << "/" << run.result.FlatTp3
      << " vs " << expected.FlatTp1 << "/" << expected.FlatTp2 << "/" << expected.FlatTp3
      << "; fai " << run.result.FaiTp1 << "/" << run.result.FaiTp2 << "/" << run.result.FaiTp3
      << " vs " << expected.FaiTp1 << "/" << expected.FaiTp2 << "/" << expected.FaiTp3;
}

std::vector<Case> cases() {
  std::vector<Case> all;
  for (const std::string& file : test::sharedFlightNames()) {
    for (int budget : {512, 1024, 2048}) all.push_back({file, budget});
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(SharedFlights, RealFlightOptimizerTest, ::testing::ValuesIn(cases()),
                         [](const auto& info) {
                           return test::testNameOf(info.param.file) + "_" +
                                  std::to_string(info.param.budget);
                         });

}  // namespace
}  // namespace quorvanta
