#include "app/PointsPanel.h"

#include <QPainter>

#include "app/MapPainter.h"

namespace quorvanta {

PointsPanel::PointsPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("Wertung");
  resize(265, 313);
}

void PointsPanel::setPanel(std::vector<PanelText> panel) {
  panel_ = std::move(panel);
  update();
}

void PointsPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintPointsPanel(painter, panel_, size(), palette().color(QPalette::Button));
}

}  // namespace quorvanta
