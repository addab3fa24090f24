#include <QRadioButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/GalileoWindow.h"
#include "app/MainWindow.h"
#include "devices/sim/GalileoUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/FileContent.h"
#include "flight/GRecord.h"
#include "flight/TextLines.h"
#include "support/PlausibleHeader.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace test;

const char* const Flight = "xcscore_tri.igc";

// The simulated Galileo on a pseudo-terminal, the real port layer and the
// window driven through its buttons.
class GalileoDownloadTest : public DownloadWindowsTest {
 protected:
  void plugIn(sim::GalileoUnit& unit, sim::PtyInstrument::Options options = {}) {
    instrument = std::make_unique<sim::PtyInstrument>(unit, options);
    settings.writeString("Serial", "COM1", instrument->slavePath());
    settings.writeString("Galileo", "COM Port", "1");
    settings.writeString("Galileo", "Filename Galileo", logPath);
    dialogs.headerAnswers = {plausibleHeader(scratch.path())};
  }

  // "Track auslesen", then the answer's end.
  static void readTrack(GalileoWindow& window, int answers = 1) {
    click(window, "ButtonStart");
    ASSERT_TRUE(processUntil([&] { return window.session().answersEvaluated() >= answers; }));
  }

  const std::vector<std::string> track = sim::flightFileLines(realFlight(Flight));
  const std::string logPath = scratch.write("galileo.txt", "old");
  std::unique_ptr<sim::PtyInstrument> instrument;
};

TEST_F(GalileoDownloadTest, UnsignedTrackIsWrittenSignedAndLogged) {
  sim::GalileoUnit unit(track, sim::GalileoUnit::Behaviour::NoGRecord);
  plugIn(unit);
  FlightRecord record;
  GalileoWindow window(record, settings, dialogs);
  window.show();
  EXPECT_TRUE(window.findChild<QRadioButton*>("RadioButton1")->isChecked());
  readTrack(window);
  EXPECT_EQ(unit.sentences(), std::vector<std::string>{"$PBRIGC,*21"});
  click(window, "ButtonAuswertung");
  ASSERT_TRUE(record.DownloadDone);
  EXPECT_EQ(dialogs.headerAskedFromFlightRecorder, std::vector<bool>{true});
  const std::string content = fileContent(record.DownloadedFile);
  EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
  EXPECT_EQ(text(window, "Label1"), "igc-File geschrieben (G-Record hinzugefügt) " + record.DownloadedFile);
  EXPECT_FALSE(shown(window, "Memo1"));
  save(window, "galileo-file-written");
  click(window, "OKButton");
  EXPECT_EQ(fileContent(logPath), unit.trackAnswer());  // every line once, nothing else
}

TEST_F(GalileoDownloadTest, MainWindowLoadsTheTrackWithTheInstrumentsGRecord) {
  sim::GalileoUnit unit(track);
  plugIn(unit);
  MainWindow window(dialogs);
  window.show();
  ASSERT_TRUE(window.menus().downloads[3]->isEnabled());
  withModalWindow([&] { window.menus().downloads[3]->trigger(); },
                  [&](QWidget& open) {
                    auto& galileo = static_cast<GalileoWindow&>(open);
                    readTrack(galileo);
                    save(galileo, "galileo-track-read");
                    click(galileo, "ButtonAuswertung");
                    EXPECT_THAT(text(galileo, "Label1"),
                                StartsWith("igc-File geschrieben (G-Record bereits vorhanden) "));
                  });
  int fixes = 0;
  for (const std::string& line : track) fixes += line.starts_with('B');
  EXPECT_EQ(window.record().FixCount, fixes);
  EXPECT_FALSE(window.menus().downloads[3]->isEnabled());
}

TEST_F(GalileoDownloadTest, SilentInstrumentLeavesAUsableWindow) {
  sim::GalileoUnit unit(track, sim::GalileoUnit::Behaviour::Silent);
  plugIn(unit);
  FlightRecord record;
  GalileoWindow window(record, settings, dialogs);
  window.show();
  readTrack(window);
  EXPECT_EQ(text(window, "Memo1"), "Galileo antwortet nicht!\n");
  EXPECT_FALSE(shown(window, "ButtonAuswertung"));
  click(window, "ButtonSN");  // the buttons are back
  ASSERT_TRUE(processUntil([&] { return window.session().answersEvaluated() == 2; }));
  EXPECT_FALSE(record.DownloadDone);
  expectNoIgcFile();
}

// The first half second of quiet ends the answer; what follows continues it,
// and the track is then written whole.
TEST_F(GalileoDownloadTest, PauseMidAnswerShowsThePartThenTheWhole) {
  sim::GalileoUnit unit(track, sim::GalileoUnit::Behaviour::NoDate);
  sim::PtyInstrument::Options pause;
  pause.pauseAfterBytes = 3000;
  pause.pauseFor = std::chrono::milliseconds(900);
  plugIn(unit, pause);
  FlightRecord record;
  GalileoWindow window(record, settings, dialogs);
  window.show();
  readTrack(window);
  EXPECT_LT(window.session().lines().size(), track.size());
  ASSERT_TRUE(processUntil([&] { return window.session().answersEvaluated() == 2; }));
  EXPECT_EQ(window.session().lines().size(), track.size() - 1);
  click(window, "ButtonAuswertung");  // refused: this answer has no date
  ASSERT_FALSE(dialogs.asked.empty());
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr("HFDTE"));
  EXPECT_TRUE(dialogs.headerAskedFromFlightRecorder.empty());
  EXPECT_FALSE(record.DownloadDone);
  expectNoIgcFile();
  click(window, "OKButton");
  EXPECT_EQ(fileContent(logPath), unit.trackAnswer());
}

TEST_F(GalileoDownloadTest, VanishedInstrumentGivesAMessageAndTheButtonsBack) {
  sim::GalileoUnit unit(track);
  unit.unplugAfterBytes(5000);
  plugIn(unit);
  FlightRecord record;
  GalileoWindow window(record, settings, dialogs);
  window.show();
  click(window, "ButtonStart");
  ASSERT_TRUE(processUntil([&] { return !dialogs.asked.empty(); }));
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(instrument->slavePath()));
  ASSERT_TRUE(processUntil([&] { return !window.port().IsOpen(); }));
  EXPECT_TRUE(shown(window, "RadioButton1"));
  EXPECT_TRUE(shown(window, "ButtonStart"));
  EXPECT_FALSE(record.DownloadDone);
  expectNoIgcFile();
}

}  // namespace
}  // namespace quorvanta
