#include "app/MlrWindow.h"

#include <iterator>

#include "flight/ApplicationTitle.h"

namespace quorvanta {

namespace {

PmlrWindowKind mlrKind() {
  return {"MLR",
          "MLR",
          "MLR oder Log_it! Geräte auslesen für " + std::string(ApplicationTitle),
          {"MLR", "Filename MLR", "Filename für Log-File MLR", "MLRlog.txt", "Textfile (*.txt)"},
          {{"RadioGroup1", "Baudrate für Track auslesen (MLR) ", "COM Speed MLR",
            {std::begin(pmlr::MlrSpeeds), std::end(pmlr::MlrSpeeds)}},
           {"RadioGroup2", "Baudrate für Track auslesen (Log_it!)", "COM Speed Log_it",
            {std::begin(pmlr::LogItSpeeds), std::end(pmlr::LogItSpeeds)}}},
          true};
}

}  // namespace

MlrWindow::MlrWindow(FlightRecord& record, SettingsStore& settings, UserDialogs& dialogs,
                     QWidget* parent)
    : PmlrWindow(record, settings, dialogs, std::make_unique<pmlr::MlrSession>(), mlrKind(),
                 parent) {
  applyStoredSpeeds();
}

void MlrWindow::applyStoredSpeeds() {
  mlr().setSpeedIndices(storedSpeedIndex(kind().speedGroups[0]),
                            storedSpeedIndex(kind().speedGroups[1]));
}

}  // namespace quorvanta
