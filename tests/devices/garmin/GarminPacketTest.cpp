#include "devices/garmin/GarminPacket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "devices/Bytes.h"
#include "devices/sim/GarminFrame.h"

namespace quorvanta::garmin {
namespace {

using test::bytes;

std::vector<Packet> drain(PacketFramer& framer) {
  std::vector<Packet> packets;
  while (auto packet = framer.next()) packets.push_back(*packet);
  return packets;
}

std::vector<Packet> framed(std::string_view stream) {
  PacketFramer framer;
  framer.append(stream);
  return drain(framer);
}

void expectSamePackets(const std::vector<Packet>& actual, const std::vector<Packet>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].id, expected[i].id);
    EXPECT_EQ(actual[i].size, expected[i].size);
    EXPECT_EQ(actual[i].data, expected[i].data);
    EXPECT_EQ(actual[i].lengthOk, expected[i].lengthOk);
    EXPECT_EQ(actual[i].checksumOk, expected[i].checksumOk);
    EXPECT_EQ(actual[i].raw, expected[i].raw);
  }
}

void expectGood(const Packet& packet, std::uint8_t id, const std::string& data) {
  EXPECT_EQ(packet.id, id);
  EXPECT_EQ(packet.size, data.size());
  EXPECT_EQ(packet.data, data);
  EXPECT_TRUE(packet.lengthOk);
  EXPECT_TRUE(packet.checksumOk);
}

// A unit's answers as they come down the line, written out byte for byte:
// product data, a records count, a track point whose data holds DLE ETX, an
// ACK with a checksum of 0x10 and a transfer-complete packet.
const std::string RecordedStream =
    bytes({0x10, 0xFF, 0x0A, 0x82, 0x00, 0x36, 0x01, 'e', 'T', 'r', 'e', 'x', 0x00, 0x36, 0x10,
           0x03}) +
    bytes({0x10, 0x1B, 0x02, 0x03, 0x00, 0xE0, 0x10, 0x03}) +
    bytes({0x10, 0x22, 0x0D, 0x10, 0x10, 0x03, 0x00, 0x20, 0x01, 0x02,
           0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x01, 0x79, 0x10, 0x03}) +
    bytes({0x10, 0x06, 0x02, 0xE8, 0x00, 0x10, 0x10, 0x10, 0x03}) +
    bytes({0x10, 0x0C, 0x02, 0x06, 0x00, 0xEC, 0x10, 0x03});

std::vector<Packet> recordedPackets() { return framed(RecordedStream); }

// Every DLE from the id to the checksum doubled.
TEST(GarminPacketTest, EncodesExactFrames) {
  const std::string sixteen(16, 'A');
  const struct {
    std::uint8_t id;
    std::string data, frame;
  } cases[] = {
      {Command, bytes({TransferTrackLog, 0}), bytes({0x10, 10, 2, 6, 0, 0xEE, 0x10, 0x03})},
      {ProductRequest, "", bytes({0x10, 0xFE, 0x00, 0x02, 0x10, 0x03})},
      // 0x10 in the data; checksum -(0x23 + 1 + 0x10) = 0xCC
      {Waypoint, bytes({0x10}), bytes({0x10, 0x23, 0x01, 0x10, 0x10, 0xCC, 0x10, 0x03})},
      // checksum 0x10: 6 + 2 + 0xE8 = 0xF0
      {Ack, bytes({0xE8, 0x00}), bytes({0x10, 0x06, 0x02, 0xE8, 0x00, 0x10, 0x10, 0x10, 0x03})},
      // size 0x10; checksum -(0x23 + 0x10 + 16 * 0x41) = 0xBD
      {Waypoint, sixteen, bytes({0x10, 0x23, 0x10, 0x10}) + sixteen + bytes({0xBD, 0x10, 0x03})},
  };
  for (const auto& [id, data, frame] : cases) EXPECT_EQ(encodePacket(id, data), frame);
}

TEST(GarminPacketTest, EncodesAtMost255DataBytes) {
  const std::string frame = encodePacket(Almanac, std::string(300, 'x'));
  const auto packets = framed(frame);
  ASSERT_EQ(packets.size(), 1u);
  expectGood(packets[0], Almanac, std::string(255, 'x'));
}

// Also the frame that the simulated unit, written apart from the program,
// makes and reads: each side checks the other.
TEST(GarminPacketTest, EveryEncodedPacketFramesBackToItself) {
  for (int size = 0; size <= 255; ++size) {
    SCOPED_TRACE(size);
    std::string data;
    for (int i = 0; i < size; ++i) data += static_cast<char>((i * 7 + size) % 256);
    const auto id = static_cast<std::uint8_t>(size % 2 ? TrackPoint : ProductData);
    const std::string frame = encodePacket(id, data);
    const auto packets = framed(frame);
    ASSERT_EQ(packets.size(), 1u);
    expectGood(packets[0], id, data);
    EXPECT_EQ(packets[0].raw, frame);
    EXPECT_EQ(frame, sim::encodeFrame(id, data));
    const auto unitRead = sim::decodeFrame(frame);
    ASSERT_TRUE(unitRead && unitRead->good);
    EXPECT_EQ(unitRead->data, data);
  }
}

TEST(GarminPacketTest, DecodesTheRecordedStream) {
  const auto packets = recordedPackets();
  ASSERT_EQ(packets.size(), 5u);
  expectGood(packets[0], ProductData, bytes({0x82, 0x00, 0x36, 0x01, 'e', 'T', 'r', 'e', 'x', 0}));
  expectGood(packets[1], Records, bytes({0x03, 0x00}));
  expectGood(packets[2], TrackPoint,
             bytes({0x10, 0x03, 0x00, 0x20, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x01}));
  expectGood(packets[3], Ack, bytes({0xE8, 0x00}));
  expectGood(packets[4], TransferComplete, bytes({0x06, 0x00}));
  EXPECT_EQ(packets[3].raw, bytes({0x10, 0x06, 0x02, 0xE8, 0x00, 0x10, 0x10, 0x10, 0x03}));
}

TEST(GarminPacketTest, SamePacketsWhereverTheStreamIsCut) {
  const auto expected = recordedPackets();
  for (std::size_t cut = 0; cut <= RecordedStream.size(); ++cut) {
    SCOPED_TRACE(cut);
    PacketFramer framer;
    framer.append(std::string_view(RecordedStream).substr(0, cut));
    auto packets = drain(framer);
    framer.append(std::string_view(RecordedStream).substr(cut));
    for (auto& packet : drain(framer)) packets.push_back(packet);
    expectSamePackets(packets, expected);
    EXPECT_EQ(framer.bufferedBytes(), 0u);
  }
}

// A bad frame is handed on, marked, so that it can be refused; the next
// packet is good.
TEST(GarminPacketTest, ReportsBadFramesAndGoesOn) {
  std::string badChecksum = encodePacket(Records, bytes({0x05, 0x00}));
  badChecksum[3] = 0x06;
  const struct {
    const char* what;
    Packet packet;
  } cases[] = {
      {"bad checksum", {Records, 2, bytes({6, 0}), true, false, badChecksum}},
      // declares 5 data bytes, carries 3; the checksum over what came is right
      {"data missing",
       {Waypoint, 5, bytes({1, 2, 3}), false, true,
        bytes({0x10, 0x23, 0x05, 1, 2, 3, 0xD2, 0x10, 0x03})}},
      {"too short", {TrackPoint, 0, "", false, false, bytes({0x10, 0x22, 0x10, 0x03})}},
  };
  for (const auto& [what, bad] : cases) {
    SCOPED_TRACE(what);
    const auto packets = framed(bad.raw + encodePacket(Ack, bytes({1, 0})));
    ASSERT_EQ(packets.size(), 2u);
    expectSamePackets({packets[0]}, {bad});
    expectGood(packets[1], Ack, bytes({1, 0}));
  }
}

TEST(GarminPacketTest, SkipsLeadingGarbage) {
  const std::string garbage = bytes({0x00, 0xFF, 0x03, 0x10, 0x03, 0x10, 0x10, 'x', 0x7F});
  // The last DLE of the garbage (before 'x') opens a frame that the real
  // start breaks off.
  PacketFramer framer;
  framer.append(garbage + encodePacket(Records, bytes({2, 0})));
  const auto packets = drain(framer);
  ASSERT_EQ(packets.size(), 1u);
  expectGood(packets[0], Records, bytes({2, 0}));
  EXPECT_EQ(framer.bufferedBytes(), 0u);
}

// A damaged frame, then a good one: the good one always comes through, the
// damaged one only where it kept its start and end and fits a packet.
TEST(GarminPacketTest, ResynchronisesAfterADamagedFrame) {
  const struct {
    const char* damage;
    std::function<void(std::string&)> apply;
    bool reported;
  } cases[] = {
      {"end lost", [](std::string& frame) { frame.resize(frame.size() - 2); }, false},
      {"start lost", [](std::string& frame) { frame.erase(0, 1); }, false},
      {"data byte lost", [](std::string& frame) { frame.erase(5, 1); }, true},
      {"longer than any packet",
       [](std::string& frame) { frame.replace(2, 15, std::string(400, 'z')); }, false},
  };
  const std::string good = encodePacket(TrackPoint, std::string(13, 'q'));
  for (const auto& [damage, apply, reported] : cases) {
    SCOPED_TRACE(damage);
    std::string first = encodePacket(TrackPoint, std::string(13, 'p'));
    apply(first);
    const auto packets = framed(first + good);
    ASSERT_EQ(packets.size(), reported ? 2u : 1u);
    if (reported) {
      EXPECT_FALSE(packets[0].lengthOk);
    }
    expectGood(packets.back(), TrackPoint, std::string(13, 'q'));
  }
}

TEST(GarminPacketTest, KeepsAnIncompletePacketUntilItsRestOrClear) {
  const std::string frame = encodePacket(TrackPoint, std::string(13, 'p'));
  PacketFramer framer;
  framer.append(frame.substr(0, 10));
  EXPECT_FALSE(framer.next());
  EXPECT_EQ(framer.bufferedBytes(), 10u);
  framer.append(frame.substr(10));
  ASSERT_TRUE(framer.next());
  EXPECT_EQ(framer.bufferedBytes(), 0u);

  framer.append(frame.substr(0, 9));
  EXPECT_FALSE(framer.next());
  framer.clear();
  EXPECT_EQ(framer.bufferedBytes(), 0u);
  framer.append(encodePacket(Ack, bytes({34, 0})));
  const auto packet = framer.next();
  ASSERT_TRUE(packet);
  expectGood(*packet, Ack, bytes({34, 0}));
}

TEST(GarminPacketTest, LongStreamsCostLinearTime) {
  std::string stream;
  for (int i = 0; i < 10000; ++i) {
    std::string data(13, static_cast<char>(i % 256));
    data[0] = 0x10;
    stream += encodePacket(TrackPoint, data);
  }
  const auto started = std::chrono::steady_clock::now();
  PacketFramer whole;
  whole.append(stream);
  EXPECT_EQ(drain(whole).size(), 10000u);
  PacketFramer byByte;
  std::size_t count = 0;
  for (char c : stream) {
    byByte.append(std::string_view(&c, 1));
    while (auto packet = byByte.next()) count += packet->checksumOk ? 1 : 0;
  }
  EXPECT_EQ(count, 10000u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quorvanta::garmin
