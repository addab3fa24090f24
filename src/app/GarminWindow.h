#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/garmin/GarminSession.h"
#include "devices/port/PortNames.h"
#include "devices/port/TVaComm.h"
#include "flight/FlightRecord.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Garmin GPS Track lesen": a thin shell over the Garmin session. Buttons
// and port events go to the session, its commands to the port, the timers
// and the transcript; after every call the window shows the session's view.
// A written file is handed to the main window through the flight record's
// DownloadDone and DownloadedFile.
class GarminWindow : public QDialog {
  Q_OBJECT

 public:
  GarminWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
               QWidget* parent = nullptr);
  ~GarminWindow() override;

  garmin::GarminSession& session() { return session_; }
  TVaComm& port() { return port_; }
  QtSessionHost& host() { return host_; }
  // The local time as a day count, for the transcript and the file.
  void setClock(std::function<double()> now) { clock_ = std::move(now); }

 private:
  void buildControls();
  void buildPortChooser();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void renderTransferPage(const garmin::GarminView& view);
  void renderChoicePages(const garmin::GarminView& view);
  void showMessage();
  void choosePort(int index);
  void finish();
  void quit();

  FlightRecord& record_;
  SettingsStore& settings_;
  UserDialogs& dialogs_;
  std::function<double()> clock_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  garmin::GarminSession session_;
  QtSessionHost host_;
  SessionDriver driver_;
  std::vector<SerialDevice> usbDevices_;
  std::vector<std::string> shownTracks_, shownPoints_;

  std::array<QPushButton*, 7> buttons_{};  // Button1 .. Button7
  QPushButton* abort_ = nullptr;
  QPushButton* save_ = nullptr;  // "IGC-File speichern"
  QCheckBox* showRxTx_ = nullptr;
  QLabel* portLabel_ = nullptr;
  QComboBox* portChooser_ = nullptr;
  QLabel* bufferLabel_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPlainTextEdit* display_ = nullptr;
  QLabel* rxLabel_ = nullptr;
  QPlainTextEdit* rx_ = nullptr;
  QLabel* txLabel_ = nullptr;
  QPlainTextEdit* tx_ = nullptr;
  QPlainTextEdit* instructions_ = nullptr;
  QListWidget* tracks_ = nullptr;
  QPushButton* next_ = nullptr;
  QListWidget* points_ = nullptr;
  QPushButton* done_ = nullptr;
};

}  // namespace quorvanta
