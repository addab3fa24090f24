#pragma once

#include <string>
#include <string_view>

#include "devices/DownloadSession.h"
#include "flight/Barograph.h"

namespace quorvanta::iq {

// The one timer of the session: evaluate once the variometer has been quiet
// for half a second.
inline constexpr int QuietTimer = 1;
inline constexpr int QuietMilliseconds = 500;

// What the IQ window shows; the window renders it after every call.
struct IqView {
  enum class Look { Plain, Bold, Red };
  std::string bytesLabel;  // "Bytes übertragen: n"
  std::string summary;     // the notice while receiving, then the flight summary
  std::string table;       // expected length, then the barogram table
  std::string checkLabel = "Zum Auslesen des Varios dieses mit seriellem Kabel an den gewählten COM-Port "
                           "anschließen, Vario in Memo-Mode schalten, Flug am Vario auswählen und "
                           "Memo/Enter Taste für mindestens 3 Sekunden gedrückt halten.";
  Look checkLook = Look::Plain;
  bool evaluateEnabled = false;  // "Auswerten"
  bool checkBoxVisible = true;   // "Daten prüfen"
  bool dataChecked = true;
  std::string message;  // a German error for a message box; cleared by the window
};

// The Bräuniger IQ window's behaviour without its widgets. The variometer
// sends its dump by itself; the session only listens, evaluates the dump
// after half a second of quiet (or at "Auswerten") and leaves the barogram
// in the buffer it was given.
class IqSession : public DownloadSession {
 public:
  explicit IqSession(BarographBuffer& buffer) : buffer_(buffer) {}

  SessionCommands openPort() const;    // at the window's start
  SessionCommands reopenPort() const;  // another port chosen
  // "Daten prüfen": the window asks before it takes the tick away.
  void setDataCheck(bool checked) { view_.dataChecked = checked; }
  SessionCommands evaluate();  // "Auswerten"

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override { return {}; }
  SessionCommands portFailed(const std::string& message) override;

  // A barogram went into the buffer since the window opened.
  bool barogramTaken() const { return barogramTaken_; }
  const IqView& view() const { return view_; }
  IqView& view() { return view_; }

 private:
  void showDump();

  BarographBuffer& buffer_;
  std::string dump_;
  IqView view_;
  bool barogramTaken_ = false;
};

}  // namespace quorvanta::iq
