#include <QSettings>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/MainWindow.h"
#include "app/MapPainter.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;

class TerrainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::storePyreneesSettings(false);
    window = std::make_unique<MainWindow>(dialogs);
    window->show();
  }
  void loadFlightOverTheModel() {
    const auto track = test::generateTrack({.fixCount = 1500, .seed = 2, .startLatDeg = 42.3,
                                            .startLonDeg = 1.4, .triangleKm = 30, .intervalSeconds = 4});
    window->openFromCommandLine(QString::fromStdString(scratch.write("f.igc", test::igcFile(track))));
  }
  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

TEST_F(TerrainWindowTest, ModelLoadedAtStartUpEnablesTheReliefAndGivesGroundHeights) {
  EXPECT_TRUE(window->terrain().loaded());
  EXPECT_EQ(window->label(3)->text(), "");
  const MainMenus& m = window->menus();
  EXPECT_TRUE(m.relief->isEnabled());
  EXPECT_TRUE(m.interpolate->isChecked());
  EXPECT_TRUE(m.reliefSchemes[0]->isChecked());
  EXPECT_TRUE(m.flatland->isEnabled());

  loadFlightOverTheModel();
  const FlightRecord& r = window->record();
  EXPECT_EQ(r.FixGroundAlt[100], *window->terrain().DemHeightAt(r.FixLat[100], r.FixLon[100]));
  EXPECT_GT(r.MaxGroundAlt, 500);

  MapWidget* map = window->map();
  const Pixel fix = xy(window->mapRect(), r.FixLat[200], r.FixLon[200], map->width());
  QTest::mouseMove(map, QPoint(fix.x, fix.y));
  const auto& lines = window->findChild<InfoBox*>("Punktinfo")->lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[3].y, 50);
  EXPECT_THAT(lines[3].text, ::testing::StartsWith("Boden: "));
  EXPECT_EQ(lines.back().y, 78);  // ground speed moved down by a line
}

TEST_F(TerrainWindowTest, ReliefUnderTheTrackWithItsLegend) {
  loadFlightOverTheModel();
  const MainMenus& m = window->menus();
  MapWidget* map = window->map();
  EXPECT_EQ(map->content().pixel(2, 2), qRgb(255, 255, 255));
  m.relief->trigger();
  EXPECT_TRUE(window->legend()->isVisible());
  const QRgb relief = map->content().pixel(2, 2);
  EXPECT_NE(relief, qRgb(255, 255, 255));

  m.reliefSchemes[2]->trigger();  // grey
  const QRgb grey = map->content().pixel(2, 2);
  EXPECT_EQ(qRed(grey), qGreen(grey));
  EXPECT_EQ(qGreen(grey), qBlue(grey));
  m.contours->trigger();
  EXPECT_TRUE(m.interpolate->isChecked());
  m.interpolate->trigger();
  EXPECT_FALSE(m.contours->isChecked());

  // The map bitmap and the relief exclude each other.
  m.relief->trigger();
  EXPECT_FALSE(window->legend()->isVisible());
  EXPECT_EQ(map->content().pixel(2, 2), qRgb(255, 255, 255));
}

// The legend as the window paints it, and as it should be for the area shown.
QImage shownLegend(const MainWindow& window) {
  return window.legend()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage expectedLegend(const MainWindow& window) {
  return legendImage(LegendSize, reliefColourTable({}), reliefRange(window.terrain(), window.mapRect()))
      .image;
}

TEST_F(TerrainWindowTest, LegendNamesTheHeightsOfTheAreaShownAndFitsUnderTheMap) {
  loadFlightOverTheModel();
  window->menus().relief->trigger();
  EXPECT_EQ(shownLegend(*window), expectedLegend(*window));
  const QImage fitted = shownLegend(*window);
  window->menus().zoomOut->trigger();
  EXPECT_EQ(shownLegend(*window), expectedLegend(*window));
  EXPECT_NE(shownLegend(*window), fitted);

  for (const QSize size : {QSize(800, 570), QSize(1400, 600), QSize(900, 1000)}) {
    window->resize(size);
    const QRect legend = window->legend()->geometry();
    EXPECT_EQ(legend.size(), LegendSize);
    EXPECT_GT(legend.top(), window->map()->geometry().bottom());
    EXPECT_LE(legend.bottom(), window->legend()->parentWidget()->height() - 1) << size.width();
  }
}

TEST_F(TerrainWindowTest, ChosenModelReplacesTheWarningsButNotTheFlightLabels) {
  QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_EQ(window->label(3)->text(), "Achtung: Keine Höhendaten gefunden");
  dialogs.fileAnswers = {QString::fromStdString((test::testDataDir() / "dem" / "pyrenees.hdr").string())};
  window->menus().selectTerrain->trigger();
  EXPECT_TRUE(window->terrain().loaded());
  EXPECT_EQ(window->label(3)->text(), "");
  EXPECT_EQ(window->label(4)->text(), "");

  loadFlightOverTheModel();
  const QString rate = window->label(3)->text();
  ASSERT_TRUE(rate.startsWith("mittl. Datenrate"));
  dialogs.fileAnswers = {QString::fromStdString((test::testDataDir() / "dem" / "pyrenees.hdr").string())};
  window->menus().selectTerrain->trigger();
  EXPECT_EQ(window->label(3)->text(), rate);
}

TEST_F(TerrainWindowTest, ModelChosenAfterALoadGivesTheFlightItsGroundHeightsAtOnce) {
  QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  window = std::make_unique<MainWindow>(dialogs);
  loadFlightOverTheModel();
  const FlightRecord& r = window->record();
  ASSERT_EQ(r.MaxGroundAlt, 0);

  dialogs.fileAnswers = {QString::fromStdString((test::testDataDir() / "dem" / "pyrenees.hdr").string())};
  window->menus().selectTerrain->trigger();
  for (int i : {1, 100, r.FixCount}) {
    EXPECT_EQ(r.FixGroundAlt[i], *window->terrain().DemHeightAt(r.FixLat[i], r.FixLon[i])) << i;
  }
  EXPECT_GT(r.MaxGroundAlt, 500);
}

TEST_F(TerrainWindowTest, FailedModelChoiceKeepsTheLoadedModel) {
  const std::string broken = scratch.write("broken.hdr", "NROWS 3\r\n");
  scratch.write("broken.dem", "");
  dialogs.fileAnswers = {QString::fromStdString(broken)};
  window->menus().selectTerrain->trigger();
  EXPECT_THAT(dialogs.asked.back().text.toStdString(), HasSubstr("kein Höhenmodell-Kopf"));
  EXPECT_TRUE(window->terrain().loaded());
  EXPECT_EQ(window->terrain().DemRows, 901);
}

}  // namespace
}  // namespace quorvanta
