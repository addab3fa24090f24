#include <algorithm>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/CliRunner.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;

TEST(ScoreCommand, EveryKindOfTheRuleSetWithItsRouteAndTheBestKind) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "flight.igc", test::igcFile(test::generateTrack({.fixCount = 600, .seed = 4, .triangleKm = 12})));
  const auto run = runCli("score " + quotedPath(file) + " --rules ffvl --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["rules"], "ffvl");
  EXPECT_EQ(json["distance_model"], "wgs84");
  ASSERT_EQ(json["kinds"].size(), 3u);
  double best = 0;
  for (const auto& kind : json["kinds"]) {
    EXPECT_TRUE(kind["proven"].get<bool>());
    best = std::max(best, kind["score"].get<double>());
    if (!kind["found"].get<bool>()) continue;
    const bool free = kind["code"] == "free";
    const auto& first = kind[free ? "start" : "closing_start"];
    EXPECT_LE(first["fix"].get<int>(), kind["tp1"]["fix"].get<int>());
    EXPECT_LE(kind["tp3"]["fix"].get<int>(), kind[free ? "finish" : "closing_finish"]["fix"].get<int>());
    EXPECT_EQ(first["time"].get<std::string>().size(), 8u);
  }
  const auto& kinds = json["kinds"];
  const auto winner = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const auto& k) { return k["code"] == json["best"]; });
  ASSERT_NE(winner, kinds.end());
  EXPECT_EQ((*winner)["score"].get<double>(), best);

  const auto text = runCli("score " + quotedPath(file) + " --rules olc2003");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Wertung nach OLC 2003 (Kugel 6371"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Beste Art: "), std::string::npos);
}

TEST(ScoreCommand, ALongFlightIsScoredOnEveryFixWithItsBRecordNumbers) {
  test::ScratchDir scratch;
  const auto fixes = test::generateTrack({.fixCount = 17000, .seed = 2, .invalidShare = 0.05});
  const std::string file = scratch.write("long.igc", test::igcFile(fixes));
  const auto run = runCli("score " + quotedPath(file) + " --json --max-seconds 1");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["usable_fixes"].get<long>(),
            std::count_if(fixes.begin(), fixes.end(), [](const auto& fix) { return fix.valid; }));
  const auto& free = json["kinds"][0];
  ASSERT_TRUE(free["found"].get<bool>());
  const int finish = free["finish"]["fix"].get<int>();
  ASSERT_TRUE(finish >= 1 && finish <= 17000);
  EXPECT_TRUE(fixes[static_cast<std::size_t>(finish - 1)].valid);
}

TEST(ScoreCommand, UsageAndFileErrors) {
  EXPECT_EQ(runCli("score").status, 2);
  EXPECT_EQ(runCli("score x.igc --rules olc").status, 2);
  EXPECT_EQ(runCli("score x.igc --max-seconds -1").status, 2);
  const auto missing = runCli("score /nonexistent/flight.igc");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nonexistent/flight.igc"), std::string::npos);
}

}  // namespace
}  // namespace quorvanta
