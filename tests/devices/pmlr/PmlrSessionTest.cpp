#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/pmlr/MlrSession.h"
#include "devices/pmlr/RenschlerSession.h"
#include "devices/sim/PmlrTrackBytes.h"
#include "flight/DayCount.h"
#include "support/PlausibleHeader.h"
#include "support/SessionCommandsText.h"
#include "support/TestFiles.h"

namespace quorvanta::pmlr {
namespace {

using ::testing::HasSubstr;
using sim::PmlrPoint;

using test::transcript;
using test::written;

// `count` points 2 s apart from 12:00:00 on 5 August 2003, the first with
// its data bytes holding CR LF.
std::vector<PmlrPoint> flight(int count) {
  std::vector<PmlrPoint> points;
  const std::uint32_t start = (*encodeDate(2003, 8, 5) - InstrumentEpoch) * 86400 + 12 * 3600;
  for (int i = 0; i < count; ++i) {
    points.push_back({static_cast<std::uint16_t>(i == 0 ? 0x0D0A : i),
                      start + 2 * static_cast<std::uint32_t>(i), 47.5 + i * 1e-4, 357.5,
                      static_cast<std::uint32_t>(15000 + i), static_cast<std::uint8_t>(0x80 | (i == 0))});
  }
  return points;
}

const std::string LogItId = "LOG_IT 2.1 SN 4711 ";
const std::string MlrId = "MLR SP24 XC 0815 ";

template <typename Session>
void identify(Session& session, const std::string& text) {
  session.readSerialNumber();
  session.received(sim::identificationLine(text));
  session.timerFired(TrackButtonTimer);
}

// A transfer fed in two pieces, then the silence that ends it.
template <typename Session>
void transfer(Session& session, const std::string& bytes, std::size_t cut) {
  session.readTrack();
  session.received(bytes.substr(0, cut));
  session.received(bytes.substr(cut));
  session.timerFired(EvaluateTimer);
}

TEST(MlrSession, IdentificationDecidesModelARecordAndSpeeds) {
  const struct {
    std::string line;
    std::string aRecord;  // empty: not taken
    bool logIt;
  } cases[] = {
      {sim::identificationLine(MlrId), "AMLR MLR SP24 XC 0815", false},
      {sim::identificationLine(LogItId), "ARUA LOG_IT 2.1 SN 4711", true},
      {"$PMLR,IDGPS,00,SOL 1234 5678 *?:\r\n", "AREN SOL 1234 5678", false},
      {"$PMLR,IDGPS,00,MLR SP24 XC 0815 *00\r\n", "", false},
  };
  for (const auto& c : cases) {
    MlrSession session;
    const SessionCommands sent = session.readSerialNumber();
    EXPECT_THAT(written(sent), ::testing::ElementsAre("\n\r", std::string(IdentifyCommand)));
    EXPECT_EQ(session.view().label1, "Warten auf Antwort von MLR oder Log_it!");
    const SessionCommands answer = session.received(c.line);
    EXPECT_EQ(session.aRecord(), c.aRecord) << c.line;
    EXPECT_EQ(session.isLogIt(), c.logIt);
    if (c.aRecord.empty()) {
      EXPECT_TRUE(written(answer).empty());
      session.timerFired(EvaluateTimer);
      EXPECT_THAT(session.view().memo, HasSubstr("MLR bzw. Log_it! antwortet nicht!!!"));
      continue;
    }
    EXPECT_THAT(written(answer), ::testing::ElementsAre(std::string(StopCommand)));
    EXPECT_THAT(transcript(answer), HasSubstr("ARecord erzeugt: " + c.aRecord + "\r\n"));
    EXPECT_THAT(transcript(answer), HasSubstr("$  36\r\n"));  // every byte on its own line
    EXPECT_EQ(session.view().label1, "ARecord: " + c.aRecord);
    EXPECT_FALSE(session.view().trackButtonVisible);
    session.timerFired(TrackButtonTimer);
    EXPECT_TRUE(session.view().trackButtonVisible);
    EXPECT_EQ(session.view().eraseButtonVisible, c.logIt);
    EXPECT_EQ(session.speedChoices().size(), c.logIt ? 4u : 2u);
  }
}

TEST(RenschlerSession, WrongIdentificationChecksumIsReportedAndIgnored) {
  RenschlerSession session;
  session.readSerialNumber();
  session.received("$PMLR,IDGPS,00,SOL 1234 5678 *00\r\n");
  EXPECT_EQ(session.aRecord(), "AREN SOL 1234 5678");
  EXPECT_THAT(session.view().memo, HasSubstr("Checksumme ist: 00 soll: "));
  EXPECT_THAT(session.view().memo, HasSubstr("   Fehler ignoriert\n"));
}

// The whole exchange cut at every byte: the same track, complete and in order.
TEST(MlrSession, TrackCutAtEveryByteGivesTheWholeTrack) {
  const std::vector<PmlrPoint> points = flight(7);
  const std::string bytes = sim::stream(sim::trackRecords(points, 3));
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    MlrSession session;
    identify(session, MlrId);
    transfer(session, bytes, cut);
    ASSERT_TRUE(session.trackComplete()) << cut;
    ASSERT_EQ(session.store().pointCount(), 7) << cut;
    for (int i = 1; i <= 7; ++i) ASSERT_EQ(session.store().point(i).number, points[i - 1].number);
    ASSERT_TRUE(session.view().saveButtonVisible) << cut;
  }
}

TEST(MlrSession, RequestSwitchesSpeedAndEndStopsTheInstrument) {
  MlrSession session;
  identify(session, MlrId);
  session.setSpeedIndices(1, 0);
  const SessionCommands request = session.readTrack();
  EXPECT_THAT(written(request), ::testing::ElementsAre("$PMLR,24,02,0101,0399\r\n"));
  const SessionCommands speed = session.timerFired(SpeedTimer);
  ASSERT_EQ(speed.size(), 2u);
  EXPECT_EQ(std::get<SetBaudrate>(speed[1]).bitsPerSecond, 38400);
  const SessionCommands records = session.received(sim::stream(sim::trackRecords(flight(3), 3)));
  EXPECT_THAT(written(records), ::testing::ElementsAre(std::string(StopCommand)));
  EXPECT_EQ(session.view().label1, "Records gelesen: 2");
}

TEST(MlrSession, FiveHundredRecordsAtTwoSecondsShowEvery129thPoint) {
  MlrSession session;
  identify(session, MlrId);
  transfer(session, sim::stream(sim::trackRecords(flight(499), 1)), 0);
  EXPECT_EQ(session.store().highest(), 501);  // past the 255 -> 0 wrap
  EXPECT_EQ(session.store().pointCount(), 499);
  EXPECT_EQ(session.view().label2, "nur jeder 129. Trackpunkt wird hier angezeigt!");
  // Points 1, 130, 259, ... by the instrument's numbers.
  EXPECT_THAT(session.view().memo, HasSubstr("\n  129. Punkt:  05.08.2003 12:04:18 UTC   N 47:30.774    E "
                                             "357:30.000  1512 m\n  258. Punkt:  "));
}

std::string withDamagedRecord(const std::vector<std::string>& records, std::size_t index) {
  std::vector<std::string> damaged = records;
  damaged[index][8] ^= 0x01;
  return sim::stream(damaged);
}

TEST(MlrSession, LogItFetchesDamagedRecordsAgainByItself) {
  const std::vector<PmlrPoint> points = flight(12);
  const std::vector<std::string> records = sim::trackRecords(points, 2);
  MlrSession session;
  identify(session, LogItId);
  session.readTrack();
  const SessionCommands first = session.received(withDamagedRecord(records, 3));
  EXPECT_THAT(transcript(first), HasSubstr("Checksummenfehler\r\n"));
  // The request again, at the command speed, the records kept.
  EXPECT_THAT(written(first), ::testing::Contains(std::string(trackCommand(4800))));
  EXPECT_FALSE(session.trackComplete());
  session.received(withDamagedRecord(records, 3));  // damaged again: asked once more
  EXPECT_FALSE(session.trackComplete());
  const SessionCommands last = session.received(sim::stream(records));
  EXPECT_TRUE(written(last).empty());  // a Log_it! is not stopped after its track
  EXPECT_TRUE(session.trackComplete());
  session.timerFired(EvaluateTimer);
  ASSERT_EQ(session.store().pointCount(), 12);
  for (int i = 2; i <= 12; ++i) EXPECT_GT(session.store().point(i).time, session.store().point(i - 1).time);
  EXPECT_TRUE(session.view().saveButtonVisible);
}

TEST(MlrSession, MlrWithMissingRecordOffersNoFileUntilReadAgain) {
  std::vector<std::string> records = sim::trackRecords(flight(12), 2);
  MlrSession session;
  identify(session, MlrId);
  std::vector<std::string> gap = records;
  gap.erase(gap.begin() + 6);  // the last point record, right before the end record
  transfer(session, sim::stream(gap), 0);
  EXPECT_FALSE(session.trackComplete());
  EXPECT_EQ(session.view().label2, "Es ist Übertragungsfehler aufgetreten. Bitte nochmals auslesen!");
  EXPECT_FALSE(session.view().saveButtonVisible);
  // The next read keeps what arrived; a second gap elsewhere is filled from the first.
  gap = records;
  gap.erase(gap.begin() + 2);
  transfer(session, sim::stream(gap), 0);
  EXPECT_TRUE(session.trackComplete());
  EXPECT_EQ(session.store().pointCount(), 12);
  EXPECT_TRUE(session.view().saveButtonVisible);
}

TEST(PmlrSessions, DamagedEndRecordEndsOnlyARenschlerTransfer) {
  std::vector<std::string> records = sim::trackRecords(flight(4), 2);
  records.back().back() ^= 0x01;  // the checksum
  const std::string bytes = sim::stream(records);
  RenschlerSession renschler;
  identify(renschler, "SOL 1234 5678 ");
  transfer(renschler, bytes, 0);
  EXPECT_TRUE(renschler.trackComplete());
  EXPECT_THAT(renschler.view().memo, HasSubstr("Checksumme unvollständig, Fehler ignoriert"));
  EXPECT_EQ(renschler.store().pointCount(), 4);  // the last point record is not taken for the end
  EXPECT_TRUE(renschler.view().saveButtonVisible);

  MlrSession mlr;
  identify(mlr, MlrId);
  transfer(mlr, bytes, 0);
  EXPECT_FALSE(mlr.trackComplete());
  EXPECT_FALSE(mlr.view().saveButtonVisible);
  EXPECT_EQ(mlr.view().label2, "Es ist Übertragungsfehler aufgetreten. Bitte nochmals auslesen!");
}

TEST(PmlrSessions, SilenceAndPauseEndInTheirMessagesWithoutAFile) {
  RenschlerSession silent;
  identify(silent, "SOL 1 ");
  const SessionCommands request = silent.readTrack();
  EXPECT_EQ(std::get<StartTimer>(request.back()).milliseconds, 10000);
  silent.timerFired(EvaluateTimer);
  EXPECT_THAT(silent.view().memo, HasSubstr("Renschler-Gerät antwortet nicht!!!"));
  EXPECT_FALSE(silent.view().saveButtonVisible);

  const std::vector<std::string> records = sim::trackRecords(flight(8), 2);
  MlrSession paused;
  identify(paused, MlrId);
  transfer(paused, sim::stream({records.begin(), records.begin() + 4}), 0);
  EXPECT_EQ(paused.view().label2, "Es ist Übertragungsfehler aufgetreten. Bitte nochmals auslesen!");
  EXPECT_FALSE(paused.view().saveButtonVisible);
  // What comes after the evaluation belongs to no transfer.
  EXPECT_TRUE(paused.received(sim::stream(records)).size() == 1);  // only the byte log
}

TEST(PmlrSessions, MoreRecordsThanTheTableStopWithTheKeptPoints) {
  MlrSession session;
  identify(session, MlrId);
  session.readTrack();
  const SessionCommands sent = session.received(sim::stream(sim::trackRecords(flight(1500), 1)));
  EXPECT_THAT(written(sent), ::testing::Contains(std::string(StopCommand)));
  EXPECT_EQ(session.store().pointCount(), 1399);
  EXPECT_THAT(session.view().message, HasSubstr("1399 Punkte wurden übernommen"));
  EXPECT_TRUE(session.view().saveButtonVisible);
}

TEST(PmlrSessions, OverlongUnitIsDroppedAsDamaged) {
  MlrSession session;
  identify(session, MlrId);
  session.readTrack();
  session.received(sim::unit(sim::startRecord()) + std::string(6000, 'x'));
  EXPECT_THAT(session.view().memo, HasSubstr("Checksummenfehler"));
  session.timerFired(EvaluateTimer);
  EXPECT_FALSE(session.view().saveButtonVisible);
}

TEST(PmlrSessions, PointListLinesAndTheTimeWindow) {
  std::vector<PmlrPoint> points = flight(4);
  points[2].seconds = points[1].seconds;  // no time between them
  points[3].altDm = 0;
  MlrSession session;
  identify(session, LogItId);
  transfer(session, sim::stream(sim::trackRecords(points, 4)), 0);
  session.showPointList();
  const std::vector<std::string>& items = session.view().pointItems;
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0], "Nr.    1  05.08.2003 12:00:00  N 47:30.000  E 357:30.000  1500 m  8 Sats   Rec. start");
  EXPECT_EQ(items[1], "Nr.    2  05.08.2003 12:00:02  N 47:30.006  E 357:30.000   20.0 km/h  1500 m  8 Sats  ");
  EXPECT_THAT(items[2], HasSubstr("E 357:30.000  999.9 km/h  1500 m "));
  EXPECT_THAT(items[3], ::testing::EndsWith(" km/h 8 Sats  "));  // no altitude

  const double day = *encodeDate(2003, 8, 5);
  const double noon = 0.5, one = 13.0 / 24;
  const struct {
    double start, end, date;
    std::vector<bool> ticked;
  } windows[] = {
      {noon, one, day, {false, true, true, true}},  // the start is exclusive
      {noon - 1.0 / 86400, one, day, {true, true, true, true}},
      {noon - 1.0 / 86400, noon + 2.0 / 86400, day, {true, true, true, false}},  // the end inclusive
      {0, one, day + 1, {false, false, false, false}},
  };
  for (const auto& w : windows) {
    session.setTimeWindow(w.start, w.end, w.date);
    EXPECT_EQ(session.view().pointTicked, w.ticked);
  }
  session.showTimeWindow(day + 0.7);
  EXPECT_EQ(session.view().windowDate, day);
  EXPECT_NEAR(session.view().windowEnd * 86400, 86399.5, 1e-6);
}

TEST(PmlrSessions, FileHasTheARecordAndWesternLongitude) {
  test::ScratchDir dir;
  RenschlerSession session;
  identify(session, "SOL 1234 5678 ");
  transfer(session, sim::stream(sim::trackRecords(flight(3), 3)), 0);
  session.showPointList();
  session.tickPoint(2, false);
  const DownloadOutcome outcome =
      session.writeFile(test::plausibleHeader(dir.path()), *encodeDate(2003, 8, 6));
  ASSERT_FALSE(outcome.error) << *outcome.error;
  const std::string file = test::fileContent(outcome.path);
  EXPECT_TRUE(file.starts_with("AREN SOL 1234 5678\r\nHFDTE050803\r\n"));
  EXPECT_THAT(file, HasSubstr("B1200004730000N00230000WA0000001500\r\n"));
  EXPECT_THAT(file, HasSubstr("B1200024730006N00230000WA0000001500\r\n"));
  EXPECT_THAT(file, ::testing::Not(HasSubstr("B120004")));
  EXPECT_THAT(file, HasSubstr("\r\nG"));
  EXPECT_TRUE(session.view().label1Red);
  EXPECT_EQ(session.view().label1, "igc-File geschrieben (signiert) " + outcome.path);
  EXPECT_EQ(session.view().page, PmlrView::Page::Transfer);
}

TEST(PmlrSessions, AbortStopsTheInstrumentAndLostPortReopensTheChoice) {
  MlrSession session;
  identify(session, MlrId);
  session.readTrack();
  const SessionCommands aborted = session.abort();
  EXPECT_THAT(written(aborted), ::testing::ElementsAre(std::string(StopCommand)));
  EXPECT_EQ(session.view().label1, "Kommunikation mit MLR abgebrochen");
  EXPECT_TRUE(session.view().serialButtonVisible);
  EXPECT_FALSE(session.view().trackButtonVisible);

  session.portFailed("weg");
  EXPECT_EQ(session.view().message, "weg");
  EXPECT_TRUE(session.view().portChoiceVisible);
  EXPECT_TRUE(session.received(sim::unit(sim::startRecord())).empty());
  EXPECT_THAT(written(session.erase()), ::testing::ElementsAre("\n\r", std::string(EraseCommand)));
}

}  // namespace
}  // namespace quorvanta::pmlr
