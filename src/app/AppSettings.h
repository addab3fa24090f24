#pragma once

#include <QSettings>
#include <QString>

#include "flight/SettingsStore.h"

namespace quorvanta {

// The per-user settings file (~/.config/Quorvanta/Quorvanta.ini). Section
// names are matched without regard to case, as different windows spell the
// same section differently.
class AppSettings : public SettingsStore {
 public:
  AppSettings();

  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override;
  void writeString(std::string_view section, std::string_view key,
                   std::string_view value) override;

  QString path() const { return settings_.fileName(); }

 private:
  QString groupFor(std::string_view section) const;
  mutable QSettings settings_;
};

// The folder the file settings default to (the user's documents folder),
// with a closing "/".
QString defaultDocumentsDirectory();

}  // namespace quorvanta
