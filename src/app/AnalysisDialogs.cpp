#include "app/AnalysisDialogs.h"

#include <algorithm>

#include "app/AnalysisPainters.h"
#include "flight/ApplicationTitle.h"
#include "views/Barogram.h"

namespace quorvanta {

namespace {

QString applicationTitle() { return QString::fromStdString(std::string(ApplicationTitle)); }

}  // namespace

PolarDialog::PolarDialog(AnalysisContext context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      plot_(new PlotWidget(
          [this](QPainter& painter, QSize size) {
            paintPolar(painter, size, context_.record, context_.state, kind());
          },
          this)),
      title_(new QLabel(this)),
      velocity_(new QRadioButton("Geschwindigkeit", this)),
      polar_(new QRadioButton("Polare", this)),
      smooth_(new QPushButton("Daten glätten", this)) {
  setWindowTitle("Barogramm zu " + applicationTitle());
  resize(825, 537);
  title_->setStyleSheet("font-weight: bold;");
  title_->hide();
  velocity_->setChecked(true);
  for (QRadioButton* button : {velocity_, polar_}) {
    connect(button, &QRadioButton::clicked, this, [this] {
      context_.state.PolarRecompute = true;
      draw();
    });
  }
  connect(smooth_, &QPushButton::clicked, this, [this] {
    smoothPolar(context_.record, context_.state);
    draw();
  });
}

PolarDialog::~PolarDialog() { context_.state.PolarRecompute = true; }

void PolarDialog::draw() {
  AnalysisState& s = context_.state;
  if (s.PolarRecompute) {
    if (!s.KeepSeries) setWindowTitle(captionWithFlightTitle(windowTitle(), context_.record.FlightTitle));
    computePolar(context_.record, kind(), context_.colourMode, s);
  }
  QString title = QString::fromStdString(s.polarTitle);
  if (s.axis.empty() && !title.contains("***")) title += "  *** keine Daten vorhanden ***";
  title_->setText(title);
  title_->adjustSize();
  title_->show();
  plot_->redraw();
}

void PolarDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  plot_->setGeometry(20, 30, std::max(10, width() - 40), std::max(10, height() - 35));
  title_->move(20, 8);
  polar_->move(width() - 100, 4);
  velocity_->move(width() - 240, 4);
  smooth_->move(width() - 360, 2);
  draw();
}

StatisticsDialog::StatisticsDialog(const FlightRecord& record, QWidget* parent)
    : QDialog(parent),
      record_(record),
      plot_(new PlotWidget(
          [this](QPainter& painter, QSize size) {
            paintIntervalStatistics(painter, size, intervalHistogram(record_));
          },
          this)) {
  setWindowTitle("Statistik Zeitintervalle zu " + applicationTitle());
  resize(729, 489);
}

void StatisticsDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  plot_->setGeometry(8, 8, std::max(10, width() - 16), std::max(10, height() - 16));
}

PerspectiveDialog::PerspectiveDialog(const FlightRecord& record, const MapRect& map,
                                     const PerspectiveRoute& route, int heightStep, int colourMode,
                                     QWidget* parent)
    : QDialog(parent),
      record_(record),
      map_(map),
      route_(route),
      heightStep_(heightStep),
      colourMode_(colourMode),
      plot_(new PlotWidget(
          [this](QPainter& painter, QSize size) {
            paintPerspective(painter, size,
                             perspectiveSketch(record_, map_, view(), route_, heightStep_, colourMode_,
                                               size.width(), size.height()));
          },
          this)) {
  setWindowTitle("Quorvanta: Perspektivische Ansicht");
  azimuth_ = slider("Blick aus Richtung [°]", -180, 180, 20, 0);
  elevation_ = slider("Blick Elevation [°]", 0, 90, 30, 1);
  zoom_ = slider("Zoom3D", 3, 23, 19, 2);
  heightZoom_ = slider("Zoom Höhe", 0, 30, 10, 3);
  grid_ = new QCheckBox("xy-Raster", this);
  grid_->setChecked(true);
  dropLines_ = new QCheckBox("Lotlinien", this);
  // Wide enough that the check boxes clear the sliders.
  resize(std::max(701, slidersRight_ + ControlGap + checkBoxMargin()), 598);
  for (QCheckBox* box : {grid_, dropLines_}) connect(box, &QCheckBox::toggled, plot_, &PlotWidget::redraw);
  connect(plot_, &PlotWidget::pressed, this, [this](QPoint at) {
    dragStart_ = at;
    dragStartView_ = view();
  });
  connect(plot_, &PlotWidget::moved, this, [this](QPoint at, bool held) {
    if (!held) return;
    const PerspectiveView turned = rotatedView(dragStartView_, {dragStart_.x(), dragStart_.y()}, {at.x(), at.y()});
    azimuth_->setValue(turned.azimuthDeg);
    elevation_->setValue(turned.elevationDeg);
  });
}

QSlider* PerspectiveDialog::slider(const QString& caption, int low, int high, int start, int row) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(caption);
  label->setGeometry(QRect(QPoint(10 + 170 * row, 0), label->sizeHint()));
  auto* bar = new QSlider(Qt::Horizontal, this);
  bar->setRange(low, high);
  bar->setValue(start);
  bar->setGeometry(10 + 170 * row, 18, 150, 20);
  slidersRight_ = std::max({slidersRight_, label->geometry().right() + 1, bar->geometry().right() + 1});
  connect(bar, &QSlider::valueChanged, plot_, &PlotWidget::redraw);
  return bar;
}

PerspectiveView PerspectiveDialog::view() const {
  PerspectiveView v;
  v.azimuthDeg = azimuth_->value();
  v.elevationDeg = elevation_->value();
  v.zoom = zoom_->value();
  v.heightZoom = heightZoom_->value();
  v.grid = grid_->isChecked();
  v.dropLines = dropLines_->isChecked();
  return v;
}

int PerspectiveDialog::checkBoxMargin() const {
  return std::max({90, grid_->sizeHint().width() + ControlGap, dropLines_->sizeHint().width() + ControlGap});
}

void PerspectiveDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int x = width() - checkBoxMargin();
  grid_->setGeometry(QRect(QPoint(x, 4), grid_->sizeHint()));
  const int lowerRowY = std::max(22, grid_->geometry().bottom() + 1);
  dropLines_->setGeometry(QRect(QPoint(x, lowerRowY), dropLines_->sizeHint()));
  const int top = std::max(50, dropLines_->geometry().bottom() + 1);
  plot_->setGeometry(8, top, std::max(10, width() - 16), std::max(10, height() - 8 - top));
}

}  // namespace quorvanta
