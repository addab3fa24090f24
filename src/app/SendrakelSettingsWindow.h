#pragma once

#include <map>
#include <memory>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/QtCommDispatcher.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/port/TVaComm.h"
#include "devices/sendrakel/SendrakelSettingsSession.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Sendrakel Einstellungen vornehmen": the logger's settings memory written
// byte by byte on the download window's port.
class SendrakelSettingsWindow : public QDialog, private SessionHost {
  Q_OBJECT

 public:
  SendrakelSettingsWindow(SettingsStore& settings, UserDialogs& dialogs, int portNumber,
                          QWidget* parent = nullptr);
  ~SendrakelSettingsWindow() override;

  sendrakel::SendrakelSettingsSession& session() { return session_; }

 private:
  void startTimer(int timer, int milliseconds) override;
  void stopTimer(int timer) override;
  std::optional<std::string> openTranscript() override { return std::nullopt; }
  void appendTranscript(std::string_view) override {}

  void buildControls();
  void send();
  void run(SessionCommands commands);
  void render();
  void done(int result) override;

  SettingsStore& settings_;
  UserDialogs& dialogs_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  sendrakel::SendrakelSettingsSession session_;
  SessionDriver driver_;
  QTimer timer_;

  QLineEdit *pilot_ = nullptr, *gliderType_ = nullptr, *gliderId_ = nullptr, *reserve_ = nullptr;
  QSpinBox *interval_ = nullptr, *powerDown_ = nullptr;
  QCheckBox* lcd_ = nullptr;
  QPushButton *send_ = nullptr, *ok_ = nullptr;
  QLabel *bytes_ = nullptr, *answer_ = nullptr;
};

}  // namespace quorvanta
