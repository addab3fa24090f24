#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>

#include "app/AppSettings.h"
#include "app/InfoBox.h"
#include "app/MainMenus.h"
#include "app/MapWidget.h"
#include "app/PointsPanel.h"
#include "app/UserDialogs.h"
#include "flight/Barograph.h"
#include "flight/FlightRecord.h"
#include "flight/LoadStatus.h"
#include "optimize/OptimizationResult.h"
#include "views/MapGeometry.h"
#include "views/MapScene.h"
#include "views/AnalysisState.h"
#include "views/Relief.h"
#include "views/TerrainModel.h"

namespace quorvanta {

class OptimizationTask;
struct OptimizationRun;
struct ExactRun;

// How a status label looks besides its text.
struct LabelLook {
  LabelLook() = default;
  LabelLook(QColor textColour, std::optional<QColor> backgroundColour = std::nullopt,
            bool boldFont = true, int size = 0)
      : text(textColour), background(backgroundColour), bold(boldFont), pointSize(size) {}

  QColor text = Qt::black;
  std::optional<QColor> background;
  bool bold = true;
  int pointSize = 0;  // 0: the label's own size
};

// The main window: menus, status labels, the file listing, the points panel
// and the map. Handlers call the plain functions of the core and show what
// they return.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(UserDialogs& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Loads the flight named on the command line.
  void openFromCommandLine(const QString& path);

  const MainMenus& menus() const { return menus_; }
  QLabel* label(int number) const { return labels_.at(static_cast<std::size_t>(number - 1)); }
  const FlightRecord& record() const { return *record_; }
  const OptimizationResult& result() const { return result_; }
  bool optimizationRunning() const { return task_ != nullptr; }
  // The exact scoring shown in the points panel and drawn on the map; null
  // while the panel shows the optimization or nothing.
  const ExactRun* exactRun() const { return exact_.get(); }
  MapWidget* map() const { return map_; }
  const MapRect& mapRect() const { return rect_; }
  double baroOffset() const { return baroOffset_; }
  const TerrainModel& terrain() const { return terrain_; }
  AnalysisState& analysis() { return *analysis_; }
  QLabel* legend() const { return legend_; }
  // The barogram a variometer window downloads.
  BarographBuffer& barograph() { return *barogram_; }

  // After a variometer window has closed: merges its barogram into the
  // flight and names the pressure sensor in the extra header line.
  void variometerWindowClosed(Variometer instrument);

 signals:
  void optimizationEnded();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Window set-up
  void buildPanel();
  void centreOnScreen();
  void connectMenus();
  void connectMap();
  void startState();
  void showStartLabels();
  void setLabel(int number, const QString& text, const LabelLook& look = {});
  void setLabel(int number, const StatusLabel& status);
  void clearLabels(int from, int to);
  void setTimeShiftControlsVisible(bool visible);

  // Loading and saving
  // A file name of the settings section "Dateien"; the documents folder when none is stored.
  QString storedFileName(const char* key) const;
  // Opens the file named, or the one the pilot chooses; a downloaded file
  // keeps its signing on save.
  void openTrack(std::optional<QString> path, bool downloaded = false);
  // Puts everything the loaded flight changed back as it was at start; the
  // pilot's choices in "Optionen", "Farbcodierung", of relief and map and of
  // the mouse mode stay.
  void forgetFlight();
  void showLoadedFlight(const std::vector<std::string>& listing);
  void openBarogram();
  void chooseTimeShift(TimeShift shift);
  void enteredShiftChanged();
  void mergeBarogram();
  void saveIgcFile();
  void saveClaimFile();
  std::optional<QString> askSaveName(const QString& title, const QString& start,
                                     const QString& filter,
                                     std::string (*withExtension)(const std::string&));

  // Optimization and results
  void chooseBudget(int index);
  int pointBudget() const;
  void startOptimization();
  void startTask(OptimizationTask* task);
  void chooseScoringRules(std::size_t index);
  void startExactScoring();
  void exactScoringFinished(std::shared_ptr<const ExactRun> run);
  void cancelOptimization();
  void optimizationFinished(std::shared_ptr<const OptimizationRun> run);
  void optimizationFailed(const QString& message, bool cancelled);
  void finishRun();
  void showPoints();
  void drawRouteCommand(DrawnRoute route);
  void drawPlainTrack();
  void showMeasurement(const std::string& text);

  // Map
  void drawMap();
  void redrawMapContent();
  DrawnRoute tickedRoute() const;
  void showRouteLabels(DrawnRoute route);
  void showRouteLabels(const RoutePoints& route);
  void paintMapBitmap(QPainter& painter, int width);
  void zoomWholeTrack();
  void mapHovered(QPoint position, bool buttonHeld);
  void mapDragFinished(QPoint start, QPoint last);
  void mapWheelTurned(bool down);
  void selectMapFile();
  void layoutChildren();

  // Analysis windows
  void connectAnalysisWindows();

  // Download windows
  void connectDownloads();
  void runDownloadWindow(const std::function<void()>& showWindow);
  void setDownloadsEnabled(bool enabled);

  // Terrain and relief
  void startTerrain();
  void showNoTerrainWarning();
  bool loadTerrain();
  void selectTerrainFile();
  void connectRelief();
  ReliefOptions reliefOptions() const;
  void reliefChanged();
  void paintLegend();

  UserDialogs& dialogs_;
  AppSettings settings_;
  MainMenus menus_{};
  std::unique_ptr<FlightRecord> record_;
  bool flightLoaded_ = false;
  std::unique_ptr<BarographBuffer> barogram_;
  double baroOffset_ = 0;
  OptimizationResult result_;
  OptimizationTask* task_ = nullptr;
  std::shared_ptr<const ExactRun> exact_;

  MapRect rect_;
  bool fitWholeTrack_ = true;
  bool mapDrawn_ = false;
  int markedFix_ = 0;
  int colourMode_ = 0;
  QString mapDir_, mapFile_;
  TerrainModel terrain_;
  std::unique_ptr<AnalysisState> analysis_;
  std::optional<int> perspectiveHeightStep_;
  QString demDir_, demName_;
  std::vector<QAction*> downloadWindows_;  // the download commands that have a window
  ReliefColourTable reliefColours_{};

  QWidget* panel_ = nullptr;
  std::array<QLabel*, 7> labels_{};
  QLabel* readout_ = nullptr;
  QListWidget* listBox_ = nullptr;
  PointsPanel* pointsPanel_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QTimeEdit* timePicker_ = nullptr;
  QRadioButton* barographBehind_ = nullptr;
  QRadioButton* barographAhead_ = nullptr;
  MapWidget* map_ = nullptr;
  InfoBox* infoBox_ = nullptr;
  QLabel* legend_ = nullptr;
  QTimer* zoomTimer_ = nullptr;
};

}  // namespace quorvanta
