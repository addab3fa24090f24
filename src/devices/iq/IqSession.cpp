#include "devices/iq/IqSession.h"

#include "devices/iq/IqDump.h"

namespace quorvanta::iq {

namespace {

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

SessionCommands IqSession::openPort() const { return {OpenPort{}}; }

SessionCommands IqSession::reopenPort() const { return {ClosePort{}, OpenPort{}}; }

SessionCommands IqSession::received(std::string_view bytes) {
  dump_ += bytes;
  view_.bytesLabel = "Bytes übertragen: " + std::to_string(dump_.size());
  if (!dump_.empty()) {
    view_.summary =
        "Nach beendeter Übertragung Daten auf Plausibilität prüfen. In beiden Datenbereichen kann "
        "gescrollt werden. Wenn alles in Ordnung, mit <Exit> Fenster schließen und Daten übernehmen. "
        "Bei hartnäckigen Fehlern mit der Länge in Bytes, kann man versuchen, vor dem Auswerten die "
        "Datenprüfung zu deaktivieren";
    view_.evaluateEnabled = true;
  }
  return {StartTimer{QuietTimer, QuietMilliseconds}};
}

SessionCommands IqSession::timerFired(int timer) {
  return timer == QuietTimer ? evaluate() : SessionCommands{};
}

SessionCommands IqSession::portFailed(const std::string& message) {
  view_.message = message;
  return {};
}

SessionCommands IqSession::evaluate() {
  view_.evaluateEnabled = false;
  view_.checkBoxVisible = false;
  const auto length = declaredLength(dump_);
  view_.table = length ? "Soll Bytes: " + std::to_string(*length + 7) + "\n" : std::string();
  const bool lengthRight = length && dump_.size() == static_cast<std::size_t>(*length) + 7;
  if (!lengthRight && view_.dataChecked) {
    view_.checkLabel = "Übertragungsfehler ,bitte wiederholen!!!";
    view_.checkLook = IqView::Look::Red;
  } else {
    showDump();
  }
  // A repeated transfer, after the port is chosen again, starts afresh.
  dump_.clear();
  return {StopTimer{QuietTimer}, ClosePort{}};
}

void IqSession::showDump() {
  view_.checkLabel = view_.dataChecked ? "Keine Fehler gefunden" : "übertragene Daten ungeprüft";
  view_.checkLook = view_.dataChecked ? IqView::Look::Bold : IqView::Look::Red;
  const IqFlight flight = decodeDump(dump_);
  std::vector<std::string> summary = summaryLines(flight);
  if (const auto refused = takeOver(flight, buffer_)) {
    summary.push_back(*refused);
  } else {
    barogramTaken_ = true;
  }
  view_.summary = joined(summary);
  if (const auto start = baroStart(flight)) view_.table += joined(barogramLines(flight, *start));
}

}  // namespace quorvanta::iq
