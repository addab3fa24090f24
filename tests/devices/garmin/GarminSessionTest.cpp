#include "devices/garmin/GarminSession.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <type_traits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "support/TestFiles.h"

namespace quorvanta::garmin {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

// Frames built here, independently of the session's encoder.
std::string frame(std::uint8_t id, const std::string& data) {
  std::string body{static_cast<char>(id), static_cast<char>(data.size())};
  body += data;
  unsigned sum = 0;
  for (const char c : body) sum += static_cast<unsigned char>(c);
  body += static_cast<char>(-sum & 0xFF);
  std::string bytes("\x10");
  for (const char c : body) {
    bytes += c;
    if (c == '\x10') bytes += c;
  }
  return bytes + "\x10\x03";
}

std::string bytes2(int a, int b) { return {static_cast<char>(a), static_cast<char>(b)}; }

void appendLittleEndian(std::string& data, std::uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) data += static_cast<char>(value >> (8 * i) & 0xFF);
}

double at(int year, int month, int day, int hour, int minute, int second) {
  return *encodeDate(year, month, day) + *encodeTime(hour, minute, second);
}

std::uint32_t garminSeconds(double time) {
  return static_cast<std::uint32_t>(std::llround((time - *encodeDate(1989, 12, 31)) * 86400));
}

std::int32_t semicircles(double degrees) {
  return static_cast<std::int32_t>(std::llround(degrees / 180 * 2147483648.0));
}

std::string d301(double latDeg, double lonDeg, std::uint32_t time, float alt, bool newTrack) {
  std::string data;
  appendLittleEndian(data, static_cast<std::uint32_t>(semicircles(latDeg)));
  appendLittleEndian(data, static_cast<std::uint32_t>(semicircles(lonDeg)));
  appendLittleEndian(data, time);
  std::uint32_t bits;
  std::memcpy(&bits, &alt, sizeof bits);
  appendLittleEndian(data, bits);
  appendLittleEndian(data, 0);
  return data + static_cast<char>(newTrack);
}

std::string productData() {
  std::string data;
  appendLittleEndian(data, 130, 2);
  appendLittleEndian(data, 241, 2);
  return data + std::string("eTrex Legend\0Extra\0", 19);
}

std::string protocolArray(int track) {
  std::string data;
  for (const auto& [tag, number] : std::vector<std::pair<char, int>>{
           {'P', 0},   {'L', 1},   {'A', 10},  {'A', 100}, {'D', 108}, {'A', 201},
           {'D', 202}, {'D', 108}, {'D', 210}, {'A', track}, {'D', 310}, {'D', track},
           {'A', 500}, {'D', 501}, {'A', 600}, {'D', 600}}) {
    data += tag;
    appendLittleEndian(data, static_cast<std::uint32_t>(number), 2);
  }
  return data;
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

  void identify(int track = 301) {
    take(session.readProductData());
    fire(ProductDelay);
    deliver(frame(255, productData()));
    deliver(frame(253, protocolArray(track)));
    ASSERT_TRUE(session.productKnown());
    written.clear();
  }

  void point(double time, bool newTrack, float alt = 500, double lat = 47) {
    deliver(frame(34, d301(lat, 11, garminSeconds(time), alt, newTrack)));
  }

  void completeTrackLog() { deliver(frame(12, bytes2(6, 0))); }
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
    shell.deliver(frame(27, bytes2(5, 0)));
    shell.point(at(2003, 7, 15, 9, 0, 0), true);
    shell.point(at(2003, 7, 15, 9, 0, 10), false);
    shell.point(at(2003, 7, 15, 11, 0, 0), true, 800, 47.1);
    shell.point(at(2003, 7, 15, 11, 0, 10), false, 810, 47.1);
    shell.point(at(2003, 7, 15, 11, 0, 20), false, 820, 47.1);
    shell.completeTrackLog();
  }

  std::vector<std::string> directoryFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::vector<std::string> fileLines(const std::string& path) const {
    std::string text;
    std::vector<std::string> lines;
    if (readWholeFile(path, text)) return lines;
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = text.find("\r\n", start);
      lines.push_back(text.substr(start, end - start));
      start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
  }
};

TEST_F(GarminSessionTest, TrackCommandIsOnePacketInOneWrite) {
  shell.identify();
  shell.take(session.readTracks());
  EXPECT_THAT(shell.written, ElementsAre(std::string("\x10\x0a\x02\x06\x00\xee\x10\x03", 8)));
  EXPECT_TRUE(session.view().transferRunning);
  EXPECT_EQ(shell.armed[GiveUp], 5000);
}

TEST_F(GarminSessionTest, FirstSendOpensThePortOnce) {
  shell.take(session.readProductData());
  EXPECT_EQ(shell.opens, 1);
  EXPECT_FALSE(session.view().portChooserVisible);
  EXPECT_THAT(shell.written, ElementsAre(frame(10, bytes2(0, 0))));
  EXPECT_EQ(shell.armed[ProductDelay], 300);
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.opens, 1);
  EXPECT_EQ(shell.written.back(), frame(254, ""));
  EXPECT_TRUE(session.view().commandButtonsVisible);
}

TEST_F(GarminSessionTest, GoodPacketsAckedBadOnesNakedAfterThePause) {
  shell.identify();
  session.setShowRxTx(true);
  shell.take(session.received(frame(14, std::string(8, '\0'))));
  EXPECT_THAT(shell.written, IsEmpty());
  EXPECT_EQ(shell.armed[AnswerDelay], 10);
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written, ElementsAre(frame(6, bytes2(14, 0))));

  std::string corrupt = frame(14, std::string(8, '\0'));
  corrupt[corrupt.size() - 3] ^= 0x01;  // the checksum
  shell.written.clear();
  shell.deliver(corrupt);
  EXPECT_THAT(shell.written, ElementsAre(frame(21, bytes2(14, 0))));
  EXPECT_THAT(session.view().rxText, HasSubstr("Fehler Checksumme\n"));
}

TEST_F(GarminSessionTest, PacketsBehindAPendingAnswerWaitForIt) {
  shell.identify();
  const std::string two = frame(14, std::string(8, '\0')) + "garbage" + frame(99, "\x01\x02T1");
  shell.take(session.received(two));
  EXPECT_THAT(shell.written, IsEmpty());
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written, ElementsAre(frame(6, bytes2(14, 0))));
  shell.fire(AnswerDelay);
  EXPECT_THAT(shell.written, ElementsAre(frame(6, bytes2(14, 0)), frame(6, bytes2(99, 0))));
  EXPECT_THAT(session.view().display, HasSubstr("Track Header:  T1\n"));
}

TEST_F(GarminSessionTest, AckOrNakFromTheUnitIsShownNotAnswered) {
  shell.identify();
  session.setShowRxTx(true);
  shell.take(session.received(frame(6, bytes2(10, 0)) + frame(21, bytes2(34, 0))));
  EXPECT_THAT(shell.written, IsEmpty());
  EXPECT_FALSE(shell.isArmed(AnswerDelay));
  EXPECT_THAT(session.view().display, HasSubstr("ACK-Record für Record-Typ 10\n"));
  EXPECT_THAT(session.view().display, HasSubstr("NAK-Record für Record-Typ34\n"));
}

TEST_F(GarminSessionTest, WatchdogNaksTheCurrentPacketUntilTheTransferEnds) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(frame(27, bytes2(2, 0)));
  EXPECT_EQ(shell.armed[Watchdog], 1000);
  shell.point(at(2003, 7, 15, 9, 0, 0), true);
  shell.written.clear();
  shell.fire(Watchdog);
  EXPECT_THAT(shell.written, ElementsAre(frame(21, bytes2(34, 0))));
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
  EXPECT_THAT(shell.written, ElementsAre(frame(10, bytes2(0, 0))));
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.written.back(), frame(254, ""));
  shell.deliver(frame(255, productData()));
  EXPECT_EQ(shell.written.back(), frame(6, bytes2(255, 0)));
  shell.deliver(frame(253, protocolArray(301)));
  // the command only after the protocol array's answer
  ASSERT_EQ(shell.written.size(), 5u);
  EXPECT_EQ(shell.written[3], frame(6, bytes2(253, 0)));
  EXPECT_EQ(shell.written[4], frame(10, bytes2(6, 0)));
  EXPECT_EQ(session.unitDescription(), "eTrex Legend - 130");
  EXPECT_THAT(shell.transcript, HasSubstr("Track Transfer    : A301"));
}

TEST_F(GarminSessionTest, WithoutProtocolArrayTheCommandFollowsAQuietPause) {
  shell.take(session.readTracks());
  shell.fire(ProductDelay);
  shell.deliver(frame(255, productData()));
  EXPECT_FALSE(session.productKnown());
  shell.take(session.received(std::string("\x10\xfd", 2)));  // a frame still arriving
  shell.fire(ProductDelay);
  EXPECT_NE(shell.written.back(), frame(10, bytes2(6, 0)));
  shell.take(session.received(std::string("\x00\x00\x10\x03", 4)));
  shell.fire(AnswerDelay);
  shell.fire(ProductDelay);
  EXPECT_EQ(shell.written.back(), frame(10, bytes2(6, 0)));
  EXPECT_TRUE(session.productKnown());

  shell.deliver(frame(34, std::string(13, '\0')));
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

TEST_F(GarminSessionTest, AbsurdAltitudeStoredAsZeroAndNoTimeAs1989) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(frame(34, d301(47, 11, 0xFFFFFFFF, 1.0e25f, true)));
  shell.deliver(frame(34, d301(47, 11, 60, std::nanf(""), false)));
  EXPECT_EQ(session.trackPointCount(), 2);
  EXPECT_THAT(session.view().display, HasSubstr("Punkt:  31.12.1989   0:00:00 UTC"));
  EXPECT_THAT(shell.transcript, HasSubstr("TRK: 31.12.1989    0: 0: 0 UTC"));
  EXPECT_THAT(shell.transcript, HasSubstr("      0 m  TRUE\r\n"));
  EXPECT_THAT(shell.transcript, Not(HasSubstr("nan")));
}

TEST_F(GarminSessionTest, HostilePacketsNeverCorruptTheTable) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(frame(27, ""));
  EXPECT_GE(session.view().progressMaximum, 1);
  shell.deliver(frame(27, bytes2(0xFF, 0xFF)));
  EXPECT_EQ(session.view().progressMaximum, 65535);
  shell.deliver(std::string("\x10\x10\x03\xff\x00", 5));
  shell.deliver(frame(34, "\x01\x02\x03"));
  shell.deliver(frame(34, ""));
  shell.deliver(frame(99, ""));
  shell.deliver(frame(12, ""));
  shell.deliver(frame(200, std::string(255, '\x10')));
  EXPECT_EQ(session.trackPointCount(), 0);
  EXPECT_THAT(session.view().display, HasSubstr("Ungültiger Trackpunkt (3 Bytes) übergangen"));
  EXPECT_THAT(session.view().display, HasSubstr("Unbekannter RecordTyp 200"));
  EXPECT_LE(session.view().display.size(), 2000u);
}

TEST_F(GarminSessionTest, TrackListAndPointListOfTheTicked) {
  downloadTwoTracks();
  shell.take(session.showTrackList());
  const GarminView& view = session.view();
  EXPECT_EQ(view.page, GarminView::Page::TrackChoice);
  ASSERT_EQ(view.trackItems.size(), 2u);
  EXPECT_THAT(view.trackItems[1], StartsWith("Track 2 "));
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
}

TEST_F(GarminSessionTest, WritesTheTickedPointsAsASignedFile) {
  downloadTwoTracks();
  shell.take(session.showTrackList());
  session.tickTrack(1, true);
  session.showPointList();
  session.tickPoint(1, false);
  const DownloadOutcome outcome = session.writeFile(header(), at(2003, 7, 20, 18, 0, 0));
  ASSERT_FALSE(outcome.error) << *outcome.error;
  EXPECT_THAT(outcome.path, EndsWith("/37FABCD1.igc"));
  const auto lines = fileLines(outcome.path);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "AGARABCDeTrex Legend - 130");
  EXPECT_EQ(lines[1], "HFDTE150703");
  std::vector<std::string> bRecords;
  for (const std::string& line : lines) {
    if (line.starts_with("B")) bRecords.push_back(line);
  }
  ASSERT_EQ(bRecords.size(), 2u);
  EXPECT_THAT(bRecords[0], StartsWith("B1100004706000N01100000EA00000"));
  EXPECT_THAT(bRecords[0], EndsWith("00800"));
  EXPECT_THAT(bRecords[1], StartsWith("B110020"));
  EXPECT_EQ(session.view().page, GarminView::Page::Transfer);
  EXPECT_EQ(session.view().statusLabel, outcome.status);
}

TEST_F(GarminSessionTest, TracksAcrossMidnightGetASecondDateLine) {
  shell.identify();
  shell.take(session.readTracks());
  shell.point(at(2003, 7, 15, 23, 50, 0), true);
  shell.point(at(2003, 7, 15, 23, 59, 50), false);
  shell.point(at(2003, 7, 16, 0, 5, 0), true);
  shell.point(at(2003, 7, 16, 0, 6, 0), false);
  shell.completeTrackLog();
  shell.take(session.showTrackList());
  session.tickTrack(0, true);
  session.tickTrack(1, true);
  session.showPointList();
  const DownloadOutcome outcome = session.writeFile(header(), at(2003, 7, 20, 18, 0, 0));
  ASSERT_FALSE(outcome.error) << *outcome.error;
  const auto lines = fileLines(outcome.path);
  std::vector<std::string> dated;
  for (const std::string& line : lines) {
    if (line.starts_with("HFDTE") || line.starts_with("B")) dated.push_back(line.substr(0, 7));
  }
  EXPECT_THAT(dated, ElementsAre("HFDTE15", "B235000", "B235950", "HFDTE16", "B000500",
                                 "B000600"));
}

TEST_F(GarminSessionTest, ThirdFlightOfTheDayTakesCharacter3) {
  scratch.write("37FABCD1.igc", "x");
  scratch.write("37FABCD2.igc", "x");
  downloadTwoTracks();
  shell.take(session.showTrackList());
  session.tickTrack(0, true);
  session.showPointList();
  const DownloadOutcome outcome = session.writeFile(header(), at(2003, 7, 20, 18, 0, 0));
  ASSERT_FALSE(outcome.error) << *outcome.error;
  EXPECT_THAT(outcome.path, EndsWith("/37FABCD3.igc"));
}

TEST_F(GarminSessionTest, CancelledHeaderDialogWritesNothing) {
  downloadTwoTracks();
  shell.take(session.showTrackList());
  session.tickTrack(0, true);
  session.showPointList();
  session.leavePointList();
  EXPECT_EQ(session.view().page, GarminView::Page::Transfer);
  EXPECT_FALSE(session.view().doneVisible);
  EXPECT_THAT(directoryFiles(), IsEmpty());
}

TEST_F(GarminSessionTest, StopsAtTheTableCapacityAndKeepsWhatItHas) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(frame(27, bytes2(0xFF, 0xFF)));
  const double start = at(2003, 7, 15, 8, 0, 0);
  for (int i = 0; i < 16384; ++i) shell.point(start + i / 86400.0, i == 0);
  EXPECT_EQ(session.trackPointCount(), 16384);
  EXPECT_THAT(session.view().message, IsEmpty());
  shell.written.clear();
  shell.point(start + 16384 / 86400.0, false);
  EXPECT_EQ(session.trackPointCount(), 16384);
  EXPECT_THAT(session.view().message, HasSubstr("16384 Punkten"));
  EXPECT_THAT(shell.written, ElementsAre(frame(6, bytes2(34, 0)), frame(10, bytes2(0, 0))));
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
  shell.deliver(frame(27, bytes2(10, 0)));
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
  EXPECT_THAT(directoryFiles(), IsEmpty());

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
  EXPECT_THAT(directoryFiles(), IsEmpty());
}

TEST_F(GarminSessionTest, ComAbbruchStopsEverythingAndSendsTheAbort) {
  shell.identify();
  shell.take(session.readTracks());
  shell.deliver(frame(27, bytes2(10, 0)));
  shell.take(session.received(frame(34, d301(47, 11, 100, 0, true))));
  shell.written.clear();
  shell.take(session.abortTransfer());
  EXPECT_THAT(shell.written, ElementsAre(frame(10, bytes2(0, 0))));
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
