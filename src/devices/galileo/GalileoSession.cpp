#include "devices/galileo/GalileoSession.h"

#include <array>
#include <cstdio>
#include <utility>

namespace quorvanta::galileo {

void configurePort(TVaComm& port) {
  port.setBaudrate(br57600);
  TVaFlowControl flow;
  flow.XonXoffOut = true;
  flow.XonXoffIn = true;
  setLine8N1(port, flow);
  TVaBuffers buffers;
  buffers.ReadTimeout = 10000;
  port.setBuffers(buffers);
  port.setEventPriority(tpNormal);
  port.setWritePriority(tpTimeCritical);
}

std::string commandText(std::string_view sentence) {
  unsigned checksum = 0;
  for (const char c : sentence.substr(sentence.starts_with('$') ? 1 : 0)) {
    checksum ^= static_cast<unsigned char>(c);
  }
  std::array<char, 3> hex{};
  std::snprintf(hex.data(), hex.size(), "%02X", checksum);
  std::string text(sentence);
  text += '*';
  text += hex.data();
  text += "\r\n";
  return text;
}

SessionCommands GalileoSession::readSerialNumber() { return command("$PBRSNP,", false); }
SessionCommands GalileoSession::readTrack() { return command("$PBRIGC,", true); }
SessionCommands GalileoSession::readWaypoints() { return command("$PBRWPS,", false); }
SessionCommands GalileoSession::readRoutes() { return command("$PBRRTS,", false); }

SessionCommands GalileoSession::changePort() {
  portOpen_ = false;
  return {ClosePort{}};
}

// The port is opened by the first command that finds it closed; the log
// file is opened (emptied) with it.
SessionCommands GalileoSession::command(std::string_view sentence, bool track) {
  SessionCommands out;
  if (!portOpen_) {
    portOpen_ = true;
    view_.portChoiceVisible = false;
    view_.showRxVisible = true;
    out.push_back(OpenPort{});
    out.push_back(WriteBytes{"\n\r"});
  }
  // The track keeps what an earlier answer left without a line end.
  if (!track) buffer_.clear();
  view_.memo.clear();
  view_.commandButtonsVisible = false;
  view_.saveButtonVisible = false;
  view_.status = "Warten auf Antwort von Bräuniger Galileo";
  view_.statusRed = false;
  lineCount_ = 0;
  linesLogged_ = 0;
  overflow_ = false;
  trackMode_ = track;
  trackAnswer_ = track;
  out.emplace_back(std::in_place_type<StartTimer>, StartTimer{AnswerTimer, AnswerMilliseconds});
  out.push_back(WriteBytes{commandText(sentence)});
  return out;
}

SessionCommands GalileoSession::received(std::string_view bytes) {
  if (!portOpen_) return {};  // late bytes of a port already given up
  buffer_ += bytes;
  view_.status = "Bytes im Puffer: " + std::to_string(buffer_.size());
  std::size_t start = 0;
  for (std::size_t end; (end = buffer_.find("\r\n", start)) != std::string::npos; start = end + 2) {
    addLine(buffer_.substr(start, end - start));
  }
  buffer_.erase(0, start);
  return {StartTimer{AnswerTimer, AnswerMilliseconds}};
}

void GalileoSession::addLine(std::string line) {
  if (view_.showRx) appendMemo(line + "\n");
  if (lineCount_ == MaxLines) {
    overflow_ = true;  // counted as too long, never stored past the table
    return;
  }
  lineTable_[++lineCount_] = std::move(line);
}

SessionCommands GalileoSession::timerFired(int timer) {
  return timer == AnswerTimer ? evaluate() : SessionCommands{};
}

SessionCommands GalileoSession::evaluate() {
  view_.memo.clear();
  SessionCommands out{StopTimer{AnswerTimer}};
  if (lineCount_ > 0) {
    for (int k = 1; k <= lineCount_; ++k) appendMemo(lineTable_[k] + "\n");
    // Bytes that continue an answer already evaluated are logged once.
    for (int k = linesLogged_ + 1; k <= lineCount_; ++k) {
      out.push_back(TranscriptText{lineTable_[k] + "\r\n"});
    }
    linesLogged_ = lineCount_;
    if (overflow_) appendMemo(tooManyLinesText() + "\n");
    if (trackAnswer_) view_.saveButtonVisible = true;
  } else {
    appendMemo("Galileo antwortet nicht!\n");
  }
  view_.commandButtonsVisible = true;
  trackMode_ = false;
  ++answersEvaluated_;
  return out;
}

void GalileoSession::appendMemo(std::string_view text) {
  std::string& memo = view_.memo;
  memo += text;
  while (memo.size() > MemoLimit) {
    const std::size_t lineEnd = memo.find('\n');
    // A single line longer than the limit keeps its end.
    memo.erase(0, lineEnd == std::string::npos ? memo.size() - MemoLimit : lineEnd + 1);
  }
}

void GalileoSession::lineErrors(int errors) {
  for (const std::string& line : lineErrorLines(errors)) appendMemo(line + "\n");
}

SessionCommands GalileoSession::portFailed(const std::string& message) {
  portOpen_ = false;
  trackMode_ = false;
  view_.portChoiceVisible = true;
  view_.commandButtonsVisible = true;
  view_.status.clear();
  view_.message = message;
  appendMemo(message + "\n");
  return {StopTimer{AnswerTimer}, ClosePort{}};
}

std::vector<std::string> GalileoSession::lines() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(lineCount_));
  for (int k = 1; k <= lineCount_; ++k) lines.push_back(lineTable_[k]);
  return lines;
}

std::optional<std::string> GalileoSession::trackRefusal() const {
  if (overflow_) return tooManyLinesText();
  return galileo::trackRefusal(lines());
}

DownloadOutcome GalileoSession::writeFile(const IgcHeaderValues& header, double writtenAt) {
  DownloadOutcome outcome = overflow_ ? DownloadOutcome{tooManyLinesText(), {}, {}}
                                      : writeTrackFile(lines(), header, writtenAt);
  if (outcome.error) {
    view_.message = *outcome.error;
    return outcome;
  }
  view_.memoVisible = false;
  view_.status = outcome.status;
  view_.statusRed = true;
  return outcome;
}

}  // namespace quorvanta::galileo
