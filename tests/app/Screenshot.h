#pragma once

#include <filesystem>
#include <string>

#include <QWidget>

namespace quorvanta::test {

// Saves a picture of the widget as it is shown, in the build folder, for a
// person to look at.
inline bool saveScreenshot(QWidget& widget, const std::string& name) {
  const std::filesystem::path directory = QUORVANTA_SCREENSHOT_DIR;
  std::filesystem::create_directories(directory);
  return widget.grab().save(QString::fromStdString((directory / (name + ".png")).string()));
}

}  // namespace quorvanta::test
