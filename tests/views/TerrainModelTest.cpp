#include "views/TerrainModel.h"

#include <algorithm>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/Geodesy.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;

std::string pyrenees() { return (test::testDataDir() / "dem" / "pyrenees").string(); }

std::string header(const std::string& rows, const std::string& cols) {
  return "BYTEORDER M\r\nLAYOUT    BIL\r\nNROWS     " + rows + "\r\nNCOLS     " + cols +
         "\r\nNBANDS    1\r\nNBITS     16\r\nBANDROWBYTES 4\r\nTOTALROWBYTES 4\r\n"
         "BANDGAPBYTES 0\r\nNODATA    -9999\r\nULXMAP    10.5\r\nULYMAP    47.25\r\n"
         "XDIM      0.5\r\nYDIM      0.25\r\n";
}

TEST(TerrainModel, HeaderByLinePosition) {
  TerrainModel model;
  ASSERT_FALSE(parseDemHeader(header("6000", "4800"), model));
  EXPECT_EQ(model.DemRows, 6000);
  EXPECT_EQ(model.DemCols, 4800);
  EXPECT_EQ(model.DemNoData, -9999);
  EXPECT_DOUBLE_EQ(model.DemWest, 10.5 * DegToRad);
  EXPECT_DOUBLE_EQ(model.DemNorth, 47.25 * DegToRad);
  EXPECT_DOUBLE_EQ(model.DemLatStep, 0.25 * DegToRad);

  // Real GTOPO30 headers pad the labels to 14 characters; a label may also
  // fill its ten characters without a blank.
  std::string wide = header("7", "9");
  wide.replace(wide.find("NROWS     7"), 11, "NROWS         7");
  wide.replace(wide.find("NCOLS     9"), 11, "NUMBEROFCL9");
  ASSERT_FALSE(parseDemHeader(wide, model));
  EXPECT_EQ(model.DemRows, 7);
  EXPECT_EQ(model.DemCols, 9);

  EXPECT_THAT(parseDemHeader(header("x", "9"), model).value_or(""), HasSubstr("keine ganze Zahl"));
  EXPECT_THAT(parseDemHeader(header("0", "9"), model).value_or(""), HasSubstr("Rastergröße"));
  EXPECT_THAT(parseDemHeader("NROWS 3\r\n", model).value_or(""), HasSubstr("weniger als 14"));
}

TEST(TerrainModel, BigEndianGridAndFailedLoadsKeepThePreviousModel) {
  const test::ScratchDir scratch;
  scratch.write("tiny.hdr", header("2", "2"));
  scratch.write("tiny.dem", std::string("\x01\x2c\xff\xfe\xd8\xf1\x00\x07", 8));
  TerrainModel model;
  ASSERT_FALSE(loadTerrainModel((scratch.path() / "tiny").string(), model));
  EXPECT_EQ(model.at(0, 0), 300);
  EXPECT_EQ(model.at(0, 1), -2);
  EXPECT_EQ(model.at(1, 0), -9999);  // no data
  EXPECT_EQ(model.at(1, 1), 7);
  EXPECT_EQ(model.DemHeightAt(47.25 * DegToRad, 10.5 * DegToRad), 300);
  EXPECT_EQ(model.DemHeightAt(47.0 * DegToRad, 10.5 * DegToRad), std::nullopt);  // no data
  EXPECT_EQ(model.DemHeightAt(48 * DegToRad, 10.5 * DegToRad), std::nullopt);    // outside

  scratch.write("short.hdr", header("2", "3"));
  scratch.write("short.dem", std::string(10, '\0'));
  EXPECT_THAT(loadTerrainModel((scratch.path() / "short").string(), model).value_or(""),
              HasSubstr("zu kurz"));
  EXPECT_THAT(loadTerrainModel((scratch.path() / "none").string(), model).value_or(""),
              HasSubstr("Datei nicht gefunden"));
  EXPECT_EQ(model.DemCols, 2);
  EXPECT_EQ(model.at(1, 1), 7);
}

TEST(TerrainModel, RealPyreneesModel) {
  TerrainModel model;
  ASSERT_FALSE(loadTerrainModel(pyrenees(), model));
  EXPECT_EQ(model.DemRows, 901);
  EXPECT_EQ(model.DemCols, 1081);
  EXPECT_EQ(model.DemNoData, -32768);
  EXPECT_EQ(std::count(model.DemGrid.begin(), model.DemGrid.end(), -32768), 6475);
  std::int16_t low = 10000, high = -10000;
  for (const std::int16_t z : model.DemGrid) {
    if (z == -32768) continue;
    low = std::min(low, z);
    high = std::max(high, z);
  }
  EXPECT_EQ(low, 424);
  EXPECT_EQ(high, 3100);
  EXPECT_EQ(model.DemHeightAt(42.6667 * DegToRad, 1.3983 * DegToRad), 3100);  // Pica d'Estats
  EXPECT_EQ(model.DemHeightAt(42.3583 * DegToRad, 1.4556 * DegToRad), 702);   // La Seu d'Urgell
  EXPECT_EQ(model.groundElevation(42.8 * DegToRad, 1.5 * DegToRad), 0);       // row 0
  EXPECT_EQ(model.groundElevation(42.5 * DegToRad, 1.0505 * DegToRad), 0);    // column 1
  EXPECT_EQ(model.groundElevation(40 * DegToRad, 1.5 * DegToRad), 0);         // outside
}

TEST(TerrainModel, SyntheticFlightOverTheModelGetsGroundElevations) {
  TerrainModel model;
  ASSERT_FALSE(loadTerrainModel(pyrenees(), model));
  const test::ScratchDir scratch;
  const auto fixes = test::generateTrack({.fixCount = 500, .startLatDeg = 42.21, .startLonDeg = 1.33});
  auto record = std::make_unique<FlightRecord>();
  ReadOptions options;
  options.groundElevation = [&model](double lat, double lon) { return model.groundElevation(lat, lon); };
  ASSERT_TRUE(readFlightFile(scratch.write("f.igc", test::igcFile(fixes)), *record, options).ok());
  for (int i = 1; i <= record->FixCount; ++i) {
    ASSERT_EQ(record->FixGroundAlt[i], model.DemHeightAt(record->FixLat[i], record->FixLon[i]).value_or(0));
    ASSERT_GT(record->FixGroundAlt[i], 400);
  }
  EXPECT_GT(record->MaxGroundAlt, 500);
}

}  // namespace
}  // namespace quorvanta
