#include "devices/galileo/GalileoSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/SessionCommandsText.h"

namespace quorvanta::galileo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A short track as the instrument answers it.
const std::vector<std::string> TrackLines = {
    "AXBRGalileo", "HFDTE070803", "HFPLTPILOT:Hans Lange", "B1101355206343N00006198WA0058700558",
    "B1101455206300N00006100WA0059000560", "GBRAEUNIGER0123456789ABCDEF"};

std::string answerOf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

using test::transcript;
using test::written;

TEST(GalileoCommand, EachSentenceCarriesTheXorOfItsCharactersAfterTheDollar) {
  EXPECT_EQ(commandText("$PBRSNP,"), "$PBRSNP,*21\r\n");
  EXPECT_EQ(commandText("$PBRIGC,"), "$PBRIGC,*21\r\n");
  EXPECT_EQ(commandText("$PBRWPS,"), "$PBRWPS,*38\r\n");
  EXPECT_EQ(commandText("$PBRRTS,"), "$PBRRTS,*39\r\n");
  EXPECT_EQ(commandText("$A,"), "$A,*6D\r\n");  // upper-case hexadecimal digits
}

TEST(GalileoCommand, LineErrorsAreListedInTheWindowsOrder) {
  EXPECT_THAT(lineErrorLines(0x0001 | 0x0010 | 0x0008 | 0x0100),
              ElementsAre("The hardware detected a break condition.",
                          "The hardware detected a framing error.",
                          "An input buffer overflow has occurred.", "Transmit buffer overflow."));
  EXPECT_TRUE(lineErrorLines(0).empty());
}

class GalileoSessionTest : public ::testing::Test {
 protected:
  SessionCommands trackAnswered(std::string_view bytes) {
    session.readTrack();
    session.received(bytes);
    return session.timerFired(AnswerTimer);
  }
  GalileoSession session;
};

TEST_F(GalileoSessionTest, FirstCommandOpensThePortAndLaterOnesOnlySend) {
  const SessionCommands first = session.readSerialNumber();
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(std::holds_alternative<OpenPort>(first[0]));
  EXPECT_THAT(written(first), ElementsAre("\n\r", "$PBRSNP,*21\r\n"));
  EXPECT_FALSE(session.view().portChoiceVisible);
  EXPECT_TRUE(session.view().showRxVisible);
  EXPECT_FALSE(session.view().commandButtonsVisible);
  EXPECT_EQ(session.view().status, "Warten auf Antwort von Bräuniger Galileo");
  session.timerFired(AnswerTimer);
  EXPECT_THAT(written(session.readWaypoints()), ElementsAre("$PBRWPS,*38\r\n"));
  session.timerFired(AnswerTimer);
  EXPECT_THAT(written(session.readRoutes()), ElementsAre("$PBRRTS,*39\r\n"));
}

TEST_F(GalileoSessionTest, SilenceAfterACommandSaysTheInstrumentDoesNotAnswer) {
  session.readTrack();
  session.timerFired(AnswerTimer);
  EXPECT_EQ(session.view().memo, "Galileo antwortet nicht!\n");
  EXPECT_TRUE(session.view().commandButtonsVisible);
  EXPECT_FALSE(session.view().saveButtonVisible);
}

// Every cut of the stream into two reads, a CR LF split between them
// included, yields the same whole lines.
TEST_F(GalileoSessionTest, EveryCutOfTheAnswerGivesTheSameLines) {
  const std::string bytes = answerOf(TrackLines);
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    GalileoSession split;
    split.readTrack();
    split.received(bytes.substr(0, cut));
    split.received(bytes.substr(cut));
    const SessionCommands done = split.timerFired(AnswerTimer);
    ASSERT_EQ(split.lines(), TrackLines) << cut;
    ASSERT_EQ(transcript(done), bytes) << cut;
  }
}

TEST_F(GalileoSessionTest, TrackAnswerIsShownLoggedAndOffersTheSaveButton) {
  session.readTrack();
  session.received("AXBRGalileo\r");
  EXPECT_EQ(session.view().status, "Bytes im Puffer: 12");
  EXPECT_TRUE(session.lines().empty());
  session.received("\nHFDTE070803\r\n");
  EXPECT_EQ(session.view().status, "Bytes im Puffer: 26");  // counted before the lines are taken
  EXPECT_EQ(session.view().memo, "");  // ShowRx not ticked
  const SessionCommands done = session.timerFired(AnswerTimer);
  EXPECT_EQ(transcript(done), "AXBRGalileo\r\nHFDTE070803\r\n");
  EXPECT_EQ(session.view().memo, "AXBRGalileo\nHFDTE070803\n");
  EXPECT_TRUE(session.view().saveButtonVisible);
  EXPECT_TRUE(session.view().commandButtonsVisible);

  session.readSerialNumber();  // the track's lines and its save button are gone
  EXPECT_FALSE(session.view().saveButtonVisible);
  session.received("GALILEO SN 1234\r\n");
  session.timerFired(AnswerTimer);
  EXPECT_FALSE(session.view().saveButtonVisible);
  EXPECT_EQ(session.view().memo, "GALILEO SN 1234\n");
}

TEST_F(GalileoSessionTest, BytesAfterTheEvaluationContinueTheAnswerAndAreLoggedOnce) {
  const std::string bytes = answerOf(TrackLines);
  trackAnswered(bytes.substr(0, 30));
  session.received(bytes.substr(30));
  const SessionCommands done = session.timerFired(AnswerTimer);
  EXPECT_EQ(session.lines(), TrackLines);
  EXPECT_EQ(transcript(done), answerOf({TrackLines.begin() + 2, TrackLines.end()}));
  EXPECT_TRUE(session.view().saveButtonVisible);
}

TEST_F(GalileoSessionTest, TextAreaKeepsAtMostAThousandCharactersDroppingWholeLines) {
  session.setShowRx(true);
  session.readWaypoints();
  std::string bytes;
  for (int k = 0; k < 100; ++k) bytes += "WPT" + std::to_string(1000 + k) + " 47.1234 11.5678\r\n";
  session.received(bytes);
  const std::string& memo = session.view().memo;
  EXPECT_LE(memo.size(), MemoLimit);
  EXPECT_GT(memo.size(), MemoLimit - 30);
  EXPECT_TRUE(memo.starts_with("WPT")) << memo;
  EXPECT_TRUE(memo.ends_with("WPT1099 47.1234 11.5678\n"));
  session.timerFired(AnswerTimer);
  EXPECT_TRUE(session.view().memo.ends_with("WPT1099 47.1234 11.5678\n"));
}

TEST_F(GalileoSessionTest, MoreLinesThanTheTableHoldsAreRefused) {
  std::string bytes = answerOf({"AXBR", "HFDTE070803"});
  for (int k = 0; k < MaxLines; ++k) bytes += "B1101355206343N00006198WA0058700558\r\n";
  trackAnswered(bytes);
  EXPECT_EQ(session.lines().size(), static_cast<std::size_t>(MaxLines));
  ASSERT_TRUE(session.trackRefusal());
  EXPECT_THAT(*session.trackRefusal(), HasSubstr("mehr als 17000 Zeilen"));
  EXPECT_TRUE(session.view().memo.ends_with(*session.trackRefusal() + "\n"));
  EXPECT_TRUE(session.writeFile({}, 0).error);
}

TEST_F(GalileoSessionTest, LineErrorsAndALostPortAreShown) {
  session.readTrack();
  session.lineErrors(0x0002);
  EXPECT_EQ(session.view().memo,
            "A character-buffer overrun has occurred. The next character is lost.\n");
  const SessionCommands lost = session.portFailed("Die Verbindung ist abgebrochen.");
  EXPECT_TRUE(std::holds_alternative<ClosePort>(lost.back()));
  EXPECT_EQ(session.view().message, "Die Verbindung ist abgebrochen.");
  EXPECT_TRUE(session.view().portChoiceVisible);
  EXPECT_TRUE(session.view().commandButtonsVisible);
  EXPECT_TRUE(session.received("late\r\n").empty());
  EXPECT_TRUE(std::holds_alternative<OpenPort>(session.readTrack()[0]));  // opened anew
}

}  // namespace
}  // namespace quorvanta::galileo
