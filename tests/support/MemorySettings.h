#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "flight/SettingsStore.h"

namespace quorvanta::test {

// Settings held in memory, so that no test touches the user's own.
class MemorySettings : public SettingsStore {
 public:
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    const auto found = values_.find({std::string(section), std::string(key)});
    return found == values_.end() ? std::string(fallback) : found->second;
  }
  void writeString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    values_[{std::string(section), std::string(key)}] = value;
    writtenKeys_.emplace_back(key);
  }
  const std::vector<std::string>& writtenKeys() const { return writtenKeys_; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
  std::vector<std::string> writtenKeys_;
};

}  // namespace quorvanta::test
