#include <filesystem>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/GarminWindow.h"
#include "app/MainWindow.h"
#include "devices/sim/GarminUnit.h"
#include "devices/sim/PtyInstrument.h"
#include "flight/FileContent.h"
#include "support/PlausibleHeader.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace test;

// The simulated unit on a pseudo-terminal, the real port layer, the window
// driven through its buttons, and the header details answered by the test.
class GarminDownloadTest : public DownloadWindowsTest {
 protected:
  GarminDownloadTest()
      : unit(sim::loadScripts({sim::recordedScriptDir() / "product-d301.txt",
                               sim::recordedScriptDir() / "tracklog-d301.txt"})),
        instrument(unit) {}

  void SetUp() override {
    useDevice(instrument.slavePath(), scratch.write("garmin.txt", "old"));
    dialogs.headerAnswers = {plausibleHeader(scratch.path())};
  }

  // Product data, track log, every track ticked, then "Fertig".
  void download(GarminWindow& window) {
    click(window, "Button2");
    ASSERT_TRUE(processUntil([&] { return window.session().productKnown(); }));
    click(window, "Button3");
    ASSERT_TRUE(processUntil([&] { return window.session().trackLogComplete(); }));
    save(window, "garmin-track-log");
    click(window, "Auswertung");
    auto* tracks = window.findChild<QListWidget*>("CheckListBoxTrack");
    ASSERT_GT(tracks->count(), 1);
    for (int row = 0; row < tracks->count(); ++row) tracks->item(row)->setCheckState(Qt::Checked);
    click(window, "ButtonWeiter");
    points = window.findChild<QListWidget*>("CheckListBoxPunkte")->count();
    save(window, "garmin-point-list");
    click(window, "ButtonFertig");
  }

  sim::GarminUnit unit;
  sim::PtyInstrument instrument;
  int points = 0;
};

TEST_F(GarminDownloadTest, WindowWritesTheSignedFile) {
  FlightRecord record;
  GarminWindow window(record, settings, dialogs);
  window.resize(900, 620);
  window.show();
  download(window);
  ASSERT_TRUE(record.DownloadDone);
  EXPECT_EQ(dialogs.headerAskedFromFlightRecorder, std::vector<bool>{false});
  EXPECT_TRUE(std::filesystem::exists(record.DownloadedFile));
  EXPECT_EQ(std::filesystem::path(record.DownloadedFile).parent_path(), scratch.path());
  EXPECT_EQ(settings.readString("Dateien", "Filename IGC", ""), record.DownloadedFile);
  EXPECT_THAT(window.findChild<QLabel*>("Label4")->text().toStdString(),
              StartsWith("igc-File geschrieben (signiert) "));
  save(window, "garmin-file-written");
  std::string log;
  ASSERT_FALSE(readWholeFile((scratch.path() / "garmin.txt").string(), log));
  EXPECT_THAT(log, HasSubstr("TRK: "));
}

TEST_F(GarminDownloadTest, MainWindowLoadsTheDownloadedFlight) {
  MainWindow window(dialogs);
  window.show();
  withModalWindow([&] { window.menus().downloads[0]->trigger(); },
                  [&](QWidget& open) { download(static_cast<GarminWindow&>(open)); });
  ASSERT_GT(points, 0);
  EXPECT_EQ(window.record().FixCount, points);
  EXPECT_FALSE(window.record().DownloadDone);
  EXPECT_TRUE(window.record().SignOnSave);  // straight from the instrument: saved signed
  EXPECT_TRUE(window.menus().openTrack->isEnabled());
  EXPECT_FALSE(window.menus().downloads[0]->isEnabled());
  EXPECT_TRUE(window.menus().calculate->isEnabled());
}

TEST_F(GarminDownloadTest, CancelledHeaderWritesNothing) {
  dialogs.headerAnswers = {std::nullopt};
  FlightRecord record;
  GarminWindow window(record, settings, dialogs);
  window.show();
  download(window);
  EXPECT_FALSE(record.DownloadDone);
  EXPECT_TRUE(window.findChild<QPushButton*>("Auswertung")->isVisible());
  EXPECT_FALSE(window.findChild<QListWidget*>("CheckListBoxPunkte")->isVisible());
  expectNoIgcFile();
}

TEST_F(GarminDownloadTest, UnpluggedUnitEndsTheTransferWithAMessage) {
  sim::GarminUnit unplugged(sim::loadScripts({sim::recordedScriptDir() / "product-d301.txt",
                                              sim::recordedScriptDir() / "tracklog-d301.txt"}));
  unplugged.closeAfterBytes(600);
  sim::PtyInstrument line(unplugged);
  useDevice(line.slavePath(), scratch.write("unplugged.txt", ""));
  FlightRecord record;
  GarminWindow window(record, settings, dialogs);
  window.show();
  click(window, "Button2");
  ASSERT_TRUE(processUntil([&] { return window.session().productKnown(); }));
  click(window, "Button3");
  ASSERT_TRUE(processUntil([&] { return !dialogs.asked.empty(); }));
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(line.slavePath()));
  ASSERT_TRUE(processUntil([&] { return !window.port().IsOpen(); }));
  EXPECT_TRUE(window.findChild<QComboBox*>("ComboBoxCom")->isVisible());
  EXPECT_TRUE(window.findChild<QPushButton*>("Button2")->isVisible());
  EXPECT_FALSE(record.DownloadDone);
}

}  // namespace
}  // namespace quorvanta
