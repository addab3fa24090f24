#include <cstdlib>

#include <gtest/gtest.h>

#include "flight/IniSettings.h"

namespace quorvanta {
namespace {

// As the desktop program's settings library writes its file.
constexpr std::string_view StoredFile =
    "[Dateien]\n"
    "Filename%20Track=/x/y.igc\n"
    "\n"
    "[IGC]\n"
    "CLASS=@@at start\n"
    "COM%20Port=3\n"
    "EMPTY=\n"
    "PFAD=/home/pilot/Fl\xC3\xBCge/\n"
    "PILOT=\"J\xC3\xB6rg M\xC3\xBCller, \\\"Flieger\\\"\\\\ x\"\n"
    "SITE=\" lead and trail \"\n"
    "TAB=\"a\\tb;c=d#e\"\n"
    "WIDE=%U00E4\\x00e4\n";

TEST(IniSettings, ReadsValuesAsTheDesktopProgramStoredThem) {
  const IniSettings settings(StoredFile);
  EXPECT_EQ(settings.readString("Dateien", "Filename Track", "-"), "/x/y.igc");
  EXPECT_EQ(settings.readString("IGC", "COM Port", "-"), "3");
  EXPECT_EQ(settings.readString("IGC", "CLASS", "-"), "@at start");
  EXPECT_EQ(settings.readString("IGC", "EMPTY", "-"), "");
  EXPECT_EQ(settings.readString("IGC", "PFAD", "-"), "/home/pilot/Fl\xC3\xBCge/");
  EXPECT_EQ(settings.readString("IGC", "PILOT", "-"), "J\xC3\xB6rg M\xC3\xBCller, \"Flieger\"\\ x");
  EXPECT_EQ(settings.readString("IGC", "SITE", "-"), " lead and trail ");
  EXPECT_EQ(settings.readString("IGC", "TAB", "-"), "a\tb;c=d#e");
  EXPECT_EQ(settings.readString("IGC", "WIDE", "-"), "%U00E4\xC3\xA4");
}

TEST(IniSettings, SectionsMatchWithoutCaseKeysExactly) {
  const IniSettings settings(StoredFile);
  EXPECT_EQ(settings.readString("igc", "COM Port", "-"), "3");
  EXPECT_EQ(settings.readString("IGC", "com port", "-"), "-");
  EXPECT_EQ(settings.readString("GPS", "COM Port", "1"), "1");
}

TEST(IniSettings, BrokenLinesAreSkipped) {
  const IniSettings settings("[IGC\nno equals sign\n=\n[IGC]\nPILOT=\"unclosed\nSITE=\\\n");
  EXPECT_EQ(settings.readString("IGC", "PILOT", "-"), "unclosed");
  EXPECT_EQ(settings.readString("IGC", "SITE", "-"), "\\");
}

TEST(IniSettings, UserFileFollowsTheConfigHome) {
  ::setenv("XDG_CONFIG_HOME", "/tmp/quorvanta-config", 1);
  EXPECT_EQ(userSettingsPath(), "/tmp/quorvanta-config/Quorvanta/Quorvanta.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(userSettingsPath(), homeDirectory() + ".config/Quorvanta/Quorvanta.ini");
}

}  // namespace
}  // namespace quorvanta
