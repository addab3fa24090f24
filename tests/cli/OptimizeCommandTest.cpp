#include <filesystem>
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

TEST(OptimizeCommand, PrintsRoutesPointsLabelsAndTimings) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "flight.igc", test::igcFile(test::generateTrack({.fixCount = 3000, .seed = 4, .triangleKm = 30})));
  const auto run = runCli("optimize " + quotedPath(file) + " --budget 1024");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["fix_count"], 3000);
  EXPECT_EQ(json["usable_fixes"], 3000);
  EXPECT_EQ(json["step"], 3);
  EXPECT_EQ(json["thinned_points"], 1000);
  const auto& free = json["free"];
  EXPECT_LT(free["start"].get<int>(), free["tp2"].get<int>());
  EXPECT_NEAR(free["points"].get<double>(), free["distance_km"].get<double>() * 1.5, 1e-9);
  const auto& fai = json["fai"];
  EXPECT_GT(fai["perimeter_km"].get<double>(), 20);  // the generator flies a 30 km FAI triangle
  EXPECT_NEAR(fai["points"].get<double>(),
              (fai["perimeter_km"].get<double>() - fai["gap_km"].get<double>()) * 2.0, 1e-6);
  const int bestCount = json["best"]["free"].get<bool>() + json["best"]["flat"].get<bool>() +
                        json["best"]["fai"].get<bool>();
  EXPECT_GE(bestCount, 1);
  EXPECT_EQ(json["labels"]["Label1"], "optimale Strecken für 1000 TrPkte o.k.");
  EXPECT_TRUE(json["labels"]["Label2"].get<std::string>().starts_with("Zeit Felderaufbau:  "));
  EXPECT_TRUE(json["timings_s"]["refine"].is_number());
}

TEST(OptimizeCommand, RejectsOtherBudgetsAndBadFiles) {
  EXPECT_EQ(runCli("optimize x.igc --budget 1000").status, 2);
  EXPECT_EQ(runCli("optimize x.igc --budget").status, 2);
  EXPECT_EQ(runCli("optimize").status, 2);
  const auto missing = runCli("optimize /nonexistent/x.igc");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Datei nicht gefunden"), std::string::npos);
}

TEST(ClaimCommand, WritesTheClaimOfTheBestRoute) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "37FABCD1.igc", test::igcFile(test::generateTrack({.fixCount = 2000, .seed = 8, .triangleKm = 20})));
  const std::string claim = (scratch.path() / "out.olc").string();
  const auto run = runCli("claim " + quotedPath(file) + " -o " + quotedPath(claim) + " --budget 512");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "OLC-File geschrieben\n");
  const std::string line = test::fileContent(claim);
  EXPECT_TRUE(line.starts_with("OLCvnolc=&igcfn=37FABCD1&ind=100&flugzeug=2&ft=")) << line;
  EXPECT_TRUE(line.ends_with("&ligcfn=" + file.substr(0, file.size() - 4) + "\r\n")) << line;
  EXPECT_EQ(runCli("claim " + quotedPath(file)).status, 2);  // no output file named
}

TEST(MeasureCommand, PrintsStartToFinishAndTrackLength) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "line.igc",
      "HFDTE150703\r\nB1000004600000N01100000EA0100001000\r\nB1000104601000N01100000EA0100001000\r\n"
      "B1000204600000N01100000EA0100001000\r\n");
  const auto run = runCli("measure " + quotedPath(file));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Start bis Ziel direkt [km]: 0.000\nGesamtlänge des Tracks [km]: 3.706\n");
}

TEST(ClaimCommand, RefusesACsvPositionOutOfRange) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "far.csv", "T,x,47.5,8.1,7,15,2003,10,5,6,1\r\nT,,1e39,8,7,15,2003,10,5,7,1\r\n");
  const std::string claim = (scratch.path() / "out.olc").string();
  const auto run = runCli("claim " + quotedPath(file) + " -o " + quotedPath(claim));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, file + ": Fehler in Zeile 2: Wert „1e39“ in Feld 2 (Breite) liegt außerhalb "
                            "von -90 bis 90 Grad: „T,,1e39,8,7,15,2003,10,5,7,1“\n");
  EXPECT_FALSE(std::filesystem::exists(claim));
}

}  // namespace
}  // namespace quorvanta
