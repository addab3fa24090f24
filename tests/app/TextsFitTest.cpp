// Every text the pilot is shown fits the room it has, at the windows' start
// sizes and in the interface font, along the flows a pilot goes through. The
// pictures of each step go to the build folder for a person to look at.
#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DownloadWindowFixture.h"
#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/MainWindow.h"
#include "app/RunOptimization.h"
#include "app/RoomForTexts.h"
#include "app/Screenshot.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

class TextsFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::storePyreneesSettings(false);
    window = std::make_unique<MainWindow>(dialogs);
    window->show();
  }

  void expectRoomyAfter(const std::string& step, const char* screenshot = nullptr) {
    EXPECT_THAT(test::crampedTexts(*window), ::testing::IsEmpty()) << "after " << step;
    if (screenshot) {
      EXPECT_TRUE(test::saveScreenshot(*window, screenshot));
    }
  }

  // Opens an analysis window and checks its texts while it is shown.
  void expectRoomyWindow(QAction* command, const std::string& screenshot) {
    test::withModalWindow([&] { command->trigger(); },
                          [&](QWidget& open) {
                            EXPECT_THAT(test::crampedTexts(open), ::testing::IsEmpty())
                                << open.windowTitle().toStdString();
                            EXPECT_TRUE(test::saveScreenshot(open, screenshot));
                          });
  }

  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

TEST_F(TextsFitTest, InterfaceFontIsTheOneTheLayoutsWereMeasuredWith) {
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Liberation Sans");
}

TEST_F(TextsFitTest, LongFlightOptimizedAndEachResultDrawn) {
  expectRoomyAfter("start");
  window->openFromCommandLine(
      QString::fromStdString(test::realFlight("xcscore_trifai-xcontest-362.70.igc").string()));
  expectRoomyAfter("load");
  const MainMenus& m = window->menus();
  ASSERT_TRUE(test::runOptimization(*window));
  expectRoomyAfter("optimization", "default-size-optimized");
  for (QAction* route : {m.freeDistance, m.flatTriangle, m.faiTriangle}) {
    route->trigger();
    expectRoomyAfter(route->text().toStdString());
  }
  for (QAction* measurement : {m.startToFinish, m.trackLength}) {
    measurement->trigger();
    expectRoomyAfter(measurement->text().toStdString());
  }
  expectRoomyWindow(m.barogramWindow, "default-size-barogram");
  expectRoomyWindow(m.polarWindow, "default-size-polar");
  expectRoomyWindow(m.perspectiveWindow, "default-size-perspective");
  expectRoomyWindow(m.statisticsWindow, "default-size-statistics");
}

TEST_F(TextsFitTest, BarogramTimeShiftAndReliefWithTheMouseOverTheTerrain) {
  auto track = test::generateTrack({.fixCount = 1500, .seed = 2, .startLatDeg = 42.3,
                                    .startLonDeg = 1.4, .triangleKm = 30, .intervalSeconds = 4});
  for (auto& fix : track) fix.pressureAlt = fix.gpsAlt = 0;
  window->openFromCommandLine(QString::fromStdString(scratch.write("f.igc", test::igcFile(track))));
  const MainMenus& m = window->menus();
  std::vector<int> alts(7000, 1500);
  dialogs.fileAnswers = {QString::fromStdString(scratch.write("b.cmp", test::cmpFile(alts, {})))};
  m.openBarogram->trigger();
  m.enterShift->trigger();
  expectRoomyAfter("entering a time shift");
  m.relief->trigger();
  const FlightRecord& r = window->record();
  const Pixel fix = xy(window->mapRect(), r.FixLat[300], r.FixLon[300], window->map()->width());
  QTest::mouseMove(window->map(), QPoint(fix.x, fix.y));
  expectRoomyAfter("hovering over the relief", "default-size-relief");
}

}  // namespace
}  // namespace quorvanta
