#include "devices/garmin/GarminSession.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <type_traits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/Bytes.h"
#include "devices/sim/GarminFrame.h"
#include "devices/sim/GarminScriptWriter.h"
#include "flight/FileContent.h"
#include "support/DayTime.h"
#include "support/TestFiles.h"

namespace quorvanta::garmin {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using sim::encodeFrame;  // the simulated unit's, independent of the session's
using test::at;
using test::bytes;

// Product data and protocol array of a unit with D301 track logs.
const std::vector<sim::ScriptPacket> ProductAnswer =
    sim::productScript(sim::TrackFormat::D301).answers.at(sim::Trigger::productRequest());
const std::string UnitDescription = "eTrex Vista Software Version 3.70 - 169";

std::string trackPoint(double time, bool newTrack, float alt = 500, double lat = 47) {
  const auto seconds = std::llround((time - at(1989, 12, 31, 0, 0, 0)) * 86400);
  const sim::SimTrackPoint point{lat, 11, static_cast<std::uint32_t>(seconds), alt, newTrack};
  return encodeFrame(34, sim::trackPointRecord(point, sim::TrackFormat::D301));
}

// Carries out what the session asks, as a window would, with the timers
// fired by the test.
class Shell {
 public:
  GarminSession session;
  std::vector<std::string> written;
  std::string transcript;
  std::map<int, int> armed;  // timer -> milliseconds
  int opens = 0, closes = 0;

  void take(const SessionCommands& commands) {
    for (const SessionCommand& command : commands) {
      std::visit(
          [this](const auto& step) {
            using Step = std::decay_t<decltype(step)>;
            if constexpr (std::is_same_v<Step, OpenPort>) ++opens;
            if constexpr (std::is_same_v<Step, ClosePort>) ++closes;
            if constexpr (std::is_same_v<Step, WriteBytes>) written.push_back(step.bytes);
            if constexpr (std::is_same_v<Step, StartTimer>) armed[step.timer] = step.milliseconds;
            if constexpr (std::is_same_v<Step, StopTimer>) armed.erase(step.timer);
            if constexpr (std::is_same_v<Step, TranscriptText>) transcript += step.text;
          },
          command);
    }
  }

  bool isArmed(int timer) const { return armed.count(timer) > 0; }

  void fire(int timer) {
    ASSERT_TRUE(isArmed(timer)) << "timer " << timer;
    armed.erase(timer);
    take(session.timerFired(timer));
  }

  // Bytes from the unit, then the answers' pauses run out.
  void deliver(const std::string& bytes) {
    take(session.received(bytes));
    for (int i = 0; i < 100 && isArmed(AnswerDelay); ++i) fire(AnswerDelay);
  }

  void identify() {
    take(session.readProductData());
    fire(ProductDelay);
    for (const sim::ScriptPacket& packet : ProductAnswer) deliver(packet.wire);
    ASSERT_TRUE(session.productKnown());
    written.clear();
  }

  void point(double time, bool newTrack, float alt = 500, double lat = 47) {
    deliver(trackPoint(time, newTrack, alt, lat));
  }

  void completeTrackLog() { deliver(encodeFrame(12, bytes({6, 0}))); }
};

class GarminSessionTest : public ::testing::Test {
 protected:
  Shell shell;
  GarminSession& session = shell.session;
  test::ScratchDir scratch;

  IgcHeaderValues header() const {
    return {"Hans Muster", "Gin Boomerang", "12",   "Paraglider open",
            "Tegelberg",   "DHV-OLC-2003",  "ABCD", scratch.path().string() + "/"};
  }

  // Two tracks on 15 July 2003, the second of 3 points.
  void downloadTwoTracks() {
    shell.identify();
    shell.take(session.readTracks());
    shell.deliver(encodeFrame(27, bytes({5, 0})));
    shell.point(at(2003, 7, 15, 9, 0, 0), true);
    shell.point(at(2003, 7, 15, 9, 0, 10), false);
    shell.point(at(2003, 7, 15, 11, 0, 0), true, 800, 47.1);
    shell.point(at(2003, 7, 15, 11, 0, 10), false, 810, 47.1);
    shell.point(at(2003, 7, 15, 11, 0, 20), false, 820, 47.1);
    shell.completeTrackLog();
  }

  bool nothingWritten() const { return std::filesystem::is_empty(scratch.path()); }
};

TEST_F(GarminSessionTest, TrackCommandIsOnePacketInOneWrite) {
  shell.identify();
  shell.take(session.readTracks());
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(10, bytes({6, 0}))));
  EXPECT_TRUE(session.view().transferRunning);
  EXPECT_EQ(shell.armed[GiveUp], 5000);
}

TEST_F(GarminSessionTest, FirstSendOpensThePortOnce) {
  shell.take(session.readProductData());
  EXPECT_EQ(shell.opens, 1);
  EXPECT_FALSE(session.view().portChooserVisible);
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(10, bytes({0, 0}))));
  EXPECT_EQ(shell.armed[ProductDelay], 300);
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.opens, 1);
  EXPECT_EQ(shell.written.back(), encodeFrame(254, ""));
  EXPECT_TRUE(session.view().commandButtonsVisible);
}

TEST_F(GarminSessionTest, GoodPacketsAckedBadOnesNakedAfterThePause) {
  shell.identify();
  session.setShowRxTx(true);
  shell.take(session.received(encodeFrame(14, std::string(8, '\0'))));
  EXPECT_THAT(shell.written, IsEmpty());
  EXPECT_EQ(shell.armed[AnswerDelay], 10);
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(6, bytes({14, 0}))));

  std::string corrupt = encodeFrame(14, std::string(8, '\0'));
  corrupt[corrupt.size() - 3] ^= 0x01;  // the checksum
  shell.written.clear();
  shell.deliver(corrupt);
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(21, bytes({14, 0}))));
  EXPECT_THAT(session.view().rxText, HasSubstr("Fehler Checksumme\n"));
}

TEST_F(GarminSessionTest, PacketsBehindAPendingAnswerWaitForIt) {
  shell.identify();
  const std::string two =
      encodeFrame(14, std::string(8, '\0')) + "garbage" + encodeFrame(99, "\x01\x02T1");
  shell.take(session.received(two));
  EXPECT_THAT(shell.written, IsEmpty());
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(6, bytes({14, 0}))));
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written,
              ElementsAre(encodeFrame(6, bytes({14, 0})), encodeFrame(6, bytes({99, 0}))));
  EXPECT_THAT(session.view().display, HasSubstr("Track Header:  T1\n"));
}

TEST_F(GarminSessionTest, AckOrNakFromTheUnitIsShownNotAnswered) {
  shell.identify();
  session.setShowRxTx(true);
  shell.take(session.received(encodeFrame(6, bytes({10, 0})) + encodeFrame(21, bytes({34, 0}))));
  EXPECT_THAT(shell.written, IsEmpty());
  EXPECT_FALSE(shell.isArmed(AnswerDelay));
  EXPECT_THAT(session.view().display, HasSubstr("ACK-Record für Record-Typ 10\n"));
  EXPECT_THAT(session.view().display, HasSubstr("NAK-Record für Record-Typ34\n"));
}

TEST_F(GarminSessionTest, WatchdogNaksTheCurrentPacketUntilTheTransferEnds) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(encodeFrame(27, bytes({2, 0})));
  EXPECT_EQ(shell.armed[Watchdog], 1000);
  shell.point(at(2003, 7, 15, 9, 0, 0), true);
  shell.written.clear();
  shell.fire(Watchdog);
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(21, bytes({34, 0}))));
  EXPECT_TRUE(shell.isArmed(Watchdog));
  shell.completeTrackLog();
  EXPECT_FALSE(shell.isArmed(Watchdog));
  EXPECT_FALSE(shell.isArmed(GiveUp));
  EXPECT_EQ(session.view().statusLabel, "transfer track log complete (1 Punkte)");
  EXPECT_TRUE(session.view().saveButtonVisible);
  EXPECT_FALSE(session.view().transferRunning);
}

TEST_F(GarminSessionTest, ReadTracksRunsTheProductRequestFirst) {
  shell.take(session.readTracks());
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(10, bytes({0, 0}))));
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.written.back(), encodeFrame(254, ""));
  shell.deliver(ProductAnswer[0].wire);
  EXPECT_EQ(shell.written.back(), encodeFrame(6, bytes({255, 0})));
  shell.deliver(ProductAnswer[1].wire);
  // the command only after the protocol array's answer
  ASSERT_EQ(shell.written.size(), 5u);
  EXPECT_EQ(shell.written[3], encodeFrame(6, bytes({253, 0})));
  EXPECT_EQ(shell.written[4], encodeFrame(10, bytes({6, 0})));
  EXPECT_EQ(session.unitDescription(), UnitDescription);
  EXPECT_THAT(shell.transcript, HasSubstr("Track Transfer    : A301"));
}

TEST_F(GarminSessionTest, WithoutProtocolArrayTheCommandFollowsAQuietPause) {
  shell.take(session.readTracks());
  shell.fire(ProductDelay);
  shell.deliver(ProductAnswer[0].wire);
  EXPECT_FALSE(session.productKnown());
  shell.take(session.received(std::string("\x10\xfd", 2)));  // a frame still arriving
  shell.fire(ProductDelay);
  EXPECT_NE(shell.written.back(), encodeFrame(10, bytes({6, 0})));
  shell.take(session.received(std::string("\x00\x00\x10\x03", 4)));
  shell.fire(AnswerDelay);
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.written.back(), encodeFrame(10, bytes({6, 0})));
  EXPECT_TRUE(session.productKnown());

  shell.deliver(encodeFrame(34, std::string(13, '\0')));
  EXPECT_THAT(session.view().display,
              HasSubstr("Kein Protokoll-Record, Track Data D300 als Default gesetzt\n"));
  EXPECT_EQ(session.trackPointCount(), 1);
}

TEST_F(GarminSessionTest, DuplicateTimesDroppedAndLoggedUnlessANewTrack) {
  shell.identify();
  shell.take(session.readTracks());
  const double t = at(2003, 7, 15, 9, 0, 0);
  shell.point(t, true);
  shell.point(t, false);
  EXPECT_EQ(session.trackPointCount(), 1);
  EXPECT_THAT(shell.transcript, HasSubstr("FALSE\r\nTrackpunkt gelöscht\r\n"));
  shell.point(t, true);
  EXPECT_EQ(session.trackPointCount(), 2);
  EXPECT_THAT(session.view().display, HasSubstr("2. Track:    2. Punkt:"));
}

TEST_F(GarminSessionTest, HostilePacketsNeverCorruptTheTable) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(encodeFrame(27, ""));
  EXPECT_GE(session.view().progressMaximum, 1);
  shell.deliver(encodeFrame(27, bytes({0xFF, 0xFF})));
  EXPECT_EQ(session.view().progressMaximum, 65535);
  shell.deliver(std::string("\x10\x10\x03\xff\x00", 5));
  shell.deliver(encodeFrame(34, "\x01\x02\x03"));
  shell.deliver(encodeFrame(34, ""));
  shell.deliver(encodeFrame(99, ""));
  shell.deliver(encodeFrame(12, ""));
  shell.deliver(encodeFrame(200, std::string(255, '\x10')));
  EXPECT_EQ(session.trackPointCount(), 0);
  EXPECT_THAT(session.view().display, HasSubstr("Ungültiger Trackpunkt (3 Bytes) übergangen"));
  EXPECT_THAT(session.view().display, HasSubstr("Unbekannter RecordTyp 200"));
  EXPECT_LE(session.view().display.size(), 2000u);
}

TEST_F(GarminSessionTest, WritesTheTickedPointsOfTheTickedTracksAsASignedFile) {
  downloadTwoTracks();
  shell.take(session.showTrackList());
  const GarminView& view = session.view();
  EXPECT_EQ(view.page, GarminView::Page::TrackChoice);
  ASSERT_EQ(view.trackItems.size(), 2u);
  EXPECT_THAT(view.trackItems[1], EndsWith(" UTC 3 Punkte"));
  EXPECT_FALSE(view.nextVisible);
  session.tickTrack(1, true);
  EXPECT_TRUE(view.nextVisible);
  session.showPointList();
  EXPECT_EQ(view.page, GarminView::Page::PointChoice);
  ASSERT_EQ(view.pointItems.size(), 3u);
  EXPECT_THAT(view.pointItems[0], StartsWith("Nr.    3  15.07.2003 11:00:00"));
  EXPECT_THAT(view.pointTicked, ElementsAre(true, true, true));
  EXPECT_FALSE(view.trackBoxesEnabled);
  EXPECT_TRUE(view.doneVisible);

  session.tickPoint(1, false);
  const DownloadOutcome outcome = session.writeFile(header(), at(2003, 7, 20, 18, 0, 0));
  ASSERT_FALSE(outcome.error) << *outcome.error;
  EXPECT_THAT(outcome.path, EndsWith("/37FABCD1.igc"));
  std::string content;
  ASSERT_FALSE(readWholeFile(outcome.path, content));
  EXPECT_THAT(content, StartsWith("AGARABCD" + UnitDescription + "\r\nHFDTE150703\r\n"));
  EXPECT_THAT(content, HasSubstr("Tegelberg\r\nB1100004706000N01100000EA0000000800\r\n"
                                 "B1100204706000N01100000EA0000000820\r\nL "));
  EXPECT_EQ(session.view().page, GarminView::Page::Transfer);
  EXPECT_EQ(session.view().statusLabel, outcome.status);
}

TEST_F(GarminSessionTest, StopsAtTheTableCapacityAndKeepsWhatItHas) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(encodeFrame(27, bytes({0xFF, 0xFF})));
  const double start = at(2003, 7, 15, 8, 0, 0);
  for (int i = 0; i < 16384; ++i) shell.point(start + i / 86400.0, i == 0);
  EXPECT_EQ(session.trackPointCount(), 16384);
  EXPECT_THAT(session.view().message, IsEmpty());
  shell.written.clear();
  shell.point(start + 16384 / 86400.0, false);
  EXPECT_EQ(session.trackPointCount(), 16384);
  EXPECT_THAT(session.view().message, HasSubstr("16384 Punkten"));
  EXPECT_THAT(shell.written,
              ElementsAre(encodeFrame(6, bytes({34, 0})), encodeFrame(10, bytes({0, 0}))));
  EXPECT_FALSE(shell.isArmed(Watchdog));
  EXPECT_FALSE(shell.isArmed(GiveUp));
  EXPECT_TRUE(session.trackLogComplete());
  EXPECT_FALSE(session.view().transferRunning);
  shell.point(start + 16385 / 86400.0, true);  // still in flight
  EXPECT_EQ(session.trackPointCount(), 16384);

  shell.take(session.showTrackList());
  ASSERT_EQ(session.view().trackItems.size(), 1u);
  EXPECT_THAT(session.view().trackItems[0], EndsWith(" UTC 16384 Punkte"));
}

TEST_F(GarminSessionTest, StalledUnitEndsTheTransferAndClosesThePort) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(encodeFrame(27, bytes({10, 0})));
  shell.point(at(2003, 7, 15, 9, 0, 0), true);
  EXPECT_EQ(shell.armed[GiveUp], 5000);
  shell.fire(Watchdog);
  shell.fire(GiveUp);
  EXPECT_THAT(session.view().message, StartsWith("Das Gerät antwortet nicht."));
  EXPECT_EQ(shell.closes, 1);
  EXPECT_THAT(shell.armed, IsEmpty());
  EXPECT_FALSE(session.view().transferRunning);
  EXPECT_FALSE(session.trackLogComplete());
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_TRUE(nothingWritten());

  session.view().message.clear();
  shell.take(session.readTracks());  // tried again: the port is opened anew
  EXPECT_EQ(shell.opens, 2);
}

TEST_F(GarminSessionTest, UnansweredProductRequestGivesUpToo) {
  shell.take(session.readProductData());
  shell.fire(ProductDelay);
  shell.fire(GiveUp);
  EXPECT_THAT(session.view().message, StartsWith("Das Gerät antwortet nicht."));
  EXPECT_FALSE(session.productKnown());
  EXPECT_EQ(shell.closes, 1);
}

TEST_F(GarminSessionTest, LostPortShowsTheMessageAndResets) {
  shell.identify();
  shell.take(session.readTracks());
  shell.point(at(2003, 7, 15, 9, 0, 0), true);
  shell.take(session.portFailed("Die Schnittstelle /dev/ttyUSB0 ist nicht mehr da."));
  EXPECT_EQ(session.view().message, "Die Schnittstelle /dev/ttyUSB0 ist nicht mehr da.");
  EXPECT_EQ(shell.closes, 1);
  EXPECT_THAT(shell.armed, IsEmpty());
  EXPECT_FALSE(session.view().transferRunning);
  EXPECT_TRUE(session.view().portChooserVisible);
  EXPECT_FALSE(session.trackLogComplete());
  shell.written.clear();
  shell.point(at(2003, 7, 15, 9, 0, 10), false);  // stray bytes after the loss
  EXPECT_EQ(session.trackPointCount(), 1);
  EXPECT_THAT(shell.written, IsEmpty());
  EXPECT_EQ(shell.opens, 1);
  EXPECT_TRUE(nothingWritten());
}

TEST_F(GarminSessionTest, ComAbbruchStopsEverythingAndSendsTheAbort) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(encodeFrame(27, bytes({10, 0})));
  shell.take(session.received(trackPoint(at(2003, 7, 15, 9, 0, 0), true)));
  shell.written.clear();
  shell.take(session.abortTransfer());
  EXPECT_THAT(shell.written, ElementsAre(encodeFrame(10, bytes({0, 0}))));
  EXPECT_THAT(shell.armed, IsEmpty());
  EXPECT_TRUE(session.view().display.empty());
  EXPECT_FALSE(session.view().transferRunning);
  EXPECT_TRUE(session.view().commandButtonsVisible);
  EXPECT_FALSE(session.view().progressVisible);
}

TEST_F(GarminSessionTest, TxWindowShowsPacketsAndSendErrors) {
  session.setShowRxTx(true);
  shell.take(session.readProductData());
  EXPECT_EQ(session.view().txText, "#16 #10 #2 #0 #0 #244 #16 #3 \n");
  shell.take(session.writeFailed());
  EXPECT_EQ(session.view().txText, "*** Sendefehler ***\n");
}

TEST(GarminTranscript, FirstLineWithEnglishWeekday) {
  EXPECT_EQ(transcriptFirstLine(at(2003, 7, 15, 9, 5, 7)), "Thuesday 15.07.2003  09:05:07");
  EXPECT_EQ(transcriptFirstLine(at(2003, 7, 13, 23, 0, 0)), "Sunday 13.07.2003  23:00:00");
}

}  // namespace
}  // namespace quorvanta::garmin
