#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "devices/flytec/FlytecMemory.h"
#include "flight/Barograph.h"

namespace quorvanta::flytec {

// The one timer: an answer has ended once the instrument is quiet for half a
// second.
inline constexpr int AnswerTimer = 1;
inline constexpr int AnswerMilliseconds = 500;

// What the Flytec window shows; the window renders it after every call.
struct FlytecView {
  std::string status;  // "Bytes übertragen: n", or an error
  bool statusRed = false;
  std::string instruction =
      "Verbindungskabel zwischen PC und Flytec-Gerät herstellen, COM-Port auswählen und "
      "Fluginstrument in Memo-Mode schalten. Dann Button <Barograf auslesen> anklicken.";
  bool readButtonVisible = true;  // "Barograf auslesen"
  bool flightListVisible = false;
  std::vector<std::string> flights;
  std::optional<int> tickedFlight;  // from 0
  bool takeOverVisible = false;     // "Flug übernehmen"
  bool progressVisible = false;
  int progress = 0, progressMaximum = 0;
  std::string message;  // a German error for a message box; cleared by the window
};

// The Flytec 40XX window's behaviour without its widgets: the directory
// command, then the whole memory, then one flight's barogram into the buffer
// it was given. Each answer ends with half a second of quiet.
class FlytecSession : public DownloadSession {
 public:
  explicit FlytecSession(BarographBuffer& buffer) : buffer_(buffer) {}

  SessionCommands changePort();     // another port chosen: the next read opens it
  SessionCommands readBarograph();  // "Barograf auslesen"
  void tickFlight(int item);        // a line of the flight list, from 0
  void takeOverFlight();            // "Flug übernehmen"

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override;
  SessionCommands portFailed(const std::string& message) override;

  bool dataReady() const { return dataReady_; }
  // A flight's barogram went into the buffer since the window opened.
  bool barogramTaken() const { return barogramTaken_; }
  const FlytecView& view() const { return view_; }
  FlytecView& view() { return view_; }

 private:
  SessionCommands answerEnded();
  SessionCommands directoryArrived();
  void memoryArrived();
  SessionCommands fail(const std::string& status);

  BarographBuffer& buffer_;
  FlytecView view_;
  std::string answer_;
  FlytecDirectory directory_;
  std::string memory_;
  enum class Awaited { Nothing, Directory, Memory };
  Awaited awaited_ = Awaited::Nothing;
  bool portOpen_ = false;
  bool dataReady_ = false;
  bool barogramTaken_ = false;
};

}  // namespace quorvanta::flytec
