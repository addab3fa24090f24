#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "app/AnalysisContext.h"
#include "app/PlotWidget.h"
#include "views/FlightSketch3d.h"
#include "views/IntervalStatistics.h"
#include "views/PolarDiagram.h"

namespace quorvanta {

// "Polardiagramme": velocity scatter or the polar curve as flown.
class PolarDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PolarDialog(AnalysisContext context, QWidget* parent = nullptr);
  ~PolarDialog() override;
  PlotWidget* plot() const { return plot_; }
  QLabel* titleLabel() const { return title_; }
  QRadioButton* polarButton() const { return polar_; }
  QPushButton* smoothButton() const { return smooth_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  PolarKind kind() const { return polar_->isChecked() ? PolarKind::Polar : PolarKind::Velocity; }
  void draw();

  AnalysisContext context_;
  PlotWidget* plot_;
  QLabel* title_;
  QRadioButton* velocity_;
  QRadioButton* polar_;
  QPushButton* smooth_;
};

// "Statistik Zeitintervalle": how regularly the recorder logged.
class StatisticsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsDialog(const FlightRecord& record, QWidget* parent = nullptr);
  PlotWidget* plot() const { return plot_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const FlightRecord& record_;
  PlotWidget* plot_;
};

// "3D Plot (Skizze)": the flight seen from a direction and elevation.
class PerspectiveDialog : public QDialog {
  Q_OBJECT

 public:
  PerspectiveDialog(const FlightRecord& record, const MapRect& map, const PerspectiveRoute& route,
                    int heightStep, int colourMode, QWidget* parent = nullptr);
  PlotWidget* plot() const { return plot_; }
  QSlider* azimuth() const { return azimuth_; }
  QSlider* elevation() const { return elevation_; }
  QSlider* zoom() const { return zoom_; }
  QCheckBox* dropLines() const { return dropLines_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  PerspectiveView view() const;
  QSlider* slider(const QString& caption, int low, int high, int start, int row);
  // Room the check boxes keep at the right edge: 90 pixels, more for wide captions.
  int checkBoxMargin() const;

  const FlightRecord& record_;
  MapRect map_;
  PerspectiveRoute route_;
  int heightStep_;
  int colourMode_;
  PlotWidget* plot_;
  QSlider* azimuth_;
  QSlider* elevation_;
  QSlider* zoom_;
  QSlider* heightZoom_;
  QCheckBox* grid_;
  QCheckBox* dropLines_;
  int slidersRight_ = 0;  // where the sliders and their captions end
  PerspectiveView dragStartView_;
  QPoint dragStart_;
};

}  // namespace quorvanta
