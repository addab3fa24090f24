// The "Gerät auslesen" commands: each download window is created anew and
// shown modally; a downloaded flight is then loaded like an opened file.
#include "app/FlytecWindow.h"
#include "app/GalileoWindow.h"
#include "app/GarminWindow.h"
#include "app/IqWindow.h"
#include "app/MainWindow.h"
#include "app/MlrWindow.h"
#include "app/QtText.h"
#include "app/RenschlerWindow.h"
#include "app/SendrakelWindow.h"
#include "flight/ApplicationTitle.h"

namespace quorvanta {

void MainWindow::connectDownloads() {
  QAction* garmin = menus_.downloads[0];
  QAction* mlr = menus_.downloads[1];
  QAction* renschler = menus_.downloads[2];
  QAction* galileo = menus_.downloads[3];
  QAction* sendrakel = menus_.downloads[4];
  downloadWindows_ = {garmin, mlr, renschler, galileo, sendrakel};
  connect(garmin, &QAction::triggered, this, [this] {
    runDownloadWindow([this] {
      GarminWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
  connect(mlr, &QAction::triggered, this, [this] {
    runDownloadWindow([this] {
      MlrWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
  connect(renschler, &QAction::triggered, this, [this] {
    dialogs_.inform(this, qt(ApplicationTitle),
                    "Bei Renschler-Geräten werden falsche Checksummen an zwei Stellen ignoriert. "
                    "Fehler sind deshalb möglich.");
    runDownloadWindow([this] {
      RenschlerWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
  connect(galileo, &QAction::triggered, this, [this] {
    runDownloadWindow([this] {
      GalileoWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
  connect(sendrakel, &QAction::triggered, this, [this] {
    runDownloadWindow([this] {
      SendrakelWindow window(*record_, settings_, dialogs_, this);
      window.exec();
    });
  });
  // The barogram windows merge only what they took over this time, so that
  // a barograph file's barogram is never named after the variometer.
  connect(menus_.varioDownloads[0], &QAction::triggered, this, [this] {
    IqWindow window(*barogram_, settings_, dialogs_, this);
    window.exec();
    if (window.session().barogramTaken()) variometerWindowClosed(Variometer::BraeunigerIq);
  });
  connect(menus_.varioDownloads[1], &QAction::triggered, this, [this] {
    FlytecWindow window(*barogram_, settings_, dialogs_, this);
    window.exec();
    if (window.session().barogramTaken()) variometerWindowClosed(Variometer::Flytec40xx);
  });
}

void MainWindow::setDownloadsEnabled(bool enabled) {
  for (QAction* command : downloadWindows_) command->setEnabled(enabled);
  // The barogram downloads are for a loaded track without pressure altitude.
  const bool barogramWanted = flightLoaded_ && record_->MaxPressureAlt == 0;
  for (QAction* command : menus_.varioDownloads) command->setEnabled(barogramWanted);
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
