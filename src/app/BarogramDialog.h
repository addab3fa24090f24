#pragma once

#include <array>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/AnalysisContext.h"
#include "app/PlotWidget.h"
#include "views/Barogram.h"

namespace quorvanta {

// "Baro/Vario/Speed/Ext": one quantity of the flight over time.
class BarogramDialog : public QDialog {
  Q_OBJECT

 public:
  explicit BarogramDialog(AnalysisContext context, QWidget* parent = nullptr);
  ~BarogramDialog() override;

  PlotWidget* plot() const { return plot_; }
  QLabel* titleLabel() const { return title_; }
  QLabel* readout() const { return readout_; }
  QRadioButton* seriesButton(SeriesKind kind) const { return buttons_[static_cast<std::size_t>(kind)]; }
  QPushButton* smoothButton() const { return smooth_; }
  QPushButton* colourButton() const { return colours_; }
  QAction* popupAction(const QString& caption) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  SeriesKind chosenKind() const;
  void draw();
  void recompute();
  void placeControls();
  void placeSeriesButtons();
  void placeTitleAndPlot();
  void buildPopup();
  void mouseMoved(QPoint at, bool buttonHeld);
  void mouseReleased(QPoint at);

  AnalysisContext context_;
  PlotWidget* plot_;
  QLabel* title_;
  QLabel* readout_;
  std::array<QRadioButton*, 7> buttons_{};
  QPushButton* smooth_;
  QPushButton* colours_;
  QAction* mousePan_ = nullptr;
  QPoint pressAt_;
};

}  // namespace quorvanta
