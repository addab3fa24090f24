#include "devices/sim/GarminFrame.h"

#include <gtest/gtest.h>

#include "devices/Bytes.h"

// The encoder is compared byte for byte with the program's in GarminPacketTest.

namespace quorvanta::sim {
namespace {

using test::bytes;

TEST(GarminFrame, DecodesWhatItEncodes) {
  for (int id : {0, 6, 0x10, 34, 255}) {
    const auto data = bytes({0x10, 0x10, 3, 0, id});
    const auto frame = decodeFrame(encodeFrame(static_cast<std::uint8_t>(id), data));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, id);
    EXPECT_EQ(frame->data, data);
    EXPECT_TRUE(frame->good);
  }
}

TEST(GarminFrame, ReportsABadChecksumOrSize) {
  const auto badChecksum = decodeFrame(encodeFrame(34, "abc", 1));
  ASSERT_TRUE(badChecksum);
  EXPECT_FALSE(badChecksum->good);
  const auto badSize = decodeFrame(bytes({0x10, 34, 4, 'a', 'b', 'c', 0xB4, 0x10, 3}));
  ASSERT_TRUE(badSize);
  EXPECT_EQ(badSize->data, "abc");
  EXPECT_FALSE(badSize->good);
  EXPECT_FALSE(decodeFrame(bytes({0x10, 34, 0, 0xDE, 0x10})));
  EXPECT_FALSE(decodeFrame(""));
}

TEST(GarminFrame, ReaderCutsFramesFromAStreamInAnyPieces) {
  const auto stream = bytes({0xFF, 0x00}) + encodeFrame(254, "") +
                      encodeFrame(10, bytes({0x10, 0})) + encodeFrame(6, bytes({0x10, 0}));
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    FrameReader reader;
    std::vector<Frame> frames;
    for (auto piece : {stream.substr(0, cut), stream.substr(cut)}) {
      reader.append(piece);
      while (auto frame = reader.next()) frames.push_back(*frame);
    }
    ASSERT_EQ(frames.size(), 3u) << "cut at " << cut;
    EXPECT_EQ(frames[0].id, 254);
    EXPECT_EQ(frames[1].data, bytes({0x10, 0}));
    EXPECT_EQ(frames[2].id, 6);
  }
}

}  // namespace
}  // namespace quorvanta::sim
