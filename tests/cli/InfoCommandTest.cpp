#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/CliRunner.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using test::CliRun;
using test::quotedPath;
using test::runCli;

TEST(InfoCommand, DescribesEveryRealFlight) {
  for (const auto& entry : std::filesystem::directory_iterator(test::testDataDir() / "igc")) {
    if (entry.path().extension() == ".md") continue;
    const CliRun run = runCli("info " + quotedPath(entry.path()));
    ASSERT_EQ(run.status, 0) << entry.path() << run.err;
    const auto info = nlohmann::json::parse(run.out);
    EXPECT_EQ(info["file"], entry.path().string());
    EXPECT_GT(info["fix_count"].get<int>(), 1000);
    EXPECT_LE(info["fix_count"].get<int>(), 16384);
    EXPECT_LE(info["header_line_count"].get<int>(), 20);
    EXPECT_TRUE(info["max_speed"].is_number_float());
    EXPECT_TRUE(info["labels"]["Label3"].get<std::string>().starts_with("mittl. Datenrate: "));
    EXPECT_FALSE(info.contains("fixes"));
  }
}

TEST(InfoCommand, PrintsTheExactLayout) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "tiny.igc",
      "HFDTE150703\r\nHFPLTPILOT:Jörg\r\nI013638ENL\r\n"
      "B1005074730000N00806000EA0123401300123\r\nB1005084730000S00806000WV0000001310000\r\n");
  const CliRun run = runCli("info " + quotedPath(file) + " --fixes");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"file\": \"" + file +
                "\", \"fix_count\": 2, \"dropped_fix_count\": 0, \"invalid_fix_count\": 1, "
                "\"header_line_count\": 3, \"other_line_count\": 0, \"ext\": [{\"code\": \"ENL\", "
                "\"start\": 36, \"len\": 3}], \"flight_title\": \"PILOT:Jörg   am 15.7.2003\", "
                "\"max_alt\": 0, \"min_alt\": 100000, \"max_ground_alt\": 0, \"max_climb\": 0, "
                "\"max_sink\": 0, \"max_speed\": 0, \"max_pressure_alt\": 1234, \"labels\": "
                "{\"Label1\": \"2 Track-Punkte aus Datei gelesen\", \"Label2\": \"\", \"Label3\": "
                "\"mittl. Datenrate: zu wenige Punkte\", \"Label4\": \"Achtung: 1 unsichere "
                "Trackpunkte!!\"}, \"fixes\": [{\"lat\": 47.5, \"lon\": 8.0999999999999996, "
                "\"valid\": true, \"time\": \"2003-07-15T10:05:07\", \"alt\": 1234, \"gps_alt\": "
                "1300}, {\"lat\": -47.5, \"lon\": -8.0999999999999996, \"valid\": false, \"time\": "
                "\"2003-07-15T10:05:08\", \"alt\": 1310, \"gps_alt\": 1310}]}\n");
}

TEST(InfoCommand, LatinOneHeaderTextBecomesValidUtf8) {
  test::ScratchDir scratch;
  const std::string file = scratch.write(
      "latin.igc", "HFDTE150703\r\nHFPLTPILOT:J\xF6rg\r\nB1005074730000N00806000EA0123401300\r\n");
  const CliRun run = runCli("info " + quotedPath(file));
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(nlohmann::json::parse(run.out)["flight_title"], "PILOT:Jörg   am 15.7.2003");
}

TEST(InfoCommand, ErrorsNameTheFileAndLine) {
  test::ScratchDir scratch;
  const std::string file =
      scratch.write("bad.igc", "HFDTE150703\r\nB1005074730000N0080x000EA0123401300\r\n");
  const CliRun run = runCli("info " + quotedPath(file));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with(file + ": Fehler in Zeile 2: ")) << run.err;
  EXPECT_NE(run.err.find("Längenminuten"), std::string::npos);

  EXPECT_EQ(runCli("info").status, 2);
  EXPECT_EQ(runCli("info a.igc --wrong").status, 2);
  EXPECT_EQ(runCli("frobnicate").status, 2);
}

}  // namespace
}  // namespace quorvanta
