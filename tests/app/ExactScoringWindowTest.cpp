// The exact scoring from the main window: the rule set chosen and kept,
// the run in the worker thread, its panel and its route on the map.
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/MainWindow.h"
#include "app/OptimizationTask.h"
#include "app/RoomForTexts.h"
#include "app/Screenshot.h"
#include "flight/NumberText.h"
#include "support/TestFiles.h"
#include "views/MapScene.h"

namespace quorvanta {
namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::IsEmpty;

class ExactScoringWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(dialogs);
    window->show();
  }

  void open(const char* flight) {
    window->openFromCommandLine(QString::fromStdString(test::realFlight(flight).string()));
  }

  bool score() {
    QSignalSpy ended(window.get(), &MainWindow::optimizationEnded);
    window->menus().exactScoring->trigger();
    return ended.wait(120000);
  }

  const std::vector<PanelText>& panel() const {
    return window->findChild<PointsPanel*>("Wertung")->panel();
  }

  // Route pixels near the middle of each leg of the best route.
  int routeLegsShown() const {
    const auto route = exactBestRoute(window->exactRun()->track, window->exactRun()->result);
    MapScene scene;
    scene.width = window->map()->width();
    addRouteLines(scene, window->mapRect(), route->points, route->triangle);
    const QImage& content = window->map()->content();
    int shown = 0;
    for (std::size_t k = 1; k < scene.routeLine.size(); ++k) {
      const int x = (scene.routeLine[k - 1].x + scene.routeLine[k].x) / 2;
      const int y = (scene.routeLine[k - 1].y + scene.routeLine[k].y) / 2;
      bool green = false;
      for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) green |= content.pixel(x + dx, y + dy) == qRgb(0, 128, 0);
      }
      shown += green;
    }
    return shown;
  }

  test::FreshSettings fresh;
  test::FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ExactScoringWindowTest, ChosenRulesScoredShownDrawnAndKept) {
  const MainMenus& m = window->menus();
  ASSERT_EQ(m.scoringRules.size(), exact::ruleSets().size());
  EXPECT_EQ(m.scoringRules[0]->text().toStdString(), "Wertung: XContest");
  EXPECT_TRUE(m.scoringRules[0]->isChecked());
  open("xcscore_tri.igc");
  struct Case {
    std::size_t rules;
    const char* id;
    std::size_t kinds;
    double best;
  };
  // The flat triangle of the peer's own FFVL test of this flight: 17.51.
  for (const Case& c : {Case{1, "ffvl", 3, 17.51},
                        Case{0, "xcontest", 5, 15.59}}) {
    SCOPED_TRACE(c.id);
    m.scoringRules[c.rules]->trigger();
    EXPECT_TRUE(m.scoringRules[c.rules]->isChecked());
    EXPECT_EQ(QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta")
                  .value("Wertung/Regeln")
                  .toString()
                  .toStdString(),
              c.id);
    ASSERT_TRUE(score());
    ASSERT_NE(window->exactRun(), nullptr);
    EXPECT_EQ(window->exactRun()->rules->id, c.id);
    EXPECT_EQ(window->exactRun()->result.kinds.size(), c.kinds);
    EXPECT_THAT(panel(), Contains(PanelText{0, 0, std::string("Exakte Wertung ") + window->exactRun()->rules->name,
                                            PanelStyle::Heading}));
    EXPECT_THAT(panel(), Contains(AllOf(Field(&PanelText::text, std::string("Wertungspunkte: ") + fixedText(c.best, 2)),
                                        Field(&PanelText::style, PanelStyle::BestPoints))));
    EXPECT_THAT(panel(), Contains(Field(&PanelText::text, ::testing::EndsWith("km, optimal"))));
    EXPECT_EQ(routeLegsShown(), 3);  // a triangle, as the flat one is best under both
    EXPECT_THAT(window->label(1)->text().toStdString(), ::testing::StartsWith("StartP:"));
    EXPECT_THAT(test::crampedTexts(*window), IsEmpty());
    EXPECT_TRUE(test::saveScreenshot(*window, std::string("exact-scoring-") + c.id));
  }
  m.plainTrack->trigger();
  EXPECT_EQ(window->exactRun(), nullptr);
  EXPECT_THAT(panel(), IsEmpty());

  m.scoringRules[2]->trigger();
  const MainWindow another(dialogs);
  EXPECT_TRUE(another.menus().scoringRules[2]->isChecked());
}

// The load thins this flight of 17002 fixes; the desktop scores all of them,
// as the command line does. OLC 2003 proves it within seconds.
TEST_F(ExactScoringWindowTest, LongFlightScoredOnEveryFix) {
  open("xcscore_zigzag.igc");
  ASSERT_GT(window->record().DroppedFixCount, 0);
  const exact::RuleSet& rules = *exact::findRuleSet("olc2003");
  window->menus().scoringRules[3]->trigger();
  ASSERT_TRUE(score());
  ASSERT_EQ(window->exactRun()->rules, &rules);
  const exact::ScoringTrack track = exact::readScoringTrack(window->record().TrackFileName).track;
  RunControl control;
  const exact::ScoreResult expected = exact::scoreTrack(track, rules, control);
  const ExactRun& run = *window->exactRun();
  EXPECT_EQ(run.track.fixNumber, track.fixNumber);
  ASSERT_EQ(run.result.kinds.size(), expected.kinds.size());
  for (std::size_t k = 0; k < expected.kinds.size(); ++k) {
    EXPECT_EQ(run.result.kinds[k].score, expected.kinds[k].score) << k;
  }
  EXPECT_EQ(run.result.best, expected.best);

  // Its corners at the track's fixes, which the record may not hold.
  const exact::KindResult& best = run.result.kinds.at(static_cast<std::size_t>(run.result.best));
  const auto route = exactBestRoute(run.track, run.result);
  MapScene scene;
  scene.width = window->map()->width();
  addRouteLines(scene, window->mapRect(), route->points, route->triangle);
  std::vector<Pixel> corners;
  for (const int i : {best.start, best.tp1, best.tp2, best.tp3, best.finish}) {
    const auto at = static_cast<std::size_t>(i);
    corners.push_back(xy(window->mapRect(), track.lat[at], track.lon[at], scene.width));
  }
  ASSERT_FALSE(route->triangle);  // the free distance wins
  EXPECT_EQ(scene.routeLine, corners);
  EXPECT_EQ(routeLegsShown(), static_cast<int>(scene.routeLine.size()) - 1);
  const std::string tp1 =
      std::string("(") + std::to_string(track.fixNumber[static_cast<std::size_t>(best.tp1)]) + ")";
  EXPECT_THAT(window->label(2)->text().toStdString(), ::testing::EndsWith(tp1));
  EXPECT_EQ(window->label(2)->text().toStdString(), routeLabelTexts(route->points)[1]);
}

TEST_F(ExactScoringWindowTest, CancelledScoringShowsNothing) {
  open("xcscore_line.igc");
  QSignalSpy ended(window.get(), &MainWindow::optimizationEnded);
  window->menus().exactScoring->trigger();
  EXPECT_TRUE(window->optimizationRunning());
  QTest::mouseClick(window->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
  ASSERT_TRUE(ended.wait(60000));
  EXPECT_EQ(window->label(1)->text().toStdString(), "Optimierung abgebrochen");
  EXPECT_EQ(window->exactRun(), nullptr);
  EXPECT_THAT(panel(), IsEmpty());
}

}  // namespace
}  // namespace quorvanta
