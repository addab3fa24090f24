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
    addRouteLines(scene, window->record(), window->mapRect(), route->fixes, route->triangle);
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
