// Checking the G record of any file, and signing any file so that it
// verifies.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "flight/GRecord.h"

namespace quorvanta {
namespace {

using fuzz::require;

// What was signed: the signed file less its last two lines, the G lines
// "GQuorvanta <hex>" that signing appends with CR LF.
std::string_view signedContent(std::string_view signedText) {
  std::size_t end = signedText.size();
  for (int line = 0; line < 2; ++line) {
    require(end >= 2 && signedText.substr(0, end).ends_with("\r\n"), "a signed file ends in lines");
    const std::size_t previous = end >= 3 ? signedText.rfind("\r\n", end - 3) : std::string_view::npos;
    end = previous == std::string_view::npos ? 0 : previous + 2;
    require(signedText.substr(end).starts_with("GQuorvanta "), "a signed file ends in two G lines");
  }
  return signedText.substr(0, end);
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  const std::string_view content = fuzz::textOf(data, size);
  verifyGRecord(content);  // any answer will do, but no crash

  const std::string signedText = withGRecord(content);
  require(verifyGRecord(signedText) == GRecordCheck::Valid, "a signed file verifies");
  // What was signed is in the form signing keeps: it signs to the same file.
  require(withGRecord(signedContent(signedText)) == signedText,
          "signing what was signed gives the same file");
  return 0;
}
