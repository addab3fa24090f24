#include "views/ResultTexts.h"

#include <memory>

#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"

namespace quorvanta {
namespace {

class ResultTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setDecimalSeparator(',');
    // Five fixes on the equator, 0.01 degrees apart.
    for (int i = 1; i <= 5; ++i) {
      r->FixLat[i] = 0;
      r->FixLon[i] = i * 0.01 * DegToRad;
      r->FixTime[i] = *encodeDate(2003, 7, 15) + *encodeTime(9, 5, i);
      r->FixAlt[i] = 1000 + i;
    }
    r->FixCount = 5;
  }
  void TearDown() override { setDecimalSeparator('.'); }
  std::unique_ptr<FlightRecord> r = std::make_unique<FlightRecord>();
};

TEST_F(ResultTextsTest, PointsPanelMarksTheBestKinds) {
  OptimizationResult result;
  result.FaiPerimeter = 100 / EarthRadiusKm;
  result.FaiPoints = 200;
  result.FaiTp1 = 11, result.FaiTp2 = 22, result.FaiTp3 = 33;
  result.FreeDistance = 120 / EarthRadiusKm;
  result.FreePoints = 180;
  result.FreeFinish = 99;
  result.FaiIsBest = true;
  const auto panel = pointsPanel(result);
  ASSERT_EQ(panel.size(), 16u);
  EXPECT_EQ(panel[0].text, "FAI - Dreieckstrecke [km]: 100,000");
  EXPECT_EQ(panel[0].style, PanelStyle::Heading);
  EXPECT_EQ(panel[2].text, "WP 2: 22");
  EXPECT_EQ(panel[2].y, 35);
  EXPECT_EQ(panel[4].text, "Wertungspunkte: 200,00");
  EXPECT_EQ(panel[4].style, PanelStyle::BestPoints);
  EXPECT_EQ(panel[4].y, 70);
  EXPECT_EQ(panel[9].style, PanelStyle::Points);
  EXPECT_EQ(panel[9].y, 170);
  EXPECT_EQ(panel[14].text, "Wertungspunkte: 180,00");
  EXPECT_EQ(panel[14].y, 285);
  EXPECT_EQ(panel[15].text, "ZielP: 99");
  EXPECT_EQ(panel[15].y, 265);
}

TEST_F(ResultTextsTest, RouteLabelsAndLegs) {
  const RouteFixes route = {1, 2, 3, 4, 5};
  const auto labels = routeLabelTexts(routePoints(*r, route));
  EXPECT_EQ(labels[0], "StartP:  S 0:00,000  E 0:00,600  1001m  09:05:01  (1)");
  EXPECT_EQ(labels[4].substr(0, 8), "ZielP:  ");
  const std::string leg = fixedText(0.01 * DegToRad * EarthRadiusKm, 3);
  EXPECT_EQ(freeLegsText(*r, route), leg + " + " + leg + " + " + leg + " + " + leg + " km");
  const auto triangle = triangleLegsTexts(*r, route);
  EXPECT_EQ(triangle[1], "50,00% + 25,00% + 25,00% - 100,00%");
  EXPECT_EQ(triangleLegsTexts(*r, {1, 1, 1, 1, 1})[1], "");  // no perimeter: no shares
}

TEST_F(ResultTextsTest, Measurements) {
  EXPECT_EQ(startToFinishText(*r), "Start bis Ziel direkt [km]: " +
                                       fixedText(0.04 * DegToRad * EarthRadiusKm, 3));
  r->FixCount = 1;
  EXPECT_EQ(trackLengthText(*r), "Gesamtlänge des Tracks [km]: 0,000");
}

}  // namespace
}  // namespace quorvanta
