#include "app/RenschlerWindow.h"

#include <iterator>

#include "flight/ApplicationTitle.h"

namespace quorvanta {

namespace {

PmlrWindowKind renschlerKind() {
  return {"Renschler",
          "Renschler",
          "Renschler Geräte auslesen für " + std::string(ApplicationTitle),
          {"Renschler", "Filename Renschler", "Filename für Log-File Renschler",
           "RENSCHLERlog.txt", "Textfile (*.txt)"},
          {{"RadioGroup1", "Baudrate für Track auslesen ", "COM Speed Renschler",
            {std::begin(pmlr::RenschlerSpeeds), std::end(pmlr::RenschlerSpeeds)}}},
          false};
}

}  // namespace

RenschlerWindow::RenschlerWindow(FlightRecord& record, SettingsStore& settings,
                                 UserDialogs& dialogs, QWidget* parent)
    : PmlrWindow(record, settings, dialogs, std::make_unique<pmlr::RenschlerSession>(),
                 renschlerKind(), parent) {
  applyStoredSpeeds();
}

void RenschlerWindow::applyStoredSpeeds() {
  renschler().setSpeedIndex(storedSpeedIndex(kind().speedGroups[0]));
}

}  // namespace quorvanta
