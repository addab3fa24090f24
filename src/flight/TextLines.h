#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvanta {

// Splits file content into lines. A line ends at CR, and an LF right after
// the CR belongs to the line end. When the first such line holds an LF, the
// file has LF-only line ends: every LF then counts as CR LF.
std::vector<std::string> splitLines(std::string_view content);

// Lines ended at CR only (an LF right after a CR belongs to the line end).
std::vector<std::string> crLines(std::string_view content);

}  // namespace quorvanta
