#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "flight/SettingsStore.h"

namespace quorvanta::sendrakel {

// What the settings window writes into the logger's memory.
struct LoggerSettings {
  std::string pilot = "not set", gliderType = "not set", gliderId = "not set",
              reserve = "not set";
  int interval = 5;     // seconds between two recorded points, 1..60
  int powerDown = 33;   // switch off after this many × 30 s without input, 3..255
  bool lcd = false;
};

// Section "Sendra", keys "setPLT" .. "setLCD".
LoggerSettings readLoggerSettings(const SettingsStore& settings);
void saveLoggerSettings(SettingsStore& settings, const LoggerSettings& values);

// The 67 "$PSRK,SET,aaaa,b" sentences in address order: the four texts
// interleaved by character position into 0000..003F, then 00CF, 00DF,
// 00EF; each byte sent raw, each sentence ended by CR LF.
std::vector<std::string> settingsWrites(const LoggerSettings& values);

// The settings window's behaviour: one write, then 75 ms for the answer,
// shown before the next write follows. A silent logger does not stop the
// sequence.
class SendrakelSettingsSession : public DownloadSession {
 public:
  static constexpr int AnswerTimer = 1;
  static constexpr int AnswerMilliseconds = 75;

  SessionCommands send(const LoggerSettings& values);  // "=> Sendrakel"
  SessionCommands close();                             // the window closes

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override;
  SessionCommands portFailed(const std::string& message) override;

  bool sending() const { return !writes_.empty(); }
  int written() const { return static_cast<int>(next_); }
  const std::string& answerLabel() const { return answerLabel_; }  // Label11
  const std::string& bytesLabel() const { return bytesLabel_; }
  void clearAnswerLabel() { answerLabel_.clear(); }
  std::string& message() { return message_; }  // cleared by the window

 private:
  SessionCommands sendNext();
  SessionCommands stop(const std::string& message);

  std::vector<std::string> writes_;
  std::size_t next_ = 0;  // writes sent in the last sequence
  std::string answer_, answerLabel_, bytesLabel_, message_;
  bool portOpen_ = false;
};

}  // namespace quorvanta::sendrakel
