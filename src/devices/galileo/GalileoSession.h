#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "devices/port/TVaComm.h"
#include "devices/galileo/GalileoFile.h"
#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"
#include "flight/OneBasedArray.h"

namespace quorvanta::galileo {

// The one timer: an answer is complete once the instrument has been quiet
// for half a second; it also ends a command that got no answer.
inline constexpr int AnswerTimer = 1;
inline constexpr int AnswerMilliseconds = 500;
// The text area keeps no more than this many characters.
inline constexpr std::size_t MemoLimit = 1000;

inline constexpr const char* Instructions =
    "Anleitung:\n"
    "\n"
    "Zunächst den richtigen COM-Port wählen.\n"
    "\n"
    "Das Galileo muß zum Auslesen in den Menu_modus geschaltet werden!\n"
    "Bei Track auslesen muß zusätzlich ein gespeicherter Flug ausgewählt sein (Flight-Analysis \n"
    "Seite).\n"
    "\n"
    "Nach dem Auslesen eines Tracks erscheint der Button <igc-File speichern>\n"
    "\n"
    "Wenn alles gespeichert ist, <Beenden> anklicken.\n";

// What the Galileo window shows; the window renders it after every call.
struct GalileoView {
  std::string memo = Instructions;  // Memo1, lines ended by "\n"
  bool memoVisible = true;
  std::string status;               // Label1
  bool statusRed = false;
  bool portChoiceVisible = true;    // RadioButton1 .. RadioButton4
  bool showRxVisible = false;       // the "ShowRx " box
  bool showRx = false;
  bool commandButtonsVisible = true;  // ButtonSN, ButtonStart, ButtonWPTs, ButtonRoutes
  bool saveButtonVisible = false;     // ButtonAuswertung
  std::string message;  // a German error for a message box; cleared by the window
};

// The line settings the Galileo expects: 57600 bit/s, 8N1, software flow
// control both ways, line errors reported.
void configurePort(TVaComm& port);

// A command as sent: the sentence, "*", the XOR of every character after the
// "$" as two upper-case hexadecimal digits, CR LF.
std::string commandText(std::string_view sentence);

// The Galileo window's behaviour without its widgets: the four commands,
// the answer collected as lines until half a second of quiet, the lines shown
// and copied to the transcript (the log file), and the track written as an
// IGC file.
class GalileoSession : public DownloadSession {
 public:
  SessionCommands readSerialNumber();  // "S-Nr. auslesen"
  SessionCommands readTrack();         // "Track auslesen"
  SessionCommands readWaypoints();     // "WPTs auslesen"
  SessionCommands readRoutes();        // "Routes auslesen"
  SessionCommands changePort();        // another COM port ticked
  void setShowRx(bool shown) { view_.showRx = shown; }
  void lineErrors(int errors);

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override { return {}; }  // the silence then says it
  SessionCommands portFailed(const std::string& message) override;

  // "igc-File speichern": why the received track cannot be written (asked
  // before the header details), or nothing.
  std::optional<std::string> trackRefusal() const;
  // Writes the track after the header details were confirmed. A failure is
  // also left in view().message.
  DownloadOutcome writeFile(const IgcHeaderValues& header, double writtenAt);

  std::vector<std::string> lines() const;  // the lines of the last answer
  int answersEvaluated() const { return answersEvaluated_; }
  const GalileoView& view() const { return view_; }
  GalileoView& view() { return view_; }

 private:
  SessionCommands command(std::string_view sentence, bool track);
  void addLine(std::string line);
  SessionCommands evaluate();
  void appendMemo(std::string_view text);

  GalileoView view_;
  std::string buffer_;
  OneBasedArray<std::string, MaxLines> lineTable_;
  int lineCount_ = 0;
  int linesLogged_ = 0;
  bool overflow_ = false;   // more lines arrived than the table holds
  bool trackMode_ = false;
  bool trackAnswer_ = false;  // the lines are the answer to "Track auslesen"
  bool portOpen_ = false;
  int answersEvaluated_ = 0;
};

}  // namespace quorvanta::galileo
