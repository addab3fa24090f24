#pragma once

#include "devices/pmlr/PmlrSession.h"

namespace quorvanta::pmlr {

inline constexpr const char* MlrInstructions =
    "Anleitung:\n"
    "\n"
    "Zunächst prüfen, ob der richtige COM-Port gewählt ist. Danach auslesen der Seriennummer. "
    "Sobald \n"
    "die Seriennummer der Geräts erfaßt ist, erscheint der Button <Track auslesen>. Vom Programm \n"
    "wird auf grund der Seriennummer festgestellt, ob es sich um ein Gerät der Typs MLR odere ein \n"
    "Log_it! handelt.\n"
    "\n"
    "Jetzt die Baudrate (bps) für das Auslesen von Tracks festlegen.\n"
    "\n"
    "Beginne dann das Auslesen der Tracks.\n"
    "\n"
    "Die Auslesevorgänge werden bei Übertragungsfehlern ggf. so oft wiederholt, bis alles korrekt \n"
    "übertragen wurde.\n"
    "\n"
    "Dann weiter mit dem Button <igc-File speichern>\n";

// The transfer speeds of each model by the index of its choice.
inline constexpr int MlrSpeeds[] = {19200, 38400};
inline constexpr int LogItSpeeds[] = {4800, 19200, 38400, 57600};

// The MLR and Log_it! window's behaviour: the identification decides the
// model; a Log_it! asks again for missing records by itself, is not stopped
// after a complete track, and can have its track memory erased.
class MlrSession : public PmlrSession {
 public:
  MlrSession();

  // "COM Speed MLR" (0..1) and "COM Speed Log_it" (0..3); others count as 0.
  void setSpeedIndices(int mlr, int logIt);
  std::vector<int> speedChoices() const override;
  bool isLogIt() const { return model_ == Model::LogIt; }
  SessionCommands erase();  // "Erase Log_it! Flash", after the confirmation

 protected:
  std::optional<std::string> identify(const Identification& id) override;
  bool repeatsMissingRecords() const override { return isLogIt(); }
  bool stoppedAfterTrack() const override { return !isLogIt(); }
  int transferSpeed() const override;

 private:
  int mlrIndex_ = 0, logItIndex_ = 0;
};

}  // namespace quorvanta::pmlr
