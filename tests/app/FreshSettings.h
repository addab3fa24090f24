#pragma once

#include <QSettings>

namespace quorvanta::test {

// Starts a test with no stored settings. Each test process keeps its
// settings in a folder of its own (see AppTestMain.cpp).
struct FreshSettings {
  FreshSettings() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  }
};

}  // namespace quorvanta::test
