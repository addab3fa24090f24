#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvanta {

// The characters of `line` from the 1-based column `start` on, at most
// `count` of them; empty where the line is too short. Columns below 1 count
// from the first character.
std::string_view columns(std::string_view line, int start, int count);

// A whole field as a 32-bit integer: optional leading blanks, an optional
// sign, then digits and nothing else.
std::optional<std::int32_t> integerField(std::string_view text);

// The leading digits of a field (after blanks and an optional sign); the
// rest of the field is ignored. Nothing when no digit leads.
std::optional<std::int32_t> leadingInteger(std::string_view text);

// A decimal number with "." as separator (blanks around it allowed);
// nothing unless the whole field is a finite number.
std::optional<double> decimalField(std::string_view text);

std::string toLower(std::string_view text);

// Characters of UTF-8 text (not bytes).
std::size_t characterCount(std::string_view text);

}  // namespace quorvanta
