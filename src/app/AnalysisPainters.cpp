#include "app/AnalysisPainters.h"

#include <cmath>

#include "app/MapPainter.h"
#include "app/QtText.h"
#include "flight/DayCount.h"
#include "flight/NumberText.h"
#include "views/Barogram.h"

namespace quorvanta {

namespace {

void boldFont(QPainter& painter) {
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
}

// Labels on white and lines across the plot at every step of the axis.
void paintValueGrid(QPainter& painter, const PlotArea& area, int right, const AxisScale& axis,
                    const std::string& unit) {
  boldFont(painter);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);
  const double power = std::pow(10.0, axis.exponent);
  for (int v = axis.low; v < axis.high; v += axis.step) {
    const double value = v * power;
    const int y = valueY(area, axis, value);
    painter.setPen(Qt::black);
    drawTextAt(painter, {area.left - 45, y - 8}, qt(fixedText(value, 0, 4) + unit));
    painter.drawLine(area.left, y, right, y);
  }
  painter.setBackgroundMode(Qt::TransparentMode);
}

void frame(QPainter& painter, const PlotArea& area, int right) {
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(area.left, 0), QPoint(right, area.height)));
}

void paintTimeGrid(QPainter& painter, const PlotArea& area, const FlightRecord& r, QSize size) {
  int lastHour = dateTimeParts(r.FixTime[r.ViewFirst]).hour;
  painter.setPen(Qt::black);
  for (int i = r.ViewFirst + 1; i <= r.ViewLast; ++i) {
    const int hour = dateTimeParts(r.FixTime[i]).hour;
    if (hour == lastHour) continue;
    lastHour = hour;
    const int x = timeX(area, r, i);
    painter.drawLine(x, area.height, x, 0);
    drawTextAt(painter, {x - 16, area.height + 10}, QString("%1:00").arg(hour));
  }
  drawTextAt(painter, {size.width() - 100, size.height() - 16}, "Uhrzeit [UTC]");
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

void paintBarogram(QPainter& painter, QSize size, const FlightRecord& r, const AnalysisState& s,
                   bool baroShown) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  if (s.axis.empty() || r.FixCount < 1) return;
  const PlotArea area = plotArea(size.width(), size.height());
  frame(painter, area, size.width());
  paintValueGrid(painter, area, size.width(), s.axis, s.SeriesUnit);
  paintTimeGrid(painter, area, r, size);
  if (baroShown) paintTerrainAndGps(painter, area, r, s.axis);
  for (int i = r.ViewFirst + 1; i <= r.ViewLast; ++i) {
    painter.setPen(toQColor(s.ShowCircles ? s.CircleColour[i] : s.SeriesColour[i]));
    painter.drawLine(timeX(area, r, i - 1), valueY(area, s.axis, s.BaroSeries[i - 1]), timeX(area, r, i),
                     valueY(area, s.axis, s.BaroSeries[i]));
  }
}

void paintPolar(QPainter& painter, QSize size, const FlightRecord& r, const AnalysisState& s, PolarKind kind) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  if (s.axis.empty()) return;
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
  const double power = std::pow(10.0, xAxis.exponent);
  for (int v = xAxis.low; v < xAxis.high; v += xAxis.step) {
    const double value = v * power;
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    drawTextAt(painter, {x(value) - 18, area.height + 8}, qt(fixedText(value, 0, 4) + "kmh"));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawLine(x(value), 0, x(value), area.height);
  }
  paintValueGrid(painter, area, size.width(), s.axis, s.SeriesUnit);
  for (int i = std::max(r.ViewFirst, firstPolarPoint(kind)); i <= std::min(r.ViewLast, r.FixCount - 1); ++i) {
    const QColor colour = toQColor(s.SeriesColour[i]);
    painter.setPen(colour);
    painter.setBrush(colour);
    const QPoint dot(x(s.PolarXSeries[i]), valueY(area, s.axis, s.BaroSeries[i]));
    painter.drawEllipse(QRect(dot - QPoint(2, 2), dot + QPoint(2, 2)));
  }
}

void paintIntervalStatistics(QPainter& painter, QSize size, const IntervalHistogram& h) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  const PlotArea area = plotArea(size.width(), size.height());
  frame(painter, area, size.width());
  paintValueGrid(painter, area, size.width(), h.axis, "");
  painter.setPen(Qt::black);
  drawTextAt(painter, {16, 20}, "Anzahl");
  const int bins = h.shownBins;
  const auto centre = [&](int k) { return static_cast<int>(static_cast<double>(area.width) / bins * k + area.left); };
  for (int k = 1; k <= bins; ++k) drawTextAt(painter, {centre(k) - 4, area.height + 10}, QString::number(k));
  drawTextAt(painter, {size.width() - 160, size.height() - 16}, "Abstand Timestamp [s]");
  const int half = size.width() / (3 * bins);
  painter.setBrush(QColor(0, 0, 255));
  for (int k = 1; k <= std::min(bins, 65); ++k) {
    const int count = h.counts[static_cast<std::size_t>(k)];
    if (count == 0) continue;
    painter.drawRect(QRect(QPoint(centre(k) - half, valueY(area, h.axis, count)),
                           QPoint(centre(k) + half, area.height)));
  }
}

void paintPerspective(QPainter& painter, QSize size, const PerspectiveSketch& sketch) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(QColor(255, 255, 0));
  painter.setPen(Qt::black);
  for (const SketchText& text : sketch.texts) drawTextAt(painter, {text.at.x, text.at.y}, qt(text.text));
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
  drawTextAt(painter, {sketch.scaleLabel.at.x, sketch.scaleLabel.at.y}, qt(sketch.scaleLabel.text));
  painter.setBackgroundMode(Qt::TransparentMode);
}

}  // namespace quorvanta
