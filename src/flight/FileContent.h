#pragma once

#include <optional>
#include <string>

namespace quorvanta {

// Reads a whole file into `content`; on failure returns a German message
// naming the file and the reason.
std::optional<std::string> readWholeFile(const std::string& path, std::string& content);

// Writes `content` as the whole file: into a new file beside it first, which
// then replaces the old one, so that a failure never leaves a truncated file
// behind. An existing file keeps its permissions. On failure returns a
// German message naming the file and the reason.
std::optional<std::string> writeWholeFile(const std::string& path, const std::string& content);

}  // namespace quorvanta
