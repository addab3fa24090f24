
#include <gtest/gtest.h>

#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/MainWindow.h"
#include "app/RunOptimization.h"
#include "app/Screenshot.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

// Pictures of the main window for a person to look at, in the build folder.
class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::storePyreneesSettings(true);
    window = std::make_unique<MainWindow>(dialogs);
    window->resize(1100, 760);
    window->show();
  }

  void save(const std::string& name) { ASSERT_TRUE(test::saveScreenshot(*window, name)); }

  void optimize() { ASSERT_TRUE(test::runOptimization(*window)); }

  test::FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ScreenshotTest, RealFlightInEachColourCodingAndWithItsFaiTriangle) {
  window->openFromCommandLine(
      QString::fromStdString(test::realFlight("xcscore_trifai-xcontest-189.65.igc").string()));
  const std::array<const char*, 4> names = {"height", "groundspeed", "vario", "validity"};
  for (std::size_t k = 0; k < names.size(); ++k) {
    window->menus().trackColours[k]->trigger();
    save(std::string("real-flight-") + names[k]);
  }
  window->menus().trackColours[0]->trigger();
  window->menus().budgets[1]->trigger();
  optimize();
  ASSERT_TRUE(window->menus().faiTriangle->isEnabled());
  window->menus().faiTriangle->trigger();
  save("real-flight-fai-triangle");
  window->menus().showIgcFile->trigger();
  save("real-flight-igc-listing");
}

TEST_F(ScreenshotTest, SyntheticFlightOverThePyreneesMap) {
  const test::ScratchDir scratch;
  const auto track = test::generateTrack(
      {.fixCount = 4000, .seed = 11, .startLatDeg = 42.2, .startLonDeg = 1.3, .triangleKm = 110, .intervalSeconds = 8});
  window->openFromCommandLine(QString::fromStdString(scratch.write("pyrenees.igc", test::igcFile(track))));
  ASSERT_TRUE(window->menus().mapImage->isEnabled());
  window->menus().mapImage->trigger();
  save("synthetic-flight-map-overzoomed");
  window->menus().zoomOut->trigger();  // one map pixel now spans fewer than three
  save("synthetic-flight-map");
  window->menus().budgets[0]->trigger();
  optimize();
  save("synthetic-flight-map-optimized");
}

TEST_F(ScreenshotTest, ReliefInEachSchemeWithContoursShadingAndTheTrack) {
  const test::ScratchDir scratch;
  const auto track = test::generateTrack(
      {.fixCount = 3000, .seed = 7, .startLatDeg = 42.3, .startLonDeg = 1.35, .triangleKm = 50, .intervalSeconds = 6});
  window->openFromCommandLine(QString::fromStdString(scratch.write("relief.igc", test::igcFile(track))));
  const MainMenus& m = window->menus();
  m.relief->trigger();
  m.zoomOut->trigger();
  const std::array<const char*, 4> schemes = {"standard", "contrast", "grey", "vivid"};
  for (std::size_t k = 0; k < schemes.size(); ++k) {
    m.reliefSchemes[k]->trigger();
    save(std::string("relief-") + schemes[k]);
  }
  m.reliefSchemes[0]->trigger();
  m.contours->trigger();
  m.shading->trigger();
  save("relief-contours-shading");
  m.flatland->trigger();
  save("relief-flatland");
  ASSERT_TRUE(test::saveScreenshot(*window->legend(), "legend"));
}

}  // namespace
}  // namespace quorvanta
