#pragma once

#include "app/PmlrWindow.h"
#include "devices/pmlr/RenschlerSession.h"

namespace quorvanta {

// "Renschler Geräte auslesen": the window of the MLR family that tolerates
// the Renschler's wrong checksums and switches the instrument off.
class RenschlerWindow : public PmlrWindow {
 public:
  RenschlerWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                  QWidget* parent = nullptr);

 private:
  pmlr::RenschlerSession& renschler() { return static_cast<pmlr::RenschlerSession&>(*session_); }
  void applyStoredSpeeds() override;
};

}  // namespace quorvanta
