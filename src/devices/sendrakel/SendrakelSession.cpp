#include "devices/sendrakel/SendrakelSession.h"

#include <algorithm>
#include <utility>

#include "flight/FieldText.h"
#include "flight/FileContent.h"

namespace quorvanta::sendrakel {

namespace {

constexpr int QuietMs = 100;       // the end of an answer
constexpr int SpeedSwitchMs = 100;
constexpr int TrackWaitMs = 1500;
constexpr int LongWaitMs = 3500;   // status and hex dump
constexpr int DeleteWaitMs = 1000;
constexpr std::size_t BytesPerShownRecord = 17500;
constexpr int MinimumTrackLines = 16;

const char* const Introduction =
    "Der Sendrakel ist ein kleiner GPS-Logger: Er zeichnet die NMEA-Daten eines vorhandenen\n"
    "GPS-Geräts auf, ist kompakt und speichert etwa 32000 Trackpunkte mit GPS-Höhe, ohne\n"
    "eigenes Barogramm. Seine Tracks gibt er als IGC-Text aus.\n";
const char* const WaitingText = "Warten auf Antwort von Sendrakel";

// Cuts an answer into its lines at each CR LF; trailing bytes without a
// line end make a last line of their own rather than being lost.
std::vector<std::string> answerLines(std::string_view answer) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = answer.find("\r\n", start)) != std::string_view::npos;
       start = end + 2) {
    lines.emplace_back(answer.substr(start, end - start));
  }
  if (start < answer.size()) lines.emplace_back(answer.substr(start));
  return lines;
}

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

// Characters 17 to 24 of a "DATAFLASH USED" line; nothing from a shorter
// line or one whose characters are no count.
int pageCount(std::string_view line) {
  if (line.size() < 24) return 0;
  const auto pages = integerField(columns(line, 17, 8));
  return pages && *pages > 0 ? *pages : 0;
}

void add(SessionCommands& out, SessionCommand command) {
  out.emplace_back(std::move(command));
}

}  // namespace

int storedPortNumber(const SettingsStore& settings) {
  const auto number = integerField(settings.readString(SettingsSection, "COM Port", "1"));
  return number && *number >= 1 && *number <= 6 ? *number : 1;
}

// Only the indices with a speed count; the two beyond the list fall back too.
int storedSpeedIndex(const SettingsStore& settings) {
  const auto index = integerField(settings.readString(SettingsSection, "COM Speed", "0"));
  return index && *index >= 0 && *index < static_cast<int>(TransferSpeeds.size()) ? *index : 0;
}

std::string storedHexDumpPath(const SettingsStore& settings) {
  return settings.readString(SettingsSection, "Filename HexDaten",
                             homeDirectory() + "SendrakelHex.txt");
}

SendrakelSession::SendrakelSession() { view_.memo1 = Introduction; }

void SendrakelSession::setSpeedIndex(int index) {
  speedIndex_ = index >= 0 && index < static_cast<int>(TransferSpeeds.size()) ? index : 0;
}

SessionCommands SendrakelSession::closePort() {
  waiting_ = false;
  if (!std::exchange(portOpen_, false)) return {};
  return {StopTimer{AnswerTimer}, StopTimer{SpeedTimer}, ClosePort{}, SetBaudrate{LineSpeed}};
}

SessionCommands SendrakelSession::request(std::string sentence, Answer kind, int waitMs) {
  SessionCommands out;
  if (!std::exchange(portOpen_, true)) add(out, OpenPort{});
  if (!std::exchange(firstRequestDone_, true)) add(out, WriteBytes{"\n\r"});
  view_.portChoiceVisible = false;
  add(out, WriteBytes{sentence + "\r\n"});
  buffer_.clear();
  kind_ = kind;
  waiting_ = waitMs > 0;
  if (waiting_) {
    view_.requestButtonsVisible = false;
    view_.label1 = WaitingText;
    add(out, StartTimer{AnswerTimer, waitMs});
  }
  if (kind == Answer::Track || kind == Answer::Hex) {
    lines_.count = 0;
    dropTrackList();
    view_.saveButtonVisible = false;
    view_.label2.clear();
    add(out, StartTimer{SpeedTimer, SpeedSwitchMs});
  }
  return out;
}

SessionCommands SendrakelSession::readTracks() {
  view_.memo1.clear();
  return request("$PSRK,IGC," + std::to_string(speedIndex_), Answer::Track, TrackWaitMs);
}

SessionCommands SendrakelSession::readHexDump(std::string dumpPath) {
  hexPath_ = std::move(dumpPath);
  view_.memo1.clear();
  return request("$PSRK,HEX," + std::to_string(speedIndex_), Answer::Hex, LongWaitMs);
}

SessionCommands SendrakelSession::readStatus() {
  view_.memo1.clear();
  return request("$PSRK,STA", Answer::Other, LongWaitMs);
}

SessionCommands SendrakelSession::deleteTracks() {
  view_.memo1.clear();
  lines_.count = 0;
  dropTrackList();
  view_.saveButtonVisible = false;
  return request("$PSRK,DEL", Answer::Other, DeleteWaitMs);
}

SessionCommands SendrakelSession::loggerOn() {
  view_.memo1 = "Schalte Sendrakel ein / Reset\n";
  return request("$PSRK,ON", Answer::Other, 0);
}

SessionCommands SendrakelSession::loggerOff() {
  view_.memo1 = "Schalte Sendrakel aus\n";
  return request("$PSRK,OFF", Answer::Other, 0);
}

SessionCommands SendrakelSession::received(std::string_view bytes) {
  if (!portOpen_) return {};  // late bytes of a port already given up
  if (!std::exchange(waiting_, true) && (kind_ == Answer::Track || kind_ == Answer::Hex)) {
    kind_ = Answer::Broken;  // the rest of a transfer whose answer had already ended
  }
  buffer_ += bytes;
  view_.label1 = "Bytes übertragen: " + std::to_string(buffer_.size());
  const bool transfer = kind_ == Answer::Track || kind_ == Answer::Hex;
  if (pages_ > 0 && transfer) {
    const std::size_t pageBytes = kind_ == Answer::Track ? 623 : 256;
    view_.progressVisible = true;
    view_.progress = static_cast<int>(
        std::min<std::size_t>(buffer_.size() * 100 / (static_cast<std::size_t>(pages_) * pageBytes),
                              100));
  }
  return {StartTimer{AnswerTimer, QuietMs}};
}

SessionCommands SendrakelSession::timerFired(int timer) {
  if (timer == SpeedTimer && portOpen_) {
    return {StopTimer{SpeedTimer}, ClosePort{},
            SetBaudrate{TransferSpeeds[static_cast<std::size_t>(speedIndex_)]}, OpenPort{}};
  }
  if (timer == AnswerTimer && waiting_) return answerEnded();
  return {};
}

SessionCommands SendrakelSession::answerEnded() {
  waiting_ = false;
  SessionCommands out{StopTimer{AnswerTimer}, SetBaudrate{LineSpeed}};
  if (buffer_.empty()) {
    view_.memo1 += "Sendrakel antwortet nicht!!!\n";
  } else if (kind_ == Answer::Track) {
    trackAnswer(out);
  } else if (kind_ == Answer::Hex) {
    hexAnswer();
  } else if (kind_ == Answer::Broken) {
    brokenAnswer(out);
  } else {
    otherAnswer(out);
  }
  buffer_.clear();
  restoreButtons();
  return out;
}

void SendrakelSession::otherAnswer(SessionCommands& out) {
  std::string transcript;
  int count = 0;
  for (const std::string& line : answerLines(buffer_)) {
    ++count;
    if (upper(line).find("DATAFLASH USED") != std::string::npos) pages_ = pageCount(line);
    view_.memo1 += line + "\n";
    transcript += line + "\r\n";
  }
  view_.label1 = "Records ausgewertet: " + std::to_string(count);
  add(out, TranscriptText{std::move(transcript)});
}

void SendrakelSession::trackAnswer(SessionCommands& out) {
  const std::size_t shownEvery = std::max<std::size_t>(buffer_.size() / BytesPerShownRecord, 1);
  if (shownEvery > 1) {
    view_.label2 = "nur jeder " + std::to_string(shownEvery) + ". B-Record wird hier angezeigt!";
  }
  std::string transcript;
  std::size_t records = 0;
  bool full = false;
  for (std::string& line : answerLines(buffer_)) {
    transcript += line + "\r\n";
    if (full) continue;
    if (!line.starts_with("B") || records++ % shownEvery == 0) view_.memo1 += line + "\n";
    full = !lines_.add(std::move(line));
  }
  add(out, TranscriptText{std::move(transcript)});
  if (full) {
    lines_.count = 0;
    dropTrackList();
    view_.message = "Der Sendrakel hat mehr als " + std::to_string(MaxLines) +
                    " Zeilen gesendet. So viele kann das Programm nicht aufnehmen; die Tracks "
                    "wurden nicht übernommen. Bitte Tracks im Logger löschen, die nicht mehr "
                    "gebraucht werden, und erneut auslesen.";
    view_.memo1 += view_.message + "\n";
  }
  view_.label1 = "Records ausgewertet: " + std::to_string(lines_.count);
  view_.saveButtonVisible = lines_.count >= MinimumTrackLines;
}

void SendrakelSession::hexAnswer() {
  if (auto failure = writeWholeFile(hexPath_, hexDumpText(buffer_))) {
    view_.message = *failure;
    return;
  }
  view_.label2 = "HexDump gespeichert in " + hexPath_;
}

// A transfer that fell silent long enough to seem ended, then went on: what
// came first is incomplete, so nothing of it may be saved.
void SendrakelSession::brokenAnswer(SessionCommands& out) {
  add(out, TranscriptText{buffer_});
  lines_.count = 0;
  dropTrackList();
  view_.saveButtonVisible = false;
  view_.message =
      "Die Übertragung vom Sendrakel war unterbrochen; die empfangenen Daten sind unvollständig "
      "und wurden verworfen. Bitte erneut auslesen.";
  view_.memo1 += view_.message + "\n";
}

void SendrakelSession::restoreButtons() {
  view_.requestButtonsVisible = true;
  view_.progressVisible = false;
}

SessionCommands SendrakelSession::writeFailed() {
  waiting_ = false;
  buffer_.clear();
  view_.memo1 += "Sendefehler: Der Sendrakel ist nicht erreichbar.\n";
  restoreButtons();
  return {StopTimer{AnswerTimer}, StopTimer{SpeedTimer}, SetBaudrate{LineSpeed}};
}

// The line may have been lost mid-transfer, its end mistaken for the end of
// the answer: a track transfer not yet listed is no longer trusted. The port
// is closed, so that a later request opens the device anew.
SessionCommands SendrakelSession::portFailed(const std::string& message) {
  portOpen_ = false;
  waiting_ = false;
  buffer_.clear();
  if ((kind_ == Answer::Track || kind_ == Answer::Broken) &&
      view_.page == SendrakelView::Page::Transfer) {
    lines_.count = 0;
    dropTrackList();
    view_.saveButtonVisible = false;
  }
  view_.message = message;
  view_.memo1 += message + "\n";
  view_.portChoiceVisible = true;
  restoreButtons();
  return {StopTimer{AnswerTimer}, StopTimer{SpeedTimer}, ClosePort{}, SetBaudrate{LineSpeed}};
}

// The list and its tick belong to the lines it was made from: whatever
// replaces those lines (a late rest of a transfer while the list is shown
// included) takes the list away with them.
void SendrakelSession::dropTrackList() {
  tracks_.clear();
  view_.trackItems.clear();
  view_.tickedTrack.reset();
  view_.doneVisible = false;
  view_.page = SendrakelView::Page::Transfer;
}

void SendrakelSession::showTrackList() {
  tracks_ = loggerTracks(lines_);
  view_.trackItems.clear();
  for (std::size_t k = 0; k < tracks_.size(); ++k) {
    view_.trackItems.push_back(trackItemText(static_cast<int>(k) + 1, tracks_[k]));
  }
  view_.tickedTrack.reset();
  view_.doneVisible = false;
  view_.page = SendrakelView::Page::TrackList;
  view_.label1 =
      "Jetzt bitte einen Track auswählen, obige CheckBox prüfen und dann <Fertig> anklicken";
}

void SendrakelSession::tickTrack(int item, bool ticked) {
  if (item < 0 || item >= static_cast<int>(tracks_.size())) return;
  if (ticked) {
    view_.tickedTrack = item;
  } else if (view_.tickedTrack == item) {
    view_.tickedTrack.reset();
  }
  view_.doneVisible = view_.tickedTrack.has_value();
}

void SendrakelSession::setTakeNames(bool taken) { view_.takeNames = taken; }

DownloadOutcome SendrakelSession::writeFile(const IgcHeaderValues& header, double writtenAt) {
  if (view_.page != SendrakelView::Page::TrackList || !view_.tickedTrack ||
      *view_.tickedTrack >= static_cast<int>(tracks_.size())) {
    return {"Es ist kein Track ausgewählt.", {}, {}};
  }
  const LoggerTrack& track = tracks_[static_cast<std::size_t>(*view_.tickedTrack)];
  DownloadOutcome outcome = writeLoggerFile(lines_, track, view_.takeNames, header, writtenAt);
  if (outcome.error) {
    view_.message = *outcome.error;
    return outcome;
  }
  view_.page = SendrakelView::Page::Transfer;
  view_.doneVisible = false;
  view_.label1 = outcome.status;
  view_.label1Red = true;
  view_.label2.clear();
  return outcome;
}

}  // namespace quorvanta::sendrakel
