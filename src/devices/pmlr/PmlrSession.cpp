#include "devices/pmlr/PmlrSession.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "devices/PointSpeed.h"
#include "devices/port/CommTypes.h"
#include "flight/DayCount.h"
#include "flight/Geodesy.h"

namespace quorvanta::pmlr {

namespace {

constexpr int SilenceMs = 1500;
constexpr int SpeedSwitchMs = 100;
constexpr int TrackButtonMs = 1000;
constexpr double SpeedlessKmh = 999.9;
// A record damaged on every try must not keep a Log_it! busy for ever.
constexpr int MaxAutomaticRepeats = 10;
constexpr long long DayMs = 86400000;
constexpr double WindowEndDefault = 86399.5 / 86400;  // 23:59:59.5

const char* const TransferErrorText =
    "Es ist Übertragungsfehler aufgetreten. Bitte nochmals auslesen!";
const char* const EmptyTrackText = "Dieser Track ist leer, keine Datenpunkte vorhanden!!";

// `text` right-aligned in `width` characters.
std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string dateAndTime(double time) { return shortDateText(time) + " " + timeOfDayText(time); }

long long milliseconds(double days) { return std::llround(days * DayMs); }

// Later than `start`, not later than `end` (fractions of a day), on `date`;
// compared in whole milliseconds, so that a point exactly at the start is
// never taken for a hair later.
bool inWindow(double time, double start, double end, double date) {
  const long long ms = milliseconds(time);
  const long long day = ms >= 0 ? ms / DayMs : (ms - DayMs + 1) / DayMs;
  const long long ofDay = ms - day * DayMs;
  return day == static_cast<long long>(std::floor(date)) && ofDay > milliseconds(start) &&
         ofDay <= milliseconds(end);
}

}  // namespace

PmlrSession::PmlrSession(Texts texts, Timing timing, bool logEveryByte)
    : texts_(texts), timing_(timing), logEveryByte_(logEveryByte) {
  view_.windowEnd = WindowEndDefault;
}

// Built in place: converting into the command variant draws a false
// uninitialised-string warning from GCC 12.
void PmlrSession::send(std::string_view bytes) {
  out_.emplace_back(std::in_place_type<WriteBytes>, WriteBytes{std::string(bytes)});
}

void PmlrSession::log(std::string_view line) {
  std::string text(line);
  text += "\r\n";
  out_.emplace_back(std::in_place_type<TranscriptText>, TranscriptText{std::move(text)});
}

void PmlrSession::startTimer(PmlrTimer timer, int milliseconds) {
  out_.emplace_back(std::in_place_type<StartTimer>, StartTimer{timer, milliseconds});
}

void PmlrSession::stopTimer(PmlrTimer timer) {
  out_.emplace_back(std::in_place_type<StopTimer>, StopTimer{timer});
}

SessionCommands PmlrSession::flush() { return std::exchange(out_, {}); }

// Memo1 keeps its newest lines within the limit; every line shown goes to
// the transcript as well.
void PmlrSession::show(std::string_view line) {
  std::string& memo = view_.memo;
  memo += line;
  memo += '\n';
  while (memo.size() > memoLimit_) {
    const std::size_t lineEnd = memo.find('\n');
    memo.erase(0, lineEnd == std::string::npos ? memo.size() - memoLimit_ : lineEnd + 1);
  }
  log(line);
}

void PmlrSession::setMemoLimit(std::size_t limit) { memoLimit_ = limit; }

void PmlrSession::openPortIfClosed() {
  if (std::exchange(portOpen_, true)) return;
  view_.portChoiceVisible = false;
  view_.showRxVisible = true;
  out_.emplace_back(std::in_place_type<SetBaudrate>, SetBaudrate{CommandSpeed});
  out_.emplace_back(std::in_place_type<OpenPort>);
  send("\n\r");
}

void PmlrSession::hideActionButtons() {
  view_.trackButtonVisible = false;
  view_.eraseButtonVisible = false;
  view_.saveButtonVisible = false;
  view_.serialButtonVisible = false;
  view_.speedChoiceVisible = false;
  view_.label2.clear();
}

SessionCommands PmlrSession::readSerialNumber() {
  openPortIfClosed();
  splitter_.clear();
  view_.memo.clear();
  identifying_ = receiving_ = true;
  done_ = false;
  trackRequested_ = false;
  bytesSinceRequest_ = 0;
  hideActionButtons();
  startTimer(EvaluateTimer, timing_.identificationMs);
  send(IdentifyCommand);
  view_.label1 = texts_.waitingForIdentification;
  view_.label1Red = false;
  view_.abortButtonVisible = true;
  showLines_ = true;
  setMemoLimit(500);
  return flush();
}

SessionCommands PmlrSession::readTrack() {
  automaticRepeats_ = 0;
  requestTrack();
  return flush();
}

// The port is opened here too: "Track auslesen" stays visible after another
// port was ticked, and the request must not go to a closed port.
void PmlrSession::requestTrack() {
  view_.memo.clear();
  openPortIfClosed();
  send(trackCommand(transferSpeed()));
  receiving_ = true;
  identifying_ = done_ = false;
  trackComplete_ = evaluated_ = false;
  startTimer(SpeedTimer, SpeedSwitchMs);
  startTimer(EvaluateTimer, timing_.requestMs);
  view_.label1 = texts_.waitingForTrack;
  view_.label1Red = false;
  hideActionButtons();
  view_.abortButtonVisible = true;
  splitter_.clear();
  setMemoLimit(400);
  // After a transfer with missing records the table stays: the new transfer
  // fills only the gaps.
  if (!transferError_) {
    store_.clearRecords();
    showLines_ = true;
  }
  store_.awaitStart();
  trackRequested_ = true;
  endSeen_ = recordOverflow_ = false;
  endNumber_ = 0;
  bytesSinceRequest_ = 0;
}

SessionCommands PmlrSession::abort() {
  openPortIfClosed();
  view_.memo.clear();
  out_.emplace_back(std::in_place_type<SetBaudrate>, SetBaudrate{CommandSpeed});
  stopTimer(EvaluateTimer);
  stopTimer(SpeedTimer);
  send(StopCommand);
  view_.label1 = texts_.aborted;
  view_.label1Red = false;
  view_.abortButtonVisible = false;
  view_.trackButtonVisible = false;
  view_.serialButtonVisible = true;
  view_.progressVisible = false;
  receiving_ = identifying_ = false;
  return flush();
}

SessionCommands PmlrSession::changePort() {
  if (!std::exchange(portOpen_, false)) return {};
  receiving_ = identifying_ = false;
  stopTimer(EvaluateTimer);
  stopTimer(SpeedTimer);
  out_.emplace_back(std::in_place_type<ClosePort>);
  return flush();
}

SessionCommands PmlrSession::portFailed(const std::string& message) {
  portOpen_ = false;
  receiving_ = identifying_ = false;
  stopTimer(EvaluateTimer);
  stopTimer(SpeedTimer);
  out_.emplace_back(std::in_place_type<ClosePort>);
  view_.message = message;
  show(message);
  view_.portChoiceVisible = true;
  view_.serialButtonVisible = true;
  view_.abortButtonVisible = false;
  view_.progressVisible = false;
  return flush();
}

void PmlrSession::lineErrors(int errors) {
  for (const std::string& line : lineErrorLines(errors)) show(line);
}

SessionCommands PmlrSession::received(std::string_view bytes) {
  if (!portOpen_) return {};  // late bytes of a port already given up
  if (logEveryByte_ && !bytes.empty()) {
    std::string lines;
    for (const char c : bytes) {
      lines += c;
      lines += "  ";
      lines += std::to_string(static_cast<unsigned char>(c));
      lines += "\r\n";
    }
    out_.emplace_back(std::in_place_type<TranscriptText>, TranscriptText{std::move(lines)});
  }
  if (!receiving_) return flush();
  bytesSinceRequest_ += bytes.size();
  splitter_.append(bytes);
  view_.label1 = std::string("Bytes im Puffer: ") + std::to_string(splitter_.buffered());
  while (receiving_) {
    std::optional<std::string> text = splitter_.next();
    if (!text) break;
    unit(std::move(*text));
  }
  if (receiving_ && splitter_.dropOverlong()) {
    transferError_ = true;
    show("Checksummenfehler");
  }
  return flush();
}

void PmlrSession::unit(std::string text) {
  if (showLines_ && view_.showRx) show(text);
  log(std::string("von COM: ") + text);
  view_.label1 = std::string("Records gelesen: ") + std::to_string(store_.highest());
  if (identifying_) {
    identificationLine(text);
  } else {
    recordUnit(recordBody(text));
  }
}

// A line that is not taken restarts the wait, so that an instrument that
// answers only garbage still ends in "antwortet nicht".
void PmlrSession::identificationLine(const std::string& line) {
  startTimer(EvaluateTimer, SilenceMs);
  const std::optional<Identification> id = identification(line);
  if (!id) return;
  const std::optional<std::string> aRecord = identify(*id);
  if (!aRecord) return;
  stopTimer(EvaluateTimer);
  aRecord_ = *aRecord;
  log(std::string("ARecord erzeugt: ") + aRecord_);
  view_.label1 = std::string("ARecord: ") + aRecord_;
  done_ = true;
  receiving_ = identifying_ = false;
  startTimer(TrackButtonTimer, TrackButtonMs);
  view_.eraseButtonVisible = model_ == Model::LogIt;
  view_.speedChoiceVisible = true;
}

void PmlrSession::recordUnit(std::string_view body) {
  if (!isTrackRecord(body)) return;
  startTimer(EvaluateTimer, SilenceMs);
  const bool intact = checksumMatches(body);
  bool ends = isEndRecord(body);
  if (!intact) {
    if (cutInData(body)) {
      splitter_.hold(body);
      return;
    }
    if (ends && toleratesDamagedEnd()) {
      show("Checksumme unvollständig, Fehler ignoriert");
    } else {
      transferError_ = true;
      show("Checksummenfehler");
      ends = false;
    }
  }
  // A damaged record's sequence byte is not trusted with the count.
  const int number = intact || ends ? store_.number(body) : 0;
  showLines_ = false;
  if (view_.showRx) {
    show(std::string("Satz Nr. ") + std::to_string(store_.wraps()) + "/" +
         std::to_string(sequenceNumber(body)) + " empfangen");
  }
  if (intact && isStartRecord(body)) {
    transferError_ = false;
    view_.memo.clear();
    if (view_.showRx) show("StartRecord empfangen");
  }
  if (ends) endRecord(number);
  if (!intact) return;
  if (number > TrackStore::RecordCapacity) return stopAtRecordCapacity();
  store_.put(number, body);  // a record numbered 0 belongs to no track and is left out
}

// Records are missing when any before the end record is: also those lost
// right before it, above the highest number received.
void PmlrSession::endRecord(int number) {
  show("EndeRecord empfangen");
  endSeen_ = true;
  endNumber_ = number;
  transferError_ = store_.missingBefore(number);
  if (!transferError_) {
    if (stoppedAfterTrack()) send(StopCommand);
    receiving_ = false;
    done_ = trackComplete_ = true;
  } else if (repeatsMissingRecords() && automaticRepeats_ < MaxAutomaticRepeats) {
    ++automaticRepeats_;
    stopTimer(EvaluateTimer);
    out_.emplace_back(std::in_place_type<SetBaudrate>, SetBaudrate{CommandSpeed});
    requestTrack();
  }
}

// The table is full: the instrument is stopped and what was kept is
// evaluated at once.
void PmlrSession::stopAtRecordCapacity() {
  recordOverflow_ = true;
  receiving_ = false;
  transferError_ = store_.missingBefore(TrackStore::RecordCapacity + 1);
  evaluate();
}

SessionCommands PmlrSession::timerFired(int timer) {
  switch (timer) {
    case EvaluateTimer: evaluate(); break;
    case SpeedTimer:
      stopTimer(SpeedTimer);
      if (portOpen_) {
        out_.emplace_back(std::in_place_type<SetBaudrate>, SetBaudrate{transferSpeed()});
      }
      break;
    case TrackButtonTimer:
      stopTimer(TrackButtonTimer);
      view_.trackButtonVisible = identified();
      break;
    default: break;
  }
  return flush();
}

void PmlrSession::evaluate() {
  stopTimer(EvaluateTimer);
  stopTimer(SpeedTimer);
  // Whatever comes after the evaluation belongs to no transfer.
  receiving_ = identifying_ = false;
  view_.abortButtonVisible = false;
  view_.label1.clear();
  view_.progressVisible = true;
  view_.serialButtonVisible = true;
  view_.speedChoiceVisible = false;
  setMemoLimit(1000);
  out_.emplace_back(std::in_place_type<SetBaudrate>, SetBaudrate{CommandSpeed});
  send(StopCommand);
  // No answer means nothing arrived since the command, not an empty buffer:
  // a transfer leaves the buffer empty whether it came whole or not.
  if (!done_ && (!trackRequested_ || bytesSinceRequest_ == 0)) {
    show(texts_.noAnswer);
    view_.progressVisible = false;
    return;
  }
  if (!trackRequested_) return;
  evaluated_ = true;
  // A transfer that fell silent before its end record is incomplete.
  if (!endSeen_ && !recordOverflow_) transferError_ = true;
  // The end record is no point record; without one, every record counts.
  const int last = endSeen_ ? endNumber_ - 1 : store_.highest();
  displayStep_ = std::max(1, (last - 2) * 26 / 100);
  if (displayStep_ > 1) {
    view_.label2 = std::string("nur jeder ") + std::to_string(displayStep_) + ". Trackpunkt wird hier angezeigt!";
    view_.memo.clear();
  }
  const bool fitted = store_.decode(last, [this](int point, int percent) {
    view_.progress = percent;
    if ((point - 1) % displayStep_ == 0) showPoint(point);
  });
  const std::string kept = std::to_string(store_.pointCount());
  if (recordOverflow_) {
    view_.message = std::string("Der Track hat mehr als ") + std::to_string(TrackStore::RecordCapacity) +
                    " Datensätze, mehr kann das Programm nicht aufnehmen. Die Übertragung wurde "
                    "beendet; " + kept + " Punkte wurden übernommen.";
  } else if (!fitted) {
    view_.message = std::string("Der Track hat mehr als ") + kept + " Punkte, mehr kann das Programm nicht "
                    "aufnehmen; " + kept + " Punkte wurden übernommen.";
  }
  if (!view_.message.empty()) view_.label2 = view_.message;
  if (store_.pointCount() < 2) {
    view_.label2 = EmptyTrackText;
  } else if (transferError_) {
    // Missing records would cut the track short without a word.
    view_.label2 = TransferErrorText;
  } else {
    view_.saveButtonVisible = true;
  }
  view_.progressVisible = false;
  view_.trackButtonVisible = identified();
  view_.eraseButtonVisible = model_ == Model::LogIt;
}

void PmlrSession::showPoint(int index) {
  const TrackPoint& p = store_.point(index);
  show(padded(std::to_string(p.number), 5) + ". Punkt:  " + dateAndTime(p.time) + " UTC   N " +
       DegreesText(p.lat) + "    E " + DegreesText(p.lon) + "  " + std::to_string(p.alt) + " m");
}

std::string PmlrSession::pointItemText(int index) const {
  const TrackPoint& p = store_.point(index);
  std::string text = std::string("Nr.") + padded(std::to_string(index), 5) + "  " + dateAndTime(p.time) +
                     "  N " + DegreesText(p.lat) + "  E " + DegreesText(p.lon);
  if (index > 1) {
    const TrackPoint& before = store_.point(index - 1);
    text += speedItemText(groundSpeedKmh(before.lat * DegToRad, before.lon * DegToRad,
                                         p.lat * DegToRad, p.lon * DegToRad,
                                         p.time - before.time, SpeedlessKmh));
  }
  if (p.alt > 0) text += "  " + padded(std::to_string(p.alt), 4) + " m ";
  if (model_ == Model::LogIt) {
    if (p.satellites() < 10) text += ' ';
    text += std::to_string(p.satellites()) + " Sats  ";
  }
  if (p.recordingStart()) text += " Rec. start";
  return text;
}

void PmlrSession::showPointList() {
  view_.page = PmlrView::Page::PointList;
  view_.memoVisible = false;
  view_.showRxVisible = false;
  view_.trackButtonVisible = view_.saveButtonVisible = view_.serialButtonVisible = false;
  view_.speedChoiceVisible = false;
  view_.label2.clear();
  view_.pointItems.clear();
  view_.pointItems.reserve(static_cast<std::size_t>(store_.pointCount()));
  for (int i = 1; i <= store_.pointCount(); ++i) view_.pointItems.push_back(pointItemText(i));
  view_.pointTicked.assign(view_.pointItems.size(), true);
  view_.finishButtonsVisible = true;
  view_.progressVisible = false;
}

void PmlrSession::tickPoint(int item, bool ticked) {
  if (item < 0 || item >= static_cast<int>(view_.pointTicked.size())) return;
  view_.pointTicked[static_cast<std::size_t>(item)] = ticked;
}

void PmlrSession::showTimeWindow(double today) {
  view_.timeWindowVisible = true;
  setTimeWindow(view_.windowStart, WindowEndDefault, std::floor(today));
}

void PmlrSession::setTimeWindow(double start, double end, double date) {
  view_.windowStart = start;
  view_.windowEnd = end;
  view_.windowDate = date;
  const int count = std::min(store_.pointCount(), static_cast<int>(view_.pointTicked.size()));
  for (int i = 1; i <= count; ++i) {
    view_.pointTicked[static_cast<std::size_t>(i - 1)] =
        inWindow(store_.point(i).time, start, end, date);
  }
}

DownloadOutcome PmlrSession::writeFile(const IgcHeaderValues& header, double writtenAt) {
  std::vector<DownloadPoint> points;
  const int count = std::min(store_.pointCount(), static_cast<int>(view_.pointTicked.size()));
  points.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const TrackPoint& p = store_.point(i);
    points.push_back({p.time, p.lat, p.lon, p.alt, view_.pointTicked[static_cast<std::size_t>(i - 1)]});
  }
  DownloadOutcome outcome = writeDownloadedFlight(aRecord_, header, points, writtenAt,
                                                  [this](int percent) { view_.progress = percent; });
  if (outcome.error) {
    view_.message = *outcome.error;
    return outcome;
  }
  view_.label1 = outcome.status;
  view_.label1Red = true;
  leavePointList();
  return outcome;
}

// Back to the transfer page with its buttons, so that the list can be shown
// again or another track read.
void PmlrSession::leavePointList() {
  view_.page = PmlrView::Page::Transfer;
  view_.memoVisible = true;
  view_.finishButtonsVisible = view_.timeWindowVisible = false;
  view_.progressVisible = false;
  view_.showRxVisible = true;
  view_.serialButtonVisible = true;
  view_.trackButtonVisible = identified();
  view_.saveButtonVisible = store_.pointCount() >= 2;
}

}  // namespace quorvanta::pmlr
