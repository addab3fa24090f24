// The "Gerät auslesen" commands: each download window is created anew and
// shown modally; a downloaded flight is then loaded like an opened file.
#include "app/GarminWindow.h"
#include "app/MainWindow.h"
#include "app/QtText.h"

namespace quorvanta {

namespace {

std::string pressureSensorLine(Variometer instrument, std::int32_t serial) {
  const char* sensor =
      instrument == Variometer::BraeunigerIq ? "Bräuniger IQ-Serie" : "Flytec 40XX";
  return std::string("HFPRSPRESSUREALTSENSOR: ") + sensor + ", S/N " + std::to_string(serial);
}

}  // namespace

void MainWindow::connectDownloads() {
  QAction* garmin = menus_.downloads[0];
  downloadWindows_ = {garmin};
  connect(garmin, &QAction::triggered, this, [this] {
    runDownloadWindow([this] {
      GarminWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
}

void MainWindow::setDownloadsEnabled(bool enabled) {
  for (QAction* command : downloadWindows_) command->setEnabled(enabled);
}

void MainWindow::runDownloadWindow(const std::function<void()>& showWindow) {
  for (QAction* command : menus_.downloads) command->setEnabled(false);
  record_->DownloadDone = false;
  showWindow();
  if (record_->DownloadDone) {
    record_->DownloadDone = false;
    openTrack(qt(record_->DownloadedFile), true);
  }
  setDownloadsEnabled(!flightLoaded_);
}

void MainWindow::variometerWindowClosed(Variometer instrument) {
  if (barogram_->BaroInterval <= 0) return;
  mergeBarogram();
  record_->ExtraHeaderLine = pressureSensorLine(instrument, barogram_->BaroSerial);
}

}  // namespace quorvanta
