#pragma once

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QTimer>

#include "app/UserDialogs.h"
#include "devices/SessionDriver.h"
#include "flight/SettingsStore.h"

class QWidget;

namespace quorvanta {

// Where a download window keeps its transcript: the settings value that
// names the file and the dialog that chooses one. A window that keeps no
// transcript leaves `section` empty.
struct TranscriptChoice {
  const char* section = nullptr;  // e.g. "GPS"
  const char* key = nullptr;      // e.g. "Filename GPSlog"
  QString dialogTitle;
  QString defaultName;   // proposed in the documents folder
  QString filter;
};

// The session host of a download window: one single-shot QTimer per
// session timer and the transcript file, whose name is asked for on the
// first send unless the stored file exists. The name "unbekannt" is never
// accepted; a cancelled dialog refuses the transcript, so nothing is sent.
// `firstLine`, when given, makes the file's first line.
class QtSessionHost : public SessionHost {
 public:
  QtSessionHost(QWidget& window, SettingsStore& settings, UserDialogs& dialogs,
                TranscriptChoice choice, std::function<std::string()> firstLine);
  ~QtSessionHost() override;

  // Where the timers' expiries go.
  void setTimerHandler(std::function<void(int timer)> fired) { fired_ = std::move(fired); }

  void startTimer(int timer, int milliseconds) override;
  void stopTimer(int timer) override;
  std::optional<std::string> openTranscript() override;
  void appendTranscript(std::string_view text) override;

  void closeTranscript();
  bool transcriptOpen() const { return transcript_.is_open(); }
  const std::string& transcriptPath() const { return transcriptPath_; }
  bool timerRunning(int timer) const;

 private:
  std::optional<QString> chooseTranscriptName();

  QWidget& window_;
  SettingsStore& settings_;
  UserDialogs& dialogs_;
  TranscriptChoice choice_;
  std::function<std::string()> firstLine_;
  std::function<void(int)> fired_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::ofstream transcript_;
  std::string transcriptPath_;
};

}  // namespace quorvanta
