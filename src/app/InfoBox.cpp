#include "app/InfoBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/MapPainter.h"

namespace quorvanta {

InfoBox::InfoBox(QWidget* parent) : QWidget(parent) {
  setObjectName("Punktinfo");
  resize(137, 92);
  setCursor(Qt::OpenHandCursor);
  QFont small = font();
  small.setPointSize(7);
  setFont(small);
}

void InfoBox::setLines(std::vector<TextLine> lines, QColor colour) {
  lines_ = std::move(lines);
  colour_ = colour;
  update();
}

void InfoBox::paintEvent(QPaintEvent*) {
  if (lines_.empty()) return;  // nothing to tell yet: no empty box over the map
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(QColor(96, 96, 96));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(colour_);
  for (const TextLine& line : lines_) {
    drawTextAt(painter, {5, line.y}, QString::fromStdString(line.text));
  }
}

void InfoBox::mousePressEvent(QMouseEvent* event) { dragStart_ = event->position().toPoint(); }

void InfoBox::mouseReleaseEvent(QMouseEvent* event) {
  move(pos() + event->position().toPoint() - dragStart_);
}

}  // namespace quorvanta
