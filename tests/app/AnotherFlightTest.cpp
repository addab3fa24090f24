// Opening another flight without a restart: the window must end up exactly as
// if that flight had been the first one opened.
#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QTimeEdit>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/FakeDialogs.h"
#include "app/MainWindow.h"
#include "app/RunOptimization.h"
#include "support/SameFlight.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

void describeActions(const QList<QAction*>& actions, std::vector<std::string>& state) {
  for (const QAction* action : actions) {
    state.push_back(QString("action %1 %2 %3")
                        .arg(action->text(), action->isEnabled() ? "on" : "off",
                             action->isChecked() ? "ticked" : "")
                        .toStdString());
    if (action->menu()) describeActions(action->menu()->actions(), state);
  }
}

// Everything a pilot can see or reach: title, menus, every child widget's
// place, visibility and text.
std::vector<std::string> visibleState(const MainWindow& window) {
  std::vector<std::string> state{window.windowTitle().toStdString()};
  describeActions(window.menuBar()->actions(), state);
  describeActions(window.map()->actions(), state);
  for (const QWidget* child : window.findChildren<QWidget*>()) {
    QString line = QString("%1 %2").arg(child->metaObject()->className(), child->objectName());
    const auto* label = qobject_cast<const QLabel*>(child);
    // Where a hidden widget or an empty label sits nobody sees.
    if (child->isVisible() && !(label && label->text().isEmpty() && label->pixmap().isNull())) {
      const QRect place = child->geometry();
      line += QString(" %1,%2 %3x%4").arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
    }
    line += child->isVisible() ? " shown" : " hidden";
    if (label) {
      line += " [" + label->text() + "] " + label->styleSheet();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(child)) {
      line += button->isChecked() ? " checked" : " unchecked";
    } else if (const auto* time = qobject_cast<const QTimeEdit*>(child)) {
      line += " " + time->time().toString();
    } else if (const auto* list = qobject_cast<const QListWidget*>(child)) {
      for (int k = 0; k < list->count(); ++k) line += "\n  " + list->item(k)->text();
    }
    state.push_back(line.toStdString());
  }
  return state;
}

// The lines of `actual` that `expected` lacks, so that a failure names them.
std::vector<std::string> linesMissingFrom(const std::vector<std::string>& expected,
                                          const std::vector<std::string>& actual) {
  std::vector<std::string> missing;
  for (const std::string& line : actual) {
    if (std::find(expected.begin(), expected.end(), line) == expected.end()) missing.push_back(line);
  }
  return missing;
}

class AnotherFlightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  }

  std::unique_ptr<MainWindow> newWindow() {
    auto window = std::make_unique<MainWindow>(dialogs);
    window->show();
    return window;
  }

  void open(MainWindow& window, const std::string& path) {
    dialogs.fileAnswers = {QString::fromStdString(path)};
    window.menus().openTrack->trigger();
  }

  // A flight without altitudes, so that a barogram can be merged into it.
  std::string flightWithoutAltitudes() {
    auto track = test::generateTrack({.fixCount = 400, .seed = 9, .triangleKm = 30});
    for (auto& fix : track) fix.pressureAlt = fix.gpsAlt = 0;
    return scratch.write("first.igc", test::igcFile(track));
  }

  // Everything the first flight can change: barogram and time shift,
  // optimization, a drawn triangle, a measurement, the analysis windows, a
  // zoom and the marked fix.
  void workOnFlight(MainWindow& window) {
    const MainMenus& m = window.menus();
    std::vector<int> alts(900, 1200);
    dialogs.fileAnswers = {QString::fromStdString(scratch.write("baro.cmp", test::cmpFile(alts, {})))};
    m.openBarogram->trigger();
    m.enterShift->trigger();
    window.findChild<QTimeEdit*>("DateTimePicker1")->setTime(QTime(0, 2, 0));
    ASSERT_TRUE(test::runOptimization(window));
    m.flatTriangle->trigger();
    m.trackLength->trigger();
    for (QAction* analysisWindow : {m.barogramWindow, m.polarWindow, m.perspectiveWindow}) {
      test::withModalWindow([&] { analysisWindow->trigger(); }, [](QWidget&) {});
    }
    m.zoomOut->trigger();
    m.mousePan->trigger();
    QTest::mouseMove(window.map(), QPoint(200, 200));
  }

  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
};

TEST_F(AnotherFlightTest, ReplacesTheFlightAsIfItWereTheFirst) {
  const std::string second = test::realFlight("xcsoar_01lz1hq1.igc").string();
  auto worked = newWindow();
  worked->menus().trackColours[1]->trigger();  // a choice of the pilot's, kept
  open(*worked, flightWithoutAltitudes());
  workOnFlight(*worked);
  EXPECT_TRUE(worked->menus().openTrack->isEnabled());
  open(*worked, second);

  auto fresh = newWindow();
  fresh->menus().trackColours[1]->trigger();
  fresh->menus().mousePan->trigger();
  open(*fresh, second);

  QApplication::processEvents();  // lets the listing lay out its scroll bars
  const auto workedState = visibleState(*worked), freshState = visibleState(*fresh);
  EXPECT_THAT(linesMissingFrom(freshState, workedState), ::testing::IsEmpty());
  EXPECT_THAT(linesMissingFrom(workedState, freshState), ::testing::IsEmpty());
  EXPECT_EQ(workedState, freshState);
  EXPECT_EQ(worked->map()->content(), fresh->map()->content());
  EXPECT_EQ(worked->mapRect(), fresh->mapRect());
  EXPECT_EQ(worked->baroOffset(), 0);
  EXPECT_EQ(worked->result().FreeTp2, 0);
  EXPECT_TRUE(worked->analysis().NeedRecompute);
  EXPECT_TRUE(worked->analysis().PolarRecompute);
  EXPECT_EQ(worked->barograph().BaroInterval, 0);
  EXPECT_EQ(test::fixDifference(fresh->record(), worked->record()), std::nullopt);
  EXPECT_EQ(test::headerLinesOf(worked->record()), test::headerLinesOf(fresh->record()));
  EXPECT_EQ(worked->record().ExtraHeaderLine, "");
  EXPECT_EQ(worked->record().FixCount, fresh->record().FixCount);
}

TEST_F(AnotherFlightTest, RefusedFileKeepsTheLoadedFlightAndEverythingDoneWithIt) {
  auto window = newWindow();
  open(*window, flightWithoutAltitudes());
  workOnFlight(*window);
  const std::vector<std::string> before = visibleState(*window);
  const int fixes = window->record().FixCount;
  const int merged = window->record().FixAlt[10];

  open(*window, scratch.write("bad.igc", "HFDTE150703\r\nB10050747300\r\n"));
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), ::testing::HasSubstr("Fehler in Zeile 2"));
  EXPECT_EQ(visibleState(*window), before);
  EXPECT_EQ(window->record().FixCount, fixes);
  EXPECT_EQ(window->record().FixAlt[10], merged);
  EXPECT_GT(window->result().FreeTp2, 0);
}

}  // namespace
}  // namespace quorvanta
