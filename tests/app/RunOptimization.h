#pragma once

#include <QSignalSpy>

#include "app/MainWindow.h"

namespace quorvanta::test {

// Starts the optimization from its menu and waits for the run to end; false
// when it has not ended after two minutes.
inline bool runOptimization(MainWindow& window) {
  QSignalSpy ended(&window, &MainWindow::optimizationEnded);
  window.menus().optimize->trigger();
  return ended.wait(120000);
}

}  // namespace quorvanta::test
