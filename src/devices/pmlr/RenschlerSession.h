#pragma once

#include "devices/pmlr/PmlrSession.h"

namespace quorvanta::pmlr {

inline constexpr const char* RenschlerInstructions =
    "Anleitung:\n"
    "\n"
    "Zunächst prüfen, ob der richtige COM-Port gewählt ist. Danach auslesen der Seriennummer. "
    "Sobald \n"
    "die Seriennummer des Geräts erfaßt ist, erscheint der Button <Track auslesen>.\n"
    "\n"
    "Jetzt die Baudrate (bps) für das Auslesen von Tracks festlegen.\n"
    "\n"
    "Beginne dann das Auslesen der Tracks.\n"
    "\n"
    "Fehlen danach Datensätze, noch einmal <Track auslesen>: die fehlenden werden ergänzt.\n"
    "\n"
    "Dann weiter mit dem Button <igc-File speichern>\n";

inline constexpr int RenschlerSpeeds[] = {19200, 38400};

// The Renschler window's behaviour: any identification is taken (a wrong
// checksum is only reported), a damaged end record still ends the transfer,
// and the instrument is switched off after it.
class RenschlerSession : public PmlrSession {
 public:
  RenschlerSession();

  void setSpeedIndex(int index);  // "COM Speed Renschler" 0..1; others count as 0
  std::vector<int> speedChoices() const override;

 protected:
  std::optional<std::string> identify(const Identification& id) override;
  bool toleratesDamagedEnd() const override { return true; }
  int transferSpeed() const override;

 private:
  int speedIndex_ = 0;
};

}  // namespace quorvanta::pmlr
