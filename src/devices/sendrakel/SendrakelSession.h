#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "devices/sendrakel/SendrakelFile.h"
#include "flight/SettingsStore.h"

namespace quorvanta::sendrakel {

// Timers the session asks for (StartTimer::timer).
enum SendrakelTimer : int {
  AnswerTimer = 1,  // the logger's answer has ended (or never came)
  SpeedTimer = 2,   // switch to the transfer speed after a track or hex request
};

// The transfer speeds "4800 Baud" .. "57600 Baud" by their index.
inline constexpr std::array<int, 5> TransferSpeeds = {4800, 9600, 19200, 38400, 57600};
inline constexpr int LineSpeed = 4800;

inline constexpr std::string_view SettingsSection = "Sendra";
int storedPortNumber(const SettingsStore& settings);  // "COM Port": 1..6, else 1
int storedSpeedIndex(const SettingsStore& settings);  // "COM Speed": a speed index, else 0
std::string storedHexDumpPath(const SettingsStore& settings);  // "Filename HexDaten"

// What the download window shows; the window renders it after every call.
struct SendrakelView {
  enum class Page { Transfer, TrackList };
  Page page = Page::Transfer;
  std::string memo1;        // lines ended by "\n"
  std::string label1, label2;
  bool label1Red = false;
  bool requestButtonsVisible = true;  // the requests, "Logger einstellen" and the speed choice
  bool portChoiceVisible = true;
  bool saveButtonVisible = false;  // "igc-File speichern"
  bool progressVisible = false;
  int progress = 0;  // percent
  std::vector<std::string> trackItems;
  std::optional<int> tickedTrack;  // from 0
  bool doneVisible = false;        // "Fertig" and CheckBoxNamen
  bool takeNames = true;           // CheckBoxNamen
  std::string message;  // a German error for a message box; cleared by the window
};

// The Sendrakel download window's behaviour without its widgets: the
// requests, the answers (ended by 100 ms of quiet, or missing after the
// request's waiting time), the speed switch for track and hex transfers, the
// track list and the IGC file of one track.
class SendrakelSession : public DownloadSession {
 public:
  SendrakelSession();

  void setSpeedIndex(int index);  // the speed choice; outside 0..4 taken as 0
  SessionCommands closePort();    // another port, "Logger einstellen" or "Beenden"

  // Requests
  SessionCommands readTracks();                          // "Logger Tracks auslesen"
  SessionCommands readHexDump(std::string dumpPath);     // "Logger Hex Dump"
  SessionCommands readStatus();                          // "Logger Status auslesen"
  SessionCommands deleteTracks();                        // after the confirmation
  SessionCommands loggerOn();
  SessionCommands loggerOff();

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override;
  SessionCommands portFailed(const std::string& message) override;

  // The track list and the file
  void showTrackList();                   // "igc-File speichern"
  void tickTrack(int item, bool ticked);  // exactly one item stays ticked
  void setTakeNames(bool taken);
  // "Fertig" after the header details were confirmed; a failure is also left
  // in view().message and the list stays.
  DownloadOutcome writeFile(const IgcHeaderValues& header, double writtenAt);

  const LoggerLines& lines() const { return lines_; }
  int pages() const { return pages_; }
  bool answerPending() const { return waiting_; }
  const SendrakelView& view() const { return view_; }
  SendrakelView& view() { return view_; }

 private:
  // What the bytes being received belong to; Broken: the rest of a track or
  // hex transfer that arrived after its answer had ended.
  enum class Answer { Track, Hex, Other, Broken };

  SessionCommands request(std::string sentence, Answer kind, int waitMs);
  SessionCommands answerEnded();
  void otherAnswer(SessionCommands& out);
  void trackAnswer(SessionCommands& out);
  void hexAnswer();
  void brokenAnswer(SessionCommands& out);
  void restoreButtons();
  void dropTrackList();

  SendrakelView view_;
  LoggerLines lines_;
  std::vector<LoggerTrack> tracks_;
  std::string buffer_;
  std::string hexPath_;
  Answer kind_ = Answer::Other;
  bool waiting_ = false;  // an answer is expected or arriving
  int speedIndex_ = 0;
  int pages_ = 0;
  bool portOpen_ = false;
  bool firstRequestDone_ = false;
};

}  // namespace quorvanta::sendrakel
