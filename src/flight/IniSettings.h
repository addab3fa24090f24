#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "flight/SettingsStore.h"

namespace quorvanta {

// The desktop program's per-user settings file, read without Qt: the
// command-line tool takes its defaults from it. Sections match without regard
// to case, as in the desktop program. Writes change only this copy: the tool
// never alters what the pilot stored.
class IniSettings : public SettingsStore {
 public:
  IniSettings() = default;
  explicit IniSettings(std::string_view fileText);

  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override;
  void writeString(std::string_view section, std::string_view key,
                   std::string_view value) override;

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

// Where the desktop program keeps its settings: $XDG_CONFIG_HOME (or
// ~/.config) followed by "/Quorvanta/Quorvanta.ini".
std::string userSettingsPath();

// The user's settings; empty when the file does not exist or cannot be read.
IniSettings readUserSettings();

}  // namespace quorvanta
