#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "app/QtCommDispatcher.h"
#include "app/QtSessionHost.h"
#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "devices/pmlr/PmlrSession.h"
#include "devices/port/TVaComm.h"
#include "flight/FlightRecord.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

class PointListModel;

// What tells the MLR/Log_it! window from the Renschler window.
struct PmlrWindowKind {
  struct SpeedGroup {
    const char* name;     // RadioGroup1 ...
    const char* caption;
    const char* key;      // the choice's index in the settings section
    std::vector<int> speeds;
  };
  const char* objectName;
  const char* section;  // of the settings
  std::string caption;
  TranscriptChoice transcript;
  std::vector<SpeedGroup> speedGroups;  // shown when they offer what the instrument takes
  bool erases = false;                  // "Erase Log_it! Flash"
};

// The "$PMLR" instruments' download window: a thin shell over the session.
// Buttons, pickers and port events go to the session, its commands to the
// port, the timers and the transcript; after every call the window shows
// the session's view. A written file is handed to the main window through
// the flight record's DownloadDone and DownloadedFile.
class PmlrWindow : public QDialog {
  Q_OBJECT

 public:
  ~PmlrWindow() override;

  pmlr::PmlrSession& session() { return *session_; }
  TVaComm& port() { return port_; }
  QtSessionHost& host() { return host_; }
  // The local time as a day count: today's date for the time window and the
  // file's L line.
  void setClock(std::function<double()> now) { clock_ = std::move(now); }

 protected:
  PmlrWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
             std::unique_ptr<pmlr::PmlrSession> session, PmlrWindowKind kind, QWidget* parent);

  // Hands the stored speed choices to the session.
  virtual void applyStoredSpeeds() = 0;
  // "Erase Log_it! Flash", confirmed.
  virtual SessionCommands eraseTrackMemory() { return {}; }
  // The stored index of a speed choice; outside the choice it counts as 0.
  int storedSpeedIndex(const PmlrWindowKind::SpeedGroup& group) const;
  const PmlrWindowKind& kind() const { return kind_; }

  SettingsStore& settings_;
  std::unique_ptr<pmlr::PmlrSession> session_;

 private:
  void buildControls();
  QGroupBox* speedGroup(const PmlrWindowKind::SpeedGroup& group);
  QWidget* timeWindowControls();
  void connectControls();
  void run(SessionCommands commands);
  void render();
  void renderPointPage(const pmlr::PmlrView& view);
  void choosePort(int number);
  void chooseSpeed(const PmlrWindowKind::SpeedGroup& group, int index);
  void erase();
  void pickerChanged();
  void finish();
  void quit();

  FlightRecord& record_;
  UserDialogs& dialogs_;
  PmlrWindowKind kind_;
  std::function<double()> clock_;
  QtCommDispatcher dispatcher_;
  TVaComm port_;
  QtSessionHost host_;
  SessionDriver driver_;
  bool pointListShown_ = false;

  std::array<QRadioButton*, 4> ports_{};  // RadioButton1 .. RadioButton4
  QCheckBox* showRx_ = nullptr;
  QPushButton* serialNumber_ = nullptr;  // ButtonSN
  std::vector<QGroupBox*> speedGroups_;
  QPushButton* track_ = nullptr;   // ButtonStart
  QPushButton* abort_ = nullptr;   // ComAbbruch
  QPushButton* erase_ = nullptr;   // ButtonErase
  QPushButton* save_ = nullptr;    // ButtonAuswertung
  QPushButton* time_ = nullptr;    // ButtonTime
  QPushButton* finish_ = nullptr;  // ButtonFertig
  QPushButton* quit_ = nullptr;    // OKButton
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;         // Memo1
  QPlainTextEdit* explanation_ = nullptr;  // Memo2
  QListView* points_ = nullptr;            // CheckListBoxPunkte
  PointListModel* pointModel_ = nullptr;
  QWidget* timeWindow_ = nullptr;          // the pickers and their labels
  QTimeEdit* start_ = nullptr;             // DateTimePicker1
  QTimeEdit* end_ = nullptr;               // DateTimePicker2
  QDateEdit* date_ = nullptr;              // DateTimePicker3
  QPlainTextEdit* warning_ = nullptr;      // Memo3
};

}  // namespace quorvanta
