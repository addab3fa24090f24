#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "devices/DownloadSession.h"
#include "devices/port/TVaComm.h"

namespace quorvanta {

// What the program running a session provides besides the port: timers on
// its user-interface thread and the transcript file.
class SessionHost {
 public:
  virtual ~SessionHost() = default;

  virtual void startTimer(int timer, int milliseconds) = 0;
  virtual void stopTimer(int timer) = 0;
  // Opens the transcript when it is not open yet; a German message when it
  // cannot be (the session then sends nothing).
  virtual std::optional<std::string> openTranscript() = 0;
  virtual void appendTranscript(std::string_view text) = 0;
};

// Carries out a session's commands on a port, in order, and feeds the port's
// events and failures back to the session. Lives on the user-interface thread.
class SessionDriver {
 public:
  SessionDriver(DownloadSession& session, TVaComm& port, SessionHost& host);
  ~SessionDriver();
  SessionDriver(const SessionDriver&) = delete;
  SessionDriver& operator=(const SessionDriver&) = delete;

  void run(SessionCommands commands);
  void timerFired(int timer) { run(session_.timerFired(timer)); }

 private:
  void carryOut(const SessionCommand& command, SessionCommands& followUp);
  void openPort(SessionCommands& followUp);
  void write(const std::string& bytes, SessionCommands& followUp);
  void received();
  void lost(const std::string& reason);

  DownloadSession& session_;
  TVaComm& port_;
  SessionHost& host_;
};

// The German texts of a port that cannot be opened or was lost.
std::string portOpenFailedText(const std::string& device, const std::string& reason);
std::string portLostText(const std::string& device, const std::string& reason);

}  // namespace quorvanta
