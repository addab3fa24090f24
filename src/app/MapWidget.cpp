#include "app/MapWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace quorvanta {

MapWidget::MapWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("Karte");
  setMouseTracking(true);
  setCursor(Qt::ArrowCursor);
}

void MapWidget::setStartPicture(QImage picture) {
  startPicture_ = std::move(picture);
  update();
}

void MapWidget::setContent(QImage content) {
  content_ = std::move(content);
  marker_.reset();
  update();
}

void MapWidget::setPanMode(bool pan) {
  panMode_ = pan;
  setCursor(pan ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void MapWidget::setMarker(std::optional<QPoint> centre) {
  marker_ = centre;
  update();
}

void MapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (content_.isNull()) {
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(rect(), startPicture_);
    return;
  }
  painter.drawImage(0, 0, content_);
  painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  if (marker_) {
    painter.setPen(Qt::black);
    painter.setBrush(QColor(255, 0, 255));
    painter.drawEllipse(*marker_, 10, 10);
  }
  if (dragging_) {
    painter.setPen(QColor(255, 0, 255));
    painter.setBrush(Qt::NoBrush);
    if (panMode_) {
      painter.drawLine(dragStart_, dragLast_);
    } else {
      painter.drawRect(QRect(dragStart_, dragLast_).normalized());
    }
  }
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
  if (!live_ || event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragStart_ = dragLast_ = event->position().toPoint();
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!live_) return;
  const QPoint at = event->position().toPoint();
  if (dragging_) {
    dragLast_ = at;
    update();
  }
  emit hovered(at, dragging_);
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  update();
  if (live_) emit dragFinished(dragStart_, dragLast_);
}

void MapWidget::wheelEvent(QWheelEvent* event) {
  if (!live_ || event->angleDelta().y() == 0) return;
  emit wheelTurned(event->angleDelta().y() < 0);
}

}  // namespace quorvanta
