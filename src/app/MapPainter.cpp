#include "app/MapPainter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QFontMetrics>

namespace quorvanta {

namespace {

QPoint point(Pixel p) { return {p.x, p.y}; }

QRect dotAround(Pixel p) { return {p.x - 2, p.y - 2, 4, 4}; }

void paintTrackOutline(QPainter& painter, const MapScene& scene) {
  std::vector<QPoint> points;
  points.reserve(scene.track.size());
  for (const Pixel& p : scene.track) points.push_back(point(p));
  painter.setPen(QPen(Qt::black, 3));
  painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void paintTrack(QPainter& painter, const MapScene& scene) {
  painter.setBrush(Qt::black);
  for (std::size_t i = 0; i < scene.track.size(); ++i) {
    painter.setPen(QPen(toQColor(scene.trackColours[i]), 1));
    if (i > 0) painter.drawLine(point(scene.track[i - 1]), point(scene.track[i]));
    painter.drawEllipse(dotAround(scene.track[i]));
  }
}

void paintRoute(QPainter& painter, const MapScene& scene) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 128, 0), 2));
  for (std::size_t i = 1; i < scene.routeLine.size(); ++i) {
    painter.drawLine(point(scene.routeLine[i - 1]), point(scene.routeLine[i]));
  }
  if (scene.gapLine.size() == 2) {
    painter.setPen(QPen(QColor(255, 0, 0), 2));
    painter.drawLine(point(scene.gapLine[0]), point(scene.gapLine[1]));
  }
}

QFont legendFont() {
  QFont font;
  font.setPixelSize(9);
  return font;
}

PaintedText heightLabel(int metres, int left, int top, const QFontMetrics& metrics) {
  const QString text = QString("%1 m").arg(metres);
  return {text, QRect(left, top, metrics.horizontalAdvance(text), metrics.height())};
}

// The multiples of `step` strictly inside the range, each centred on its
// place in the strip as far as the strip's edges allow.
std::vector<PaintedText> roundLabels(int step, const ReliefRange& heights, int width,
                                     const QFontMetrics& metrics, int top) {
  std::vector<PaintedText> labels;
  const double span = heights.high - heights.low;
  for (int metres = (static_cast<int>(std::floor(heights.low / static_cast<double>(step))) + 1) * step;
       metres < heights.high; metres += step) {
    PaintedText label = heightLabel(metres, 0, top, metrics);
    const double centre = (metres - heights.low) * width / span;
    const int left = static_cast<int>(std::lround(centre - label.rect.width() / 2.0));
    label.rect.moveLeft(std::clamp(left, 0, width - label.rect.width()));
    labels.push_back(label);
  }
  return labels;
}

bool spreadApart(const PaintedTexts& labels) {
  return std::adjacent_find(labels.begin(), labels.end(), crowded) == labels.end();
}

// The lowest and highest height at the strip's ends, and between them the
// multiples of the finest round step whose labels stay apart.
std::vector<PaintedText> heightLabels(const ReliefRange& heights, int width,
                                      const QFontMetrics& metrics, int top) {
  const PaintedText low = heightLabel(heights.low, 0, top, metrics);
  PaintedText high = heightLabel(heights.high, 0, top, metrics);
  high.rect.moveRight(width - 1);
  if (heights.high == heights.low || crowded(low, high)) return {low};
  static constexpr std::array<int, 11> Steps = {10,  20,   50,   100,  200,  250,
                                                 500, 1000, 2000, 5000, 10000};
  std::vector<PaintedText> between;
  for (const int step : Steps) {
    between = roundLabels(step, heights, width, metrics, top);
    if (spreadApart(between)) break;
  }
  std::vector<PaintedText> labels{low};
  for (const PaintedText& label : between) {
    if (!crowded(label, low) && !crowded(label, high)) labels.push_back(label);
  }
  labels.push_back(high);
  return labels;
}

}  // namespace

bool crowded(const PaintedText& a, const PaintedText& b) {
  return a.rect.adjusted(-LabelGap, -LabelGap, LabelGap, LabelGap).intersects(b.rect);
}

QColor toQColor(Rgb colour) { return {colour.r, colour.g, colour.b}; }

void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text) {
  painter.drawText(topLeft + QPoint(0, QFontMetrics(painter.font()).ascent()), text);
}

void paintMapScene(QPainter& painter, const MapScene& scene, bool overPicture) {
  const QColor magenta(255, 0, 255);
  painter.setPen(QPen(magenta, 3));
  painter.drawLine(point(scene.scaleFrom), point(scene.scaleTo));
  drawTextAt(painter, point(scene.scaleLabelAt), QString::fromStdString(scene.scaleLabel));
  if (scene.heightLine) {
    painter.setPen(QColor(0, 0, 128));
    drawTextAt(painter, point(scene.heightLineAt), QString::fromStdString(*scene.heightLine));
  }
  for (const MapCircle& circle : scene.circles) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(circle.fill));
    painter.drawEllipse(QRect(point(circle.corner1), point(circle.corner2)).normalized());
  }
  if (overPicture) paintTrackOutline(painter, scene);
  paintTrack(painter, scene);
  paintRoute(painter, scene);
}

void paintMapImage(QPainter& painter, const QImage& bitmap, const MapPlacement& placement,
                   const QString& mapPath) {
  if (placement.overzoomed) {
    painter.setPen(Qt::black);
    drawTextAt(painter, {30, 50}, mapPath + " overzoomed!!");
    return;
  }
  const QRect target(QPoint(placement.left, placement.top),
                     QPoint(placement.right - 1, placement.bottom - 1));
  painter.drawImage(target, bitmap);
}

QImage reliefImage(const TerrainModel& terrain, const MapRect& rect, int width,
                   const ReliefOptions& options, ReliefColourTable& colours,
                   const std::function<void(int)>& progress) {
  const ReliefRange range = reliefRange(terrain, rect);
  const auto index = reliefIndex(terrain, rect, width, width, range, options.interpolate, progress);
  colours = reliefColourTable(options);
  QImage image(width, width, QImage::Format_RGB32);
  writeReliefPixels(index, width, width, colours, options.shading,
                    reinterpret_cast<std::uint32_t*>(image.bits()),
                    static_cast<std::size_t>(image.bytesPerLine()) / sizeof(std::uint32_t));
  return image;
}

Legend legendImage(QSize size, const ReliefColourTable& colours, const ReliefRange& heights) {
  Legend legend{QImage(size, QImage::Format_ARGB32_Premultiplied), {}};
  legend.image.fill(Qt::transparent);
  const int strip = std::min(LegendStripHeight, size.height());
  for (int x = 0; x < size.width(); ++x) {
    const QRgb above = toQColor(colours[static_cast<std::size_t>(x * 1000 / size.width())]).rgb();
    const QRgb below = toQColor(colourScale(std::nearbyint(x * 1000.0 / size.width()) / 1000)).rgb();
    for (int y = 0; y < strip; ++y) {
      reinterpret_cast<QRgb*>(legend.image.scanLine(y))[x] = y < strip / 2 ? above : below;
    }
  }
  if (heights.low > heights.high) return legend;
  QPainter painter(&legend.image);
  painter.setFont(legendFont());
  painter.setPen(Qt::black);
  legend.labels = heightLabels(heights, size.width(), QFontMetrics(painter.font()), strip + 1);
  for (const PaintedText& label : legend.labels) drawTextAt(painter, label.rect.topLeft(), label.text);
  return legend;
}

PaintedTexts paintPointsPanel(QPainter& painter, const std::vector<PanelText>& panel, QSize size,
                              const QColor& background) {
  painter.fillRect(QRect(QPoint(0, 0), size), background);
  PaintedTexts painted;
  QFont base = painter.font();
  for (const PanelText& text : panel) {
    QFont font = base;
    font.setPointSize(8);
    QColor colour = Qt::black;
    switch (text.style) {
      case PanelStyle::Heading: font.setBold(true); break;
      case PanelStyle::Points:
        font.setBold(true);
        colour = QColor(0, 0, 128);
        break;
      case PanelStyle::BestPoints:
        font.setBold(true);
        font.setPointSize(14);
        colour = QColor(255, 0, 0);
        break;
      case PanelStyle::Detail: break;
    }
    painter.setFont(font);
    painter.setPen(colour);
    const QString line = QString::fromStdString(text.text);
    drawTextAt(painter, {text.x, text.y}, line);
    painted.push_back({line, QRect(QPoint(text.x, text.y), painter.fontMetrics().size(0, line))});
  }
  painter.setFont(base);
  return painted;
}

}  // namespace quorvanta
