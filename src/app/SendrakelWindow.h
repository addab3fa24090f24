#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/port/TVaComm.h"
#include "devices/sendrakel/SendrakelSession.h"
#include "flight/FlightRecord.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Sendrakel auslesen": a thin shell over the Sendrakel session, like the
// Garmin window. A written file is handed to the main window through the
// flight record's DownloadDone and DownloadedFile.
class SendrakelWindow : public QDialog {
  Q_OBJECT

 public:
  SendrakelWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                  QWidget* parent = nullptr);
  ~SendrakelWindow() override;

  sendrakel::SendrakelSession& session() { return session_; }
  TVaComm& port() { return port_; }
  QtSessionHost& host() { return host_; }
  void setClock(std::function<double()> now) { clock_ = std::move(now); }
  // Shows the settings window modally; tests replace it.
  void setSettingsWindow(std::function<void(int portNumber)> show) { showSettings_ = std::move(show); }

 private:
  void buildControls();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void showMessage();
  void choosePort(int number);
  void confirmDelete();
  void adjustLogger();
  void finish();
  void quit();

  FlightRecord& record_;
  SettingsStore& settings_;
  UserDialogs& dialogs_;
  std::function<double()> clock_;
  std::function<void(int)> showSettings_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  sendrakel::SendrakelSession session_;
  QtSessionHost host_;
  SessionDriver driver_;
  std::vector<std::string> shownTracks_;

  std::array<QRadioButton*, 6> ports_{};
  QGroupBox* speeds_ = nullptr;
  std::array<QRadioButton*, 5> speedButtons_{};
  QPushButton *start_ = nullptr, *delete_ = nullptr, *status_ = nullptr, *on_ = nullptr,
              *off_ = nullptr, *set_ = nullptr, *hex_ = nullptr, *save_ = nullptr,
              *done_ = nullptr, *quit_ = nullptr;
  QListWidget* tracks_ = nullptr;
  QCheckBox* names_ = nullptr;
  QPlainTextEdit *memo1_ = nullptr, *memo2_ = nullptr;
  QLabel *label1_ = nullptr, *label2_ = nullptr;
  QProgressBar* progress_ = nullptr;
  bool testMode_ = false;
};

}  // namespace quorvanta
