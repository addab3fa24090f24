#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "flight/Barograph.h"

namespace quorvanta {

// A barogram download without a window (Bräuniger IQ, Flytec 40XX).
struct BarogramDownloadRequest {
  std::string device;          // the serial device's path
  std::string transcriptPath;  // empty: no transcript
  std::chrono::milliseconds wait{std::chrono::minutes(2)};  // for the first byte
  int flight = 0;              // Flytec: the flight from 1; 0: the last
};

using ProgressReport = std::function<void(std::string_view)>;

// Each fills `buffer` and returns nothing, or a German error with the buffer
// as it was; the port is closed again whatever happens.
namespace iq {
std::optional<std::string> downloadBarogram(const BarogramDownloadRequest& request,
                                            BarographBuffer& buffer, const ProgressReport& report);
}
namespace flytec {
std::optional<std::string> downloadBarogram(const BarogramDownloadRequest& request,
                                            BarographBuffer& buffer, const ProgressReport& report);
}

}  // namespace quorvanta
