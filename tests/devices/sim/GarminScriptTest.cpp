#include "devices/sim/GarminScript.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "devices/sim/GarminFrame.h"
#include "devices/sim/GarminScriptWriter.h"

namespace quorvanta::sim {
namespace {

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<Frame> frames(const std::vector<ScriptPacket>& packets) {
  std::vector<Frame> out;
  for (const auto& packet : packets) {
    const auto frame = decodeFrame(packet.wire);
    EXPECT_TRUE(frame && frame->good) << packet.note;
    if (frame) out.push_back(*frame);
  }
  return out;
}

TEST(GarminScript, ParsesSectionsPacketsAndComments) {
  const auto script = parseScript(
      "# a unit\n"
      "[product-request]\n"
      "10 FE 00 02 10 03   # first\r\n"
      "\n"
      "[command 6]\n"
      "10 0a 02 06 00 ee 10 03\n");
  ASSERT_EQ(script.answers.size(), 2u);
  const auto& product = script.answers.at(Trigger::productRequest());
  ASSERT_EQ(product.size(), 1u);
  EXPECT_EQ(product[0].wire, encodeFrame(254, ""));
  EXPECT_EQ(product[0].note, "first");
  EXPECT_EQ(script.answers.at(Trigger::command(6))[0].wire,
            encodeFrame(10, std::string("\x06\x00", 2)));
}

TEST(GarminScript, NamesTheLineOfAMalformedScript) {
  EXPECT_THROW(parseScript("10 03\n"), std::runtime_error);
  EXPECT_THROW(parseScript("[command 6]\n10 0G\n"), std::runtime_error);
  EXPECT_THROW(parseScript("[command 6]\n100\n"), std::runtime_error);
  EXPECT_THROW(parseScript("[command 256]\n"), std::runtime_error);
  EXPECT_THROW(parseScript("[commands]\n"), std::runtime_error);
  try {
    parseScript("[command 6]\n\n10 XX\n");
    FAIL();
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Zeile 3: keine Folge von Hex-Bytes");
  }
}

// The committed files are what the writer makes, and read back to the same
// packets: regenerate them with quorvanta-garmin-sim --write-scripts
// tests/data/garmin after changing the writer.
TEST(GarminScript, RecordedFilesAreCurrentAndReadBack) {
  for (const auto& file : recordedFiles()) {
    const auto path = recordedScriptDir() / file.name;
    EXPECT_EQ(fileText(path), scriptText(file.script, file.heading)) << path;
    const auto back = loadScript(path);
    ASSERT_EQ(back.answers.size(), file.script.answers.size()) << path;
    for (const auto& [trigger, packets] : file.script.answers) {
      const auto& read = back.answers.at(trigger);
      ASSERT_EQ(read.size(), packets.size());
      for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].wire, packets[i].wire);
      frames(read);
    }
  }
}

TEST(GarminScriptWriter, CountsSecondsFromTheEndOf1989) {
  EXPECT_EQ(garminTime(1989, 12, 31, 0, 0, 0), 0u);
  EXPECT_EQ(garminTime(1990, 1, 1, 0, 0, 1), 86401u);
  EXPECT_EQ(garminTime(2003, 7, 15, 10, 0, 0), 4944u * 86400 + 36000);
}

}  // namespace
}  // namespace quorvanta::sim
