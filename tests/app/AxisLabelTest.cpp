#include <cmath>
#include <functional>
#include <memory>

#include <QRegularExpression>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AnalysisDialogs.h"
#include "app/AnalysisPainters.h"
#include "app/BarogramDialog.h"
#include "app/FakeDialogs.h"
#include "app/RoomForTexts.h"
#include "app/QtText.h"
#include "flight/DayCount.h"
#include "flight/IgcReader.h"
#include "flight/NumberText.h"
#include "support/TestFiles.h"
#include "views/Barogram.h"

namespace quorvanta {
namespace {

using Paint = std::function<PaintedTexts(QPainter&, QSize)>;

// The analysis windows and their plots in the application's font, on long
// real flights: no text may cover another.
class AxisLabelTest : public ::testing::Test {
 protected:
  void load(const std::string& name) {
    ASSERT_TRUE(readFlightFile(test::realFlight(name).string(), *record).ok()) << name;
  }
  AnalysisContext context() {
    return {*record, *state, 0, QString::fromStdString(scratch.path().string() + "/"), dialogs};
  }

  template <class Dialog>
  static QSize defaultPlotSize(Dialog& dialog) {
    dialog.show();
    return dialog.plot()->size();
  }
  QSize barogramPlotSize() {
    BarogramDialog dialog(context());
    return defaultPlotSize(dialog);
  }

  std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  test::ScratchDir scratch;
  test::FakeDialogs dialogs;
};

PaintedTexts paintedInto(QSize size, const Paint& paint) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  return paint(painter, size);
}

void expectApartAndInside(const PaintedTexts& texts, QSize size) {
  const QRect image(QPoint(0, 0), size);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_TRUE(image.contains(texts[i].rect)) << texts[i].text.toStdString();
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
          << texts[i].text.toStdString() << " covers " << texts[j].text.toStdString();
    }
  }
}

// The texts of one axis in drawing order: under the plot (x) or left of it (y).
QStringList xLabels(const PaintedTexts& texts, const PlotArea& area, const QString& caption) {
  QStringList labels;
  for (const PaintedText& text : texts) {
    if (text.rect.top() > area.height && text.text != caption) labels << text.text;
  }
  return labels;
}

QStringList yLabels(const PaintedTexts& texts, const PlotArea& area, const QString& caption) {
  QStringList labels;
  for (const PaintedText& text : texts) {
    const bool beside = text.rect.left() < area.left && text.rect.top() < area.height;
    if (beside && text.text != caption) labels << text.text;
  }
  return labels;
}

// The labels at the lowest and the highest grid line of a value axis.
void expectEndsOfAxis(const QStringList& labels, const AxisScale& axis, const std::string& unit) {
  const double power = std::pow(10.0, axis.exponent);
  const int last = axis.low + (axis.high - axis.low - 1) / axis.step * axis.step;
  ASSERT_GE(labels.size(), 2);
  EXPECT_EQ(labels.front(), qt(fixedText(axis.low * power, 0, 4) + unit));
  EXPECT_EQ(labels.back(), qt(fixedText(last * power, 0, 4) + unit));
}

QString hourText(const TimeTick& tick) { return QString("%1:00").arg(tick.minuteOfDay / 60); }

class LongFlightTest : public AxisLabelTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    AxisLabelTest::SetUp();
    load(GetParam());
  }
};

TEST_P(LongFlightTest, BarogramLabelsFirstAndLastHour) {
  const QSize size = barogramPlotSize();
  const PlotArea area = plotArea(size.width(), size.height());
  const std::vector<TimeTick> hours = timeTicks(*record, 60);
  ASSERT_GE(hours.size(), 2U);
  for (const SeriesKind kind :
       {SeriesKind::Baro, SeriesKind::Vario, SeriesKind::Speed, SeriesKind::Heading}) {
    ErsterPlot(*record, kind, 0, "", *state);
    const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
      return paintBarogram(painter, plot, *record, *state, kind == SeriesKind::Baro);
    });
    SCOPED_TRACE(state->title);
    expectApartAndInside(texts, size);
    const QStringList times = xLabels(texts, area, "Uhrzeit [UTC]");
    ASSERT_GE(times.size(), 2);
    EXPECT_EQ(times.front(), hourText(hours.front()));
    EXPECT_EQ(times.back(), hourText(hours.back()));
    expectEndsOfAxis(yLabels(texts, area, ""), state->axis, state->SeriesUnit);
  }
}

TEST_P(LongFlightTest, PolarLabelsBothAxes) {
  PolarDialog dialog(context());
  const QSize size = defaultPlotSize(dialog);
  const PlotArea area = plotArea(size.width(), size.height());
  for (const PolarKind kind : {PolarKind::Velocity, PolarKind::Polar}) {
    computePolar(*record, kind, 0, *state);
    const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
      return paintPolar(painter, plot, *record, *state, kind);
    });
    SCOPED_TRACE(state->polarTitle);
    expectApartAndInside(texts, size);
    expectEndsOfAxis(xLabels(texts, area, ""), state->polarAxis, "kmh");
    expectEndsOfAxis(yLabels(texts, area, ""), state->axis, state->SeriesUnit);
  }
}

TEST_P(LongFlightTest, StatisticsLabelsFirstAndLastBin) {
  StatisticsDialog dialog(*record);
  const QSize size = defaultPlotSize(dialog);
  const PlotArea area = plotArea(size.width(), size.height());
  const IntervalHistogram histogram = intervalHistogram(*record);
  const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
    return paintIntervalStatistics(painter, plot, histogram);
  });
  expectApartAndInside(texts, size);
  const QStringList bins = xLabels(texts, area, "Abstand Timestamp [s]");
  ASSERT_GE(bins.size(), 2);
  EXPECT_EQ(bins.front(), "1");
  EXPECT_EQ(bins.back(), QString::number(histogram.shownBins));
  expectEndsOfAxis(yLabels(texts, area, "Anzahl"), histogram.axis, "");
}

TEST_P(LongFlightTest, PerspectiveShowsEveryText) {
  PerspectiveDialog dialog(*record, fitToTrack(*record), {}, heightStep(*record), 0);
  const QSize size = defaultPlotSize(dialog);
  const PerspectiveSketch sketch = perspectiveSketch(*record, fitToTrack(*record), {}, {}, heightStep(*record), 0,
                                                     size.width(), size.height());
  const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
    return paintPerspective(painter, plot, sketch);
  });
  expectApartAndInside(texts, size);
  ASSERT_EQ(texts.size(), sketch.texts.size() + 1);
  for (std::size_t i = 0; i < sketch.texts.size(); ++i) EXPECT_EQ(texts[i].text, qt(sketch.texts[i].text));
  EXPECT_EQ(texts.back().text, qt(sketch.scaleLabel.text));
}

INSTANTIATE_TEST_SUITE_P(Flights, LongFlightTest,
                         ::testing::Values("xcscore_trifai-xcontest-362.70.igc",
                                           "flaretiming_Gordon_Rigg.20180103-111847.6433.8.igc",
                                           "xcscore_dup-fixes.igc"));

// Sixty-five bins on the default chart: the bin numbers must thin out.
TEST_F(AxisLabelTest, StatisticsThinsCrowdedBinNumbers) {
  IntervalHistogram histogram;
  for (int k = 1; k <= 65; ++k) histogram.counts[static_cast<std::size_t>(k)] = k;
  histogram.shownBins = 65;
  histogram.axis = axisScale(65, 0, false);
  StatisticsDialog dialog(*record);
  const QSize size = defaultPlotSize(dialog);
  const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
    return paintIntervalStatistics(painter, plot, histogram);
  });
  expectApartAndInside(texts, size);
  const QStringList bins = xLabels(texts, plotArea(size.width(), size.height()), "Abstand Timestamp [s]");
  ASSERT_GE(bins.size(), 3);
  EXPECT_LT(bins.size(), 65);
  EXPECT_EQ(bins.front(), "1");
  EXPECT_EQ(bins.back(), "65");
  // Every n-th bin from the first on, the last one aside.
  const int n = bins[1].toInt() - 1;
  for (int i = 1; i + 1 < bins.size(); ++i) EXPECT_EQ(bins[i].toInt(), 1 + i * n);
}

TEST_F(AxisLabelTest, BarogramZoomedInsideAnHourLabelsMinutes) {
  load("xcscore_trifai-xcontest-362.70.igc");
  const QSize size = barogramPlotSize();
  ErsterPlot(*record, SeriesKind::Baro, 0, "", *state);
  const double halfHour = 0.5 / 24;
  while (record->FixTime[record->ViewLast] - record->FixTime[record->ViewFirst] > halfHour) zoomTimeIn(*record);
  const PaintedTexts texts = paintedInto(size, [&](QPainter& painter, QSize plot) {
    return paintBarogram(painter, plot, *record, *state, true);
  });
  expectApartAndInside(texts, size);
  const QStringList times = xLabels(texts, plotArea(size.width(), size.height()), "Uhrzeit [UTC]");
  ASSERT_GE(times.size(), 3);
  const QRegularExpression clock("^(\\d{1,2}):(\\d\\d)$");
  const auto minuteOf = [&](int fix) {
    const DateTimeParts time = dateTimeParts(record->FixTime[fix]);
    return time.hour * 60 + time.minute;
  };
  std::vector<int> minutes;
  for (const QString& time : times) {
    const QRegularExpressionMatch match = clock.match(time);
    ASSERT_TRUE(match.hasMatch()) << time.toStdString();
    minutes.push_back(match.captured(1).toInt() * 60 + match.captured(2).toInt());
  }
  const int step = minutes[1] - minutes[0];
  EXPECT_TRUE(step == 1 || step == 2 || step == 5 || step == 10 || step == 15 || step == 30) << step;
  for (const int minute : minutes) {
    EXPECT_EQ(minute % step, 0);
    EXPECT_GT(minute, minuteOf(record->ViewFirst));
    EXPECT_LE(minute, minuteOf(record->ViewLast));
  }
}

TEST_F(AxisLabelTest, BarogramControlsAndTitleStandApart) {
  load("xcsoar_01lz1hq1.igc");
  BarogramDialog dialog(context());
  dialog.show();
  ASSERT_TRUE(dialog.titleLabel()->isVisible());
  EXPECT_THAT(test::crampedTexts(dialog), ::testing::IsEmpty());
  QTest::mouseClick(dialog.seriesButton(SeriesKind::Ext2), Qt::LeftButton);
  EXPECT_THAT(test::crampedTexts(dialog), ::testing::IsEmpty());
  // The circle analysis brings the longest title and the colour button.
  QTest::mouseClick(dialog.seriesButton(SeriesKind::Heading), Qt::LeftButton);
  ASSERT_TRUE(dialog.colourButton()->isVisible());
  EXPECT_THAT(test::crampedTexts(dialog), ::testing::IsEmpty());
}

TEST_F(AxisLabelTest, PerspectiveControlsStandApart) {
  load("xcsoar_01lz1hq1.igc");
  PerspectiveDialog dialog(*record, fitToTrack(*record), {}, heightStep(*record), 0);
  dialog.show();
  ASSERT_TRUE(dialog.dropLines()->isVisible());
  EXPECT_THAT(test::crampedTexts(dialog), ::testing::IsEmpty());
}

}  // namespace
}  // namespace quorvanta
