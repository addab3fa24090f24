#include "devices/SessionDriver.h"

#include <type_traits>
#include <utility>

namespace quorvanta {

SessionDriver::SessionDriver(DownloadSession& session, TVaComm& port, SessionHost& host)
    : session_(session), port_(port), host_(host) {
  port_.OnRxChar = [this](int) { received(); };
  port_.OnLost = [this](const std::string& reason) { lost(reason); };
}

SessionDriver::~SessionDriver() {
  port_.OnRxChar = nullptr;
  port_.OnLost = nullptr;
}

// A failure drops the rest of the batch: what follows assumed that the
// failed step worked, and the session's answer to the failure takes over.
void SessionDriver::run(SessionCommands commands) {
  while (!commands.empty()) {
    SessionCommands followUp;
    for (const SessionCommand& command : commands) {
      carryOut(command, followUp);
      if (!followUp.empty()) break;
    }
    commands = std::move(followUp);
  }
}

void SessionDriver::carryOut(const SessionCommand& command, SessionCommands& followUp) {
  std::visit(
      [&](const auto& step) {
        using Step = std::decay_t<decltype(step)>;
        if constexpr (std::is_same_v<Step, OpenPort>) {
          openPort(followUp);
        } else if constexpr (std::is_same_v<Step, ClosePort>) {
          port_.Close();
        } else if constexpr (std::is_same_v<Step, WriteBytes>) {
          write(step.bytes, followUp);
        } else if constexpr (std::is_same_v<Step, SetBaudrate>) {
          port_.setUserBaudrate(step.bitsPerSecond);
        } else if constexpr (std::is_same_v<Step, StartTimer>) {
          host_.startTimer(step.timer, step.milliseconds);
        } else if constexpr (std::is_same_v<Step, StopTimer>) {
          host_.stopTimer(step.timer);
        } else if constexpr (std::is_same_v<Step, TranscriptText>) {
          host_.appendTranscript(step.text);
        }
      },
      command);
}

void SessionDriver::openPort(SessionCommands& followUp) {
  if (port_.IsOpen()) return;
  if (auto refused = host_.openTranscript()) {
    followUp = session_.portFailed(*refused);
    return;
  }
  try {
    port_.Open();
  } catch (const EVaCommError& error) {
    followUp = session_.portFailed(portOpenFailedText(port_.devicePath(), error.what()));
  }
}

void SessionDriver::write(const std::string& bytes, SessionCommands& followUp) {
  bool written = false;
  try {
    written = port_.WriteText(bytes);
  } catch (const EVaCommError&) {
    written = false;
  }
  if (!written) followUp = session_.writeFailed();
}

void SessionDriver::received() { run(session_.received(port_.ReadText())); }

void SessionDriver::lost(const std::string& reason) {
  run(session_.portFailed(portLostText(port_.devicePath(), reason)));
}

std::string portOpenFailedText(const std::string& device, const std::string& reason) {
  return "Die Schnittstelle " + device + " lässt sich nicht öffnen (" + reason +
         "). Bitte Anschluss und Kabel prüfen oder eine andere Schnittstelle wählen.";
}

std::string portLostText(const std::string& device, const std::string& reason) {
  return "Die Verbindung über " + device + " ist abgebrochen (" + reason +
         "). Bitte Kabel und Gerät prüfen und die Übertragung neu starten.";
}

}  // namespace quorvanta
