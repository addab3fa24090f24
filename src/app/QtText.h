#pragma once

#include <string_view>

#include <QString>

namespace quorvanta {

// The core's UTF-8 text as Qt text.
inline QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quorvanta
