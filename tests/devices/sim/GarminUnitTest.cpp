#include "devices/sim/GarminUnit.h"

#include <gtest/gtest.h>

#include "devices/sim/GarminScriptWriter.h"

namespace quorvanta::sim {
namespace {

const Trigger TrackLog = Trigger::command(6);

std::string ackFor(std::uint8_t kind, std::uint8_t id) {
  return encodeFrame(kind, std::string{static_cast<char>(id), '\0'});
}

std::string command(std::uint8_t code) {
  return encodeFrame(CommandId, std::string{static_cast<char>(code), '\0'});
}

// A unit with the recorded D301 product answer and a track log of 5 points.
class GarminUnitTest : public ::testing::Test {
 protected:
  GarminUnitTest() {
    script_ = productScript(TrackFormat::D301);
    script_.merge(trackLogScript({{"T", flightPath(5, 400000000, 2)}}, TrackFormat::D301));
  }

  const std::string& trackPacket(std::size_t i) const {
    return script_.answers.at(TrackLog).at(i).wire;
  }
  const std::string& productPacket(std::size_t i) const {
    return script_.answers.at(Trigger::productRequest()).at(i).wire;
  }
  std::string ackOf(std::size_t i) const { return ackFor(AckId, decodeFrame(trackPacket(i))->id); }

  GarminScript script_;
};

TEST_F(GarminUnitTest, AnswersTheProductRequestOnePacketPerAck) {
  GarminUnit unit(script_);
  EXPECT_EQ(unit.received(encodeFrame(ProductRequestId, "")),
            ackFor(AckId, ProductRequestId) + productPacket(0));
  EXPECT_EQ(unit.received(""), "");
  EXPECT_EQ(unit.received(ackFor(AckId, 255)), productPacket(1));
  EXPECT_EQ(unit.received(ackFor(AckId, 253)), "");
  EXPECT_FALSE(unit.transferActive());
}

TEST_F(GarminUnitTest, SendsTheWholeTrackLogAndEndsWithTransferComplete) {
  GarminUnit unit(script_);
  std::string out = unit.received(command(6));
  EXPECT_EQ(out, ackFor(AckId, CommandId) + trackPacket(0));
  const auto count = script_.answers.at(TrackLog).size();
  for (std::size_t i = 1; i < count; ++i) EXPECT_EQ(unit.received(ackOf(i - 1)), trackPacket(i));
  EXPECT_EQ(decodeFrame(trackPacket(count - 1))->id, 12);
  EXPECT_EQ(unit.received(ackOf(count - 1)), "");
  EXPECT_FALSE(unit.transferActive());
}

TEST_F(GarminUnitTest, RepeatsTheLastPacketOnNak) {
  GarminUnit unit(script_);
  unit.received(command(6));
  unit.received(ackOf(0));
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), trackPacket(1));
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), trackPacket(1));
  EXPECT_EQ(unit.received(ackOf(1)), trackPacket(2));
}

TEST_F(GarminUnitTest, AcknowledgesNeitherAcksNorNaksAndNaksABadPacket) {
  GarminUnit unit(script_);
  EXPECT_EQ(unit.received(ackFor(AckId, 34)), "");
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), "");
  EXPECT_EQ(unit.received(encodeFrame(ProductRequestId, "", 1)), ackFor(NakId, ProductRequestId));
  EXPECT_EQ(unit.received(encodeFrame(200, "x")), ackFor(AckId, 200));
  EXPECT_EQ(unit.received(command(3)), ackFor(AckId, CommandId));
  EXPECT_EQ(unit.hostPackets().size(), 5u);
  EXPECT_FALSE(unit.hostPackets()[2].good);
}

TEST_F(GarminUnitTest, AbortStopsATransfer) {
  GarminUnit unit(script_);
  unit.received(command(6));
  unit.received(ackOf(0));
  EXPECT_EQ(unit.received(command(0)), ackFor(AckId, CommandId));
  EXPECT_FALSE(unit.transferActive());
  EXPECT_EQ(unit.received(ackOf(1)), "");
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), "");
}

TEST_F(GarminUnitTest, CorruptsAChecksumOnceAndRepeatsTheGoodPacket) {
  GarminUnit unit(script_);
  unit.corruptChecksum(TrackLog, 2);
  unit.received(command(6));
  unit.received(ackOf(0));
  const auto bad = unit.received(ackOf(1));
  const auto frame = decodeFrame(bad);
  ASSERT_TRUE(frame);
  EXPECT_FALSE(frame->good);
  EXPECT_EQ(frame->data, decodeFrame(trackPacket(2))->data);
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), trackPacket(2));
}

TEST_F(GarminUnitTest, DropsAPacketUntilTheHostNaks) {
  GarminUnit unit(script_);
  unit.dropPacket(TrackLog, 2);
  unit.received(command(6));
  unit.received(ackOf(0));
  EXPECT_EQ(unit.received(ackOf(1)), "");
  EXPECT_EQ(unit.received(ackFor(NakId, 34)), trackPacket(2));
  EXPECT_EQ(unit.received(ackOf(2)), trackPacket(3));
}

TEST(GarminUnit, ReplaysARecordedScriptFile) {
  GarminUnit unit(loadScript(recordedScriptDir() / "datetime.txt"));
  const auto out = unit.received(command(5));
  EXPECT_EQ(out.substr(0, 8), ackFor(AckId, CommandId));
  const auto frame = decodeFrame(out.substr(8));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->id, 14);
  EXPECT_EQ(frame->data.size(), 8u);
  EXPECT_EQ(unit.received(ackFor(AckId, 14)), "");
}

}  // namespace
}  // namespace quorvanta::sim
