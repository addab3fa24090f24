#pragma once

#include <optional>
#include <string>

namespace quorvanta {

// Reads a whole file into `content`; on failure returns a German message
// naming the file and the reason.
std::optional<std::string> readWholeFile(const std::string& path, std::string& content);

}  // namespace quorvanta
