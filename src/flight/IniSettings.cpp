#include "flight/IniSettings.h"

#include <cctype>
#include <cstdlib>
#include <optional>

#include "flight/FileContent.h"
#include "flight/TextLines.h"

namespace quorvanta {

namespace {

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<unsigned> hexValue(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  unsigned value = 0;
  for (const char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                   ? c - '0'
                                                   : std::tolower(c) - 'a' + 10);
  }
  return value;
}

void appendUtf8(std::string& text, unsigned codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Section and key names escape characters outside plain ASCII words as
// %XX or %UXXXX.
std::string unescapedName(std::string_view name) {
  std::string text;
  for (std::size_t k = 0; k < name.size(); ++k) {
    if (name[k] == '%') {
      const bool wide = name.size() - k >= 6 && name[k + 1] == 'U';
      const std::size_t digits = wide ? 4 : 2;
      const std::size_t start = k + (wide ? 2 : 1);
      if (name.size() - start >= digits) {
        if (const auto value = hexValue(name.substr(start, digits))) {
          appendUtf8(text, *value);
          k = start + digits - 1;
          continue;
        }
      }
    }
    text += name[k];
  }
  return text;
}

char escapedCharacter(char c) {
  switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return c;
  }
}

// A value: blanks around it dropped, quoted parts kept as they are,
// backslash escapes resolved, and the "@@" that protects a leading "@".
std::string unescapedValue(std::string_view raw) {
  raw = trimmed(raw);
  std::string text;
  bool quoted = false;
  for (std::size_t k = 0; k < raw.size(); ++k) {
    const char c = raw[k];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && k + 1 < raw.size()) {
      const char next = raw[++k];
      if (next == 'x') {
        std::size_t end = k + 1;
        while (end < raw.size() && end < k + 5 &&
               std::isxdigit(static_cast<unsigned char>(raw[end]))) {
          ++end;
        }
        if (const auto value = hexValue(raw.substr(k + 1, end - k - 1))) appendUtf8(text, *value);
        k = end - 1;
      } else {
        text += escapedCharacter(next);
      }
    } else {
      text += c;
    }
  }
  if (text.starts_with("@@")) text.erase(0, 1);
  return text;
}

}  // namespace

IniSettings::IniSettings(std::string_view fileText) {
  std::string section;
  for (const std::string& line : splitLines(fileText)) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == ';' || text.front() == '#') continue;
    if (text.front() == '[' && text.back() == ']') {
      section = lowerCase(unescapedName(text.substr(1, text.size() - 2)));
      continue;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    values_[{section, unescapedName(trimmed(text.substr(0, equals)))}] =
        unescapedValue(text.substr(equals + 1));
  }
}

std::string IniSettings::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  const auto found = values_.find({lowerCase(section), std::string(key)});
  return found == values_.end() ? std::string(fallback) : found->second;
}

void IniSettings::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  values_[{lowerCase(section), std::string(key)}] = value;
}

std::string userSettingsPath() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
    base = config;
    if (base.back() != '/') base += '/';
  } else {
    base = homeDirectory() + ".config/";
  }
  return base + "Quorvanta/Quorvanta.ini";
}

IniSettings readUserSettings() {
  std::string content;
  if (readWholeFile(userSettingsPath(), content)) return {};
  return IniSettings(content);
}

}  // namespace quorvanta
