#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/FakeDialogs.h"
#include "app/FreshSettings.h"
#include "app/RoomForTexts.h"
#include "app/Screenshot.h"
#include "support/TestFiles.h"

// Driving the download windows in tests: the event loop with a deadline,
// modal windows, buttons, screenshots checked for room, and a fixture with its own settings.
namespace quorvanta::test {

// Runs the event loop until `done` or `seconds` have passed.
inline bool processUntil(const std::function<bool()>& done, int seconds = 5) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
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

// False as well for a widget this window lacks (not every model has every button).
inline bool shown(QWidget& window, const char* name) {
  auto* widget = window.findChild<QWidget*>(name);
  return widget && widget->isVisible();
}

// The text of a label or a text box.
inline std::string text(QWidget& window, const char* name) {
  if (auto* label = window.findChild<QLabel*>(name)) return label->text().toStdString();
  auto* box = window.findChild<QPlainTextEdit*>(name);
  EXPECT_NE(box, nullptr) << name;
  return box ? box->toPlainText().toStdString() : std::string();
}

// Saves a picture of the window once every text in it has been checked for room.
inline void save(QWidget& window, const std::string& name) {
  QApplication::processEvents();  // the layout follows the widgets just shown or hidden
  EXPECT_THAT(crampedTexts(window), ::testing::IsEmpty()) << name;
  ASSERT_TRUE(saveScreenshot(window, name));
}

class DownloadWindowsTest : public ::testing::Test {
 protected:
  void useDevice(const std::string& path, const std::string& transcript) {
    settings.writeString("Serial", "COM1", path);
    settings.writeString("GPS", "COM Port", "1");
    settings.writeString("GPS", "Filename GPSlog", transcript);
  }

  void expectNoIgcFile() const {
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
      EXPECT_NE(entry.path().extension(), ".igc");
    }
  }

  ScratchDir scratch;
  FreshSettings freshSettings;
  FakeDialogs dialogs;
  AppSettings settings;
};

}  // namespace quorvanta::test
