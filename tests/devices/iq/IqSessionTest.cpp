#include "devices/iq/IqSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/iq/IqDump.h"
#include "devices/sim/IqVario.h"
#include "flight/DayCount.h"

namespace quorvanta::iq {
namespace {

using ::testing::HasSubstr;
using sim::IqDumpContent;
using sim::iqDump;

IqDumpContent withSamples(int count) {
  IqDumpContent content;
  content.samples.assign(static_cast<std::size_t>(count), {900, 20});
  return content;
}

// 1007 bytes, so that its length field reads 1000.
std::string dumpOf1007Bytes() {
  IqDumpContent content = withSamples(323);
  content.pilot = "Hans Ott";
  return iqDump(content);
}

class IqSessionTest : public ::testing::Test {
 protected:
  void receive(std::string_view bytes) {
    EXPECT_THAT(session.received(bytes), ::testing::SizeIs(1));  // the quiet timer, restarted
  }
  void receiveAndWait(std::string_view bytes) {
    receive(bytes);
    session.timerFired(QuietTimer);
  }

  BarographBuffer buffer;
  IqSession session{buffer};
};

TEST_F(IqSessionTest, DumpIsDecodedAfterHalfASecondOfQuiet) {
  const std::string bytes = iqDump({});
  ASSERT_EQ(bytes.size(), 49u);
  receive(bytes.substr(0, 20));
  EXPECT_EQ(session.view().bytesLabel, "Bytes übertragen: 20");
  EXPECT_TRUE(session.view().evaluateEnabled);
  receive(bytes.substr(20));
  const SessionCommands done = session.timerFired(QuietTimer);
  ASSERT_EQ(done.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<StopTimer>(done[0]));
  EXPECT_TRUE(std::holds_alternative<ClosePort>(done[1]));

  const IqView& v = session.view();
  EXPECT_EQ(v.checkLabel, "Keine Fehler gefunden");
  EXPECT_EQ(v.checkLook, IqView::Look::Bold);
  EXPECT_FALSE(v.checkBoxVisible);
  EXPECT_EQ(v.summary,
            "Flugnummer: 7\nBarograf Nr.: 4711\nPilot: Hans Lange\nDatum: 25.07.2003\n"
            "MaxHöhe1: 2450 m  MaxHöhe2: 2380 m\nMaxVario:  4.3 m/sec\nFlugzeit:  01:50:00\n"
            "ScanRate:  5 sec\nStartzeit: 12:30:00\nLandezeit: 14:20:00\nLandeplatzhöhe: 640 m\n");
  EXPECT_EQ(v.table,
            "Soll Bytes: 49\n"
            "  1: 12:30:00 1200m    0km/h\n"
            "  3: 12:30:10   -5m  255km/h\n");
  EXPECT_EQ(buffer.BaroStart, *encodeDate(2003, 7, 25) + *encodeTime(12, 30, 0));
  EXPECT_DOUBLE_EQ(buffer.BaroInterval, 5.0 / 86400);
  EXPECT_EQ(buffer.BaroCount, 3);
  EXPECT_EQ(buffer.BaroSerial, 4711);
  EXPECT_EQ(buffer.BaroAlt[2], 1234);
  EXPECT_EQ(buffer.BaroAlt[3], -5);
}

TEST_F(IqSessionTest, EveryCutOfTheStreamGivesTheSameBarogram) {
  const std::string bytes = iqDump(withSamples(40));
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    BarographBuffer pieces;
    IqSession split(pieces);
    split.received(bytes.substr(0, cut));
    split.received(bytes.substr(cut));
    split.timerFired(QuietTimer);
    ASSERT_EQ(split.view().checkLabel, "Keine Fehler gefunden") << cut;
    ASSERT_EQ(pieces.BaroCount, 40) << cut;
  }
}

TEST_F(IqSessionTest, LengthMismatchWithTheCheckOnKeepsTheOldBarogram) {
  buffer.BaroInterval = 1.0 / 86400;
  buffer.BaroCount = 9;
  std::string bytes = dumpOf1007Bytes();
  ASSERT_EQ(bytes.size(), 1007u);
  bytes[8] = static_cast<char>(bytes[8] - 1);  // L = 999
  receiveAndWait(bytes);
  EXPECT_EQ(session.view().checkLabel, "Übertragungsfehler ,bitte wiederholen!!!");
  EXPECT_EQ(session.view().checkLook, IqView::Look::Red);
  EXPECT_EQ(session.view().table, "Soll Bytes: 1006\n");
  EXPECT_EQ(buffer.BaroInterval, 1.0 / 86400);
  EXPECT_EQ(buffer.BaroCount, 9);
}

TEST_F(IqSessionTest, TransferRepeatedOnAnotherPortStartsAfresh) {
  std::string bytes = iqDump({});
  receiveAndWait(bytes.substr(0, 30));
  EXPECT_EQ(session.view().checkLook, IqView::Look::Red);
  EXPECT_THAT(session.reopenPort(), ::testing::SizeIs(2));
  receiveAndWait(bytes);
  EXPECT_EQ(session.view().checkLabel, "Keine Fehler gefunden");
  receiveAndWait(bytes);  // once more, without a mismatch from the first
  EXPECT_EQ(session.view().checkLabel, "Keine Fehler gefunden");
  EXPECT_EQ(buffer.BaroCount, 3);
}

TEST_F(IqSessionTest, WithoutTheCheckAMismatchedDumpIsTakenAsReceived) {
  std::string bytes = dumpOf1007Bytes();
  bytes[8] = static_cast<char>(bytes[8] - 1);
  session.setDataCheck(false);
  receiveAndWait(bytes);
  EXPECT_EQ(session.view().checkLabel, "übertragene Daten ungeprüft");
  EXPECT_EQ(session.view().checkLook, IqView::Look::Red);
  EXPECT_EQ(buffer.BaroCount, 323);
}

TEST_F(IqSessionTest, TruncatedDumpIsDecodedOnlyAsFarAsItGoes) {
  session.setDataCheck(false);
  const std::string whole = iqDump({});
  receiveAndWait(whole.substr(0, 30));  // the summary is cut off
  EXPECT_THAT(session.view().summary, HasSubstr("Pilot: Hans Lange\n"));
  EXPECT_THAT(session.view().summary,
              HasSubstr("Unvollständig übertragen: die Zusammenfassung fehlt ganz oder teilweise."));
  EXPECT_THAT(session.view().summary, HasSubstr("das Barogramm wird nicht übernommen"));
  EXPECT_EQ(buffer.BaroInterval, 0);

  // Every shorter dump: nothing read beyond it, the summary only where it is whole.
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const IqFlight flight = decodeDump(std::string_view(whole).substr(0, size));
    EXPECT_EQ(flight.summaryComplete, size >= 38) << size;
    EXPECT_EQ(flight.missing.empty(), flight.landingElevation.has_value()) << size;
    EXPECT_LE(flight.samples.size(), 3u);
  }
}

TEST_F(IqSessionTest, BarogramBeyondTheBufferIsRefusedByItsSize) {
  buffer.BaroCount = 9;
  session.setDataCheck(false);
  receiveAndWait(iqDump(withSamples(MaxBaroSamples + 1)));
  EXPECT_THAT(session.view().summary,
              HasSubstr("Das Barogramm hat 22001 Werte; mehr als 22000 können nicht übernommen werden."));
  EXPECT_EQ(buffer.BaroCount, 9);
}

TEST(IqDump, PilotNameRunsUntilTheFirstUnprintableByte) {
  IqDumpContent content;
  content.pilot = "Abcdefghij Klmnopqrs";  // 20 bytes, the date word follows at once
  const IqFlight flight = decodeDump(iqDump(content));
  EXPECT_EQ(flight.pilot, content.pilot);
  EXPECT_EQ(flight.day, 25);
  EXPECT_EQ(flight.month, 7);
  EXPECT_EQ(flight.year, 2003);
  EXPECT_EQ(flight.landingElevation, 640);
}

TEST(IqDump, TableShowsEveryKthSampleAndTheLast) {
  EXPECT_EQ(displayStep(500), 2);
  EXPECT_EQ(displayStep(1001), 2);
  EXPECT_EQ(displayStep(1002), 3);
  const IqFlight flight = decodeDump(iqDump(withSamples(1002)));
  const std::vector<std::string> lines = barogramLines(flight, *baroStart(flight));
  ASSERT_EQ(lines.size(), 335u);  // samples 1, 4, .., 1000 and 1002
  EXPECT_THAT(lines[1], ::testing::StartsWith("  4: "));
  EXPECT_THAT(lines.back(), ::testing::StartsWith("1002: "));
}

TEST(IqDump, InvalidDateIsShownButNotTakenOver) {
  IqDumpContent content;
  content.date = 3213;  // 32.13.
  const IqFlight flight = decodeDump(iqDump(content));
  EXPECT_THAT(summaryLines(flight)[3], HasSubstr("(ungültig)"));
  BarographBuffer buffer;
  EXPECT_THAT(takeOver(flight, buffer).value_or(""), HasSubstr("ungültig"));
  EXPECT_EQ(buffer.BaroInterval, 0);
}

}  // namespace
}  // namespace quorvanta::iq
