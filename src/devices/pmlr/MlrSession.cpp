#include "devices/pmlr/MlrSession.h"

#include <iterator>

namespace quorvanta::pmlr {

namespace {

int indexWithin(int index, int count) { return index >= 0 && index < count ? index : 0; }

}  // namespace

MlrSession::MlrSession()
    : PmlrSession({"Warten auf Antwort von MLR oder Log_it!", "Warten auf Antwort von MLR-Gerät",
                   "MLR bzw. Log_it! antwortet nicht!!!", "Kommunikation mit MLR abgebrochen"},
                  {1500, 2000}, true) {
  view_.memo = MlrInstructions;
}

void MlrSession::setSpeedIndices(int mlr, int logIt) {
  mlrIndex_ = indexWithin(mlr, static_cast<int>(std::size(MlrSpeeds)));
  logItIndex_ = indexWithin(logIt, static_cast<int>(std::size(LogItSpeeds)));
}

std::vector<int> MlrSession::speedChoices() const {
  if (isLogIt()) return {std::begin(LogItSpeeds), std::end(LogItSpeeds)};
  return {std::begin(MlrSpeeds), std::end(MlrSpeeds)};
}

int MlrSession::transferSpeed() const {
  return isLogIt() ? LogItSpeeds[logItIndex_] : MlrSpeeds[mlrIndex_];
}

SessionCommands MlrSession::erase() {
  openPortIfClosed();
  send(EraseCommand);
  return flush();
}

// Taken with a matching checksum, or "?:" in its place, which some
// instruments send instead.
std::optional<std::string> MlrSession::identify(const Identification& id) {
  if (!id.checksumMatches() && id.received != "?:") return std::nullopt;
  model_ = id.logIt ? Model::LogIt : Model::Mlr;
  send(StopCommand);
  std::string aRecord("A");
  aRecord += id.sol ? "REN" : id.logIt ? "RUA" : "MLR";
  aRecord += ' ';
  aRecord += id.text;
  return aRecord;
}

}  // namespace quorvanta::pmlr
