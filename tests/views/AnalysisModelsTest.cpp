#include <cmath>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "flight/DayCount.h"
#include "flight/Geodesy.h"
#include "flight/NumberText.h"
#include "views/Barogram.h"
#include "views/FlightSketch3d.h"
#include "views/IntervalStatistics.h"
#include "views/PolarDiagram.h"

namespace quorvanta {
namespace {

using ::testing::StartsWith;

constexpr double Second = 1.0 / 86400;

// Fixes `interval` seconds apart along a meridian at 1000 m.
std::unique_ptr<FlightRecord> flight(int count, double interval = 1) {
  auto r = std::make_unique<FlightRecord>();
  for (int i = 1; i <= count; ++i) {
    r->FixLat[i] = 47 * DegToRad + i * 1e-5;
    r->FixLon[i] = 11 * DegToRad;
    r->FixTime[i] = 40000 + (i - 1) * interval * Second;
    r->FixAlt[i] = 1000;
    r->FixValid[i] = true;
  }
  r->FixCount = count;
  r->ViewFirst = 1;
  r->ViewLast = count;
  return r;
}

class AnalysisModelsTest : public ::testing::Test {
 protected:
  void SetUp() override { setDecimalSeparator(','); }
  void TearDown() override { setDecimalSeparator('.'); }
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
};

TEST_F(AnalysisModelsTest, AxisScales) {
  const struct {
    double max, min;
    bool fromBelowZero;
    int exponent, step, low, high;
    double range, offset;
  } cases[] = {
      {2345, 0, false, 3, 1, 0, 3, 3000, 0},
      {8500, 0, false, 3, 2, 0, 10, 10000, 0},
      {4.2, -3.1, true, 0, 1, -4, 5, 9, 4},
      {0.5, 0, false, 0, 1, 0, 1, 1, 0},
      {80, -60, true, 1, 1, -7, 9, 160, 70},  // the velocity diagram's x axis
      {0, -3, false, 0, 1, -4, 1, 5, 4},      // only values below 0: the lowest sets the scale
  };
  for (const auto& c : cases) {
    const AxisScale axis = axisScale(c.max, c.min, c.fromBelowZero);
    EXPECT_EQ(axis.exponent, c.exponent) << c.max;
    EXPECT_EQ(axis.step, c.step) << c.max;
    EXPECT_EQ(axis.low, c.low) << c.max;
    EXPECT_EQ(axis.high, c.high) << c.max;
    EXPECT_DOUBLE_EQ(axis.range, c.range) << c.max;
    EXPECT_DOUBLE_EQ(axis.offset, c.offset) << c.max;
  }
  const AxisScale heading = headingScale(359, 0);
  EXPECT_EQ(heading.step, 9);
  EXPECT_DOUBLE_EQ(heading.range, 360);
}

TEST_F(AnalysisModelsTest, RightCircleOfThirtySeconds) {
  auto r = flight(60);
  FixArray<double>& c = state->BaroSeries;
  for (int i = 1; i <= 60; ++i) c[i] = i < 10 ? 170 : i > 40 ? 183 : std::fmod(185 + (i - 10) * 358.0 / 30, 360);
  const std::string report = analyseCircles(*r, "Barogramm zu Test", *state);
  EXPECT_EQ(state->RightCircles, 1);
  EXPECT_EQ(state->LeftCircles, 0);
  EXPECT_EQ(state->title, "Heading  R: 1 (29,8s)  L: 0");
  EXPECT_THAT(report, StartsWith("Ausgewertete Kreise für Barogramm zu Test\r\n"
                                 "1. Kreis rechts n: 10  m: 40  Kreisdauer[sec]: 29,8   Kurs[n-1..m]:  170,0  185,0  "));
  EXPECT_EQ(state->CircleColour[9], (Rgb{0, 255, 0}));
  EXPECT_EQ(state->CircleColour[40], (Rgb{0, 255, 0}));
  EXPECT_EQ(state->CircleColour[41], (Rgb{128, 128, 128}));

  // Ending at the last fix counts for a right circle, not for a left one.
  r->FixCount = 40;
  analyseCircles(*r, "", *state);
  EXPECT_EQ(state->RightCircles, 1);
  for (int i = 1; i <= 40; ++i) c[i] = 360 - c[i];
  analyseCircles(*r, "", *state);
  EXPECT_EQ(state->LeftCircles, 0);
  r->FixCount = 60;
  for (int i = 41; i <= 60; ++i) c[i] = 360 - c[i];
  analyseCircles(*r, "", *state);
  EXPECT_EQ(state->LeftCircles, 1);
}

TEST_F(AnalysisModelsTest, SeriesTitlesAndNoCirclesAtSixSeconds) {
  auto r = flight(100, 6);
  ErsterPlot(*r, SeriesKind::Heading, 0, "", *state);
  EXPECT_EQ(state->title, "True Heading   Farbe: Höhe");
  EXPECT_FALSE(state->circlesAnalysed);
  EXPECT_EQ(state->SeriesUnit, "°");

  r->ExtCount = 2;
  r->ExtCode[1] = "ENL";
  r->ExtCode[2] = "XYZ";
  ErsterPlot(*r, SeriesKind::Ext1, 3, "", *state);
  EXPECT_EQ(state->title, "Engine Noise Level   Farbe: schwarz");
  ErsterPlot(*r, SeriesKind::Ext2, 0, "", *state);
  EXPECT_THAT(state->title, StartsWith("XYZ"));
  EXPECT_TRUE(state->axis.empty());  // all zero: no data

  r->FixAlt[50] = 2345;
  ErsterPlot(*r, SeriesKind::Baro, 0, "", *state);
  EXPECT_DOUBLE_EQ(state->axis.range, 3000);
}

TEST_F(AnalysisModelsTest, SmoothingTwiceIsNotAFivePointMean) {
  FixArray<double> series;
  const double values[] = {0, 0, 9, 0, 0};
  for (int i = 1; i <= 5; ++i) series[i] = values[i - 1];
  smoothSeries(series, 5);
  EXPECT_DOUBLE_EQ(series[2], 3);
  EXPECT_DOUBLE_EQ(series[3], 3);
  smoothSeries(series, 5);
  EXPECT_DOUBLE_EQ(series[1], 0);
  EXPECT_DOUBLE_EQ(series[2], 2);
  EXPECT_DOUBLE_EQ(series[3], 3);  // a five-point mean would give 1.8
}

TEST_F(AnalysisModelsTest, TimeWindowZoomAndPan) {
  auto r = flight(1001);
  const PlotArea area = plotArea(1000, 400);
  EXPECT_EQ(area.width, 900);
  EXPECT_EQ(area.left, 100);
  dragTimeZoom(*r, 400, 420, area.left, area.width);  // 20 pixels: nothing
  EXPECT_EQ(r->ViewLast, 1001);
  dragTimeZoom(*r, 420, 100, area.left, area.width);
  EXPECT_EQ(r->ViewFirst, 1);
  EXPECT_EQ(r->ViewLast, 356);
  dragTimePan(*r, 500, 495, area.width);  // a short pan still moves
  EXPECT_EQ(r->ViewFirst, 1);
  panTimeRight(*r);
  EXPECT_EQ(r->ViewFirst, 356);
  EXPECT_EQ(r->ViewLast, 711);
  zoomTimeIn(*r);
  EXPECT_EQ(r->ViewLast, 533);
  zoomTimeAll(*r);
  EXPECT_EQ(r->ViewLast, 1001);
  r->ViewFirst = 10, r->ViewLast = 11;
  zoomTimeIn(*r);  // never a window of one fix
  EXPECT_EQ(r->ViewLast - r->ViewFirst, 1);
  EXPECT_EQ(fixUnderMouse(area, *r, 0), 10);
}

TEST_F(AnalysisModelsTest, PolarDotOfALevelGlide) {
  auto r = flight(4, 10);
  // Fix 2 to 3: 40 km/h over the ground, 12 m lower after 10 s.
  r->FixLat[3] = r->FixLat[2] + 40.0 / 360 / EarthRadiusKm;
  r->FixAlt[3] = 988;
  computePolar(*r, PolarKind::Polar, 0, *state);
  EXPECT_NEAR(state->PolarXSeries[2], 40, 1e-4);
  EXPECT_NEAR(state->BaroSeries[2], -1.2, 1e-6);
  EXPECT_EQ(state->polarAxis.low, 0);
  EXPECT_EQ(state->polarTitle, "Polardiagramm");
  EXPECT_TRUE(state->NeedRecompute);
  computePolar(*r, PolarKind::Velocity, 0, *state);
  EXPECT_NEAR(state->BaroSeries[2], 40, 1e-4);  // north
  EXPECT_NEAR(state->PolarXSeries[2], 0, 1e-9);
}

TEST_F(AnalysisModelsTest, IntervalHistogram) {
  auto r = flight(100);
  r->FixTime[51] += 39 * Second;  // one gap of 40 s
  for (int i = 52; i <= 100; ++i) r->FixTime[i] += 39 * Second;
  IntervalHistogram h = intervalHistogram(*r);
  EXPECT_EQ(h.counts[1], 98);
  EXPECT_EQ(h.counts[40], 1);
  EXPECT_EQ(h.shownBins, 42);

  auto four = flight(1235, 4);
  h = intervalHistogram(*four);
  EXPECT_EQ(h.counts[4], 1234);
  EXPECT_EQ(h.shownBins, 6);
  EXPECT_EQ(h.axis.exponent, 3);
  EXPECT_EQ(h.axis.high, 2);
  EXPECT_DOUBLE_EQ(h.axis.range, 2000);

  four->FixTime[3] = four->FixTime[2];               // bin 0
  four->FixTime[10] = four->FixTime[9] - Second;     // backwards: bin 0 too
  four->FixTime[1235] = four->FixTime[1234] + 0.01;  // bin 65
  h = intervalHistogram(*four);
  EXPECT_EQ(h.counts[0], 2);
  EXPECT_EQ(h.counts[65], 1);
  EXPECT_EQ(h.shownBins, 65);

  h = intervalHistogram(*flight(1));
  EXPECT_EQ(h.shownBins, 32);
  EXPECT_DOUBLE_EQ(h.axis.range, 1);
}

TEST_F(AnalysisModelsTest, PerspectiveProjection) {
  auto r = flight(20);
  for (int i = 1; i <= 20; ++i) r->FixAlt[i] = 500 + 50 * i;
  r->MaxAlt = 1500;
  EXPECT_EQ(heightStep(*r), 1000);
  r->MaxAlt = 2500;
  EXPECT_EQ(heightStep(*r), 2000);
  const MapRect map{47.001 * DegToRad, 46.999 * DegToRad + 1e-5, 11.001 * DegToRad, 10.999 * DegToRad};

  PerspectiveView plan;
  plan.elevationDeg = 90;
  plan.azimuthDeg = 0;
  plan.grid = false;
  PerspectiveSketch sketch = perspectiveSketch(*r, map, plan, {}, 1000, 0, 600, 600);
  EXPECT_EQ(sketch.texts[0].text, "Blick aus Richtung   180°");
  // Without the grid the north arrow (4 lines) comes first, then the track
  // in the air (19 lines), then its shadow (19 lines).
  ASSERT_EQ(sketch.lines.size(), 4u + 19 + 19);
  EXPECT_EQ(sketch.lines[0].colour, (Rgb{255, 0, 0}));
  // From straight above the track in the air lies on its shadow.
  const SketchLine& air = sketch.lines[4];
  const SketchLine& shadow = sketch.lines[23];
  EXPECT_EQ(air.from, shadow.from);
  EXPECT_EQ(sketch.scaleTo, sketch.scaleFrom);

  PerspectiveView side = plan;
  side.elevationDeg = 0;
  sketch = perspectiveSketch(*r, map, side, {}, 1000, 0, 600, 600);
  EXPECT_EQ(sketch.lines[23].from.y, sketch.lines[41].to.y);  // the ground is one line
  EXPECT_LT(sketch.lines[22].to.y, sketch.lines[4].from.y);   // the track climbs

  r->MaxAlt = 0;
  r->MaxGroundAlt = 0;
  sketch = perspectiveSketch(*r, map, side, {}, heightStep(*r), 0, 600, 600);
  EXPECT_EQ(sketch.scaleLabel.text, "10m Höhe");
  EXPECT_EQ(sketch.scaleFrom.y - sketch.scaleTo.y, 1000);  // h = 100 pixels per metre

  EXPECT_EQ(rotatedView(plan, {100, 100}, {80, 130}).azimuthDeg, 10);
  EXPECT_EQ(rotatedView(plan, {100, 100}, {80, 130}).elevationDeg, 75);
}

}  // namespace
}  // namespace quorvanta
