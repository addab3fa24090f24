#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quorvanta {

// Far above any flight, barogram or terrain model, yet small enough that a
// stray device or huge file is refused before it exhausts memory.
inline constexpr std::size_t WholeFileLimit = std::size_t{256} << 20;

// Reads a whole regular file of at most WholeFileLimit bytes into `content`;
// on failure returns a German message naming the file and the reason. A
// FIFO, device, socket or directory is refused without blocking.
std::optional<std::string> readWholeFile(const std::string& path, std::string& content);

// Writes `content` as the whole file: into a new file beside it first, which
// then replaces the old one, so that a failure never leaves a truncated file
// behind. An existing file keeps its permissions. On failure returns a
// German message naming the file and the reason.
std::optional<std::string> writeWholeFile(const std::string& path, const std::string& content);

}  // namespace quorvanta
