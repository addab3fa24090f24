#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "devices/SessionCommands.h"
#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::garmin {

// Timers the session asks for (StartTimer::timer).
enum GarminTimer : int {
  Watchdog = 1,      // NAK the current packet so that the unit repeats it
  AnswerDelay = 2,   // the short pause before an answer
  ProductDelay = 3,  // the pauses before the product request and for the protocol array
  GiveUp = 4,        // the unit has stopped answering: end the transfer
};

// What the Garmin window shows; the window renders it after every call.
struct GarminView {
  enum class Page { Transfer, TrackChoice, PointChoice };
  Page page = Page::Transfer;
  std::string display;          // the display area, lines ended by "\n"
  std::string rxText, txText;   // RX and TX windows
  bool showRxTx = false;
  std::string bufferLabel;      // "Bytes im Eingangspuffer: n"
  std::string statusLabel;      // transfer-complete and file texts
  std::string message;          // a German error to show in a message box; cleared by the window
  bool commandButtonsVisible = false;  // everything but "Lies GPS Typ"
  bool transferRunning = false;        // command buttons hidden while true
  bool portChooserVisible = true;
  bool saveButtonVisible = false;      // "IGC-File speichern"
  bool progressVisible = false;
  int progress = 0, progressMaximum = 0;
  std::vector<std::string> trackItems;
  std::vector<bool> trackTicked;
  bool trackBoxesEnabled = true;
  bool nextVisible = false;  // "Weiter"
  std::vector<std::string> pointItems;
  std::vector<bool> pointTicked;
  bool doneVisible = false;  // "Fertig"
};

// The Garmin download window's behaviour without its widgets: fed with the
// bytes received, timer expiries and button presses, it answers with what to
// send and which timers to run, and keeps what the window shows. `now` is the
// local time as a day count, passed in so that tests pin it.
class GarminSession : public DownloadSession {
 public:
  GarminSession();
  ~GarminSession() override;
  GarminSession(const GarminSession&) = delete;
  GarminSession& operator=(const GarminSession&) = delete;

  // Buttons
  SessionCommands readProductData();  // "Lies GPS Typ"
  SessionCommands readTracks();       // "Lies Track(s)"
  SessionCommands readWaypoints();
  SessionCommands readDateTime();
  SessionCommands readRoutes();
  SessionCommands readAlmanac();
  SessionCommands abortTransfer();    // "Com Abbruch"
  void setShowRxTx(bool shown);

  // The port
  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override;
  SessionCommands portFailed(const std::string& message) override;  // open failed or port lost

  // Choosing tracks and points, then the file
  SessionCommands showTrackList();  // "IGC-File speichern"
  void tickTrack(int item, bool ticked);  // items count from 0
  void showPointList();             // "Weiter"
  void tickPoint(int item, bool ticked);
  // "Fertig" after the header dialog was confirmed: writes and signs the file
  // of the ticked points into the header's directory. A failure is also left
  // in view().message, and the point list stays open.
  DownloadOutcome writeFile(const IgcHeaderValues& header, double now);
  void leavePointList();  // the header dialog was cancelled: back to normal

  // Results
  // Product data received and the product request over: the protocol array
  // arrived, or the unit sent none in time.
  bool productKnown() const;
  bool trackLogComplete() const;
  int trackPointCount() const;
  const std::string& unitDescription() const;
  const GarminView& view() const;
  GarminView& view();  // the window clears `message` after showing it

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The transcript's first line: English weekday, date, two blanks, time.
std::string transcriptFirstLine(double now);

}  // namespace quorvanta::garmin
