#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/MainWindow.h"
#include "app/SendrakelSettingsWindow.h"
#include "app/SendrakelWindow.h"
#include "devices/sim/SendrakelUnit.h"
#include "flight/GRecord.h"
#include "support/PlausibleHeader.h"

namespace quorvanta {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using namespace test;
using Behaviour = sim::SendrakelUnit::Behaviour;

// Two tracks of a real flight: its first 300 fixes, then all of them.
std::vector<std::string> loggerTracks() {
  const auto path = realFlight("flaretiming_Brad-Porter.20180104-095852.36822.34.igc");
  return {sim::sendrakelTrack(path, 300), sim::sendrakelTrack(path)};
}

// The simulated logger on a pseudo-terminal, the real port layer and the
// windows driven through their buttons.
class SendrakelWindowTest : public DownloadWindowsTest {
 protected:
  void SetUp() override {
    plugIn(line);
    settings.writeString("Sendra", "Filename Sendra", transcript);
    dialogs.headerAnswers = {plausibleHeader(scratch.path()), plausibleHeader(scratch.path())};
  }

  void plugIn(sim::PtyInstrument& into) { settings.writeString("Serial", "COM1", into.slavePath()); }

  static void request(SendrakelWindow& window, const char* button) {
    click(window, button);
    ASSERT_TRUE(processUntil([&] { return !window.session().answerPending(); }));
  }

  // "igc-File speichern", track `row` ticked, the names taken or not, "Fertig".
  static void writeTrack(SendrakelWindow& window, int row, bool takeNames) {
    click(window, "ButtonAuswertung");
    auto* tracks = window.findChild<QListWidget*>("CheckListBoxTrack");
    ASSERT_EQ(tracks->count(), 2);
    tracks->item(1 - row)->setCheckState(Qt::Checked);
    tracks->item(row)->setCheckState(Qt::Checked);
    EXPECT_EQ(tracks->item(1 - row)->checkState(), Qt::Unchecked);  // one ticked at most
    if (!takeNames) QTest::mouseClick(window.findChild<QCheckBox*>("CheckBoxNamen"), Qt::LeftButton);
    EXPECT_EQ(shown(window, "Memo2"), !takeNames);
    if (!takeNames) save(window, "sendrakel-track-list");
    click(window, "ButtonFertig");
  }

  sim::SendrakelUnit unit{loggerTracks()};
  sim::PtyInstrument& line = unit.plugIn();
  const std::string transcript = scratch.write("SRKlog.txt", "old");
};

TEST_F(SendrakelWindowTest, StatusThenTracksThenBothKindsOfFile) {
  FlightRecord record;
  SendrakelWindow window(record, settings, dialogs);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Sendrakel auslesen für Quorvanta   Vers. 3.2");
  request(window, "ButtonBAT");
  EXPECT_THAT(text(window, "Memo1"), HasSubstr("DATAFLASH USED"));
  EXPECT_GT(window.session().pages(), 0);
  EXPECT_FALSE(shown(window, "RadioButton1"));  // the port stays open from now on

  const auto speeds = window.findChild<QWidget*>("RadioGroup1")->findChildren<QRadioButton*>();
  ASSERT_EQ(speeds.size(), 5);
  QTest::mouseClick(speeds[2], Qt::LeftButton);
  EXPECT_EQ(settings.readString("Sendra", "COM Speed", ""), "2");
  request(window, "ButtonStart");
  EXPECT_THAT(unit.sentences(), ::testing::ElementsAre("$PSRK,STA", "$PSRK,IGC,2"));
  EXPECT_THAT(text(window, "Label1"), StartsWith("Records ausgewertet: "));
  EXPECT_THAT(text(window, "Memo1"), HasSubstr("GSRK8796B4D2E1F0C3A5"));
  EXPECT_EQ(window.port().UserBaudrate(), 4800);
  save(window, "sendrakel-tracks-read");

  writeTrack(window, 1, true);
  ASSERT_TRUE(record.DownloadDone);
  EXPECT_EQ(dialogs.headerAskedFromFlightRecorder, std::vector<bool>{true});
  const std::string kept = fileContent(record.DownloadedFile);
  EXPECT_THAT(kept, EndsWith("GSRK8796B4D2E1F0C3A5\r\n"));  // the logger's signature
  EXPECT_THAT(kept, HasSubstr("HFPLTPILOT: Logger Pilot"));
  EXPECT_EQ(text(window, "Label1"), "igc-File geschrieben (signiert) " + record.DownloadedFile);

  const std::string first = record.DownloadedFile;
  writeTrack(window, 0, false);
  EXPECT_EQ(dialogs.headerAskedFromFlightRecorder, (std::vector<bool>{true, false}));
  EXPECT_NE(record.DownloadedFile, first);
  const std::string own = fileContent(record.DownloadedFile);
  EXPECT_EQ(verifyGRecord(own), GRecordCheck::Valid);
  EXPECT_THAT(own, Not(HasSubstr("GSRK")));
  EXPECT_THAT(own, Not(HasSubstr("Logger Pilot")));
  EXPECT_EQ(std::count(own.begin(), own.end(), '\n'), 300 + 13);
  save(window, "sendrakel-file-written");
  EXPECT_THAT(fileContent(transcript), HasSubstr("GSRK8796B4D2E1F0C3A5"));
  click(window, "OKButton");
  EXPECT_FALSE(window.port().IsOpen());
}

TEST_F(SendrakelWindowTest, MainWindowLoadsTheDownloadedTrack) {
  MainWindow window(dialogs);
  window.show();
  withModalWindow([&] { window.menus().downloads[4]->trigger(); }, [&](QWidget& open) {
    auto& sendrakel = static_cast<SendrakelWindow&>(open);
    request(sendrakel, "ButtonStart");
    writeTrack(sendrakel, 0, true);
    click(sendrakel, "OKButton");
  });
  EXPECT_EQ(window.record().FixCount, 300);
  EXPECT_FALSE(window.record().DownloadDone);
  EXPECT_FALSE(window.menus().downloads[4]->isEnabled());
  EXPECT_TRUE(window.menus().calculate->isEnabled());
}

// The settings window runs longer than withModalWindow allows: 67 writes of
// at least 75 ms each.
void driveSettings(SendrakelSettingsWindow& settingsWindow, SendrakelWindow& download,
                   FakeDialogs& dialogs, sim::SendrakelUnit& unit) {
  EXPECT_FALSE(download.port().IsOpen());  // the settings window has the line
  settingsWindow.findChild<QLineEdit*>("Edit1")->setText("Max");
  settingsWindow.findChild<QLineEdit*>("Edit2")->setText("Nova Ion 6");
  settingsWindow.findChild<QLineEdit*>("Edit3")->setText("D-1234");
  settingsWindow.findChild<QSpinBox*>("SpinEdit1")->setValue(5);
  settingsWindow.findChild<QSpinBox*>("SpinEdit2")->setValue(20);
  settingsWindow.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
  dialogs.questionAnswers = {true};
  click(settingsWindow, "ButtonSend");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !settingsWindow.session().sending(); }, 20000));
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr("LCD wirklich aktiviert"));
  EXPECT_EQ(settingsWindow.session().written(), 67);
  EXPECT_EQ(unit.setWrites(), 67);
  EXPECT_EQ(text(settingsWindow, "Label11"), "Antwort von Sendrakel: OK 00EF");
  save(settingsWindow, "sendrakel-settings");
  click(settingsWindow, "ButtonOK");
}

TEST_F(SendrakelWindowTest, SettingsAndDeleteReachTheLogger) {
  FlightRecord record;
  SendrakelWindow window(record, settings, dialogs);
  window.show();
  request(window, "ButtonBAT");

  dialogs.questionAnswers = {false};
  click(window, "ButtonDel");
  EXPECT_EQ(dialogs.asked.back().title, "Löschen bestätigen");
  EXPECT_EQ(dialogs.asked.back().text, "Sollen alle Trackdaten im Logger wirklich gelöscht werden?");
  EXPECT_EQ(unit.sentences().size(), 1u);
  dialogs.questionAnswers = {true};
  request(window, "ButtonDel");
  EXPECT_EQ(unit.sentences().back(), "$PSRK,DEL");
  EXPECT_THAT(text(window, "Memo1"), HasSubstr("ALL TRACKS DELETED"));

  QTimer::singleShot(0, [&] {
    if (auto* open = qobject_cast<SendrakelSettingsWindow*>(QApplication::activeModalWidget())) {
      driveSettings(*open, window, dialogs, unit);
    }
    while (QWidget* left = QApplication::activeModalWidget()) left->close();
  });
  click(window, "ButtonSet");
  std::string memory(0x40, '?');
  for (const auto& [address, value] : unit.settingsMemory()) {
    if (address < 0x40) memory[static_cast<std::size_t>(address)] = static_cast<char>(value);
  }
  EXPECT_EQ(memory, "Max             Nova Ion 6      D-1234          not set         ");
  EXPECT_EQ(unit.settingsMemory()[0xCF], 5);
  EXPECT_EQ(unit.settingsMemory()[0xDF], 20);
  EXPECT_EQ(unit.settingsMemory()[0xEF], 0xFF);
  EXPECT_EQ(settings.readString("Sendra", "setPLT", ""), "Max");
  EXPECT_EQ(settings.readString("Sendra", "setLCD", ""), "TRUE");
  ASSERT_TRUE(processUntil([&] { return unit.sentences().back() == "$PSRK,ON"; }));
  EXPECT_THAT(text(window, "Memo1"), HasSubstr("Schalte Sendrakel ein / Reset"));
  EXPECT_TRUE(window.port().IsOpen());
}

// Each fault shows its text, leaves nothing to save, and the next request works.
TEST_F(SendrakelWindowTest, FaultyLoggerLeavesAUsableWindow) {
  const struct {
    Behaviour behaviour;
    sim::PtyInstrument::Options options;
    const char* text;  // in Memo1, and in a message unless the logger was silent
  } cases[] = {
      {Behaviour::Silent, {}, "Sendrakel antwortet nicht!!!"},
      {Behaviour::Normal, {0, 300 + 2000, std::chrono::milliseconds(400)}, "unterbrochen"},
      {Behaviour::Vanish, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.behaviour));
    sim::SendrakelUnit faulty{loggerTracks()}, spare{loggerTracks()};
    faulty.setBehaviour(c.behaviour);
    sim::PtyInstrument& faultyLine = faulty.plugIn(c.options);
    plugIn(faultyLine);
    dialogs.asked.clear();
    FlightRecord record;
    SendrakelWindow window(record, settings, dialogs);
    window.show();
    click(window, "ButtonStart");
    const std::string expected = *c.text ? c.text : faultyLine.slavePath();
    ASSERT_TRUE(processUntil([&] {
      return text(window, "Memo1").find(expected) != std::string::npos && !window.session().answerPending();
    }));
    if (c.behaviour != Behaviour::Silent) {
      ASSERT_FALSE(dialogs.asked.empty());
      EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(expected));
    }
    QTest::qWait(300);  // nothing late may make the broken track saveable
    EXPECT_FALSE(shown(window, "ButtonAuswertung"));
    EXPECT_TRUE(shown(window, "ButtonStart"));
    if (c.behaviour == Behaviour::Vanish) {
      EXPECT_TRUE(shown(window, "RadioButton1"));
      plugIn(spare.plugIn());
    } else {
      faulty.setBehaviour(Behaviour::Normal);
    }
    request(window, "ButtonBAT");
    EXPECT_THAT(text(window, "Memo1"), HasSubstr("DATAFLASH USED"));
    EXPECT_FALSE(record.DownloadDone);
  }
  expectNoIgcFile();
}

}  // namespace
}  // namespace quorvanta
