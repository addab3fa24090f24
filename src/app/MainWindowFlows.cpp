// The main window's commands: loading, barogram, saving, optimization and
// the result display.
#include <QFileInfo>
#include <QSignalBlocker>

#include "app/MainWindow.h"
#include "app/OptimizationTask.h"
#include "app/QtText.h"
#include "flight/ApplicationTitle.h"
#include "flight/FileContent.h"
#include "flight/IgcReader.h"
#include "flight/IgcWriter.h"
#include "flight/TextLines.h"
#include "optimize/ClaimFile.h"
#include "views/ResultTexts.h"

namespace quorvanta {

namespace {

// A dialog's starting name: the stored file, or a pattern in the stored
// folder when the value names no file.
QString startName(QString start, const QString& pattern) {
  if (start.contains('.')) return start;
  if (!start.endsWith('/')) start += '/';
  return start + pattern;
}

}  // namespace

void MainWindow::connectMenus() {
  connect(menus_.openTrack, &QAction::triggered, this, [this] { openTrack(std::nullopt); });
  connect(menus_.openBarogram, &QAction::triggered, this, &MainWindow::openBarogram);
  connect(menus_.saveIgc, &QAction::triggered, this, &MainWindow::saveIgcFile);
  connect(menus_.saveOlc, &QAction::triggered, this, &MainWindow::saveClaimFile);
  connect(menus_.quit, &QAction::triggered, this, &QWidget::close);
  connect(menus_.asRecorded, &QAction::triggered, this, [this] { chooseTimeShift(TimeShift::AsRecorded); });
  connect(menus_.syncAtSwitchOff, &QAction::triggered, this,
          [this] { chooseTimeShift(TimeShift::SyncAtSwitchOff); });
  connect(menus_.syncAtSwitchOn, &QAction::triggered, this,
          [this] { chooseTimeShift(TimeShift::SyncAtSwitchOn); });
  connect(menus_.enterShift, &QAction::triggered, this, [this] { chooseTimeShift(TimeShift::Entered); });
  connect(timePicker_, &QTimeEdit::timeChanged, this, &MainWindow::enteredShiftChanged);
  connect(barographBehind_, &QRadioButton::clicked, this, &MainWindow::enteredShiftChanged);
  connect(barographAhead_, &QRadioButton::clicked, this, &MainWindow::enteredShiftChanged);
  for (int k = 0; k < static_cast<int>(menus_.budgets.size()); ++k) {
    connect(menus_.budgets[static_cast<std::size_t>(k)], &QAction::triggered, this,
            [this, k] { chooseBudget(k); });
  }
  connect(menus_.selectMap, &QAction::triggered, this, &MainWindow::selectMapFile);
  connect(menus_.startToFinish, &QAction::triggered, this,
          [this] { showMeasurement(startToFinishText(*record_)); });
  connect(menus_.trackLength, &QAction::triggered, this,
          [this] { showMeasurement(trackLengthText(*record_)); });
  connect(menus_.optimize, &QAction::triggered, this, &MainWindow::startOptimization);
  connect(menus_.exactScoring, &QAction::triggered, this, &MainWindow::startExactScoring);
  for (std::size_t k = 0; k < menus_.scoringRules.size(); ++k) {
    connect(menus_.scoringRules[k], &QAction::triggered, this, [this, k] { chooseScoringRules(k); });
  }
  connect(cancelButton_, &QPushButton::clicked, this, &MainWindow::cancelOptimization);
  connect(menus_.freeDistance, &QAction::triggered, this, [this] { drawRouteCommand(DrawnRoute::Free); });
  connect(menus_.flatTriangle, &QAction::triggered, this, [this] { drawRouteCommand(DrawnRoute::Flat); });
  connect(menus_.faiTriangle, &QAction::triggered, this, [this] { drawRouteCommand(DrawnRoute::Fai); });
  connect(menus_.plainTrack, &QAction::triggered, this, &MainWindow::drawPlainTrack);
  for (QAction* colour : menus_.trackColours) {
    connect(colour, &QAction::triggered, this, [this] {
      if (flightLoaded_) redrawMapContent();
    });
  }
  connect(menus_.showIgcFile, &QAction::toggled, listBox_, &QWidget::setVisible);
  connect(menus_.about, &QAction::triggered, this, [this] {
    const QString title = qt(std::string(ApplicationTitle));
    dialogs_.inform(this, "About " + title, title);
  });
  connect(menus_.help, &QAction::triggered, this, [this] {
    dialogs_.inform(this, "Keine Hilfe, sondern ein Tip und eine Bitte",
                    "Eine Hilfefunktion gibt es nicht. Antworten auf häufige Fragen stehen auf "
                    "der FAQ-Seite des Programms im Internet.\n\nBitte verwenden Sie die neueste "
                    "Version des Programms, bevor Sie einen Fehler melden.");
  });
}

QString MainWindow::storedFileName(const char* key) const {
  return qt(settings_.readString("Dateien", key, defaultDocumentsDirectory().toStdString()));
}

void MainWindow::openFromCommandLine(const QString& path) { openTrack(path); }

void MainWindow::openTrack(std::optional<QString> path, bool downloaded) {
  if (!path) {
    path = dialogs_.openFileName(this, "Öffnen des GPS-Datenfiles",
                                 startName(storedFileName("Filename Track"), "*.igc"),
                                 "IGC-File (*.igc *.IGC);;Comma separated value file (*.csv *.CSV)");
    if (!path) return;
  }
  progressBar_->setValue(0);
  progressBar_->show();
  ReadOptions options;
  options.fromDownload = downloaded;
  options.progress = [this](int percent) { progressBar_->setValue(percent); };
  if (terrain_.loaded()) {
    options.groundElevation = [this](double lat, double lon) {
      return terrain_.groundElevation(lat, lon);
    };
  }
  // Read into a fresh record, so that a refused file leaves the loaded flight
  // as it was and another flight starts as if it were the first.
  auto loaded = std::make_unique<FlightRecord>();
  const ReadResult read = readFlightFile(path->toStdString(), *loaded, options);
  progressBar_->hide();
  if (!read.ok()) {
    dialogs_.warn(this, "Datei öffnen", qt(read.error->message));
    return;
  }
  if (flightLoaded_) forgetFlight();
  record_ = std::move(loaded);
  settings_.writeString("Dateien", "Filename Track", path->toStdString());
  flightLoaded_ = true;
  setDownloadsEnabled(false);
  for (const std::string& title : read.flightTitles) {
    setWindowTitle(windowTitle() + "        " + qt(title));
  }
  for (std::size_t k = 0; k < read.labels.size(); ++k) setLabel(static_cast<int>(k) + 1, read.labels[k]);
  showLoadedFlight(read.listing);
}

void MainWindow::forgetFlight() {
  barogram_ = std::make_unique<BarographBuffer>();
  analysis_ = std::make_unique<AnalysisState>();
  baroOffset_ = 0;
  result_ = {};
  exact_.reset();
  rect_ = {};
  fitWholeTrack_ = true;
  mapDrawn_ = false;
  markedFix_ = 0;
  perspectiveHeightStep_.reset();
  flightLoaded_ = false;
  zoomTimer_->stop();
  setWindowTitle(qt(std::string(MainWindowCaption)));
  for (QAction* command : {menus_.openBarogram, menus_.saveIgc, menus_.saveOlc, menus_.freeDistance,
                           menus_.flatTriangle, menus_.faiTriangle}) {
    command->setEnabled(false);
    command->setChecked(false);
  }
  menus_.timeShift->setEnabled(false);
  menus_.asRecorded->setChecked(true);
  menus_.showIgcFile->setChecked(true);
  {
    const QSignalBlocker quiet(timePicker_);
    timePicker_->setTime(QTime(0, 0));
  }
  barographBehind_->setChecked(true);
  setTimeShiftControlsVisible(false);
  showStartLabels();
  readout_->clear();
  pointsPanel_->setPanel({});
  infoBox_->setLines({}, Qt::black);
  infoBox_->hide();
  map_->setLive(false);
  map_->setContextMenuPolicy(Qt::NoContextMenu);
  layoutChildren();
}

void MainWindow::showLoadedFlight(const std::vector<std::string>& listing) {
  listBox_->clear();
  for (const std::string& line : listing) listBox_->addItem(qt(line));
  listBox_->setVisible(menus_.showIgcFile->isChecked());
  menus_.calculate->setEnabled(true);
  menus_.draw->setEnabled(true);
  menus_.plainTrack->setEnabled(true);
  menus_.openBarogram->setEnabled(record_->MaxAlt == 0);
  for (QAction* window : {menus_.barogramWindow, menus_.polarWindow, menus_.perspectiveWindow,
                          menus_.statisticsWindow}) {
    window->setEnabled(true);
  }
  analysis_->NeedRecompute = true;
  analysis_->PolarRecompute = true;
  record_->DownloadedFile.clear();
  drawMap();
  zoomTimer_->start();
}

void MainWindow::openBarogram() {
  baroOffset_ = 0;
  const auto chosen = dialogs_.openFileName(
      this, "Öffnen des Datenfiles Barograf",
      startName(storedFileName("Filename Baro"), "*.cmp"),
      "PC-Graph für DOS Datei (*.cmp *.CMP)");
  if (!chosen) return;
  if (const auto failure = readBarographFile(chosen->toStdString(), *barogram_)) {
    dialogs_.warn(this, "Barogramm öffnen", qt(*failure));
    return;
  }
  record_->SignOnSave = false;
  settings_.writeString("Dateien", "Filename Baro", chosen->toStdString());
  menus_.openBarogram->setEnabled(false);
  mergeBarogram();
}

void MainWindow::chooseTimeShift(TimeShift shift) {
  setTimeShiftControlsVisible(shift == TimeShift::Entered);
  baroOffset_ = baroOffsetFor(shift, *record_, *barogram_, 0);
  if (shift == TimeShift::Entered) {
    setLabel(1, "Differenz BaroZeit zu UTC hh:mm:ss",
             {Qt::black, palette().color(QPalette::Window)});
    clearLabels(2, 7);
  }
  mergeBarogram();
}

void MainWindow::enteredShiftChanged() {
  const double timeOfDay = timePicker_->time().msecsSinceStartOfDay() / 86400000.0;
  baroOffset_ = enteredBaroOffset(timeOfDay, barographBehind_->isChecked());
  mergeBarogram();
}

void MainWindow::mergeBarogram() {
  if (barogram_->BaroInterval <= 0) return;
  BaroZeiten(*record_, *barogram_, baroOffset_);
  if (flightLoaded_) {
    redrawMapContent();
    menus_.saveIgc->setEnabled(true);
  }
  menus_.timeShift->setEnabled(true);
}

std::optional<QString> MainWindow::askSaveName(const QString& title, const QString& start,
                                               const QString& filter,
                                               std::string (*withExtension)(const std::string&)) {
  QString proposal = start;
  for (;;) {
    const auto chosen = dialogs_.saveFileName(this, title, proposal, filter);
    if (!chosen) return std::nullopt;
    const QString name = qt(withExtension(chosen->toStdString()));
    if (!QFileInfo::exists(name)) return name;
    if (dialogs_.askYesNo(this, title,
                          "Wollen Sie " + QFileInfo(name).fileName() + " wirklich überschreibenen?")) {
      return name;
    }
    proposal = name;
  }
}

void MainWindow::saveIgcFile() {
  const auto name = askSaveName(
      "IGC-File speichern",
      storedFileName("Filename IGC"),
      "IGC-File (*.igc)", &igcFileName);
  setTimeShiftControlsVisible(false);
  if (!name) return;
  settings_.writeString("Dateien", "Filename IGC", name->toStdString());
  const SaveOutcome outcome = saveFlight(name->toStdString(), *record_);
  if (outcome.error) {
    dialogs_.warn(this, "IGC-File speichern", qt(*outcome.error));
    return;
  }
  setLabel(1, outcome.label);
  std::string content;
  listBox_->clear();
  if (!readWholeFile(name->toStdString(), content)) {
    for (const std::string& line : splitLines(content)) listBox_->addItem(qt(line));
  }
}

void MainWindow::saveClaimFile() {
  const auto line = claimLine(*record_, result_);
  if (!line) {
    dialogs_.warn(this, "OLC-File speichern", "Keine Strecke gefunden, die sich melden ließe.");
    return;
  }
  const auto name = askSaveName(
      "OLC-File speichern",
      qt(proposedClaimFileName(record_->TrackFileName,
                               storedFileName("Filename OLC").toStdString())),
      "OLC-File (*.olc)", &claimFileName);
  if (!name) return;
  settings_.writeString("Dateien", "Filename OLC", name->toStdString());
  if (const auto failure = writeClaimFile(name->toStdString(), *line)) {
    dialogs_.warn(this, "OLC-File speichern", qt(*failure));
    return;
  }
  setLabel(1, "OLC-File geschrieben", {Qt::black, QColor(255, 0, 0)});
}

void MainWindow::chooseBudget(int index) {
  QAction* chosen = menus_.budgets[static_cast<std::size_t>(index)];
  if (index == 4 && !dialogs_.askOkCancel(
                        this, " Muss das sein?",
                        "Diese Option benötigt je nach tatsächlicher Anzahl von Datenpunkten bis zu "
                        "300 MByte Arbeitsspeicher und einge Stunden Rechenzeit!")) {
    chosen->setChecked(!chosen->isChecked());  // the click toggled it: undo
    return;
  }
  for (QAction* budget : menus_.budgets) budget->setChecked(budget == chosen);
}

int MainWindow::pointBudget() const {
  int budget = 1024;
  for (std::size_t k = 0; k < menus_.budgets.size(); ++k) {
    if (menus_.budgets[k]->isChecked()) budget = BudgetChoices[k];
  }
  return budget;
}

void MainWindow::startOptimization() {
  if (task_) return;
  startTask(new OptimizationTask(*record_, pointBudget(), this));
}

void MainWindow::startTask(OptimizationTask* task) {
  menus_.showIgcFile->setChecked(false);
  progressBar_->setValue(1);
  progressBar_->show();
  setLabel(1, label(1)->text(), {Qt::black, QColor(255, 0, 0)});
  setTimeShiftControlsVisible(false);
  cancelButton_->show();
  menuBar()->setEnabled(false);
  task_ = task;
  connect(task_, &OptimizationTask::progressed, progressBar_, &QProgressBar::setValue);
  connect(task_, &OptimizationTask::finished, this, &MainWindow::optimizationFinished);
  connect(task_, &OptimizationTask::scored, this, &MainWindow::exactScoringFinished);
  connect(task_, &OptimizationTask::failed, this, &MainWindow::optimizationFailed);
  task_->start();
}

// The rule set is a setting of its own, kept as its id.
void MainWindow::chooseScoringRules(std::size_t index) {
  settings_.writeString("Wertung", "Regeln", exact::ruleSets().at(index).id);
}

void MainWindow::startExactScoring() {
  if (task_) return;
  const auto& sets = exact::ruleSets();
  std::size_t chosen = 0;
  for (std::size_t k = 0; k < menus_.scoringRules.size(); ++k) {
    if (menus_.scoringRules[k]->isChecked()) chosen = k;
  }
  startTask(new OptimizationTask(*record_, sets.at(chosen), this));
}

void MainWindow::exactScoringFinished(std::shared_ptr<const ExactRun> run) {
  finishRun();
  exact_ = std::move(run);
  clearLabels(1, 7);
  for (QAction* route : {menus_.freeDistance, menus_.flatTriangle, menus_.faiTriangle}) {
    route->setChecked(false);
  }
  pointsPanel_->setPanel(exactPointsPanel(*exact_->rules, exact_->track, exact_->result));
  redrawMapContent();
  emit optimizationEnded();
}

void MainWindow::cancelOptimization() {
  if (task_) task_->cancel();
}

// Clears up after a run, whichever way it ended.
void MainWindow::finishRun() {
  delete task_;
  task_ = nullptr;
  progressBar_->hide();
  cancelButton_->hide();
  menuBar()->setEnabled(true);
}

void MainWindow::optimizationFinished(std::shared_ptr<const OptimizationRun> run) {
  finishRun();
  exact_.reset();
  result_ = run->result;
  for (std::size_t k = 0; k < run->labels.size(); ++k) {
    setLabel(static_cast<int>(k) + 1, qt(run->labels[k]),
             {Qt::black, k == 0 ? std::optional<QColor>(QColor(255, 0, 0)) : std::nullopt});
  }
  menus_.draw->setEnabled(true);
  menus_.freeDistance->setEnabled(true);
  menus_.flatTriangle->setEnabled(true);
  menus_.faiTriangle->setEnabled(result_.FaiTp2 > 0);
  menus_.saveOlc->setEnabled(true);
  showPoints();
  emit optimizationEnded();
}

void MainWindow::optimizationFailed(const QString& message, bool cancelled) {
  finishRun();
  if (cancelled) {
    setLabel(1, message, {Qt::black, QColor(255, 0, 0)});
  } else {
    dialogs_.warn(this, "optimale Wendepunkte", message);
  }
  emit optimizationEnded();
}

void MainWindow::showPoints() {
  menus_.flatTriangle->setChecked(result_.FlatIsBest);
  menus_.faiTriangle->setChecked(result_.FaiIsBest);
  menus_.freeDistance->setChecked(result_.FreeIsBest);
  pointsPanel_->setPanel(pointsPanel(result_));
  redrawMapContent();
}

void MainWindow::drawRouteCommand(DrawnRoute route) {
  if (exact_) {
    exact_.reset();
    pointsPanel_->setPanel(route == DrawnRoute::None ? std::vector<PanelText>{} : pointsPanel(result_));
  }
  menus_.freeDistance->setChecked(route == DrawnRoute::Free);
  menus_.flatTriangle->setChecked(route == DrawnRoute::Flat);
  menus_.faiTriangle->setChecked(route == DrawnRoute::Fai);
  redrawMapContent();
}

void MainWindow::drawPlainTrack() {
  drawRouteCommand(DrawnRoute::None);
  clearLabels(1, 7);
}

void MainWindow::showMeasurement(const std::string& text) {
  setTimeShiftControlsVisible(false);
  setLabel(1, qt(text), {Qt::black, QColor(255, 0, 0), true, 11});
  clearLabels(2, 7);
}

void MainWindow::selectMapFile() {
  const auto chosen = dialogs_.openFileName(this, "Datei für Landkarte wählen", mapDir_ + mapFile_,
                                            "FPlanner-Karte (*.map)");
  if (!chosen) return;
  const QFileInfo file(*chosen);
  mapDir_ = file.absolutePath() + "/";
  mapFile_ = file.fileName();
  if (file.exists()) {
    menus_.mapImage->setEnabled(true);
    settings_.writeString("Landkarte", "Pfad", mapDir_.toStdString());
    settings_.writeString("Landkarte", "Datei", mapFile_.toStdString());
  }
  if (menus_.mapImage->isChecked() && menus_.draw->isEnabled()) redrawMapContent();
}

}  // namespace quorvanta
