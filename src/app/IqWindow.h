#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/iq/IqSession.h"
#include "devices/port/TVaComm.h"
#include "flight/Barograph.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// "Bräuniger Vario IQ-Serie auslesen": a thin shell over the IQ session. The
// port opens with the window and listens for the dump the pilot sends; the
// barogram lands in the buffer given, which the main window merges once the
// window has closed.
class IqWindow : public QDialog {
  Q_OBJECT

 public:
  IqWindow(BarographBuffer& buffer, SettingsStore& settings, UserDialogs& dialogs,
           QWidget* parent = nullptr);
  ~IqWindow() override;

  iq::IqSession& session() { return session_; }
  TVaComm& port() { return port_; }

 private:
  void buildControls();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void choosePort(int index);
  void dataCheckToggled(bool checked);

  SettingsStore& settings_;
  UserDialogs& dialogs_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  iq::IqSession session_;
  QtSessionHost host_;
  SessionDriver driver_;

  QComboBox* portChooser_ = nullptr;
  QCheckBox* dataCheck_ = nullptr;
  QPushButton* evaluate_ = nullptr;
  QPushButton* exit_ = nullptr;
  QPlainTextEdit* summary_ = nullptr;
  QPlainTextEdit* table_ = nullptr;
  QLabel* bytesLabel_ = nullptr;
  QLabel* checkLabel_ = nullptr;
};

}  // namespace quorvanta
