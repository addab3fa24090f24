#pragma once

#include <string>
#include <vector>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/flytec/FlytecSession.h"
#include "devices/port/TVaComm.h"
#include "flight/Barograph.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Flytec Vario 40XX auslesen": a thin shell over the Flytec session. The
// directory and the memory are read once per opening; the ticked flight's
// barogram lands in the buffer given, which the main window merges once the
// window has closed.
class FlytecWindow : public QDialog {
  Q_OBJECT

 public:
  FlytecWindow(BarographBuffer& buffer, SettingsStore& settings, UserDialogs& dialogs,
               QWidget* parent = nullptr);
  ~FlytecWindow() override;

  flytec::FlytecSession& session() { return session_; }
  TVaComm& port() { return port_; }

 private:
  void buildControls();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void showFlights(const flytec::FlytecView& view);
  void choosePort(int index);

  SettingsStore& settings_;
  UserDialogs& dialogs_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  flytec::FlytecSession session_;
  QtSessionHost host_;
  SessionDriver driver_;
  std::vector<std::string> shownFlights_;

  QComboBox* portChooser_ = nullptr;
  QPushButton* read_ = nullptr;      // "Barograf auslesen"
  QListWidget* flights_ = nullptr;
  QPushButton* takeOver_ = nullptr;  // "Flug übernehmen"
  QPushButton* exit_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* instruction_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace quorvanta
