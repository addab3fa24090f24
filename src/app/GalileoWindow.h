#pragma once

#include <array>
#include <functional>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/galileo/GalileoSession.h"
#include "devices/port/TVaComm.h"
#include "flight/FlightRecord.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Bräuniger Galileo auslesen": a thin shell over the Galileo session. The
// written track is handed to the main window through the flight record's
// DownloadDone and DownloadedFile.
class GalileoWindow : public QDialog {
  Q_OBJECT

 public:
  GalileoWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                QWidget* parent = nullptr);
  ~GalileoWindow() override;

  galileo::GalileoSession& session() { return session_; }
  TVaComm& port() { return port_; }
  // The local time as a day count, for the file's L line.
  void setClock(std::function<double()> now) { clock_ = std::move(now); }

 private:
  void buildControls();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void choosePort(int number);
  void saveTrack();
  void quit();

  FlightRecord& record_;
  SettingsStore& settings_;
  UserDialogs& dialogs_;
  std::function<double()> clock_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  galileo::GalileoSession session_;
  QtSessionHost host_;
  SessionDriver driver_;

  std::array<QRadioButton*, 4> ports_{};  // RadioButton1 .. RadioButton4
  std::array<QPushButton*, 4> commands_{};  // ButtonSN, ButtonStart, ButtonWPTs, ButtonRoutes
  QPushButton* save_ = nullptr;             // ButtonAuswertung
  QPushButton* quit_ = nullptr;             // OKButton
  QCheckBox* showRx_ = nullptr;
  QLabel* status_ = nullptr;                // Label1
  QPlainTextEdit* memo_ = nullptr;          // Memo1
};

}  // namespace quorvanta
