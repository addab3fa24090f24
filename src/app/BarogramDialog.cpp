#include "app/BarogramDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QMouseEvent>

#include "app/AnalysisPainters.h"
#include "flight/ApplicationTitle.h"
#include "flight/FileContent.h"

namespace quorvanta {

namespace {

constexpr std::array<const char*, 7> SeriesCaptions = {"Baro", "Vario", "Speed", "Heading",
                                                       "Ext1", "Ext2", "Ext3"};

}  // namespace

BarogramDialog::BarogramDialog(AnalysisContext context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      plot_(new PlotWidget(
          [this](QPainter& painter, QSize size) {
            paintBarogram(painter, size, context_.record, context_.state, chosenKind() == SeriesKind::Baro);
          },
          this)),
      title_(new QLabel(this)),
      readout_(new QLabel(this)),
      smooth_(new QPushButton("Kurve glätten", this)),
      colours_(new QPushButton("Farbe normal", this)) {
  setWindowTitle("Barogramm zu " + QString::fromStdString(std::string(ApplicationTitle)));
  resize(800, 500);
  title_->setStyleSheet("font-weight: bold; font-size: 16px;");
  title_->hide();
  readout_->setStyleSheet("color: red;");
  colours_->hide();
  for (std::size_t k = 0; k < buttons_.size(); ++k) {
    buttons_[k] = new QRadioButton(SeriesCaptions[k], this);
    connect(buttons_[k], &QRadioButton::clicked, this, [this] {
      context_.state.NeedRecompute = true;
      draw();
    });
  }
  buttons_[0]->setChecked(true);
  connect(smooth_, &QPushButton::clicked, this, [this] {
    smoothSeries(context_.state.BaroSeries, context_.record.FixCount);
    context_.state.KeepSeries = true;
    context_.state.NeedRecompute = true;
    draw();
  });
  connect(colours_, &QPushButton::clicked, this, [this] {
    context_.state.ShowCircles = !context_.state.ShowCircles;
    colours_->setText(context_.state.ShowCircles ? "Farbe normal" : "Farbe Kreise");
    draw();
  });
  connect(plot_, &PlotWidget::pressed, this, [this](QPoint at) { pressAt_ = at; });
  connect(plot_, &PlotWidget::moved, this, &BarogramDialog::mouseMoved);
  connect(plot_, &PlotWidget::released, this, &BarogramDialog::mouseReleased);
  buildPopup();
}

BarogramDialog::~BarogramDialog() { context_.state.NeedRecompute = true; }

QAction* BarogramDialog::popupAction(const QString& caption) const {
  for (QAction* action : plot_->actions()) {
    if (action->text() == caption) return action;
  }
  return nullptr;
}

void BarogramDialog::buildPopup() {
  FlightRecord& r = context_.record;
  const auto add = [this](const QString& caption, std::function<void()> change) {
    auto* action = new QAction(caption, plot_);
    connect(action, &QAction::triggered, this, [this, change] {
      change();
      draw();
    });
    plot_->addAction(action);
    return action;
  };
  add("Zoom in 2x", [this, &r] {
    zoomTimeIn(r);
    plot_->setCursor(Qt::ArrowCursor);
  });
  add("Zoom out 2x", [&r] { zoomTimeOut(r); });
  add("Zoom alles", [this, &r] {
    zoomTimeAll(r);
    plot_->setCursor(Qt::ArrowCursor);
  });
  add("Pan Rechts ", [&r] { panTimeRight(r); });
  add("Pan Links", [&r] { panTimeLeft(r); });
  auto* modes = new QActionGroup(this);
  QAction* zoom = add("Mouse Zoom", [this] { plot_->setCursor(Qt::ArrowCursor); });
  mousePan_ = add("Mouse Pan", [this] { plot_->setCursor(Qt::SizeHorCursor); });
  for (QAction* mode : {zoom, mousePan_}) {
    mode->setCheckable(true);
    modes->addAction(mode);
  }
  zoom->setChecked(true);
  plot_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

SeriesKind BarogramDialog::chosenKind() const {
  for (std::size_t k = 0; k < buttons_.size(); ++k) {
    if (buttons_[k]->isChecked()) return static_cast<SeriesKind>(k);
  }
  return SeriesKind::Baro;
}

void BarogramDialog::recompute() {
  const FlightRecord& r = context_.record;
  for (int k = 1; k <= MaxExtensions; ++k) buttons_[static_cast<std::size_t>(3 + k)]->setText(QString::fromStdString(r.ExtCode[k]));
  if (!context_.state.KeepSeries) setWindowTitle(captionWithFlightTitle(windowTitle(), r.FlightTitle));
  const auto report = ErsterPlot(r, chosenKind(), context_.colourMode, windowTitle().toStdString(), context_.state);
  if (report) {
    colours_->show();
    colours_->setText("Farbe normal");
    const QString path = context_.tempDir + "~Kreise.txt";
    if (const auto failure = writeWholeFile(path.toStdString(), *report)) {
      context_.dialogs.warn(this, "Kreisauswertung", QString::fromStdString(*failure));
    }
  }
}

void BarogramDialog::draw() {
  if (context_.state.NeedRecompute) recompute();
  for (int k = 1; k <= MaxExtensions; ++k) {
    buttons_[static_cast<std::size_t>(3 + k)]->setVisible(context_.record.ExtCount >= k);
  }
  QString title = QString::fromStdString(context_.state.title);
  if (context_.state.axis.empty() && !title.contains("***")) title += "  *** keine Daten vorhanden ***";
  title_->setText(title);
  title_->adjustSize();
  title_->show();
  placeControls();
  plot_->redraw();
}

namespace {

void placeAt(QWidget* widget, int x, int y) { widget->setGeometry(QRect(QPoint(x, y), widget->sizeHint())); }

}  // namespace

// The series buttons stand in columns 60 pixels apart from "Heading" at 80
// pixels from the right edge, the extensions under "Baro", "Vario" and
// "Speed"; a caption too wide for that pushes its column and all left of it
// further left, and the rows apart.
void BarogramDialog::placeSeriesButtons() {
  const auto button = [this](int k) { return buttons_[static_cast<std::size_t>(k)]; };
  int topRowHeight = 0;
  for (int k = 0; k < 4; ++k) topRowHeight = std::max(topRowHeight, button(k)->sizeHint().height());
  const int lowerRowY = std::max(20, 2 + topRowHeight);
  int limit = width();
  for (int k = 3; k >= 0; --k) {
    QRadioButton* top = button(k);
    QRadioButton* lower = k < 3 ? button(4 + k) : nullptr;
    const int columnWidth = std::max(top->sizeHint().width(), lower ? lower->sizeHint().width() : 0);
    const int x = std::min(width() - 80 - 60 * (3 - k), limit - ControlGap - columnWidth);
    placeAt(top, x, 2);
    if (lower) placeAt(lower, x, lowerRowY);
    limit = x;
  }
}

// The title stands left of the controls where it finds room, else under
// them; the plot starts below both.
void BarogramDialog::placeTitleAndPlot() {
  QRect controls;
  for (QWidget* control : findChildren<QAbstractButton*>()) {
    if (control->isVisibleTo(this)) controls |= control->geometry();
  }
  title_->move(20, 10);
  if (title_->geometry().adjusted(0, 0, ControlGap, 0).intersects(controls)) {
    title_->move(20, controls.bottom() + 1);
  }
  const int top = std::max({40, controls.bottom() + 1, title_->geometry().bottom() + 1});
  plot_->setGeometry(20, top, std::max(10, width() - 40), std::max(10, height() - 30 - top));
}

void BarogramDialog::placeControls() {
  const int w = width(), h = height();
  readout_->setGeometry(20, h - 24, w - 40, 20);
  placeSeriesButtons();
  const int baroX = buttons_[0]->x();
  const int smoothWidth = std::max(86, smooth_->sizeHint().width());
  smooth_->setGeometry(std::min(baroX - 90, baroX - ControlGap - smoothWidth), 4, smoothWidth, 24);
  const int smoothX = smooth_->x();
  placeAt(colours_, std::min(smoothX - 95, smoothX - ControlGap - colours_->sizeHint().width()), 4);
  placeTitleAndPlot();
}

void BarogramDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  draw();
}

void BarogramDialog::mouseMoved(QPoint at, bool) {
  if (context_.record.FixCount < 1) return;
  const PlotArea area = plotArea(plot_->width(), plot_->height());
  const int fix = fixUnderMouse(area, context_.record, at.x());
  plot_->setCursorLine(timeX(area, context_.record, fix));
  readout_->setText(QString::fromStdString(
      barogramReadout(context_.record, context_.state, fix, chosenKind() == SeriesKind::Baro)));
}

void BarogramDialog::mouseReleased(QPoint at) {
  const PlotArea area = plotArea(plot_->width(), plot_->height());
  if (mousePan_->isChecked()) {
    dragTimePan(context_.record, pressAt_.x(), at.x(), area.width);
  } else {
    dragTimeZoom(context_.record, pressAt_.x(), at.x(), area.left, area.width);
  }
  draw();
}

}  // namespace quorvanta
