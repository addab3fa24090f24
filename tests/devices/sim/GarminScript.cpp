#include "devices/sim/GarminScript.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvanta::sim {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::optional<std::string> hexBytes(std::string_view text) {
  std::string bytes;
  std::istringstream words{std::string(text)};
  std::string word;
  while (words >> word) {
    unsigned value = 0;
    const auto* end = word.data() + word.size();
    const auto [ptr, error] = std::from_chars(word.data(), end, value, 16);
    if (word.size() != 2 || error != std::errc() || ptr != end) return std::nullopt;
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

std::string hexText(std::string_view bytes) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : bytes) {
    if (!text.empty()) text.push_back(' ');
    text.push_back(Digits[c >> 4]);
    text.push_back(Digits[c & 15]);
  }
  return text;
}

[[noreturn]] void malformed(int lineNumber, const std::string& why) {
  throw std::runtime_error("Zeile " + std::to_string(lineNumber) + ": " + why);
}

}  // namespace

std::string Trigger::name() const {
  return code < 0 ? "product-request" : "command " + std::to_string(code);
}

std::optional<Trigger> Trigger::parse(std::string_view name) {
  if (name == "product-request") return productRequest();
  constexpr std::string_view Prefix = "command ";
  if (!name.starts_with(Prefix)) return std::nullopt;
  name.remove_prefix(Prefix.size());
  unsigned code = 0;
  const auto [ptr, error] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (name.empty() || error != std::errc() || ptr != name.data() + name.size() || code > 255)
    return std::nullopt;
  return command(static_cast<std::uint8_t>(code));
}

void GarminScript::merge(const GarminScript& other) {
  for (const auto& [trigger, packets] : other.answers) answers[trigger] = packets;
}

GarminScript parseScript(std::string_view text) {
  GarminScript script;
  std::vector<ScriptPacket>* section = nullptr;
  int lineNumber = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const auto rawLine = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    const auto hash = rawLine.find('#');
    const auto line = trimmed(rawLine.substr(0, hash));
    const auto note = hash == std::string_view::npos ? "" : trimmed(rawLine.substr(hash + 1));
    if (line.empty()) continue;
    if (line.front() == '[') {
      const auto trigger = line.back() == ']' ? Trigger::parse(line.substr(1, line.size() - 2))
                                              : std::nullopt;
      if (!trigger) malformed(lineNumber, "unbekannter Abschnitt " + std::string(line));
      section = &script.answers[*trigger];
      section->clear();
      continue;
    }
    if (!section) malformed(lineNumber, "Paket vor dem ersten Abschnitt");
    auto bytes = hexBytes(line);
    if (!bytes) malformed(lineNumber, "keine Folge von Hex-Bytes");
    section->push_back({std::move(*bytes), std::string(note)});
  }
  return script;
}

GarminScript loadScript(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("Ablaufdatei " + file.string() + " nicht lesbar");
  std::ostringstream content;
  content << in.rdbuf();
  try {
    return parseScript(content.str());
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(file.string() + ": " + error.what());
  }
}

GarminScript loadScripts(const std::vector<std::filesystem::path>& files) {
  GarminScript script;
  for (const auto& file : files) script.merge(loadScript(file));
  return script;
}

std::string scriptText(const GarminScript& script, std::string_view heading) {
  std::string text;
  while (!heading.empty()) {
    const auto end = heading.find('\n');
    text += "# " + std::string(heading.substr(0, end)) + "\n";
    heading = end == std::string_view::npos ? std::string_view{} : heading.substr(end + 1);
  }
  for (const auto& [trigger, packets] : script.answers) {
    text += "\n[" + trigger.name() + "]\n";
    for (const auto& packet : packets) {
      if (!packet.note.empty()) text += "# " + packet.note + "\n";
      text += hexText(packet.wire) + "\n";
    }
  }
  return text;
}

std::filesystem::path recordedScriptDir() {
  return std::filesystem::path(QUORVANTA_SIM_DATA_DIR) / "garmin";
}

}  // namespace quorvanta::sim
