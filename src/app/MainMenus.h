#pragma once

#include <array>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quorvanta {

// The main window's menu tree with its start states, and the map's popup
// menu. Exclusive groups tick one item each. Each menu opens with Alt and the
// letter underlined in its caption; opening, saving, quitting and the help
// have the usual shortcuts.
struct MainMenus {
  // "Datei"
  QAction* openTrack;
  QAction* openBarogram;
  QAction* saveIgc;
  QAction* saveOlc;
  QAction* quit;
  // "Gerät auslesen"
  QMenu* devices;
  std::array<QAction*, 5> downloads;       // Garmin, MLR, Renschler, Galileo, Sendrakel
  std::array<QAction*, 2> varioDownloads;  // Bräuniger IQ, Flytec 40XX
  // "Zeitverschiebung"
  QMenu* timeShift;
  QAction* asRecorded;
  QAction* syncAtSwitchOff;
  QAction* syncAtSwitchOn;
  QAction* enterShift;
  // "Optionen"
  std::array<QAction*, 5> budgets;  // 512 .. 8192
  QAction* interpolate;
  QAction* contours;
  QAction* shading;
  QAction* selectMap;
  QAction* selectTerrain;
  std::vector<QAction*> scoringRules;  // one per exact rule set, in their order
  // "Berechnen"
  QMenu* calculate;
  QAction* startToFinish;
  QAction* trackLength;
  QAction* optimize;
  QAction* exactScoring;
  // "Zeichnen"
  QMenu* draw;
  QAction* freeDistance;
  QAction* flatTriangle;
  QAction* faiTriangle;
  QAction* plainTrack;
  QAction* relief;
  QAction* mapImage;
  // "Farbcodierung"
  std::array<QAction*, 4> trackColours;  // height, ground speed, vario, validity
  std::array<QAction*, 4> reliefSchemes;  // standard, contrast, grey, vivid
  QAction* flatland;
  // "Extras"
  QAction* barogramWindow;
  QAction* polarWindow;
  QAction* perspectiveWindow;
  QAction* statisticsWindow;
  QAction* showIgcFile;
  // "?"
  QAction* about;
  QAction* help;
  // Popup menu of the map
  QAction* zoomOut;
  QAction* zoomWholeTrack;
  QAction* mouseZoom;
  QAction* mousePan;
};

inline constexpr std::array<int, 5> BudgetChoices = {512, 1024, 2048, 4096, 8192};

MainMenus buildMainMenus(QMenuBar* bar, QObject* owner);

}  // namespace quorvanta
