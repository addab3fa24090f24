#include "flight/IgcHeader.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/MemorySettings.h"
#include "support/PlausibleHeader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

TEST(IgcHeader, AbsentValuesReadAsTheirDefaults) {
  const test::MemorySettings settings;
  const IgcHeaderValues values = readIgcHeader(settings);
  EXPECT_EQ(values.pilot, "");
  EXPECT_EQ(values.competitionClass, "");
  EXPECT_EQ(values.competitionId, "DHV-OLC-2003");
  EXPECT_EQ(values.directory, homeDirectory());
  EXPECT_TRUE(values.directory.ends_with('/'));
}

TEST(IgcHeader, SavedConfigurationReadsBackAndKeepsRecorderOwnedValues) {
  test::MemorySettings settings;
  IgcHeaderValues values = test::plausibleHeader("/tmp");
  saveIgcHeader(settings, values, false);
  EXPECT_EQ(settings.writtenKeys(),
            (std::vector<std::string>{"PILOT", "GLIDERTYPE", "GLIDERID", "COMPETITIONID", "CLASS",
                                      "SITE", "COMPID", "PFAD"}));
  const IgcHeaderValues read = readIgcHeader(settings);
  EXPECT_EQ(read.pilot, "Erika Mustermann");
  EXPECT_EQ(read.pilotId, "ERMU");
  EXPECT_EQ(read.directory, "/tmp/");

  values.pilot.clear();
  values.gliderType.clear();
  values.site = "Brauneck";
  saveIgcHeader(settings, values, true);  // a flight recorder's file
  EXPECT_EQ(readIgcHeader(settings).pilot, "Erika Mustermann");
  EXPECT_EQ(readIgcHeader(settings).gliderType, "Falke 13");
  EXPECT_EQ(readIgcHeader(settings).site, "Brauneck");
}

TEST(IgcHeader, ClassListStartsAtTheStoredClassAndWraps) {
  EXPECT_EQ(classPosition("Paraglider Tandem"), 6);
  EXPECT_EQ(classPosition("Rigid Wing (FAI class 5)"), 4);
  EXPECT_EQ(classPosition("Drachen"), 1);
  EXPECT_EQ(classAt(classPosition("Drachen")), "Paraglider open");
  EXPECT_EQ(steppedClassPosition(6, +1), 1);
  EXPECT_EQ(steppedClassPosition(1, -1), 6);
  EXPECT_EQ(steppedClassPosition(3, +1), 4);
}

TEST(IgcHeader, PilotIdKeepsTheLeadingLettersOnly) {
  EXPECT_EQ(pilotIdText("Ab1x"), "Ab");
  EXPECT_EQ(pilotIdText("ABCD"), "ABCD");
  EXPECT_EQ(pilotIdText("Jörg"), "J");
  const std::string dir = std::filesystem::temp_directory_path().string();
  IgcHeaderValues values = test::plausibleHeader(dir);
  values.pilotId = "Ab1x";
  EXPECT_FALSE(checkHeaderFields(values, dir, false).pilotId);
  EXPECT_FALSE(checkHeaderFields(values, dir, false).saveAllowed);
  values.pilotId = "AbCx";
  EXPECT_TRUE(checkHeaderFields(values, dir, false).pilotId);
  EXPECT_TRUE(checkHeaderFields(values, dir, false).saveAllowed);
}

TEST(IgcHeader, FieldChecksCountCharactersNotBytes) {
  const std::string dir = std::filesystem::temp_directory_path().string();
  IgcHeaderValues values = test::plausibleHeader(dir);
  values.pilot = "Jörg";  // four characters in five bytes
  values.site = "Hörn";
  values.gliderId = "7";
  const HeaderFieldChecks checks = checkHeaderFields(values, dir, false);
  EXPECT_FALSE(checks.pilot);
  EXPECT_TRUE(checks.site);
  EXPECT_FALSE(checks.gliderId);
  EXPECT_FALSE(checks.saveAllowed);
  EXPECT_TRUE(checks.competitionClass && checks.competitionId && checks.directory);

  // A flight recorder knows pilot and glider: those fields do not count.
  EXPECT_TRUE(checkHeaderFields(values, dir, true).saveAllowed);
  values.site = "Alp";
  EXPECT_FALSE(checkHeaderFields(values, dir, true).saveAllowed);
}

TEST(IgcHeader, DirectoryValueIsTheDirectoryPartOfTheField) {
  const test::ScratchDir scratch;
  const std::string dir = scratch.path().string();
  const std::string parent = scratch.path().parent_path().string() + "/";
  EXPECT_EQ(directoryValue(dir), parent);  // an existing directory without "/"
  EXPECT_EQ(directoryValue(dir + "/"), dir + "/");
  EXPECT_EQ(directoryValue(dir + "/  "), dir + "/");
  EXPECT_EQ(directoryValue("flights"), std::filesystem::current_path().string() + "/");

  IgcHeaderValues values = test::plausibleHeader(dir);
  EXPECT_TRUE(checkHeaderFields(values, dir, false).directory);
  EXPECT_TRUE(checkHeaderFields(values, dir + "/", false).directory);
  EXPECT_FALSE(checkHeaderFields(values, dir + "/missing", false).directory);
  EXPECT_FALSE(checkHeaderFields(values, "", false).directory);
}

}  // namespace
}  // namespace quorvanta
