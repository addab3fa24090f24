#include "app/MainWindow.h"
#include "app/RunOptimization.h"

#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/FakeDialogs.h"
#include "flight/Barograph.h"
#include "flight/DayCount.h"
#include "flight/FileContent.h"
#include "flight/IgcReader.h"
#include "optimize/ClaimFile.h"
#include "optimize/Optimizer.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"
#include "views/ResultTexts.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
    window = std::make_unique<MainWindow>(dialogs);
    window->show();
  }

  std::string text(int label) const { return window->label(label)->text().toStdString(); }

  std::string generatedFlight(int fixes, bool withAltitudes = true) {
    auto track = test::generateTrack({.fixCount = fixes, .seed = 5, .triangleKm = 25});
    if (!withAltitudes) {
      for (auto& fix : track) fix.pressureAlt = fix.gpsAlt = 0;
    }
    return scratch.write("flight.igc", test::igcFile(track));
  }

  void runOptimization() { ASSERT_TRUE(test::runOptimization(*window)); }

  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsWithTheInvitationAndOnlyOpeningOffered) {
  const MainMenus& m = window->menus();
  EXPECT_EQ(window->windowTitle().toStdString(), "Quorvanta: Optimieren von Flügen für Online Contest 2003");
  EXPECT_EQ(text(1), "Zum Start igc-Datei öffnen");
  EXPECT_EQ(text(2), "oder ein Gerät auslesen");
  EXPECT_THAT(window->label(1)->styleSheet().toStdString(), HasSubstr("#0000ff"));
  // No terrain model in the fresh settings: the two red warnings.
  EXPECT_EQ(text(3), "Achtung: Keine Höhendaten gefunden");
  EXPECT_EQ(text(4), "Entsprechende Funktionen blockiert");
  EXPECT_THAT(window->label(4)->styleSheet().toStdString(), HasSubstr("#ff0000"));
  for (int n = 5; n <= 7; ++n) EXPECT_EQ(text(n), "");
  EXPECT_FALSE(m.relief->isEnabled());
  EXPECT_FALSE(m.interpolate->isEnabled());
  EXPECT_TRUE(m.selectTerrain->isEnabled());
  EXPECT_TRUE(m.openTrack->isEnabled());
  EXPECT_FALSE(m.openBarogram->isEnabled());
  EXPECT_FALSE(m.saveIgc->isEnabled());
  EXPECT_FALSE(m.saveOlc->isEnabled());
  EXPECT_FALSE(m.timeShift->isEnabled());
  EXPECT_FALSE(m.calculate->isEnabled());
  EXPECT_FALSE(m.draw->isEnabled());
  EXPECT_FALSE(m.freeDistance->isEnabled());
  EXPECT_TRUE(m.budgets[2]->isChecked());
  EXPECT_TRUE(m.trackColours[0]->isChecked());
  EXPECT_TRUE(m.showIgcFile->isChecked());
  EXPECT_TRUE(m.asRecorded->isChecked());
  EXPECT_FALSE(window->findChild<QTimeEdit*>("DateTimePicker1")->isVisible());
  EXPECT_FALSE(window->map()->contentShown());
  EXPECT_TRUE(window->record().SignOnSave);
}

TEST_F(MainWindowTest, FlightNamedOnTheCommandLineIsLoadedAndDrawn) {
  const std::string path = test::realFlight("xcsoar_01lz1hq1.igc").string();
  window->openFromCommandLine(QString::fromStdString(path));
  EXPECT_TRUE(dialogs.asked.empty());  // no open dialog
  EXPECT_THAT(text(1), HasSubstr("Track-Punkte aus Datei gelesen"));
  EXPECT_THAT(text(3), StartsWith("mittl. Datenrate: "));
  const MainMenus& m = window->menus();
  EXPECT_TRUE(m.openTrack->isEnabled());  // another flight may follow
  EXPECT_TRUE(m.calculate->isEnabled());
  EXPECT_TRUE(m.draw->isEnabled());
  EXPECT_TRUE(m.plainTrack->isEnabled());
  EXPECT_FALSE(m.freeDistance->isEnabled());
  EXPECT_FALSE(m.openBarogram->isEnabled());  // the flight has altitudes
  EXPECT_FALSE(window->record().SignOnSave);
  EXPECT_TRUE(window->map()->contentShown());
  EXPECT_GT(window->findChild<QListWidget*>("ListBox1")->count(), window->record().FixCount);
  EXPECT_LT(window->mapRect().south, window->record().FixLat[1]);
}

TEST_F(MainWindowTest, CancellingTheOpenDialogChangesNothing) {
  window->menus().openTrack->trigger();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].title.toStdString(), "Öffnen des GPS-Datenfiles");
  EXPECT_EQ(window->record().FixCount, 0);
  EXPECT_TRUE(window->menus().openTrack->isEnabled());
  EXPECT_EQ(text(1), "Zum Start igc-Datei öffnen");
}

TEST_F(MainWindowTest, RejectedFileLeavesEverythingSoThatAnotherCanBeOpened) {
  const std::string bad = scratch.write("bad.igc", "HFDTE150703\r\nB10050747300\r\n");
  dialogs.fileAnswers = {QString::fromStdString(bad)};
  window->menus().openTrack->trigger();
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_THAT(dialogs.asked[1].text.toStdString(), HasSubstr("Fehler in Zeile 2"));
  EXPECT_EQ(window->record().FixCount, 0);
  EXPECT_TRUE(window->menus().openTrack->isEnabled());
  EXPECT_FALSE(window->menus().calculate->isEnabled());

  dialogs.fileAnswers = {QString::fromStdString(generatedFlight(300))};
  window->menus().openTrack->trigger();
  EXPECT_EQ(window->record().FixCount, 300);
  EXPECT_EQ(text(1), "300 Track-Punkte aus Datei gelesen");
}

TEST_F(MainWindowTest, EightKNeedsConfirmation) {
  const MainMenus& m = window->menus();
  m.budgets[4]->trigger();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].title.toStdString(), " Muss das sein?");
  EXPECT_TRUE(m.budgets[2]->isChecked());
  EXPECT_FALSE(m.budgets[4]->isChecked());
  dialogs.questionAnswers = {true};
  m.budgets[4]->trigger();
  EXPECT_TRUE(m.budgets[4]->isChecked());
  EXPECT_FALSE(m.budgets[2]->isChecked());
  m.budgets[0]->trigger();
  EXPECT_TRUE(m.budgets[0]->isChecked());
  EXPECT_FALSE(m.budgets[4]->isChecked());
}

TEST_F(MainWindowTest, OptimizationShowsPointsTicksRouteAndLabels) {
  const std::string path = generatedFlight(3000);
  window->openFromCommandLine(QString::fromStdString(path));
  window->menus().budgets[0]->trigger();  // 512 points
  runOptimization();

  RunControl control;
  const OptimizationRun expected = optimizeFlight(window->record(), 512, control);
  const OptimizationResult& result = window->result();
  EXPECT_EQ(result, expected.result);
  const MainMenus& m = window->menus();
  EXPECT_TRUE(m.saveOlc->isEnabled());
  EXPECT_TRUE(m.freeDistance->isEnabled());
  EXPECT_EQ(m.faiTriangle->isEnabled(), result.FaiTp2 > 0);
  EXPECT_EQ(m.faiTriangle->isChecked(), result.FaiIsBest);
  EXPECT_EQ(m.flatTriangle->isChecked(), result.FlatIsBest);
  EXPECT_EQ(m.freeDistance->isChecked(), result.FreeIsBest);

  // The best kind is drawn: its route in Label1 to Label5, its legs below.
  ASSERT_TRUE(result.FaiIsBest);  // the generator flies an FAI triangle
  const RouteFixes fai = faiRoute(result);
  EXPECT_EQ(text(1), routeLabelTexts(routePoints(window->record(), fai))[0]);
  EXPECT_THAT(text(5), StartsWith("ZielP:  "));
  EXPECT_EQ(text(6), triangleLegsTexts(window->record(), fai)[0]);
  EXPECT_EQ(text(7), triangleLegsTexts(window->record(), fai)[1]);
  const auto* panel = window->findChild<PointsPanel*>("Wertung");
  EXPECT_EQ(panel->panel(), pointsPanel(result));
  EXPECT_FALSE(window->findChild<QListWidget*>("ListBox1")->isVisible());

  m.freeDistance->trigger();
  EXPECT_TRUE(m.freeDistance->isChecked());
  EXPECT_FALSE(m.faiTriangle->isChecked());
  EXPECT_EQ(text(6), freeLegsText(window->record(), freeRoute(result)));
  m.plainTrack->trigger();
  EXPECT_FALSE(m.freeDistance->isChecked());
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(text(n), "");
}

TEST_F(MainWindowTest, CancelledRunKeepsThePreviousResult) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(12000)));
  window->menus().budgets[0]->trigger();
  runOptimization();
  const OptimizationResult before = window->result();

  dialogs.questionAnswers = {true};
  window->menus().budgets[4]->trigger();  // 8K: long enough to cancel
  QSignalSpy ended(window.get(), &MainWindow::optimizationEnded);
  window->menus().optimize->trigger();
  ASSERT_TRUE(window->optimizationRunning());
  EXPECT_FALSE(window->menuBar()->isEnabled());
  QTest::mouseClick(window->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
  ASSERT_TRUE(ended.wait(120000));
  EXPECT_FALSE(window->optimizationRunning());
  EXPECT_EQ(window->result(), before);
  EXPECT_EQ(text(1), "Optimierung abgebrochen");
  EXPECT_TRUE(window->menuBar()->isEnabled());
}

QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

TEST_F(MainWindowTest, MenusOpenWithAltAndTheirLetter) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
  QMenu* file = openMenu();
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->actions().contains(window->menus().openTrack));
  EXPECT_EQ(file->title().remove('&'), "Datei");
  file->close();

  QTest::keyClick(window.get(), Qt::Key_O, Qt::AltModifier);
  ASSERT_NE(openMenu(), nullptr);
  EXPECT_TRUE(openMenu()->actions().contains(window->menus().selectTerrain));
  openMenu()->close();
}

TEST_F(MainWindowTest, ShortcutsOpenSaveHelpAndQuit) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialogs.fileDialogStarts.size(), 1u);  // answered with "Abbrechen"

  QTest::keyClick(window.get(), Qt::Key_F1);
  EXPECT_EQ(dialogs.asked.back().title, "Keine Hilfe, sondern ein Tip und eine Bitte");

  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);  // nothing to save yet
  EXPECT_EQ(dialogs.fileDialogStarts.size(), 1u);
  window->menus().saveIgc->setEnabled(true);  // as after a barogram merge
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(dialogs.fileDialogStarts.size(), 2u);

  QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, EscapeCancelsARunningOptimizationOnly) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(12000)));
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const std::string loaded = text(1);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_EQ(text(1), loaded);

  dialogs.questionAnswers = {true};
  window->menus().budgets[4]->trigger();
  QSignalSpy ended(window.get(), &MainWindow::optimizationEnded);
  window->menus().optimize->trigger();
  ASSERT_TRUE(window->optimizationRunning());
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);  // menus are off meanwhile
  EXPECT_TRUE(dialogs.fileDialogStarts.empty());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  ASSERT_TRUE(ended.wait(120000));
  EXPECT_EQ(text(1), "Optimierung abgebrochen");
}

TEST_F(MainWindowTest, MeasurementsInTheFirstLabel) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(500)));
  window->menus().startToFinish->trigger();
  EXPECT_EQ(text(1), startToFinishText(window->record()));
  EXPECT_THAT(window->label(1)->styleSheet().toStdString(), HasSubstr("background-color: #ff0000"));
  EXPECT_EQ(text(2), "");
  window->menus().trackLength->trigger();
  EXPECT_EQ(text(1), trackLengthText(window->record()));
  EXPECT_THAT(text(1), HasSubstr(","));  // the pinned decimal separator
}

TEST_F(MainWindowTest, ClaimFileThroughTheDialogWithTheOverwriteQuestion) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(2000)));
  window->menus().budgets[0]->trigger();
  runOptimization();
  const QString chosen = QString::fromStdString((scratch.path() / "claim").string());
  const std::string written = (scratch.path() / "claim.olc").string();

  dialogs.fileAnswers = {chosen};
  window->menus().saveOlc->trigger();
  EXPECT_EQ(dialogs.fileDialogStarts.back().toStdString(), (scratch.path() / "flight.olc").string());
  std::string content;
  ASSERT_FALSE(readWholeFile(written, content));
  EXPECT_EQ(content, *claimLine(window->record(), window->result()) + "\r\n");
  EXPECT_EQ(text(1), "OLC-File geschrieben");

  // No: the dialog comes again; Cancel then ends without writing.
  ASSERT_FALSE(writeWholeFile(written, "old"));
  dialogs.fileAnswers = {chosen, QString()};
  dialogs.questionAnswers = {false};
  const std::size_t before = dialogs.asked.size();
  window->menus().saveOlc->trigger();
  ASSERT_EQ(dialogs.asked.size(), before + 3);
  EXPECT_EQ(dialogs.asked[before + 1].text.toStdString(), "Wollen Sie claim.olc wirklich überschreibenen?");
  ASSERT_FALSE(readWholeFile(written, content = {}));
  EXPECT_EQ(content, "old");

  dialogs.fileAnswers = {chosen};
  dialogs.questionAnswers = {true};
  window->menus().saveOlc->trigger();
  ASSERT_FALSE(readWholeFile(written, content = {}));
  EXPECT_THAT(content, StartsWith("OLCvnolc=&igcfn=flight&"));
}

TEST_F(MainWindowTest, BarogramMergeTimeShiftsAndIgcSave) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(200, false)));
  const MainMenus& m = window->menus();
  ASSERT_TRUE(m.openBarogram->isEnabled());
  std::vector<int> alts;
  for (int k = 1; k <= 400; ++k) alts.push_back(1000 + k);
  const std::string cmp = scratch.write("baro.cmp", test::cmpFile(alts, {.intervalSeconds = 1}));

  dialogs.fileAnswers = {QString::fromStdString(cmp)};
  m.openBarogram->trigger();
  EXPECT_EQ(dialogs.asked.back().title.toStdString(), "Öffnen des Datenfiles Barograf");
  EXPECT_FALSE(m.openBarogram->isEnabled());
  EXPECT_TRUE(m.saveIgc->isEnabled());
  EXPECT_TRUE(m.timeShift->isEnabled());
  EXPECT_EQ(window->record().FixAlt[3], 1002);

  m.syncAtSwitchOff->trigger();
  EXPECT_EQ(window->record().FixAlt[198], 1398);
  m.syncAtSwitchOn->trigger();
  EXPECT_EQ(window->record().FixAlt[3], 1002);
  m.enterShift->trigger();
  auto* picker = window->findChild<QTimeEdit*>("DateTimePicker1");
  EXPECT_TRUE(picker->isVisible());
  EXPECT_EQ(text(1), "Differenz BaroZeit zu UTC hh:mm:ss");
  picker->setTime(QTime(0, 1, 0));  // the barograph clock is behind by default
  EXPECT_DOUBLE_EQ(window->baroOffset(), -*encodeTime(0, 1, 0));
  QTest::mouseClick(window->findChild<QRadioButton*>("RadioButton2"), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(window->baroOffset(), *encodeTime(0, 1, 0));
  EXPECT_EQ(window->record().FixAlt[3], 1062);
  m.asRecorded->trigger();
  EXPECT_FALSE(picker->isVisible());
  EXPECT_EQ(window->baroOffset(), 0);

  const QString target = QString::fromStdString((scratch.path() / "merged").string());
  dialogs.fileAnswers = {target};
  m.saveIgc->trigger();
  EXPECT_EQ(text(1), "igc-File geschrieben (unsigniert)");
  auto again = std::make_unique<FlightRecord>();
  ASSERT_TRUE(readFlightFile(target.toStdString() + ".igc", *again).ok());
  EXPECT_EQ(again->FixAlt[3], 1002);
  dialogs.fileAnswers = {target, target};
  dialogs.questionAnswers = {false, true};
  m.saveIgc->trigger();
  EXPECT_EQ(dialogs.asked.back().text.toStdString(), "Wollen Sie merged.igc wirklich überschreibenen?");
}

TEST_F(MainWindowTest, MapFollowsTheMouse) {
  window->openFromCommandLine(QString::fromStdString(generatedFlight(800)));
  MapWidget* map = window->map();
  const MapRect fitted = window->mapRect();
  const Pixel fix10 = xy(fitted, window->record().FixLat[10], window->record().FixLon[10], map->width());
  QTest::mouseMove(map, QPoint(fix10.x, fix10.y));
  const auto* info = window->findChild<InfoBox*>("Punktinfo");
  ASSERT_FALSE(info->lines().empty());
  EXPECT_THAT(info->lines()[0].text, StartsWith("Nr. "));

  QTest::mousePress(map, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(map, QPoint(110, 105));
  QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(110, 105));
  EXPECT_EQ(window->mapRect(), fitted);  // 10 pixels: nothing happens
  QTest::mousePress(map, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(map, QPoint(121, 103));
  QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(121, 103));
  EXPECT_EQ(window->mapRect(), dragZoomed(fitted, {100, 100}, {121, 103}, map->width(), map->height()));
  window->menus().zoomWholeTrack->trigger();
  EXPECT_EQ(window->mapRect(), fitted);

  auto* list = window->findChild<QListWidget*>("ListBox1");
  window->menus().showIgcFile->trigger();
  EXPECT_FALSE(list->isVisible());
  window->menus().showIgcFile->trigger();
  EXPECT_TRUE(list->isVisible());
}

}  // namespace
}  // namespace quorvanta
