#include "app/MapPainter.h"

#include <cmath>

#include <QFontMetrics>

namespace quorvanta {

namespace {

QPoint point(Pixel p) { return {p.x, p.y}; }

QRect dotAround(Pixel p) { return {p.x - 2, p.y - 2, 4, 4}; }

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

}  // namespace

QColor toQColor(Rgb colour) { return {colour.r, colour.g, colour.b}; }

void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text) {
  painter.drawText(topLeft + QPoint(0, QFontMetrics(painter.font()).ascent()), text);
}

void paintMapScene(QPainter& painter, const MapScene& scene) {
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

QImage legendImage(QSize size, const ReliefColourTable& colours) {
  QImage image(size, QImage::Format_RGB32);
  const int half = size.height() / 2;
  for (int x = 0; x < size.width(); ++x) {
    const QRgb above = toQColor(colours[static_cast<std::size_t>(x * 1000 / size.width())]).rgb();
    const QRgb below = toQColor(colourScale(std::nearbyint(x * 1000.0 / size.width()) / 1000)).rgb();
    for (int y = 0; y < size.height(); ++y) {
      reinterpret_cast<QRgb*>(image.scanLine(y))[x] = y < half ? above : below;
    }
  }
  return image;
}

void paintPointsPanel(QPainter& painter, const std::vector<PanelText>& panel, QSize size,
                      const QColor& background) {
  painter.fillRect(QRect(QPoint(0, 0), size), background);
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
    drawTextAt(painter, {text.x, text.y}, QString::fromStdString(text.text));
  }
  painter.setFont(base);
}

}  // namespace quorvanta
