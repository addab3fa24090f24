#include "devices/pmlr/PmlrRecords.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/pmlr/TrackStore.h"
#include "devices/sim/PmlrTrackBytes.h"
#include "flight/DayCount.h"

namespace quorvanta::pmlr {
namespace {

using sim::PmlrPoint;

TEST(PmlrRecord, ThreeBlockRecordIs62BytesWithItsSumHighByteFirst) {
  const std::string record = sim::pointRecord(2, {{}, {}, {}});
  ASSERT_EQ(record.size(), 62u);
  EXPECT_TRUE(isTrackRecord(record));
  EXPECT_TRUE(checksumMatches(record));
  EXPECT_EQ(blocksHeld(record), 3);
  EXPECT_FALSE(cutInData(record));
  std::string damaged = record;
  damaged[20] ^= 0x40;
  EXPECT_FALSE(checksumMatches(damaged));
  EXPECT_FALSE(cutInData(damaged));  // whole, only damaged
  EXPECT_TRUE(cutInData(record.substr(0, 61)));
  EXPECT_TRUE(isStartRecord(sim::startRecord()));
  EXPECT_TRUE(isEndRecord(sim::endRecord(9)));
  EXPECT_FALSE(isEndRecord(sim::startRecord()));
}

TEST(PmlrRecord, LengthByteBeyondTheRecordDecodesOnlyTheBlocksHeld) {
  std::string body = sim::pointRecord(2, {{}, {}});
  body[5] = static_cast<char>(200);  // promises 200 blocks
  body = sim::withChecksum(body.substr(0, body.size() - 2));
  EXPECT_TRUE(checksumMatches(body));
  EXPECT_EQ(blocksHeld(body), 2);
  EXPECT_EQ(blocksHeld(sim::withChecksum(sim::recordHead(2) + std::string(2, '\0'))), 0);
  EXPECT_EQ(blocksHeld("\x8B"), 0);
}

struct PointCase {
  PmlrPoint sent;
  double lat, lon;
  int alt;
  const char* time;
};

TEST(PmlrRecord, PointBlocksDecodeTimeLatitudeLongitudeAltitudeAndStatus) {
  const PointCase cases[] = {
      {{7, 0, 45, 7.5, 12345, 0x91}, 45, 7.5, 1234, "06.01.1980 00:00:00"},
      {{8, 86400 + 43200, 350, 357.5, 9, 0}, -10, 357.5, 0, "07.01.1980 12:00:00"},
      {{9, 1'000'000'000, -45, 0, 0xFFFFFF, 0}, -45, 0, 1677721, "14.09.2011 01:46:40"},
  };
  for (const PointCase& c : cases) {
    const std::string record = sim::pointRecord(2, {c.sent});
    const TrackPoint p = decodeBlock(record, 0);
    EXPECT_EQ(p.number, c.sent.number);
    EXPECT_NEAR(p.lat, c.lat, 1e-7) << c.time;
    EXPECT_NEAR(p.lon, c.lon, 1e-7) << c.time;
    EXPECT_EQ(p.alt, c.alt);
    EXPECT_EQ(shortDateText(p.time) + " " + timeOfDayText(p.time), c.time);
  }
  const TrackPoint status = decodeBlock(sim::pointRecord(2, {cases[0].sent}), 0);
  EXPECT_EQ(status.satellites(), 9);
  EXPECT_TRUE(status.recordingStart());
  EXPECT_EQ(InstrumentEpoch, *encodeDate(1980, 1, 6));
}

TEST(PmlrIdentification, ChecksumTextAndModelFromTheLine) {
  const std::string line = sim::identificationLine("LOG_IT 2.1 SN 4711 ");
  const auto id = identification(line.substr(0, line.size() - 2));
  ASSERT_TRUE(id);
  EXPECT_TRUE(id->checksumMatches());
  EXPECT_TRUE(id->logIt);
  EXPECT_FALSE(id->sol);
  EXPECT_EQ(id->text, "LOG_IT 2.1 SN 4711");

  const auto wrong = identification("$PMLR,IDGPS,00,SOL 12345678*00");
  ASSERT_TRUE(wrong);
  EXPECT_FALSE(wrong->checksumMatches());
  EXPECT_EQ(wrong->received, "00");
  EXPECT_TRUE(wrong->sol);
  EXPECT_FALSE(identification("$PMLR,IDGPX,00*11"));
  // "LOG_IT" too far into the line is not the model.
  EXPECT_FALSE(identification("$PMLR,IDGPS,00,MLR SP24 LOG_IT*00")->logIt);
  EXPECT_EQ(identification("$PMLR,IDGPS")->text, "");  // too short for any text
}

// A record whose data holds CR LF arrives as two units; cut anywhere, the
// stream still gives the record whole.
TEST(PmlrSplitter, RecordWithCrLfInItsDataIsJoinedAtEveryCut) {
  PmlrPoint point;
  point.number = 0x0D0A;  // CR LF
  const std::string record = sim::pointRecord(3, {point, {}});
  const std::string bytes = sim::unit(sim::startRecord()) + sim::unit(record);
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    UnitSplitter splitter;
    std::vector<std::string> bodies;
    const auto take = [&] {
      while (auto unit = splitter.next()) {
        const std::string_view body = recordBody(*unit);
        if (!checksumMatches(body) && cutInData(body)) {
          splitter.hold(body);
        } else {
          bodies.emplace_back(body);
        }
      }
    };
    splitter.append(bytes.substr(0, cut));
    take();
    splitter.append(bytes.substr(cut));
    take();
    ASSERT_THAT(bodies, ::testing::ElementsAre(sim::startRecord(), record)) << cut;
    EXPECT_EQ(splitter.buffered(), 0u);
  }
}

TEST(PmlrSplitter, UnitWithoutEndIsDroppedOnceLongerThanAnyRecord) {
  UnitSplitter splitter;
  splitter.append(std::string(MaxRecordBytes, 'x'));
  EXPECT_FALSE(splitter.next());
  EXPECT_FALSE(splitter.dropOverlong());
  splitter.append(std::string(100, 'x'));
  EXPECT_TRUE(splitter.dropOverlong());
  EXPECT_EQ(splitter.buffered(), 0u);
}

std::string sequenced(int sequence) {
  return sim::pointRecord(static_cast<std::uint8_t>(sequence), {{}});
}

TEST(PmlrStore, SequenceWrapsCountOnFromTheStartRecord) {
  TrackStore store;
  EXPECT_EQ(store.number(sim::startRecord(1)), 1);
  for (int s = 2; s <= 255; ++s) store.number(sequenced(s));
  EXPECT_EQ(store.number(sequenced(0)), 256);  // the 256th record: high counter 1
  EXPECT_EQ(store.wraps(), 1);

  const struct {
    std::vector<int> sequences;
    std::vector<int> numbers;
  } cases[] = {
      {{254, 255, 0, 1}, {254, 255, 256, 257}},
      {{254, 0, 1}, {254, 256, 257}},  // 255 lost: still the next round
  };
  for (const auto& c : cases) {
    TrackStore fresh;
    fresh.number(sim::startRecord(1));
    std::vector<int> numbers;
    for (const int s : c.sequences) numbers.push_back(fresh.number(sequenced(s)));
    EXPECT_EQ(numbers, c.numbers);
    // A start record begins the count afresh.
    EXPECT_EQ(fresh.number(sim::startRecord(1)), 1);
  }

  // The rest of an earlier answer, arriving after a new request, belongs to
  // no record of the new transfer.
  store.awaitStart();
  EXPECT_EQ(store.number(sequenced(7)), 0);
  EXPECT_EQ(store.number(sequenced(3)), 0);
  EXPECT_EQ(store.number(sim::startRecord(1)), 1);
  EXPECT_EQ(store.number(sequenced(2)), 2);
  EXPECT_EQ(store.wraps(), 0);
}

TEST(PmlrStore, RecordsOutsideTheTableAreRefusedAndGapsFound) {
  TrackStore store;
  EXPECT_FALSE(store.put(0, "x"));
  EXPECT_FALSE(store.put(TrackStore::RecordCapacity + 1, "x"));
  EXPECT_TRUE(store.put(1, sim::startRecord()));
  EXPECT_TRUE(store.put(3, sequenced(3)));
  EXPECT_EQ(store.highest(), 3);
  EXPECT_TRUE(store.missingBefore(4));  // 2
  EXPECT_TRUE(store.put(2, sequenced(2)));
  EXPECT_FALSE(store.missingBefore(4));
  EXPECT_TRUE(store.missingBefore(5));  // lost right before the end record
  EXPECT_FALSE(store.has(TrackStore::RecordCapacity + 1));
}

TEST(PmlrStore, DecodingStopsAtTheFirstGapAndAtThePointCapacity) {
  TrackStore store;
  store.put(1, sim::startRecord());
  store.put(2, sim::pointRecord(2, {{1}, {2}}));
  store.put(4, sim::pointRecord(4, {{4}}));
  EXPECT_TRUE(store.decode(4, {}));
  EXPECT_EQ(store.pointCount(), 2);

  const std::vector<PmlrPoint> full(255);
  for (int k = 2; k <= 130; ++k) store.put(k, sim::pointRecord(static_cast<std::uint8_t>(k), full));
  int lastShown = 0;
  EXPECT_FALSE(store.decode(130, [&](int point, int) { lastShown = point; }));
  EXPECT_EQ(store.pointCount(), TrackStore::PointCapacity);
  EXPECT_EQ(lastShown, TrackStore::PointCapacity);
}

}  // namespace
}  // namespace quorvanta::pmlr
