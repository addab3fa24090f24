// The terrain model and the relief under the map.
#include <QFileInfo>

#include "app/MainWindow.h"
#include "app/MapPainter.h"
#include "app/QtText.h"
#include "flight/IgcReader.h"

namespace quorvanta {

namespace {

constexpr const char* NoTerrainWarning = "Achtung: Keine Höhendaten gefunden";

}  // namespace

void MainWindow::startTerrain() {
  demDir_ = qt(settings_.readString("Hoehendaten", "Pfad", ""));
  demName_ = qt(settings_.readString("Hoehendaten", "Datei", "D-und-Alpen"));
  settings_.writeString("Hoehendaten", "Pfad", demDir_.toStdString());
  settings_.writeString("Hoehendaten", "Datei", demName_.toStdString());
  const QString base = demDir_ + demName_;
  if (QFileInfo::exists(base + ".hdr") && QFileInfo::exists(base + ".dem")) loadTerrain();
}

void MainWindow::showNoTerrainWarning() {
  setLabel(3, NoTerrainWarning, {QColor(255, 0, 0)});
  setLabel(4, "Entsprechende Funktionen blockiert", {QColor(255, 0, 0)});
}

// Loads the model named by the settings; a failure keeps the model loaded
// before and says why.
bool MainWindow::loadTerrain() {
  if (const auto failure = loadTerrainModel((demDir_ + demName_).toStdString(), terrain_)) {
    dialogs_.warn(this, "Höhenmodell", qt(*failure));
    return false;
  }
  for (QAction* action : {menus_.relief, menus_.interpolate, menus_.contours, menus_.shading,
                          menus_.flatland}) {
    action->setEnabled(true);
  }
  for (QAction* scheme : menus_.reliefSchemes) scheme->setEnabled(true);
  menus_.reliefSchemes[0]->setChecked(true);
  return true;
}

void MainWindow::selectTerrainFile() {
  const auto chosen = dialogs_.openFileName(this, "Datei für Höhenmodell wählen",
                                            demDir_ + demName_ + ".hdr", "DEM-Header Datei (*.hdr)");
  if (!chosen) return;
  const QFileInfo file(*chosen);
  demDir_ = file.absolutePath() + "/";
  demName_ = file.completeBaseName();
  settings_.writeString("Hoehendaten", "Pfad", demDir_.toStdString());
  settings_.writeString("Hoehendaten", "Datei", demName_.toStdString());
  if (!loadTerrain()) return;
  if (label(3)->text() == NoTerrainWarning) clearLabels(3, 4);
  if (!flightLoaded_) return;
  // The loaded flight gets its ground heights from the new model at once.
  assignGroundElevations(*record_, [this](double lat, double lon) {
    return terrain_.groundElevation(lat, lon);
  });
  redrawMapContent();
}

ReliefOptions MainWindow::reliefOptions() const {
  static constexpr std::array<int, 4> Schemes = {StandardScheme, ContrastScheme, GreyScheme,
                                                 VividScheme};
  ReliefOptions options;
  for (std::size_t k = 0; k < Schemes.size(); ++k) {
    if (menus_.reliefSchemes[k]->isChecked()) options.scheme = Schemes[k];
  }
  options.flatland = menus_.flatland->isChecked();
  options.interpolate = menus_.interpolate->isChecked();
  options.contours = menus_.contours->isChecked();
  options.shading = menus_.shading->isChecked();
  return options;
}

void MainWindow::reliefChanged() {
  if (flightLoaded_) redrawMapContent();
  if (legend_->isVisible()) paintLegend();
}

void MainWindow::paintLegend() {
  reliefColours_ = reliefColourTable(reliefOptions());
  // The relief, and with it the heights of its colours, exists once a flight is drawn.
  const ReliefRange heights = flightLoaded_ ? reliefRange(terrain_, rect_) : ReliefRange{};
  legend_->setPixmap(QPixmap::fromImage(legendImage(legend_->size(), reliefColours_, heights).image));
}

void MainWindow::connectRelief() {
  connect(menus_.selectTerrain, &QAction::triggered, this, &MainWindow::selectTerrainFile);
  connect(menus_.relief, &QAction::triggered, this, [this](bool checked) {
    if (checked) menus_.mapImage->setChecked(false);
    if (flightLoaded_) redrawMapContent();
    legend_->setVisible(checked);
    if (checked) paintLegend();
  });
  connect(menus_.mapImage, &QAction::triggered, this, [this](bool checked) {
    if (checked) {
      menus_.relief->setChecked(false);
      legend_->hide();
    }
    if (flightLoaded_) redrawMapContent();
  });
  connect(menus_.interpolate, &QAction::triggered, this, [this](bool checked) {
    if (!checked) menus_.contours->setChecked(false);
    reliefChanged();
  });
  connect(menus_.contours, &QAction::triggered, this, [this](bool checked) {
    if (checked) menus_.interpolate->setChecked(true);
    reliefChanged();
  });
  for (QAction* action : {menus_.shading, menus_.flatland, menus_.reliefSchemes[0],
                          menus_.reliefSchemes[1], menus_.reliefSchemes[2], menus_.reliefSchemes[3]}) {
    connect(action, &QAction::triggered, this, &MainWindow::reliefChanged);
  }
}

}  // namespace quorvanta
