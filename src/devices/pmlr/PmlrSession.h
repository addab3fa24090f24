#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/DownloadSession.h"
#include "devices/pmlr/PmlrRecords.h"
#include "devices/pmlr/TrackStore.h"
#include "flight/DownloadWriter.h"
#include "flight/IgcHeader.h"

namespace quorvanta::pmlr {

// Timers the sessions ask for (StartTimer::timer).
enum PmlrTimer : int {
  EvaluateTimer = 1,     // silence after the last record, or no answer at all
  SpeedTimer = 2,        // switch to the transfer speed after the request
  TrackButtonTimer = 3,  // shows "Track auslesen" a second after the identification
};

// The explanation beside the point list and the warning beside the time window.
inline constexpr const char* PointListExplanation =
    "Es folgt eine Liste aller Trackpunkte mit Nummer, Uhrzeit  (UTC), Koordinaten und "
    "momentaner Geschwindigkeit. Diese kann man entweder komplett \n"
    "übernehmen, oder einzeln Punkte ausschließen. Mit dem Button <Auswahl Datum/Zeit> kann ein "
    "Datum und ein Zeitfenster für den Track \n"
    "ausgewählt werden.\n"
    "\n"
    "Nach Auswahl mit Schaltfeld <Fertig> die Trackpunkte ins IGC-File übernehmen.\n"
    " \n";
inline constexpr const char* TimeWindowWarning =
    "Es werden nur Daten ins igc-File übernommen, die in obigem Zeitfenster liegen (ein "
    "bestimmter Kalendertag, \n"
    "Uhrzeit von...bis)!!!\n"
    "Kontrollmöglichkeit: Alle übernommenen Trackpunkte sind in obiger Liste markiert.\n";

// What the MLR and Renschler windows show; the window renders it after every call.
struct PmlrView {
  enum class Page { Transfer, PointList };
  Page page = Page::Transfer;
  std::string memo;  // Memo1, lines ended by "\n"
  bool memoVisible = true;
  std::string label1, label2;
  bool label1Red = false;
  bool portChoiceVisible = true;
  bool showRxVisible = false;
  bool showRx = false;
  bool serialButtonVisible = true;  // "S-Nr. auslesen"
  bool trackButtonVisible = false;  // "Track auslesen"
  bool eraseButtonVisible = false;  // "Erase Log_it! Flash"
  bool saveButtonVisible = false;   // "igc-File speichern"
  bool abortButtonVisible = false;  // "Com Abbruch"
  bool speedChoiceVisible = false;  // the choice among speedChoices()
  bool progressVisible = false;
  int progress = 0;  // percent
  std::vector<std::string> pointItems;
  std::vector<bool> pointTicked;
  bool finishButtonsVisible = false;  // "Fertig" and "Ausw. Datum/Zeit"
  bool timeWindowVisible = false;     // the three pickers and the warning
  double windowStart = 0;             // fraction of a day, exclusive
  double windowEnd = 0;               // fraction of a day, inclusive
  double windowDate = 0;              // day count
  std::string message;  // a German error for a message box; cleared by the window
};

// The behaviour the MLR/Log_it! and Renschler windows share: the
// identification, the record transfer into the track store, the evaluation,
// the point list with its time window, and the file. Each instrument's
// session adds what differs.
class PmlrSession : public DownloadSession {
 public:
  ~PmlrSession() override = default;

  SessionCommands readSerialNumber();  // "S-Nr. auslesen"
  SessionCommands readTrack();         // "Track auslesen"
  SessionCommands abort();             // "Com Abbruch"
  SessionCommands changePort();        // another port ticked: closes the open one
  void setShowRx(bool shown) { view_.showRx = shown; }
  // The port's line-error flags (CommLineError), one line each in Memo1.
  void lineErrors(int errors);
  // The speeds offered for the track transfer (bit/s), as the identified
  // instrument takes them.
  virtual std::vector<int> speedChoices() const = 0;

  SessionCommands received(std::string_view bytes) override;
  SessionCommands timerFired(int timer) override;
  SessionCommands writeFailed() override { return {}; }  // the silence then says it
  SessionCommands portFailed(const std::string& message) override;

  // The point list, the time window and the file
  void showPointList();  // "igc-File speichern"
  void tickPoint(int item, bool ticked);
  // "Ausw. Datum/Zeit": end 23:59:59.5, the date of `today`, the start kept.
  void showTimeWindow(double today);
  // A picker changed: ticks exactly the points later than `start`, not
  // later than `end` (fractions of a day), on the day `date`.
  void setTimeWindow(double start, double end, double date);
  // "Fertig" after the header details were confirmed; a failure is also left
  // in view().message and the list stays.
  DownloadOutcome writeFile(const IgcHeaderValues& header, double writtenAt);
  void leavePointList();  // the header details were cancelled

  const std::string& aRecord() const { return aRecord_; }
  bool identified() const { return aRecord_.size() > 1; }
  // The last transfer ended with its end record and no record missing.
  bool trackComplete() const { return trackComplete_; }
  bool evaluated() const { return evaluated_; }
  const TrackStore& store() const { return store_; }
  const PmlrView& view() const { return view_; }
  PmlrView& view() { return view_; }

 protected:
  enum class Model { Mlr, LogIt, Renschler };

  struct Texts {
    const char* waitingForIdentification;
    const char* waitingForTrack;
    const char* noAnswer;
    const char* aborted;
  };
  struct Timing {
    int identificationMs;  // waiting for the identification
    int requestMs;         // waiting for the first record
  };
  PmlrSession(Texts texts, Timing timing, bool logEveryByte);

  // The instrument's identification line: the A record, or nothing when
  // the line is not taken.
  virtual std::optional<std::string> identify(const Identification& id) = 0;
  // A damaged end record still ends the transfer (the Renschler's end
  // record often carries a wrong checksum).
  virtual bool toleratesDamagedEnd() const { return false; }
  // A Log_it! asks again for its missing records by itself.
  virtual bool repeatsMissingRecords() const { return false; }
  // The instrument gets the stop command after a complete track.
  virtual bool stoppedAfterTrack() const { return true; }
  virtual int transferSpeed() const = 0;

  Model model_ = Model::Mlr;
  PmlrView view_;
  std::vector<SessionCommand> out_;

  void show(std::string_view line);
  void log(std::string_view line);
  void openPortIfClosed();
  void send(std::string_view bytes);
  void startTimer(PmlrTimer timer, int milliseconds);
  void stopTimer(PmlrTimer timer);
  SessionCommands flush();

 private:
  void hideActionButtons();
  void requestTrack();
  void unit(std::string text);
  void identificationLine(const std::string& line);
  void recordUnit(std::string_view body);
  void endRecord(int number);
  void stopAtRecordCapacity();
  void evaluate();
  void showPoint(int index);
  std::string pointItemText(int index) const;
  void setMemoLimit(std::size_t limit);

  Texts texts_;
  Timing timing_;
  bool logEveryByte_ = false;
  std::string aRecord_;
  UnitSplitter splitter_;
  TrackStore store_;
  std::size_t memoLimit_ = 500;
  bool portOpen_ = false;
  bool identifying_ = false;
  bool receiving_ = false;
  bool done_ = false;  // the identification or the track arrived whole
  bool showLines_ = false;
  bool transferError_ = false;  // a record missing or damaged
  bool trackRequested_ = false;
  bool endSeen_ = false;
  int endNumber_ = 0;
  bool recordOverflow_ = false;
  bool trackComplete_ = false;
  bool evaluated_ = false;
  std::size_t bytesSinceRequest_ = 0;
  int automaticRepeats_ = 0;
  int displayStep_ = 1;
};

}  // namespace quorvanta::pmlr
