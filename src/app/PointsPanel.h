#pragma once

#include <vector>

#include <QWidget>

#include "views/ResultTexts.h"

namespace quorvanta {

// The points panel ("Wertung") on the left of the main window.
class PointsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PointsPanel(QWidget* parent = nullptr);
  void setPanel(std::vector<PanelText> panel);
  const std::vector<PanelText>& panel() const { return panel_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<PanelText> panel_;
};

}  // namespace quorvanta
