#pragma once

#include "app/PmlrWindow.h"
#include "devices/pmlr/MlrSession.h"

namespace quorvanta {

// "MLR oder Log_it! Geräte auslesen": the identification tells an MLR
// receiver from a Log_it! logger, which offers its own speeds and the
// erasing of its track memory.
class MlrWindow : public PmlrWindow {
 public:
  MlrWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
            QWidget* parent = nullptr);

 private:
  pmlr::MlrSession& mlr() { return static_cast<pmlr::MlrSession&>(*session_); }
  void applyStoredSpeeds() override;
  SessionCommands eraseTrackMemory() override { return mlr().erase(); }
};

}  // namespace quorvanta
