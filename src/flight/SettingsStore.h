#pragma once

#include <string>
#include <string_view>

namespace quorvanta {

// The program's persistent settings: string values under a section and a
// key, read with a default when absent.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual std::string readString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const = 0;
  virtual void writeString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

// The user's home directory with a closing "/"; it stands in for the
// document folders the settings default to.
std::string homeDirectory();

}  // namespace quorvanta
