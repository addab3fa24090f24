#pragma once

#include <string>
#include <string_view>

namespace quorvanta::cli {

// A JSON string literal. Bytes that are not UTF-8 are taken as Latin-1, the
// usual encoding of non-ASCII text in IGC headers.
std::string jsonString(std::string_view text);

// A JSON number with 17 significant digits, so that it reads back to the
// same double.
std::string jsonNumber(double value);

std::string jsonBool(bool value);

}  // namespace quorvanta::cli
