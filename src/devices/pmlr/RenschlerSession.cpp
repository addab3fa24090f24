#include "devices/pmlr/RenschlerSession.h"

#include <iterator>

namespace quorvanta::pmlr {

RenschlerSession::RenschlerSession()
    : PmlrSession({"Warten auf Antwort von Renschler", "Warten auf Antwort von Renschler-Gerät",
                   "Renschler-Gerät antwortet nicht!!!",
                   "Kommunikation mit Renschler-Gerät abgebrochen, Gerät ausgeschaltet"},
                  {10000, 10000}, false) {
  model_ = Model::Renschler;
  view_.memo = RenschlerInstructions;
  view_.showRx = true;
}

void RenschlerSession::setSpeedIndex(int index) {
  speedIndex_ = index >= 0 && index < static_cast<int>(std::size(RenschlerSpeeds)) ? index : 0;
}

std::vector<int> RenschlerSession::speedChoices() const {
  return {std::begin(RenschlerSpeeds), std::end(RenschlerSpeeds)};
}

int RenschlerSession::transferSpeed() const { return RenschlerSpeeds[speedIndex_]; }

std::optional<std::string> RenschlerSession::identify(const Identification& id) {
  if (!id.checksumMatches()) {
    show(std::string("Checksumme ist: ") + id.received + " soll: " + id.computed + "   Fehler ignoriert");
  }
  return std::string("AREN ") + id.text;
}

}  // namespace quorvanta::pmlr
