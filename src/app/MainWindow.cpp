#include "app/MainWindow.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include "app/MapPainter.h"
#include "app/OptimizationTask.h"
#include "app/QtText.h"
#include "app/StartPicture.h"
#include "flight/ApplicationTitle.h"
#include "flight/FileContent.h"
#include "views/MapDescription.h"
#include "views/MapTexts.h"
#include "views/ResultTexts.h"

namespace quorvanta {

namespace {

constexpr int PanelWidth = 288;
constexpr int PanelTop = 190;

}  // namespace

MainWindow::MainWindow(UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      record_(std::make_unique<FlightRecord>()),
      barogram_(std::make_unique<BarographBuffer>()),
      analysis_(std::make_unique<AnalysisState>()) {
  setObjectName("Streckenflug");
  setWindowTitle(qt(std::string(MainWindowCaption)));
  menus_ = buildMainMenus(menuBar(), this);
  buildPanel();
  connectMenus();
  connectMap();
  connectRelief();
  connectAnalysisWindows();
  connectDownloads();
  startState();
  setMinimumSize(800, 570);
  // Wider than the minimum, so that the left panel holds the longest status
  // and route lines beside the map.
  resize(860, 524 + menuBar()->sizeHint().height());
  centreOnScreen();
}

void MainWindow::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  move(std::max((available.width() - width()) / 2, 0), std::max((available.height() - height()) / 2, 0));
}

MainWindow::~MainWindow() { delete task_; }

void MainWindow::buildPanel() {
  panel_ = new QWidget(this);
  setCentralWidget(panel_);
  for (std::size_t k = 0; k < labels_.size(); ++k) {
    labels_[k] = new QLabel(panel_);
    labels_[k]->setObjectName(QString("Label%1").arg(k + 1));
    labels_[k]->move(8, k < 5 ? 8 + 20 * static_cast<int>(k) : 110 + 16 * static_cast<int>(k - 5));
  }
  readout_ = new QLabel(panel_);
  readout_->move(8, 170);
  readout_->setStyleSheet("color: red; font-weight: bold;");
  timePicker_ = new QTimeEdit(panel_);
  timePicker_->setObjectName("DateTimePicker1");
  timePicker_->setDisplayFormat("HH:mm:ss");
  timePicker_->setGeometry(8, 144, 80, 22);
  barographBehind_ = new QRadioButton("Barozeit geht nach", panel_);
  barographBehind_->setObjectName("RadioButton1");
  barographBehind_->setChecked(true);
  barographBehind_->setGeometry(96, 136, barographBehind_->sizeHint().width(), 16);
  barographAhead_ = new QRadioButton("Barozeit geht vor", panel_);
  barographAhead_->setObjectName("RadioButton2");
  barographAhead_->setGeometry(96, 154, barographAhead_->sizeHint().width(), 16);
  cancelButton_ = new QPushButton("Abbrechen", panel_);
  cancelButton_->setObjectName("CancelButton");
  cancelButton_->setShortcut(Qt::Key_Escape);
  cancelButton_->setGeometry(8, 144, 100, 22);
  cancelButton_->hide();
  pointsPanel_ = new PointsPanel(panel_);
  pointsPanel_->move(8, PanelTop);
  listBox_ = new QListWidget(panel_);
  listBox_->setObjectName("ListBox1");
  listBox_->move(8, PanelTop);
  map_ = new MapWidget(panel_);
  map_->setStartPicture(startPicture());
  infoBox_ = new InfoBox(panel_);
  infoBox_->hide();
  legend_ = new QLabel(panel_);
  legend_->setObjectName("Farbkeil");
  legend_->hide();
  progressBar_ = new QProgressBar(panel_);
  progressBar_->setObjectName("ProgressBar1");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->hide();
  zoomTimer_ = new QTimer(this);
  zoomTimer_->setObjectName("Timer1");
  zoomTimer_->setInterval(300);
}

void MainWindow::startState() {
  record_->SignOnSave = true;
  setTimeShiftControlsVisible(false);
  mapDir_ = qt(settings_.readString("Landkarte", "Pfad", ""));
  mapFile_ = qt(settings_.readString("Landkarte", "Datei", ""));
  settings_.writeString("Landkarte", "Pfad", mapDir_.toStdString());
  settings_.writeString("Landkarte", "Datei", mapFile_.toStdString());
  menus_.mapImage->setEnabled(!mapFile_.isEmpty() && QFileInfo::exists(mapDir_ + mapFile_));
  std::string rules = settings_.readString("Wertung", "Regeln", "xcontest");
  if (!exact::findRuleSet(rules)) rules = "xcontest";
  for (std::size_t k = 0; k < menus_.scoringRules.size(); ++k) {
    menus_.scoringRules[k]->setChecked(exact::ruleSets().at(k).id == rules);
  }
  startTerrain();
  showStartLabels();
}

void MainWindow::showStartLabels() {
  setLabel(1, "Zum Start igc-Datei öffnen", {Qt::blue});
  setLabel(2, "oder ein Gerät auslesen", {Qt::blue});
  clearLabels(3, 7);
  if (!terrain_.loaded()) showNoTerrainWarning();
}

void MainWindow::setLabel(int number, const QString& text, const LabelLook& look) {
  QLabel* target = label(number);
  QString style = QString("color: %1;").arg(look.text.name());
  if (look.background) style += QString(" background-color: %1;").arg(look.background->name());
  style += look.bold ? " font-weight: bold;" : " font-weight: normal;";
  style += look.pointSize > 0 ? QString(" font-size: %1pt;").arg(look.pointSize)
                              : QString(" font-size: %1px;").arg(number <= 5 ? 15 : 12);
  target->setStyleSheet(style);
  target->setText(text);
  target->adjustSize();
}

void MainWindow::setLabel(int number, const StatusLabel& status) {
  const QColor colour = status.colour == TextColour::Red     ? QColor(255, 0, 0)
                        : status.colour == TextColour::Green ? QColor(0, 128, 0)
                                                             : QColor(Qt::black);
  setLabel(number, qt(status.text), {colour});
}

void MainWindow::clearLabels(int from, int to) {
  for (int n = from; n <= to; ++n) setLabel(n, "");
}

void MainWindow::setTimeShiftControlsVisible(bool visible) {
  timePicker_->setVisible(visible);
  barographBehind_->setVisible(visible);
  barographAhead_->setVisible(visible);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutChildren();
  if (flightLoaded_ && mapDrawn_) redrawMapContent();
  if (legend_->isVisible()) paintLegend();
}

void MainWindow::layoutChildren() {
  const QSize client = panel_->size();
  int w = client.width() - PanelWidth;
  const int belowMap = 6 + LegendSize.height() + 3;  // the legend and a margin
  if (client.height() - belowMap < w) w = client.height() - belowMap;
  w = std::max(w, 50);
  map_->setGeometry(width() - 20 - w, 0, w, w);
  infoBox_->move(map_->x() + w - infoBox_->width() - 10, w - infoBox_->height() - 10);
  progressBar_->setGeometry(map_->x(), w + 8, w, 9);
  legend_->setGeometry(QRect(QPoint(map_->x(), w + 6), LegendSize));
  const QSize listSize(std::max(client.width() - w - 40, 50),
                       std::max(client.height() - 20 - PanelTop, 50));
  listBox_->resize(listSize);
}

// The whole-map drawing: fits the rectangle when asked to, draws the content
// and makes the map's mouse handling and popup menu live.
void MainWindow::drawMap() {
  if (fitWholeTrack_) {
    fitWholeTrack_ = false;
    rect_ = fitToTrack(*record_);
  }
  redrawMapContent();
  map_->setContextMenuPolicy(Qt::ActionsContextMenu);
  mapDrawn_ = true;
  map_->setLive(flightLoaded_);
  infoBox_->setLines({}, Qt::black);
  infoBox_->show();
  infoBox_->raise();
}

void MainWindow::redrawMapContent() {
  for (std::size_t k = 0; k < menus_.trackColours.size(); ++k) {
    if (menus_.trackColours[k]->isChecked()) colourMode_ = static_cast<int>(k);
  }
  markedFix_ = 0;
  const int w = map_->width();
  QImage canvas(w, w, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  if (menus_.relief->isChecked() && terrain_.loaded()) {
    progressBar_->show();
    canvas = reliefImage(terrain_, rect_, w, reliefOptions(), reliefColours_,
                         [this](int percent) { progressBar_->setValue(percent); });
    progressBar_->hide();
  }
  QPainter painter(&canvas);
  if (menus_.mapImage->isChecked()) paintMapBitmap(painter, w);
  const DrawnRoute route = tickedRoute();
  MapScene scene = buildMapScene(*record_, rect_, w, colourMode_, baroOffset_, route, result_);
  const auto exactRoute = exact_ ? exactBestRoute(exact_->track, exact_->result) : std::nullopt;
  if (exactRoute) addRouteLines(scene, rect_, exactRoute->points, exactRoute->triangle);
  paintMapScene(painter, scene, menus_.relief->isChecked() || menus_.mapImage->isChecked());
  painter.end();
  map_->setContent(std::move(canvas));
  if (route != DrawnRoute::None) showRouteLabels(route);
  if (exactRoute) showRouteLabels(exactRoute->points);
  if (legend_->isVisible()) paintLegend();  // its heights follow the area shown
}

DrawnRoute MainWindow::tickedRoute() const {
  if (menus_.flatTriangle->isChecked()) return DrawnRoute::Flat;
  if (menus_.faiTriangle->isChecked()) return DrawnRoute::Fai;
  if (menus_.freeDistance->isChecked()) return DrawnRoute::Free;
  return DrawnRoute::None;
}

void MainWindow::showRouteLabels(DrawnRoute route) {
  const RouteFixes fixes = route == DrawnRoute::Free   ? freeRoute(result_)
                           : route == DrawnRoute::Flat ? flatRoute(result_)
                                                       : faiRoute(result_);
  if (fixes[2] == 0) return;
  showRouteLabels(routePoints(*record_, fixes));
  if (route == DrawnRoute::Free) {
    setLabel(6, qt(freeLegsText(*record_, fixes)));
  } else {
    const auto legs = triangleLegsTexts(*record_, fixes);
    setLabel(6, qt(legs[0]));
    setLabel(7, qt(legs[1]));
  }
}

// The legs are left to the points panel: an exact scoring may measure on the
// ellipsoid, the leg texts on the program's sphere.
void MainWindow::showRouteLabels(const RoutePoints& route) {
  const QColor buttonFace = palette().color(QPalette::Button);
  const auto texts = routeLabelTexts(route);
  for (int k = 0; k < 5; ++k) {
    setLabel(k + 1, qt(texts[static_cast<std::size_t>(k)]), {Qt::black, buttonFace, false, 8});
  }
}

void MainWindow::paintMapBitmap(QPainter& painter, int width) {
  const QString descriptionPath = mapDir_ + mapFile_;
  std::string content;
  if (!QFileInfo::exists(descriptionPath) ||
      readWholeFile(descriptionPath.toStdString(), content)) {
    return;
  }
  const MapDescription description = parseMapDescription(content);
  const MapPlacement placement = placeMap(description, rect_, width, width);
  QImage bitmap;
  if (!placement.overzoomed && !bitmap.load(mapDir_ + qt(description.fileName))) {
    menus_.mapImage->setChecked(false);
    dialogs_.warn(this, "Landkarte",
                  "Die Kartengrafik „" + mapDir_ + qt(description.fileName) +
                      "“ kann nicht geladen werden.");
    return;
  }
  paintMapImage(painter, bitmap, placement, descriptionPath);
}

void MainWindow::zoomWholeTrack() {
  zoomTimer_->stop();
  if (!flightLoaded_) return;
  fitWholeTrack_ = true;
  drawMap();
}

void MainWindow::mapHovered(QPoint position, bool buttonHeld) {
  if (!mapDrawn_ || !flightLoaded_) return;
  const Position at = positionAt(rect_, {position.x(), position.y()}, map_->width(), map_->height());
  readout_->setText(qt(mouseReadoutText(at, &terrain_)));
  readout_->adjustSize();
  if (buttonHeld) return;
  const int n = nearestFix(*record_, at.lat, at.lon);
  if (n == 0 || n == markedFix_) return;
  const bool greyRelief = menus_.relief->isChecked() && menus_.reliefSchemes[2]->isChecked();
  infoBox_->setLines(infoBoxLines(*record_, n, &terrain_), greyRelief ? Qt::red : Qt::black);
  const Pixel marker = xy(rect_, record_->FixLat[n], record_->FixLon[n], map_->width());
  map_->setMarker(QPoint(marker.x, marker.y));
  markedFix_ = n;
}

void MainWindow::mapDragFinished(QPoint start, QPoint last) {
  const Pixel from{start.x(), start.y()}, to{last.x(), last.y()};
  if (!mapDrawn_ || dragSize(from, to) <= MinimumDrag) return;
  rect_ = menus_.mousePan->isChecked() ? dragPanned(rect_, from, to, map_->width(), map_->height())
                                       : dragZoomed(rect_, from, to, map_->width(), map_->height());
  redrawMapContent();
}

void MainWindow::mapWheelTurned(bool down) {
  if (!mapDrawn_ || !flightLoaded_) return;
  rect_ = wheelZoomed(rect_, down);
  redrawMapContent();
}

void MainWindow::connectMap() {
  connect(map_, &MapWidget::hovered, this, &MainWindow::mapHovered);
  connect(map_, &MapWidget::dragFinished, this, &MainWindow::mapDragFinished);
  connect(map_, &MapWidget::wheelTurned, this, &MainWindow::mapWheelTurned);
  map_->setContextMenuPolicy(Qt::NoContextMenu);
  map_->addActions({menus_.zoomOut, menus_.zoomWholeTrack, menus_.mouseZoom, menus_.mousePan});
  connect(menus_.zoomOut, &QAction::triggered, this, [this] {
    rect_ = zoomedOut(rect_);
    if (flightLoaded_) redrawMapContent();
  });
  connect(menus_.zoomWholeTrack, &QAction::triggered, this, &MainWindow::zoomWholeTrack);
  connect(zoomTimer_, &QTimer::timeout, this, &MainWindow::zoomWholeTrack);
  connect(menus_.mouseZoom, &QAction::triggered, this, [this] { map_->setPanMode(false); });
  connect(menus_.mousePan, &QAction::triggered, this, [this] { map_->setPanMode(true); });
}

}  // namespace quorvanta
