#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta::sim {

// The host packet a section of a script answers: the product request or a
// command packet with its code.
struct Trigger {
  int code = -1;  // command code; -1 for the product request

  static Trigger productRequest() { return {}; }
  static Trigger command(std::uint8_t code) { return {code}; }
  // "product-request" or "command N", as section headers write it.
  std::string name() const;
  static std::optional<Trigger> parse(std::string_view name);
  auto operator<=>(const Trigger&) const = default;
};

// One packet the unit sends: the whole frame as it goes on the line, and a
// note for the reader of the recorded file.
struct ScriptPacket {
  std::string wire;
  std::string note;
};

// What a unit sends in answer to each trigger, packet by packet. Recorded
// scripts are text files: "[product-request]" or "[command N]" starts a
// section, every other line is one packet as hex bytes, "#" starts a comment.
struct GarminScript {
  std::map<Trigger, std::vector<ScriptPacket>> answers;

  // Sections of `other` replace those of the same trigger.
  void merge(const GarminScript& other);
};

// Throws std::runtime_error with a German message naming the line of a
// malformed script.
GarminScript parseScript(std::string_view text);
GarminScript loadScript(const std::filesystem::path& file);
// Every file given, later ones replacing sections of earlier ones.
GarminScript loadScripts(const std::vector<std::filesystem::path>& files);

// The text form that parseScript reads back; `heading` becomes comment lines.
std::string scriptText(const GarminScript& script, std::string_view heading = {});

// The directory of the recorded scripts in the source tree.
std::filesystem::path recordedScriptDir();

}  // namespace quorvanta::sim
