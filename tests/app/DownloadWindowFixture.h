#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "support/TestFiles.h"

// Driving the download windows in tests: the event loop with a deadline,
// modal windows, buttons, screenshots, and a fixture with its own settings.
namespace quorvanta::test {

// Runs the event loop until `done` or five seconds have passed.
inline bool processUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Runs `drive` once the modal window that `open` shows is up, and closes
// whatever modal window is left after it (at the latest after five seconds).
inline void withModalWindow(const std::function<void()>& open, const std::function<void(QWidget&)>& drive) {
  QTimer::singleShot(0, [drive] {
    QWidget* window = QApplication::activeModalWidget();
    if (window) drive(*window);
    while (QWidget* left = QApplication::activeModalWidget()) left->close();
  });
  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, [] {
    while (QWidget* left = QApplication::activeModalWidget()) left->close();
  });
  safety.start(5000);
  open();
}

inline void click(QWidget& window, const char* name) {
  auto* button = window.findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  ASSERT_TRUE(button->isVisible()) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

inline void save(QWidget& window, const std::string& name) {
  QApplication::processEvents();  // the layout follows the widgets just shown or hidden
  const std::filesystem::path directory = QUORVANTA_SCREENSHOT_DIR;
  std::filesystem::create_directories(directory);
  ASSERT_TRUE(window.grab().save(QString::fromStdString((directory / (name + ".png")).string())));
}

class DownloadWindowsTest : public ::testing::Test {
 protected:
  void useDevice(const std::string& path, const std::string& transcript) {
    settings.writeString("Serial", "COM1", path);
    settings.writeString("GPS", "COM Port", "1");
    settings.writeString("GPS", "Filename GPSlog", transcript);
  }

  ScratchDir scratch;
  FreshSettings freshSettings;
  FakeDialogs dialogs;
  AppSettings settings;
};

}  // namespace quorvanta::test
