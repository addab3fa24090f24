#include "devices/sendrakel/SendrakelSettingsSession.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "devices/sendrakel/SendrakelSession.h"
#include "flight/FieldText.h"

namespace quorvanta::sendrakel {

namespace {

constexpr std::size_t FieldBytes = 16;

// The logger stores single bytes: UTF-8 text becomes Latin-1, a character
// beyond it "?", then cut or padded with blanks to the field's 16 bytes.
std::string fieldBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size() && bytes.size() < FieldBytes;) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    length = std::min(length, text.size() - i);
    if (length == 1) {
      bytes += lead < 0x80 ? text[i] : '?';
    } else if (length == 2 && lead < 0xC4) {
      bytes += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
    } else {
      bytes += '?';
    }
    i += length;
  }
  bytes.resize(FieldBytes, ' ');
  return bytes;
}

std::string sentence(int address, unsigned char value) {
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04X", address & 0xFFFF);
  std::string text("$PSRK,SET,");
  text += hex;
  text += ',';
  text += static_cast<char>(value);
  text += "\r\n";
  return text;
}

int storedNumber(const SettingsStore& settings, const char* key, int fallback, int low, int high) {
  const auto value = integerField(settings.readString(SettingsSection, key, std::to_string(fallback)));
  return value ? std::clamp<int>(*value, low, high) : fallback;
}

}  // namespace

LoggerSettings readLoggerSettings(const SettingsStore& settings) {
  LoggerSettings values;
  values.pilot = settings.readString(SettingsSection, "setPLT", values.pilot);
  values.gliderType = settings.readString(SettingsSection, "setGTY", values.gliderType);
  values.gliderId = settings.readString(SettingsSection, "setGID", values.gliderId);
  values.reserve = settings.readString(SettingsSection, "setRES", values.reserve);
  values.interval = storedNumber(settings, "setINT", values.interval, 1, 60);
  values.powerDown = storedNumber(settings, "setPWD", values.powerDown, 3, 255);
  values.lcd = toLower(settings.readString(SettingsSection, "setLCD", "FALSE")) == "true";
  return values;
}

void saveLoggerSettings(SettingsStore& settings, const LoggerSettings& values) {
  settings.writeString(SettingsSection, "setPLT", values.pilot);
  settings.writeString(SettingsSection, "setGTY", values.gliderType);
  settings.writeString(SettingsSection, "setGID", values.gliderId);
  settings.writeString(SettingsSection, "setRES", values.reserve);
  settings.writeString(SettingsSection, "setINT", std::to_string(values.interval));
  settings.writeString(SettingsSection, "setPWD", std::to_string(values.powerDown));
  settings.writeString(SettingsSection, "setLCD", values.lcd ? "TRUE" : "FALSE");
}

std::vector<std::string> settingsWrites(const LoggerSettings& values) {
  std::string memory;
  for (const std::string* text : {&values.pilot, &values.gliderType, &values.gliderId,
                                  &values.reserve}) {
    memory += fieldBytes(*text);
  }
  std::vector<std::string> writes;
  for (std::size_t address = 0; address < memory.size(); ++address) {
    writes.push_back(sentence(static_cast<int>(address), static_cast<unsigned char>(memory[address])));
  }
  writes.push_back(sentence(0xCF, static_cast<unsigned char>(std::clamp(values.interval, 1, 60))));
  writes.push_back(sentence(0xDF, static_cast<unsigned char>(std::clamp(values.powerDown, 3, 255))));
  writes.push_back(sentence(0xEF, values.lcd ? 0xFF : 0x00));
  return writes;
}

SessionCommands SendrakelSettingsSession::send(const LoggerSettings& values) {
  if (sending()) return {};
  writes_ = settingsWrites(values);
  next_ = 0;
  answer_.clear();
  SessionCommands out;
  if (!std::exchange(portOpen_, true)) out.emplace_back(OpenPort{});
  for (SessionCommand& command : sendNext()) out.push_back(std::move(command));
  return out;
}

SessionCommands SendrakelSettingsSession::sendNext() {
  return {WriteBytes{writes_[next_++]}, StartTimer{AnswerTimer, AnswerMilliseconds}};
}

SessionCommands SendrakelSettingsSession::close() {
  writes_.clear();
  if (!std::exchange(portOpen_, false)) return {};
  return {StopTimer{AnswerTimer}, ClosePort{}};
}

SessionCommands SendrakelSettingsSession::received(std::string_view bytes) {
  if (!portOpen_) return {};
  answer_ += bytes;
  bytesLabel_ = "Bytes übertragen: " + std::to_string(answer_.size());
  return {StartTimer{AnswerTimer, AnswerMilliseconds}};
}

SessionCommands SendrakelSettingsSession::timerFired(int timer) {
  if (timer != AnswerTimer || writes_.empty()) return {};
  std::string shown = answer_;
  while (!shown.empty() && (shown.back() == '\r' || shown.back() == '\n')) shown.pop_back();
  answerLabel_ = answer_.empty() ? "Sendrakel antwortet nicht" : "Antwort von Sendrakel: " + shown;
  answer_.clear();
  if (next_ < writes_.size()) return sendNext();
  writes_.clear();
  return {StopTimer{AnswerTimer}};
}

SessionCommands SendrakelSettingsSession::writeFailed() {
  return stop("Die Einstellungen konnten nicht an den Sendrakel gesendet werden.");
}

// Closed, so that the next "=> Sendrakel" opens the device anew.
SessionCommands SendrakelSettingsSession::portFailed(const std::string& message) {
  portOpen_ = false;
  stop(message);
  return {StopTimer{AnswerTimer}, ClosePort{}};
}

SessionCommands SendrakelSettingsSession::stop(const std::string& message) {
  message_ = message;
  answerLabel_ = message;
  writes_.clear();
  return {StopTimer{AnswerTimer}};
}

}  // namespace quorvanta::sendrakel
