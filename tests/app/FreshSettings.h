#pragma once

#include <QSettings>

#include "support/TestFiles.h"

namespace quorvanta::test {

// Starts a test with no stored settings. Each test process keeps its
// settings in a folder of its own (see AppTestMain.cpp).
struct FreshSettings {
  FreshSettings() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta").clear();
  }
};

// Fresh settings naming the shared Pyrenees terrain model, and with
// `withMap` the shared map, as the ones a new main window loads.
inline void storePyreneesSettings(bool withMap) {
  const FreshSettings fresh;
  QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Quorvanta", "Quorvanta");
  const auto folder = [](const char* name) {
    return QString::fromStdString((testDataDir() / name).string() + "/");
  };
  settings.setValue("Hoehendaten/Pfad", folder("dem"));
  settings.setValue("Hoehendaten/Datei", "pyrenees");
  if (withMap) {
    settings.setValue("Landkarte/Pfad", folder("map"));
    settings.setValue("Landkarte/Datei", "pyrenees.map");
  }
  settings.sync();
}

}  // namespace quorvanta::test
