#pragma once

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include "app/MapPainter.h"
#include "app/PointsPanel.h"

// Header-only: each GUI test that shows a window checks its texts with it.
namespace quorvanta::test {

inline std::string describeWidget(const QWidget& widget) {
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) text = label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) text = button->text();
  return QString("%1 %2 \"%3\"").arg(widget.metaObject()->className(), widget.objectName(), text).toStdString();
}

inline bool showsText(const QWidget& widget) {
  if (!widget.isVisible()) return false;
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return !label->text().isEmpty();
  const auto* button = qobject_cast<const QAbstractButton*>(&widget);
  return button && !button->text().isEmpty();
}

// A label or button must be as wide as its text needs, lie inside its
// parent and cover no other visible widget beside it.
inline void collectCramped(const QWidget& widget, std::vector<std::string>& cramped) {
  const QRect room = widget.parentWidget()->rect();
  if (widget.width() < widget.sizeHint().width()) cramped.push_back(describeWidget(widget) + " is cut");
  if (!room.contains(widget.geometry())) cramped.push_back(describeWidget(widget) + " sticks out");
  for (const QObject* object : widget.parentWidget()->children()) {
    const auto* sibling = qobject_cast<const QWidget*>(object);
    if (!sibling || sibling == &widget || !sibling->isVisible() || sibling->isWindow()) continue;
    if (const auto* label = qobject_cast<const QLabel*>(sibling); label && label->text().isEmpty()) {
      continue;
    }
    if (widget.geometry().intersects(sibling->geometry())) {
      cramped.push_back(describeWidget(widget) + " covers " + describeWidget(*sibling));
    }
  }
}

// What is cut, sticks out of its parent or covers another widget, in words;
// empty when every label, button and points panel line has its room.
inline std::vector<std::string> crampedTexts(const QWidget& window) {
  std::vector<std::string> cramped;
  for (const QWidget* child : window.findChildren<QWidget*>()) {
    if (showsText(*child) && !child->isWindow()) collectCramped(*child, cramped);
  }
  if (const auto* panel = window.findChild<const PointsPanel*>("Wertung"); panel && panel->isVisible()) {
    QImage canvas(panel->size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    for (const PaintedText& line : paintPointsPanel(painter, panel->panel(), panel->size(), Qt::white)) {
      if (!canvas.rect().contains(line.rect)) {
        cramped.push_back(QString("Wertung line \"%1\" is cut").arg(line.text).toStdString());
      }
    }
  }
  return cramped;
}

}  // namespace quorvanta::test
