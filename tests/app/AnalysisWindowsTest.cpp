#include <filesystem>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AnalysisDialogs.h"
#include "app/AnalysisPainters.h"
#include "app/BarogramDialog.h"
#include "app/FakeDialogs.h"
#include "app/MainWindow.h"
#include "app/Screenshot.h"
#include "flight/FileContent.h"
#include "flight/IgcReader.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// A circling glider flight with engine noise (ENL) and airspeed channels.
class AnalysisWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(readFlightFile(test::realFlight("xcsoar_01lz1hq1.igc").string(), *record).ok());
  }
  AnalysisContext context() {
    return {*record, *state, 0, QString::fromStdString(scratch.path().string() + "/"), dialogs};
  }
  void save(QWidget& window, const std::string& name) { ASSERT_TRUE(test::saveScreenshot(window, name)); }

  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
};

TEST_F(AnalysisWindowsTest, BarogramSeriesExtensionsCirclesAndTimeZoom) {
  BarogramDialog dialog(context());
  dialog.show();
  EXPECT_THAT(dialog.titleLabel()->text().toStdString(), StartsWith("Barogramm   Farbe: Höhe"));
  EXPECT_TRUE(dialog.seriesButton(SeriesKind::Ext2)->isVisible());
  EXPECT_FALSE(dialog.seriesButton(SeriesKind::Ext3)->isVisible());
  EXPECT_EQ(dialog.seriesButton(SeriesKind::Ext2)->text(), "ENL");
  save(dialog, "barogram-baro");

  const QString caption = dialog.windowTitle();
  EXPECT_TRUE(caption.endsWith(QString::fromStdString(record->FlightTitle)));
  QTest::mouseClick(dialog.seriesButton(SeriesKind::Ext2), Qt::LeftButton);
  EXPECT_EQ(dialog.titleLabel()->text().toStdString(), "Engine Noise Level   Farbe: Höhe");
  EXPECT_EQ(dialog.windowTitle(), caption);  // the flight title is added once
  save(dialog, "barogram-enl");

  QTest::mouseClick(dialog.seriesButton(SeriesKind::Heading), Qt::LeftButton);
  EXPECT_THAT(dialog.titleLabel()->text().toStdString(), StartsWith("Heading  R: "));
  EXPECT_GT(state->RightCircles + state->LeftCircles, 10);
  EXPECT_TRUE(dialog.colourButton()->isVisible());
  save(dialog, "barogram-heading-circles");
  std::string report;
  ASSERT_FALSE(readWholeFile((scratch.path() / "~Kreise.txt").string(), report));
  EXPECT_THAT(report, StartsWith("Ausgewertete Kreise für Barogramm zu Quorvanta"));
  EXPECT_THAT(report, HasSubstr(". Kreis rechts n: "));

  const int first = record->ViewFirst, last = record->ViewLast;
  dialog.popupAction("Zoom in 2x")->trigger();
  EXPECT_EQ(record->ViewLast, first + (last - first) / 2);
  dialog.popupAction("Pan Rechts ")->trigger();
  EXPECT_GT(record->ViewFirst, first);
  dialog.popupAction("Zoom alles")->trigger();
  EXPECT_EQ(record->ViewLast, record->FixCount);

  QTest::mouseMove(dialog.plot(), QPoint(dialog.plot()->width() / 2, 50));
  EXPECT_THAT(dialog.readout()->text().toStdString(), StartsWith("Trackpunkt Nr. "));

  const int middle = record->FixCount / 2;
  const double expected = (state->BaroSeries[middle - 1] + state->BaroSeries[middle] + state->BaroSeries[middle + 1]) / 3;
  QTest::mouseClick(dialog.smoothButton(), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(state->BaroSeries[middle], expected);
}

TEST_F(AnalysisWindowsTest, PaintersLandOnTheirPixels) {
  QImage image(400, 300, QImage::Format_RGB32);
  QPainter painter(&image);
  ErsterPlot(*record, SeriesKind::Baro, 0, "", *state);
  paintBarogram(painter, image.size(), *record, *state, true);
  painter.end();
  const PlotArea area = plotArea(400, 300);
  EXPECT_EQ(image.pixel(area.left + 5, 0), qRgb(0, 0, 0));  // the frame
  EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));

  IntervalHistogram histogram;
  histogram.counts[1] = 10;
  histogram.shownBins = 3;
  histogram.axis = axisScale(10, 0, false);
  QImage chart(300, 300, QImage::Format_RGB32);
  painter.begin(&chart);
  paintIntervalStatistics(painter, chart.size(), histogram);
  painter.end();
  const PlotArea bars = plotArea(300, 300);
  const int centre = bars.width / 3 + bars.left;
  EXPECT_EQ(chart.pixel(centre, bars.height - 5), qRgb(0, 0, 255));
}

TEST_F(AnalysisWindowsTest, PolarStatisticsAndPerspectiveWindows) {
  PolarDialog polar(context());
  polar.show();
  EXPECT_EQ(polar.titleLabel()->text().toStdString(), "Speed und Richtung zum nächsten Punkt");
  save(polar, "polar-velocity");
  QTest::mouseClick(polar.polarButton(), Qt::LeftButton);
  EXPECT_EQ(polar.titleLabel()->text().toStdString(), "Polardiagramm");
  EXPECT_EQ(state->polarAxis.low, 0);
  save(polar, "polar-curve");

  StatisticsDialog statistics(*record);
  statistics.show();
  EXPECT_EQ(statistics.windowTitle().toStdString(), "Statistik Zeitintervalle zu Quorvanta   Vers. 3.2");
  save(statistics, "interval-statistics");

  PerspectiveDialog perspective(*record, MapRect{0.8036, 0.8, 0.128, 0.12}, {}, 1000, 0);
  perspective.show();
  const QImage before = perspective.plot()->image();
  QTest::mousePress(perspective.plot(), Qt::LeftButton, {}, QPoint(300, 300));
  QTest::mouseMove(perspective.plot(), QPoint(280, 260));
  EXPECT_EQ(perspective.azimuth()->value(), 30);
  EXPECT_EQ(perspective.elevation()->value(), 50);
  QTest::mouseRelease(perspective.plot(), Qt::LeftButton, {}, QPoint(280, 260));
  EXPECT_NE(perspective.plot()->image(), before);
}

TEST_F(AnalysisWindowsTest, LongCrossCountryFlightScreenshots) {
  ASSERT_TRUE(readFlightFile(test::realFlight("xcscore_trifai-xcontest-362.70.igc").string(), *record).ok());
  {
    BarogramDialog dialog(context());
    dialog.show();
    save(dialog, "xc-barogram");
    QTest::mouseClick(dialog.seriesButton(SeriesKind::Vario), Qt::LeftButton);
    save(dialog, "xc-variogram");
    QTest::mouseClick(dialog.seriesButton(SeriesKind::Speed), Qt::LeftButton);
    save(dialog, "xc-groundspeed");
  }
  state->PolarRecompute = true;
  PolarDialog polar(context());
  polar.show();
  QTest::mouseClick(polar.polarButton(), Qt::LeftButton);
  save(polar, "xc-polar-curve");
  StatisticsDialog statistics(*record);
  statistics.show();
  save(statistics, "xc-interval-statistics");
  const MapRect map = fitToTrack(*record);
  PerspectiveDialog perspective(*record, map, {}, heightStep(*record), 0);
  perspective.show();
  save(perspective, "xc-perspective");
}

TEST_F(AnalysisWindowsTest, MenuOpensEachWindowModally) {
  QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  MainWindow window(dialogs);
  window.show();
  EXPECT_FALSE(window.menus().barogramWindow->isEnabled());
  window.openFromCommandLine(QString::fromStdString(test::realFlight("xcsoar_01lz1hq1.igc").string()));
  for (QAction* action : {window.menus().barogramWindow, window.menus().polarWindow,
                          window.menus().statisticsWindow, window.menus().perspectiveWindow}) {
    ASSERT_TRUE(action->isEnabled());
    QString opened;
    QTimer::singleShot(0, [&opened] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      opened = modal->windowTitle();
      modal->close();
    });
    action->trigger();
    EXPECT_FALSE(opened.isEmpty()) << action->text().toStdString();
  }
}

}  // namespace
}  // namespace quorvanta
