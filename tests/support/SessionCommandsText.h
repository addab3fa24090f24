#pragma once

#include <string>
#include <variant>
#include <vector>

#include "devices/SessionCommands.h"

namespace quorvanta::test {

// What a batch of session commands sends, one entry a write.
inline std::vector<std::string> written(const SessionCommands& commands) {
  std::vector<std::string> bytes;
  for (const SessionCommand& command : commands) {
    if (const auto* write = std::get_if<WriteBytes>(&command)) bytes.push_back(write->bytes);
  }
  return bytes;
}

// What a batch of session commands adds to the transcript.
inline std::string transcript(const SessionCommands& commands) {
  std::string text;
  for (const SessionCommand& command : commands) {
    if (const auto* line = std::get_if<TranscriptText>(&command)) text += line->text;
  }
  return text;
}

}  // namespace quorvanta::test
