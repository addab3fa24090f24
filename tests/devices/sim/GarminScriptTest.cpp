#include "devices/sim/GarminScript.h"

#include <cstring>
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

template <typename T>
T field(const std::string& data, std::size_t offset) {
  T value{};
  std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
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

TEST(GarminScript, TextReadsBackToTheSamePackets) {
  for (const auto& file : recordedFiles()) {
    const auto back = parseScript(scriptText(file.script, file.heading));
    ASSERT_EQ(back.answers.size(), file.script.answers.size());
    for (const auto& [trigger, packets] : file.script.answers) {
      const auto& read = back.answers.at(trigger);
      ASSERT_EQ(read.size(), packets.size());
      for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].wire, packets[i].wire);
    }
  }
}

// The committed files are what the writer makes: regenerate them with
// quorvanta-garmin-sim --write-scripts tests/data/garmin after changing it.
TEST(GarminScript, RecordedFilesAreCurrent) {
  for (const auto& file : recordedFiles()) {
    const auto path = recordedScriptDir() / file.name;
    EXPECT_EQ(fileText(path), scriptText(file.script, file.heading)) << path;
    for (const auto& [trigger, packets] : loadScript(path).answers) frames(packets);
  }
}

TEST(GarminScript, RecordedD301TrackLogHoldsTheAwkwardPoints) {
  const auto script = loadScript(recordedScriptDir() / "tracklog-d301.txt");
  const auto packets = frames(script.answers.at(Trigger::command(6)));
  ASSERT_GE(packets.size(), 2u);
  EXPECT_EQ(packets.front().id, 27);
  EXPECT_EQ(field<std::uint16_t>(packets.front().data, 0), packets.size() - 2);
  EXPECT_EQ(packets.back().id, 12);
  EXPECT_EQ(packets.back().data[0], 6);

  int headers = 0, newTracks = 0, sameSecond = 0, hugeAltitude = 0, noTime = 0;
  bool acrossMidnight = false;
  std::uint32_t previous = 0;
  for (const auto& packet : packets) {
    headers += packet.id == 99;
    if (packet.id != TrackPointId) continue;
    ASSERT_EQ(packet.data.size(), 21u);
    const auto time = field<std::uint32_t>(packet.data, 8);
    const bool newTrack = packet.data[20] != 0;
    newTracks += newTrack;
    sameSecond += !newTrack && time == previous;
    hugeAltitude += field<float>(packet.data, 12) == 1.0e25f;
    noTime += time == 0xFFFFFFFF;
    acrossMidnight |= !newTrack && time / 86400 != previous / 86400;
    previous = time;
  }
  EXPECT_EQ(headers, 4);
  EXPECT_EQ(newTracks, 4);
  EXPECT_EQ(sameSecond, 1);
  EXPECT_EQ(hugeAltitude, 1);
  EXPECT_EQ(noTime, 1);
  EXPECT_TRUE(acrossMidnight);
}

TEST(GarminScriptWriter, CountsSecondsFromTheEndOf1989) {
  EXPECT_EQ(garminTime(1989, 12, 31, 0, 0, 0), 0u);
  EXPECT_EQ(garminTime(1990, 1, 1, 0, 0, 1), 86401u);
  EXPECT_EQ(garminTime(2003, 7, 15, 10, 0, 0), 4944u * 86400 + 36000);
}

TEST(GarminScriptWriter, BuildsABigTrackLog) {
  const auto start = garminTime(2003, 7, 15, 10, 0, 0);
  const auto points = flightPath(10000, start, 2);
  ASSERT_EQ(points.size(), 10000u);
  EXPECT_TRUE(points.front().newTrack);
  EXPECT_EQ(points.back().time, start + 2 * 9999);
  const auto script = trackLogScript({{"BIG", points}}, TrackFormat::D300);
  const auto packets = frames(script.answers.at(Trigger::command(6)));
  ASSERT_EQ(packets.size(), 10002u);
  EXPECT_EQ(field<std::uint16_t>(packets.front().data, 0), 10000u);
  EXPECT_EQ(packets[1].data.size(), 13u);
  const auto lat = field<std::int32_t>(packets[1].data, 0) * 180.0 / 2147483648.0;
  EXPECT_NEAR(lat, points.front().latDeg, 1e-6);
}

}  // namespace
}  // namespace quorvanta::sim
