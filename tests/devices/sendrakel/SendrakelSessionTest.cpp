#include "devices/sendrakel/SendrakelSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/sendrakel/LoggerText.h"

namespace quorvanta::sendrakel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string StatusAnswer =
    "SENDRAKEL V2.1\r\nDATAFLASH USED: 00000012 PAGES\r\nBATTERY OK\r\n";

template <typename Command>
std::vector<Command> commandsOf(const SessionCommands& commands) {
  std::vector<Command> found;
  for (const SessionCommand& command : commands) {
    if (const auto* c = std::get_if<Command>(&command)) found.push_back(*c);
  }
  return found;
}

std::string transcriptOf(const SessionCommands& commands) {
  std::string text;
  for (const TranscriptText& t : commandsOf<TranscriptText>(commands)) text += t.text;
  return text;
}

// The answer in two pieces, cut at `cut`, then the quiet that ends it.
SessionCommands answer(SendrakelSession& session, const std::string& bytes, std::size_t cut) {
  session.received(bytes.substr(0, cut));
  session.received(bytes.substr(cut));
  return session.timerFired(AnswerTimer);
}

std::string memoBRecords(const SendrakelSession& session) {
  std::string records;
  for (std::size_t at = 0; (at = session.view().memo1.find("\nB", at)) != std::string::npos; ++at) {
    records += 'B';
  }
  return records;
}

TEST(SendrakelSessionTest, StatusGivesPageCountAtEveryCutAndDrivesTheTrackProgress) {
  for (std::size_t cut = 0; cut <= StatusAnswer.size(); ++cut) {
    SendrakelSession session;
    session.readStatus();
    const SessionCommands end = answer(session, StatusAnswer, cut);
    ASSERT_EQ(session.pages(), 12) << cut;
    ASSERT_EQ(transcriptOf(end), StatusAnswer) << cut;
    ASSERT_EQ(session.view().label1, "Records ausgewertet: 3") << cut;
  }
  SendrakelSession session;
  session.readStatus();
  answer(session, StatusAnswer, 0);
  session.readTracks();
  session.received(std::string(3738, 'B'));
  EXPECT_TRUE(session.view().progressVisible);
  EXPECT_EQ(session.view().progress, 50);
  EXPECT_EQ(session.view().label1, "Bytes übertragen: 3738");
}

TEST(SendrakelSessionTest, ShortOrGarbledStatusLineGivesNoPageCount) {
  for (const std::string line : {"DATAFLASH USED 12", "dataflash used: 0000001x", "DATAFLASH USED: 00000007"}) {
    SendrakelSession session;
    session.readStatus();
    answer(session, line + "\r\n", 0);
    EXPECT_EQ(session.pages(), line.ends_with("7") ? 7 : 0) << line;
    EXPECT_THAT(session.view().memo1, HasSubstr(line));
  }
}

TEST(SendrakelSessionTest, TrackRequestGoesOutAt4800AndIsReadAtTheChosenSpeed) {
  SendrakelSession session;
  session.setSpeedIndex(2);
  const SessionCommands request = session.readTracks();
  ASSERT_EQ(request.size(), 5u);
  EXPECT_TRUE(std::holds_alternative<OpenPort>(request[0]));
  EXPECT_EQ(std::get<WriteBytes>(request[1]).bytes, "\n\r");
  EXPECT_EQ(std::get<WriteBytes>(request[2]).bytes, "$PSRK,IGC,2\r\n");
  EXPECT_EQ(std::get<StartTimer>(request[3]).milliseconds, 1500);
  EXPECT_EQ(std::get<StartTimer>(request[4]).timer, SpeedTimer);
  EXPECT_EQ(std::get<StartTimer>(request[4]).milliseconds, 100);
  EXPECT_FALSE(session.view().requestButtonsVisible);
  EXPECT_EQ(session.view().label1, "Warten auf Antwort von Sendrakel");

  const SessionCommands speedSwitch = session.timerFired(SpeedTimer);
  ASSERT_EQ(speedSwitch.size(), 4u);
  EXPECT_TRUE(std::holds_alternative<ClosePort>(speedSwitch[1]));
  EXPECT_EQ(std::get<SetBaudrate>(speedSwitch[2]).bitsPerSecond, 19200);
  EXPECT_TRUE(std::holds_alternative<OpenPort>(speedSwitch[3]));

  const SessionCommands received = session.received(test::loggerTrack(20));
  ASSERT_EQ(commandsOf<StartTimer>(received).size(), 1u);
  EXPECT_EQ(commandsOf<StartTimer>(received)[0].milliseconds, 100);
  const SessionCommands end = session.timerFired(AnswerTimer);
  ASSERT_EQ(commandsOf<SetBaudrate>(end).size(), 1u);
  EXPECT_EQ(commandsOf<SetBaudrate>(end)[0].bitsPerSecond, 4800);
  EXPECT_TRUE(session.view().saveButtonVisible);
  EXPECT_TRUE(session.view().requestButtonsVisible);
  // The next request needs no second opening and no line feed first.
  EXPECT_EQ(session.readStatus().size(), 2u);
}

TEST(SendrakelSessionTest, TrackTextGivesTheSameLinesAtEveryCut) {
  const std::string text = test::loggerTrack(8);
  SendrakelSession whole;
  whole.readTracks();
  answer(whole, text, 0);
  ASSERT_EQ(whole.lines().count, 18);
  for (std::size_t cut = 1; cut < text.size(); ++cut) {
    SendrakelSession session;
    session.readTracks();
    const SessionCommands end = answer(session, text, cut);
    ASSERT_EQ(session.lines().count, 18) << cut;
    ASSERT_EQ(session.lines().line[18], whole.lines().line[18]) << cut;
    ASSERT_EQ(transcriptOf(end), text) << cut;
    ASSERT_EQ(session.view().memo1, whole.view().memo1) << cut;
  }
}

TEST(SendrakelSessionTest, LongTrackTextShowsEveryKthRecordButTranscribesAll) {
  struct Case {
    int fixes;
    std::string label2;
    std::size_t shown;
  };
  // 37 bytes a fix: 1000 fixes are under 40000 bytes, 1100 above.
  for (const Case& c : {Case{400, "", 400}, Case{1100, "nur jeder 2. B-Record wird hier angezeigt!", 550},
                        Case{1500, "nur jeder 3. B-Record wird hier angezeigt!", 500}}) {
    const std::string text = test::loggerTrack(c.fixes);
    SendrakelSession session;
    session.readTracks();
    const SessionCommands end = answer(session, text, text.size() / 2);
    EXPECT_EQ(session.view().label2, c.label2) << c.fixes;
    EXPECT_EQ(memoBRecords(session).size(), c.shown) << c.fixes;
    EXPECT_EQ(transcriptOf(end), text);
    EXPECT_THAT(session.view().memo1, HasSubstr("GSRKFEDCBA9876543210"));
  }
}

TEST(SendrakelSessionTest, FewerThanSixteenLinesOfferNoFile) {
  SendrakelSession session;
  session.readTracks();
  answer(session, "ASRK001\r\nHFDTE150703\r\nB1\r\n", 0);
  EXPECT_EQ(session.lines().count, 3);
  EXPECT_FALSE(session.view().saveButtonVisible);
}

TEST(SendrakelSessionTest, SilentLoggerIsReportedAndTheButtonsComeBack) {
  SendrakelSession session;
  session.setSpeedIndex(4);
  session.readTracks();
  session.timerFired(SpeedTimer);
  const SessionCommands end = session.timerFired(AnswerTimer);
  EXPECT_EQ(session.view().memo1, "Sendrakel antwortet nicht!!!\n");
  EXPECT_EQ(commandsOf<SetBaudrate>(end)[0].bitsPerSecond, 4800);
  EXPECT_TRUE(session.view().requestButtonsVisible);
  EXPECT_FALSE(session.answerPending());
  EXPECT_TRUE(session.timerFired(AnswerTimer).empty());  // a stale expiry changes nothing
}

TEST(SendrakelSessionTest, TransferGoingOnAfterItsAnswerEndedIsDiscarded) {
  const std::string text = test::loggerTrack(40);
  SendrakelSession session;
  session.readTracks();
  answer(session, text.substr(0, 900), 0);
  EXPECT_TRUE(session.view().saveButtonVisible);
  answer(session, text.substr(900), 0);
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_EQ(session.lines().count, 0);
  EXPECT_THAT(session.view().message, HasSubstr("unterbrochen"));
  // An answer to the next request is an answer again.
  session.view().message.clear();
  session.readStatus();
  answer(session, StatusAnswer, 5);
  EXPECT_EQ(session.pages(), 12);
  EXPECT_TRUE(session.view().message.empty());
}

TEST(SendrakelSessionTest, MoreLinesThanTheTableHoldsAreRefusedNotDropped) {
  std::string text = test::loggerTrack(16);
  for (int k = 26; k <= MaxLines; ++k) text += "LSRK\r\n";
  SendrakelSession session;
  session.readTracks();
  const SessionCommands end = answer(session, text, 0);
  EXPECT_THAT(session.view().message, HasSubstr("mehr als 33000 Zeilen"));
  EXPECT_EQ(session.lines().count, 0);
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_EQ(transcriptOf(end), text);
}

TEST(SendrakelSessionTest, LostPortEndsTheRequestWithItsMessage) {
  SendrakelSession session;
  session.readTracks();
  session.received("ASRK001\r\nHFD");
  const SessionCommands lost = session.portFailed("Die Verbindung ist abgebrochen.");
  EXPECT_EQ(commandsOf<SetBaudrate>(lost)[0].bitsPerSecond, 4800);
  EXPECT_EQ(commandsOf<ClosePort>(lost).size(), 1u);  // a later request opens it anew
  EXPECT_EQ(session.view().message, "Die Verbindung ist abgebrochen.");
  EXPECT_TRUE(session.view().requestButtonsVisible);
  EXPECT_TRUE(session.view().portChoiceVisible);
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_TRUE(session.received("more").empty());
  EXPECT_TRUE(session.timerFired(SpeedTimer).empty());
  EXPECT_TRUE(std::holds_alternative<OpenPort>(session.readStatus()[0]));

  // Lost right after a track answer ended: that end may have been the loss.
  session.readTracks();
  answer(session, test::loggerTrack(20), 0);
  ASSERT_TRUE(session.view().saveButtonVisible);
  session.portFailed("Die Verbindung ist abgebrochen.");
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_EQ(session.lines().count, 0);
}

// The rest of a transfer arriving while a track is being chosen replaces
// the lines the list was made from: the list goes, nothing can be written.
TEST(SendrakelSessionTest, LateBytesTakeTheTrackListAway) {
  SendrakelSession session;
  session.readTracks();
  answer(session, test::loggerTrack(20), 0);
  session.showTrackList();
  session.tickTrack(0, true);
  answer(session, "B120000\r\n", 0);
  EXPECT_EQ(session.view().page, SendrakelView::Page::Transfer);
  EXPECT_TRUE(session.view().trackItems.empty());
  EXPECT_FALSE(session.view().doneVisible);
  session.view().page = SendrakelView::Page::TrackList;  // as a stale window might
  session.view().tickedTrack = 0;
  EXPECT_TRUE(session.writeFile(IgcHeaderValues{}, 0).error);
}

TEST(SendrakelSessionTest, OtherRequestsSendTheirSentences) {
  struct Case {
    SessionCommands (SendrakelSession::*request)();
    std::string sentence, memo;
    bool waits;
  };
  for (const Case& c : {Case{&SendrakelSession::readStatus, "$PSRK,STA\r\n", "", true},
                        Case{&SendrakelSession::deleteTracks, "$PSRK,DEL\r\n", "", true},
                        Case{&SendrakelSession::loggerOn, "$PSRK,ON\r\n", "Schalte Sendrakel ein / Reset\n", false},
                        Case{&SendrakelSession::loggerOff, "$PSRK,OFF\r\n", "Schalte Sendrakel aus\n", false}}) {
    SendrakelSession session;
    const SessionCommands sent = (session.*c.request)();
    EXPECT_EQ(commandsOf<WriteBytes>(sent).back().bytes, c.sentence);
    EXPECT_EQ(session.view().memo1, c.memo);
    EXPECT_EQ(session.answerPending(), c.waits) << c.sentence;
    EXPECT_EQ(session.view().requestButtonsVisible, !c.waits);
    EXPECT_TRUE(commandsOf<StartTimer>(sent).size() == (c.waits ? 1u : 0u));
  }
}

TEST(SendrakelSessionTest, TrackListNamesEachTrackAndOneTickStays) {
  SendrakelSession session;
  session.readTracks();
  answer(session, test::loggerTrack(5) + test::loggerTrack(3700, "160703"), 0);
  session.showTrackList();
  EXPECT_THAT(session.view().trackItems,
              ::testing::ElementsAre("Track 1 15.07.2003 10:00:00 - 10:00:04 UTC 5 Punkte",
                                     "Track 2 16.07.2003 10:00:00 - 11:01:39 UTC 3700 Punkte"));
  session.tickTrack(0, true);
  session.tickTrack(1, true);
  EXPECT_EQ(session.view().tickedTrack, 1);
  EXPECT_TRUE(session.view().doneVisible);
  session.tickTrack(1, false);
  EXPECT_FALSE(session.view().doneVisible);
  session.tickTrack(7, true);
  EXPECT_FALSE(session.view().tickedTrack.has_value());
}

}  // namespace
}  // namespace quorvanta::sendrakel
