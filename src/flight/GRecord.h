#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta {

using Sha1Digest = std::array<std::uint8_t, 20>;

// The part of an IGC file the G record covers: every line (ended at CR, an
// LF after it belonging to the line end) that does not start with "G",
// "HO" or "L", and the program's own "L   Quorvanta" lines, each followed
// by one LF.
std::string signedMessage(std::string_view fileContent);

Sha1Digest sha1(std::string_view bytes);

// The per-signature value k of a DSA key (q, x) for a digest, derived per
// RFC 6979 with HMAC-SHA1, so that it can neither be guessed nor repeat for
// another message. Numbers are big-endian bytes.
std::vector<std::uint8_t> deterministicK(const std::vector<std::uint8_t>& q,
                                         const std::vector<std::uint8_t>& x,
                                         const Sha1Digest& digest);

// The file content with its line ends made CR LF (the lines being those the
// reader sees) and the two G lines "GQuorvanta <r>" and "GQuorvanta <s>"
// appended. Content already in that form is kept byte for byte.
std::string withGRecord(std::string_view fileContent);

// Signs the IGC file as withGRecord does. Returns a German message when the
// file cannot be read or written.
std::optional<std::string> SignIgcFile(const std::string& path);

enum class GRecordCheck { Valid, Invalid, Missing };

// Checks the last two G lines of a file's content against the public key.
GRecordCheck verifyGRecord(std::string_view fileContent);

}  // namespace quorvanta
