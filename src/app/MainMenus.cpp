#include "app/MainMenus.h"

#include <QActionGroup>

#include "app/QtText.h"
#include "optimize/exact/ScoringRules.h"

namespace quorvanta {

namespace {

QAction* item(QMenu* menu, const QString& caption, bool enabled = true, const char* name = nullptr) {
  QAction* action = menu->addAction(caption);
  action->setEnabled(enabled);
  if (name) action->setObjectName(name);
  return action;
}

QAction* tick(QAction* action, QActionGroup* group, bool ticked) {
  action->setCheckable(true);
  action->setChecked(ticked);
  if (group) group->addAction(action);
  return action;
}

void buildFileMenu(MainMenus& m, QMenuBar* bar) {
  QMenu* file = bar->addMenu("&Datei");
  m.openTrack = item(file, "Datei öffnen (Track)");
  m.openBarogram = item(file, "Datei öffnen (Barogramm)", false);
  m.saveIgc = item(file, "IGC File speichern unter", false);
  m.saveOlc = item(file, "OLC File speichern unter", false, "OLCFilespeichernunter1");
  m.quit = item(file, "Beenden");
  m.openTrack->setShortcut(QKeySequence::Open);
  m.saveIgc->setShortcut(QKeySequence::Save);
  m.quit->setShortcut(Qt::CTRL | Qt::Key_Q);  // not every platform theme names one
}

void buildOptionMenus(MainMenus& m, QMenuBar* bar, QObject* owner) {
  m.devices = bar->addMenu("&Gerät auslesen");
  m.downloads[0] = item(m.devices, "Garmin GPS", true, "GarminGPS1");
  m.downloads[1] = item(m.devices, "MLR und Log_it!", true, "MLR1");
  m.downloads[2] = item(m.devices, "Renschler", true, "Renschler1");
  m.downloads[3] = item(m.devices, "Bräuniger Gallileo", true, "BrGalileo1");
  m.downloads[4] = item(m.devices, "Sendrakel", true, "Sendrakel1");
  m.varioDownloads[0] = item(m.devices, "Bräuniger Vario IQ-Serie", false, "BrVarioIQ1");
  m.varioDownloads[1] = item(m.devices, "Flytec Vario 40XX", false, "FlytecVario1");

  m.timeShift = bar->addMenu("&Zeitverschiebung");
  m.timeShift->setEnabled(false);
  auto* shifts = new QActionGroup(owner);
  m.asRecorded = tick(item(m.timeShift, "wie aufgezeichnet"), shifts, true);
  m.syncAtSwitchOff = tick(item(m.timeShift, "sync. bei Ausschalten"), shifts, false);
  m.syncAtSwitchOn = tick(item(m.timeShift, "sync. bei Einschalten"), shifts, false);
  m.enterShift = tick(item(m.timeShift, "Verschiebung eingeben"), shifts, false);

  QMenu* options = bar->addMenu("&Optionen");
  const std::array<const char*, 5> budgetCaptions = {
      "512-Punkte-Optimierung", "1K-Punkte-Optimierung", "2K-Punkte-Optimierung",
      "4K-Punkte-Optimierung (lange Rechenzeit)", "8K-Punkte-Optimierung  (extreme Rechenzeit!)"};
  for (std::size_t k = 0; k < budgetCaptions.size(); ++k) {
    m.budgets[k] = tick(item(options, budgetCaptions[k]), nullptr, k == 2);
  }
  options->addSeparator();
  m.interpolate = tick(item(options, "Relief interpolieren", false, "Interpol"), nullptr, true);
  m.contours = tick(item(options, "Höhenlinien darstellen", false, "Hoehenlinien"), nullptr, false);
  m.shading = tick(item(options, "Relief schattieren", false, "Schattieren"), nullptr, false);
  options->addSeparator();
  m.selectMap = item(options, "Datei für Landkarte wählen", true, "SelectMap");
  m.selectTerrain = item(options, "Datei für Höhenmodell wählen");
  options->addSeparator();
  auto* rules = new QActionGroup(owner);
  for (const exact::RuleSet& set : exact::ruleSets()) {
    m.scoringRules.push_back(tick(item(options, qt(std::string("Wertung: ") + set.name)), rules, set.id == "xcontest"));
  }
}

void buildResultMenus(MainMenus& m, QMenuBar* bar, QObject* owner) {
  m.calculate = bar->addMenu("&Berechnen");
  m.calculate->setEnabled(false);
  m.startToFinish = item(m.calculate, "Start - Ziel");
  m.trackLength = item(m.calculate, "Gesamtstrecke");
  m.optimize = item(m.calculate, "optimale Wendepunkte");
  m.exactScoring = item(m.calculate, "exakte Wertung (alle Punkte)");

  m.draw = bar->addMenu("Ze&ichnen");
  m.draw->setObjectName("Anzeigen1");
  m.draw->setEnabled(false);
  m.freeDistance = tick(item(m.draw, "freie Strecke", false, "freieStrecke1"), nullptr, false);
  m.flatTriangle = tick(item(m.draw, "flaches Dreieck", false, "Dreieck1"), nullptr, false);
  m.faiTriangle = tick(item(m.draw, "FAI - Dreieck", false, "FAIDreieck1"), nullptr, false);
  m.plainTrack = item(m.draw, "Track ohne Wendepunkte", false, "Neuzeichnen1");
  m.draw->addSeparator();
  m.relief = tick(item(m.draw, "Reliefdarstellung", false, "Gelaende"), nullptr, false);
  m.mapImage = tick(item(m.draw, "Landkarte", false, "Map"), nullptr, false);

  QMenu* colours = bar->addMenu("&Farbcodierung");
  auto* trackGroup = new QActionGroup(owner);
  m.trackColours[0] = tick(item(colours, "Track: Höhe"), trackGroup, true);
  m.trackColours[1] = tick(item(colours, "Track: Groundspeed"), trackGroup, false);
  m.trackColours[2] = tick(item(colours, "Track: Vario"), trackGroup, false);
  item(colours, "Track: Drehrichtung", false);
  m.trackColours[3] =
      tick(item(colours, "Track: schwarz (unsichere Puntkte rot)"), trackGroup, false);
  colours->addSeparator();
  auto* reliefGroup = new QActionGroup(owner);
  const std::array<const char*, 4> schemes = {"Relief: Standardfarben", "Relief: Kontrastverstärkt",
                                              "Relief: Grau", "Relief: Knallbunt"};
  for (std::size_t k = 0; k < schemes.size(); ++k) {
    m.reliefSchemes[k] = tick(item(colours, schemes[k], false), reliefGroup, k == 0);
  }
  m.flatland = tick(item(colours, "Relief: Flachlandoptimiert", false), nullptr, false);
}

void buildExtraMenus(MainMenus& m, QMenuBar* bar) {
  QMenu* extras = bar->addMenu("&Extras");
  m.barogramWindow = item(extras, "Baro/Vario/Speed/Ext", false);
  m.polarWindow = item(extras, "Polardiagramme", false);
  m.perspectiveWindow = item(extras, "3D Plot (Skizze)", false);
  m.statisticsWindow = item(extras, "Statistik Zeitintervalle", false);
  m.showIgcFile = tick(item(extras, "Zeige IGC-File", true, "ZeigeIGCFile1"), nullptr, true);
  QMenu* questions = bar->addMenu("&?");
  m.about = item(questions, "Über");
  m.help = item(questions, "Hilfe");
  m.help->setShortcut(QKeySequence::HelpContents);
}

void buildPopupMenu(MainMenus& m, QObject* owner) {
  m.zoomOut = new QAction("Zoom out 2x", owner);
  m.zoomWholeTrack = new QAction("Zoom ganzer Track", owner);
  auto* mouseModes = new QActionGroup(owner);
  m.mouseZoom = tick(new QAction("Mouse Zoom", owner), mouseModes, true);
  m.mousePan = tick(new QAction("Mouse Pan", owner), mouseModes, false);
}

}  // namespace

MainMenus buildMainMenus(QMenuBar* bar, QObject* owner) {
  MainMenus menus{};
  buildFileMenu(menus, bar);
  buildOptionMenus(menus, bar, owner);
  buildResultMenus(menus, bar, owner);
  buildExtraMenus(menus, bar);
  buildPopupMenu(menus, owner);
  return menus;
}

}  // namespace quorvanta
