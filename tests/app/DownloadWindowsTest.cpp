#include <filesystem>

#include <QComboBox>
#include <QLabel>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/GarminWindow.h"
#include "app/MainWindow.h"
#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace test;

TEST_F(DownloadWindowsTest, OnlyCommandsWithAWindowAreOfferedAtStart) {
  MainWindow window(dialogs);
  const MainMenus& m = window.menus();
  EXPECT_EQ(m.downloads[0]->text().toStdString(), "Garmin GPS");
  EXPECT_EQ(m.downloads[1]->text().toStdString(), "MLR und Log_it!");
  for (QAction* command : m.downloads) EXPECT_TRUE(command->isEnabled()) << command->text().toStdString();
  for (QAction* vario : m.varioDownloads) EXPECT_FALSE(vario->isEnabled());
}

TEST_F(DownloadWindowsTest, DownloadCommandsAreOffWhileAWindowIsOpenAndAfterALoad) {
  MainWindow window(dialogs);
  const MainMenus& m = window.menus();
  bool sawWindow = false;
  withModalWindow([&] { m.downloads[0]->trigger(); },
                  [&](QWidget& open) {
                    sawWindow = open.windowTitle() == "Quorvanta: Garmin GPS Track lesen";
                    for (QAction* command : m.downloads) EXPECT_FALSE(command->isEnabled());
                  });
  EXPECT_TRUE(sawWindow);
  EXPECT_TRUE(m.downloads[0]->isEnabled());  // closed without a flight
  EXPECT_EQ(window.record().FixCount, 0);

  const auto track = test::generateTrack({.fixCount = 100, .seed = 3});
  window.openFromCommandLine(QString::fromStdString(scratch.write("f.igc", test::igcFile(track))));
  EXPECT_FALSE(m.downloads[0]->isEnabled());
}

TEST_F(DownloadWindowsTest, VariometerBarogramIsMergedAndNamesItsSensor) {
  MainWindow window(dialogs);
  auto track = test::generateTrack({.fixCount = 200, .seed = 5, .intervalSeconds = 1});
  for (auto& fix : track) fix.pressureAlt = fix.gpsAlt = 0;
  std::string file = test::igcFile(track);
  file.insert(file.find("\r\nB") + 2, "HOSITSite: Wasserkuppe\r\n");
  window.openFromCommandLine(QString::fromStdString(scratch.write("f.igc", file)));
  ASSERT_EQ(window.record().FixCount, 200);
  window.variometerWindowClosed(Variometer::Flytec40xx);  // no barogram: nothing happens
  EXPECT_EQ(window.record().ExtraHeaderLine, "");
  EXPECT_FALSE(window.menus().saveIgc->isEnabled());

  BarographBuffer& buffer = window.barograph();
  buffer.BaroStart = window.record().FixTime[1] - 10.0 / 86400;
  buffer.BaroInterval = 1.0 / 86400;
  buffer.BaroCount = 400;
  for (int k = 1; k <= buffer.BaroCount; ++k) buffer.BaroAlt[k] = static_cast<std::int16_t>(500 + k);
  buffer.BaroSerial = 4711;
  window.variometerWindowClosed(Variometer::Flytec40xx);
  EXPECT_EQ(window.record().ExtraHeaderLine, "HFPRSPRESSUREALTSENSOR: Flytec 40XX, S/N 4711");
  EXPECT_EQ(window.record().FixAlt[1], 510);  // 10 intervals after the start
  EXPECT_TRUE(window.menus().saveIgc->isEnabled());
  EXPECT_TRUE(window.menus().timeShift->isEnabled());
  EXPECT_FALSE(window.record().SignOnSave);  // unchanged: the file had no security record

  window.variometerWindowClosed(Variometer::BraeunigerIq);
  EXPECT_EQ(window.record().ExtraHeaderLine,
            "HFPRSPRESSUREALTSENSOR: Bräuniger IQ-Serie, S/N 4711");
  const QString target = QString::fromStdString((scratch.path() / "merged").string());
  dialogs.fileAnswers = {target};
  window.menus().saveIgc->trigger();
  std::string saved;
  ASSERT_FALSE(readWholeFile(target.toStdString() + ".igc", saved));
  EXPECT_THAT(saved, HasSubstr("HFPRSPRESSUREALTSENSOR: Bräuniger IQ-Serie, S/N 4711\r\n"
                               "HOSITSite: Wasserkuppe\r\n"));
}

TEST_F(DownloadWindowsTest, GarminWindowStartsWithItsGuideAndTheStoredPort) {
  settings.writeString("GPS", "COM Port", "3");
  FlightRecord record;
  record.DownloadDone = true;
  GarminWindow window(record, settings, dialogs);
  window.show();
  EXPECT_FALSE(record.DownloadDone);
  EXPECT_EQ(window.windowTitle().toStdString(), "Quorvanta: Garmin GPS Track lesen");
  auto* chooser = window.findChild<QComboBox*>("ComboBoxCom");
  ASSERT_GE(chooser->count(), 8);
  EXPECT_EQ(chooser->itemText(7).toStdString(), "COM 8");
  EXPECT_EQ(chooser->currentIndex(), 2);
  EXPECT_EQ(window.port().PortNum(), 3);
  EXPECT_THAT(window.findChild<QPlainTextEdit*>("Memo1")->toPlainText().toStdString(),
              StartsWith("Kurzanleitung:"));
  EXPECT_TRUE(window.findChild<QPushButton*>("Button2")->isVisible());
  EXPECT_FALSE(window.findChild<QPushButton*>("Button3")->isVisible());
  EXPECT_FALSE(window.findChild<QListWidget*>("CheckListBoxTrack")->isVisible());

  chooser->setCurrentIndex(4);
  emit chooser->activated(4);
  EXPECT_EQ(window.port().PortNum(), 5);
  EXPECT_EQ(settings.readString("GPS", "COM Port", ""), "5");
}

TEST_F(DownloadWindowsTest, TranscriptNamedUnknownIsNeverTakenAndCancelSendsNothing) {
  const std::string device = scratch.write("not-a-port", "");
  useDevice(device, "unbekannt");
  FlightRecord record;
  GarminWindow window(record, settings, dialogs);
  window.show();
  const QString unknown = QString::fromStdString((scratch.path() / "unbekannt.txt").string());
  dialogs.fileAnswers = {unknown, unknown};  // then cancelled
  click(window, "Button2");
  EXPECT_EQ(dialogs.fileDialogStarts.size(), 3u);
  EXPECT_EQ(dialogs.asked[0].title.toStdString(), "Filename für LogFile Garmin GPS");
  EXPECT_FALSE(window.port().IsOpen());
  EXPECT_FALSE(window.host().transcriptOpen());
  EXPECT_FALSE(std::filesystem::exists(unknown.toStdString()));
  ASSERT_FALSE(dialogs.asked.empty());
  EXPECT_EQ(dialogs.asked.back().text.toStdString(),
            "Ohne Protokolldatei wird nichts an das Gerät gesendet.");
  EXPECT_TRUE(window.findChild<QComboBox*>("ComboBoxCom")->isVisible());
}

TEST_F(DownloadWindowsTest, PortThatCannotBeOpenedIsReportedAndTheWindowStaysUsable) {
  const std::string missing = (scratch.path() / "ttyMissing").string();
  const std::string transcript = (scratch.path() / "garmin.txt").string();
  useDevice(missing, "unbekannt");
  FlightRecord record;
  GarminWindow window(record, settings, dialogs);
  const double now = *encodeDate(2003, 7, 15) + *encodeTime(18, 30, 5);
  window.setClock([now] { return now; });
  window.show();
  dialogs.fileAnswers = {QString::fromStdString(transcript)};
  click(window, "Button2");
  ASSERT_FALSE(dialogs.asked.empty());
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr(missing));
  EXPECT_FALSE(window.port().IsOpen());
  EXPECT_EQ(settings.readString("GPS", "Filename GPSlog", ""), transcript);
  EXPECT_TRUE(window.findChild<QComboBox*>("ComboBoxCom")->isVisible());
  EXPECT_TRUE(window.findChild<QPushButton*>("Button2")->isVisible());
  std::string log;
  ASSERT_FALSE(readWholeFile(transcript, log));
  EXPECT_EQ(log, "Thuesday 15.07.2003  18:30:05\r\n");
}

}  // namespace
}  // namespace quorvanta
