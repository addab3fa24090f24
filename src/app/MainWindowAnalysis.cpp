// The "Extras" windows, each created anew and shown modally.
#include <QDir>

#include "app/AnalysisDialogs.h"
#include "app/BarogramDialog.h"
#include "app/MainWindow.h"
#include "views/ResultTexts.h"

namespace quorvanta {

void MainWindow::connectAnalysisWindows() {
  const auto context = [this] {
    return AnalysisContext{*record_, *analysis_, colourMode_, QDir::tempPath() + "/", dialogs_};
  };
  connect(menus_.barogramWindow, &QAction::triggered, this, [this, context] {
    BarogramDialog dialog(context(), this);
    dialog.exec();
  });
  connect(menus_.polarWindow, &QAction::triggered, this, [this, context] {
    PolarDialog dialog(context(), this);
    dialog.exec();
  });
  connect(menus_.statisticsWindow, &QAction::triggered, this, [this] {
    StatisticsDialog dialog(*record_, this);
    dialog.exec();
  });
  connect(menus_.perspectiveWindow, &QAction::triggered, this, [this] {
    if (!perspectiveHeightStep_) perspectiveHeightStep_ = heightStep(*record_);
    PerspectiveRoute route;
    const DrawnRoute drawn = tickedRoute();
    if (drawn == DrawnRoute::Free && result_.FreeTp2 > 0) {
      route = {5, false, freeRoute(result_)};
    } else if (drawn != DrawnRoute::None && drawn != DrawnRoute::Free) {
      const RouteFixes fixes = drawn == DrawnRoute::Flat ? flatRoute(result_) : faiRoute(result_);
      if (fixes[2] > 0) route = {5, true, {fixes[1], fixes[2], fixes[3], fixes[0], fixes[4]}};
    }
    PerspectiveDialog dialog(*record_, rect_, route, *perspectiveHeightStep_, colourMode_, this);
    dialog.exec();
  });
}

}  // namespace quorvanta
