#include "app/PlotWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvanta {

PlotWidget::PlotWidget(Painter painter, QWidget* parent) : QWidget(parent), painter_(std::move(painter)) {
  setMouseTracking(true);
  setMinimumSize(10, 10);
}

void PlotWidget::redraw() {
  image_ = QImage(size(), QImage::Format_RGB32);
  QPainter painter(&image_);
  painter_(painter, size());
  cursorX_.reset();
  update();
}

void PlotWidget::setCursorLine(std::optional<int> x) {
  cursorX_ = x;
  update();
}

void PlotWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
  if (!cursorX_) return;
  painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  painter.setPen(QColor(255, 0, 255));
  painter.drawLine(*cursorX_, 0, *cursorX_, static_cast<int>(0.9 * height()));
}

void PlotWidget::resizeEvent(QResizeEvent*) { redraw(); }

void PlotWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;  // the right button opens the popup menu
  buttonHeld_ = true;
  emit pressed(event->position().toPoint());
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) { emit moved(event->position().toPoint(), buttonHeld_); }

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !buttonHeld_) return;
  buttonHeld_ = false;
  emit released(event->position().toPoint());
}

}  // namespace quorvanta
