#include "devices/flytec/FlytecSession.h"

namespace quorvanta::flytec {

SessionCommands FlytecSession::changePort() {
  if (!portOpen_) return {};
  portOpen_ = false;
  return {ClosePort{}};
}

SessionCommands FlytecSession::readBarograph() {
  view_.readButtonVisible = false;
  dataReady_ = false;
  answer_.clear();
  awaited_ = Awaited::Directory;
  view_.status.clear();
  view_.statusRed = false;
  const WriteBytes directoryCommand{"A000085\r\n"};
  const StartTimer answerTimer{AnswerTimer, AnswerMilliseconds};
  if (portOpen_) return {directoryCommand, answerTimer};
  portOpen_ = true;
  return {OpenPort{}, directoryCommand, answerTimer};
}

SessionCommands FlytecSession::received(std::string_view bytes) {
  answer_ += bytes;
  if (directory_.memorySize > 0) view_.progress = static_cast<int>(answer_.size());
  view_.status = "Bytes übertragen: " + std::to_string(answer_.size());
  return {StartTimer{AnswerTimer, AnswerMilliseconds}};
}

SessionCommands FlytecSession::timerFired(int timer) {
  return timer == AnswerTimer ? answerEnded() : SessionCommands{};
}

SessionCommands FlytecSession::writeFailed() { return fail("Übertragungsfehler!"); }

SessionCommands FlytecSession::portFailed(const std::string& message) {
  portOpen_ = false;
  view_.message = message;
  return fail("Flytec 40XX antwortet nicht!");
}

SessionCommands FlytecSession::fail(const std::string& status) {
  view_.status = status;
  view_.statusRed = true;
  view_.progressVisible = false;
  answer_.clear();
  awaited_ = Awaited::Nothing;
  return {StopTimer{AnswerTimer}};
}

SessionCommands FlytecSession::answerEnded() {
  view_.statusRed = false;
  if (answer_.empty()) return fail("Flytec 40XX antwortet nicht!");
  if (awaited_ == Awaited::Directory && answer_.size() == DirectoryAnswerSize) return directoryArrived();
  if (awaited_ != Awaited::Memory || answer_.size() != static_cast<std::size_t>(directory_.memorySize) + 2) {
    return fail("Übertragungsfehler!");
  }
  memoryArrived();
  return {};
}

SessionCommands FlytecSession::directoryArrived() {
  directory_ = decodeDirectory(answer_);
  answer_.clear();
  if (!directory_.error.empty()) return fail(directory_.error);
  view_.flights.clear();
  for (std::size_t k = 0; k < directory_.flights.size(); ++k) {
    view_.flights.push_back(flightListLine(static_cast<int>(k) + 1, directory_.flights[k]));
  }
  view_.flightListVisible = true;
  view_.progress = 0;
  view_.progressMaximum = directory_.memorySize;
  view_.progressVisible = true;
  awaited_ = Awaited::Memory;
  return {WriteBytes{"A000086\r\n"}, StartTimer{AnswerTimer, AnswerMilliseconds}};
}

void FlytecSession::memoryArrived() {
  view_.progressVisible = false;
  awaited_ = Awaited::Nothing;
  memory_ = answer_.substr(0, answer_.size() - 2);
  answer_.clear();
  view_.instruction = "Jetzt einen Flug auswählen und Button <Flug übernehmen> anklicken";
  dataReady_ = true;
}

void FlytecSession::tickFlight(int item) {
  if (!dataReady_ || item < 0 || item >= static_cast<int>(view_.flights.size())) return;
  view_.tickedFlight = item;
  view_.takeOverVisible = true;
}

void FlytecSession::takeOverFlight() {
  view_.takeOverVisible = false;
  if (!dataReady_ || !view_.tickedFlight) return;
  const FlytecFlight& flight = directory_.flights[static_cast<std::size_t>(*view_.tickedFlight)];
  if (const auto refused = flytec::takeOverFlight(flight, memory_, directory_.serial, buffer_)) {
    view_.message = *refused;
    return;
  }
  barogramTaken_ = true;
  view_.instruction =
      "Das Barogramm steht jetzt in Quorvanta zur Verfügung. Mit <Exit> zurück ins Hauptprogramm. "
      "Dort eventuelle Zeitverschiebungen korrigieren.";
}

}  // namespace quorvanta::flytec
