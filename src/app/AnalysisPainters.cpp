#include "app/AnalysisPainters.h"

#include <algorithm>
#include <cmath>

#include "app/MapPainter.h"
#include "app/QtText.h"
#include "flight/NumberText.h"
#include "views/Barogram.h"

namespace quorvanta {

namespace {


void boldFont(QPainter& painter) {
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
}

// Moved the least to lie inside the image.
QRect inside(QRect rect, QSize size) {
  rect.moveLeft(std::clamp(rect.left(), 0, std::max(0, size.width() - rect.width())));
  rect.moveTop(std::clamp(rect.top(), 0, std::max(0, size.height() - rect.height())));
  return rect;
}

// The box a text drawn at `topLeft` takes, inside the image.
PaintedText placed(const QPainter& painter, QPoint topLeft, const QString& text, QSize size) {
  const QFontMetrics metrics = painter.fontMetrics();
  return {text, inside(QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height())), size)};
}


// Labels 0, n, 2n, ... and the last one, before which the neighbours that
// crowd it give way.
std::vector<PaintedText> everyNth(const std::vector<PaintedText>& labels, std::size_t n) {
  std::vector<PaintedText> kept;
  for (std::size_t i = 0; i + 1 < labels.size(); i += n) kept.push_back(labels[i]);
  while (kept.size() > 1 && crowded(kept.back(), labels.back())) kept.pop_back();
  kept.push_back(labels.back());
  return kept;
}

// The labels of one axis, in their order along it, at every n-th step for
// the smallest n that keeps them apart.
std::vector<PaintedText> thinned(const std::vector<PaintedText>& labels) {
  for (std::size_t n = 1; n < labels.size(); ++n) {
    std::vector<PaintedText> kept = everyNth(labels, n);
    if (std::adjacent_find(kept.begin(), kept.end(), crowded) == kept.end()) return kept;
  }
  // No room for two: the first alone.
  return labels.size() <= 1 ? labels : std::vector<PaintedText>{labels.front()};
}

void draw(QPainter& painter, const PaintedText& text, PaintedTexts& painted) {
  drawTextAt(painter, text.rect.topLeft(), text.text);
  painted.push_back(text);
}

void drawOnWhite(QPainter& painter, const std::vector<PaintedText>& texts, PaintedTexts& painted) {
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);
  for (const PaintedText& text : texts) draw(painter, text, painted);
  painter.setBackgroundMode(Qt::TransparentMode);
}

// Draws a text moved down the least to keep clear of every text drawn
// before it, as far as the image reaches.
void drawClear(QPainter& painter, QPoint topLeft, const QString& text, QSize size, PaintedTexts& painted) {
  PaintedText box = placed(painter, topLeft, text, size);
  for (const PaintedText& earlier : painted) {
    if (crowded(earlier, box)) box.rect.moveTop(earlier.rect.bottom() + 1 + LabelGap);
  }
  box.rect = inside(box.rect, size);
  draw(painter, box, painted);
}

// The values at the grid lines of an axis, from the bottom (or left) on.
std::vector<double> gridValues(const AxisScale& axis) {
  std::vector<double> values;
  const double power = std::pow(10.0, axis.exponent);
  for (int v = axis.low; v < axis.high; v += axis.step) values.push_back(v * power);
  return values;
}

QString valueText(double value, const std::string& unit) { return qt(fixedText(value, 0, 4) + unit); }

// "9:00", "14:05": the clock at the start of a time-axis step.
QString clockText(int minuteOfDay) {
  return QString("%1:%2").arg(minuteOfDay / 60).arg(minuteOfDay % 60, 2, 10, QChar('0'));
}

// Lines across the plot at every step of the axis, labels on white where
// they find room.
void paintValueGrid(QPainter& painter, const PlotArea& area, QSize size, const AxisScale& axis,
                    const std::string& unit, PaintedTexts& painted) {
  boldFont(painter);
  painter.setPen(Qt::black);
  std::vector<PaintedText> labels;
  for (const double value : gridValues(axis)) {
    const int y = valueY(area, axis, value);
    painter.drawLine(area.left, y, size.width(), y);
    const QString text = valueText(value, unit);
    // A label too wide for the margin ends short of the frame, not under it.
    const int width = painter.fontMetrics().horizontalAdvance(text);
    const int x = std::min(area.left - 45, area.left - LabelGap - width);
    labels.push_back(placed(painter, {x, y - 8}, text, size));
  }
  drawOnWhite(painter, thinned(labels), painted);
}

void frame(QPainter& painter, const PlotArea& area, int right) {
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(area.left, 0), QPoint(right, area.height)));
}

void paintTimeGrid(QPainter& painter, const PlotArea& area, const FlightRecord& r, QSize size,
                   PaintedTexts& painted) {
  // With the gap on both sides, so that ticks a pixel closer still keep theirs.
  const int labelWidth = painter.fontMetrics().horizontalAdvance(clockText(23 * 60 + 59)) + 2 * LabelGap;
  painter.setPen(Qt::black);
  std::vector<PaintedText> labels;
  for (const TimeTick& tick : timeTicks(r, timeStep(r, area.width, labelWidth))) {
    const int x = timeX(area, r, tick.fix);
    painter.drawLine(x, area.height, x, 0);
    labels.push_back(placed(painter, {x - 16, area.height + 10}, clockText(tick.minuteOfDay), size));
  }
  drawOnWhite(painter, thinned(labels), painted);
  drawClear(painter, {size.width() - 100, size.height() - 16}, "Uhrzeit [UTC]", size, painted);
}

void paintTerrainAndGps(QPainter& painter, const PlotArea& area, const FlightRecord& r,
                        const AxisScale& axis) {
  for (int i = r.ViewFirst; i <= r.ViewLast; ++i) {
    painter.setPen(r.FixValid[i] ? QColor(128, 128, 128) : QColor(255, 0, 0));
    const int x = timeX(area, r, i);
    painter.drawLine(x, valueY(area, axis, 0), x, valueY(area, axis, r.FixGroundAlt[i]));
  }
  painter.setPen(Qt::black);
  for (int i = r.ViewFirst + 1; i <= r.ViewLast; ++i) {
    painter.drawLine(timeX(area, r, i - 1), valueY(area, axis, r.FixGpsAlt[i - 1]), timeX(area, r, i),
                     valueY(area, axis, r.FixGpsAlt[i]));
  }
}

}  // namespace

PaintedTexts paintBarogram(QPainter& painter, QSize size, const FlightRecord& r, const AnalysisState& s,
                           bool baroShown) {
  PaintedTexts painted;
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  if (s.axis.empty() || r.FixCount < 1) return painted;
  const PlotArea area = plotArea(size.width(), size.height());
  frame(painter, area, size.width());
  paintValueGrid(painter, area, size, s.axis, s.SeriesUnit, painted);
  paintTimeGrid(painter, area, r, size, painted);
  if (baroShown) paintTerrainAndGps(painter, area, r, s.axis);
  for (int i = r.ViewFirst + 1; i <= r.ViewLast; ++i) {
    painter.setPen(toQColor(s.ShowCircles ? s.CircleColour[i] : s.SeriesColour[i]));
    painter.drawLine(timeX(area, r, i - 1), valueY(area, s.axis, s.BaroSeries[i - 1]), timeX(area, r, i),
                     valueY(area, s.axis, s.BaroSeries[i]));
  }
  return painted;
}

PaintedTexts paintPolar(QPainter& painter, QSize size, const FlightRecord& r, const AnalysisState& s,
                        PolarKind kind) {
  PaintedTexts painted;
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  if (s.axis.empty()) return painted;
  const PlotArea area = plotArea(size.width(), size.height());
  const AxisScale& xAxis = s.polarAxis;
  const auto x = [&](double v) { return static_cast<int>((v + xAxis.offset) / xAxis.range * area.width + area.left); };
  if (kind == PolarKind::Velocity) {
    painter.setPen(QColor(192, 192, 192));
    painter.setBrush(Qt::NoBrush);
    const QPoint centre(x(0), valueY(area, s.axis, 0));
    for (int ring = 1; ring <= 20; ++ring) {
      painter.drawEllipse(centre, static_cast<int>(area.width * 10.0 * ring / xAxis.range),
                          static_cast<int>(area.height * 10.0 * ring / s.axis.range));
    }
    painter.fillRect(0, 0, area.left, size.height(), Qt::white);
    painter.fillRect(0, area.height + 1, size.width(), size.height() - area.height, Qt::white);
  }
  frame(painter, area, size.width());
  boldFont(painter);
  std::vector<PaintedText> labels;
  for (const double value : gridValues(xAxis)) {
    painter.drawLine(x(value), 0, x(value), area.height);
    labels.push_back(placed(painter, {x(value) - 18, area.height + 8}, valueText(value, "kmh"), size));
  }
  drawOnWhite(painter, thinned(labels), painted);
  paintValueGrid(painter, area, size, s.axis, s.SeriesUnit, painted);
  for (int i = std::max(r.ViewFirst, firstPolarPoint(kind)); i <= std::min(r.ViewLast, r.FixCount - 1); ++i) {
    const QColor colour = toQColor(s.SeriesColour[i]);
    painter.setPen(colour);
    painter.setBrush(colour);
    const QPoint dot(x(s.PolarXSeries[i]), valueY(area, s.axis, s.BaroSeries[i]));
    painter.drawEllipse(QRect(dot - QPoint(2, 2), dot + QPoint(2, 2)));
  }
  return painted;
}

PaintedTexts paintIntervalStatistics(QPainter& painter, QSize size, const IntervalHistogram& h) {
  PaintedTexts painted;
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  const PlotArea area = plotArea(size.width(), size.height());
  frame(painter, area, size.width());
  paintValueGrid(painter, area, size, h.axis, "", painted);
  drawClear(painter, {16, 20}, "Anzahl", size, painted);
  const int bins = h.shownBins;
  const auto centre = [&](int k) { return static_cast<int>(static_cast<double>(area.width) / bins * k + area.left); };
  std::vector<PaintedText> labels;
  for (int k = 1; k <= bins; ++k) {
    labels.push_back(placed(painter, {centre(k) - 4, area.height + 10}, QString::number(k), size));
  }
  drawOnWhite(painter, thinned(labels), painted);
  drawClear(painter, {size.width() - 160, size.height() - 16}, "Abstand Timestamp [s]", size, painted);
  const int half = size.width() / (3 * bins);
  painter.setBrush(QColor(0, 0, 255));
  for (int k = 1; k <= std::min(bins, 65); ++k) {
    const int count = h.counts[static_cast<std::size_t>(k)];
    if (count == 0) continue;
    painter.drawRect(QRect(QPoint(centre(k) - half, valueY(area, h.axis, count)),
                           QPoint(centre(k) + half, area.height)));
  }
  return painted;
}

PaintedTexts paintPerspective(QPainter& painter, QSize size, const PerspectiveSketch& sketch) {
  PaintedTexts painted;
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(QColor(255, 255, 0));
  painter.setPen(Qt::black);
  for (const SketchText& text : sketch.texts) {
    drawClear(painter, {text.at.x, text.at.y}, qt(text.text), size, painted);
  }
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
  for (const SketchLine& line : sketch.lines) {
    painter.setPen(QPen(toQColor(line.colour), line.width));
    painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
  }
  painter.setPen(QPen(QColor(255, 0, 255), 3));
  painter.drawLine(sketch.scaleFrom.x, sketch.scaleFrom.y, sketch.scaleTo.x, sketch.scaleTo.y);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);
  const SketchText& scale = sketch.scaleLabel;
  drawClear(painter, {scale.at.x, scale.at.y}, qt(scale.text), size, painted);
  painter.setBackgroundMode(Qt::TransparentMode);
  return painted;
}

}  // namespace quorvanta
