#pragma once

#include <string>
#include <string_view>

#include "devices/SessionCommands.h"

namespace quorvanta {

// What every instrument's download session answers to, besides its buttons:
// the port's events and the timers it asked for.
class DownloadSession {
 public:
  virtual ~DownloadSession() = default;

  virtual SessionCommands received(std::string_view bytes) = 0;
  virtual SessionCommands timerFired(int timer) = 0;
  virtual SessionCommands writeFailed() = 0;
  // The port could not be opened or was lost; `message` is German.
  virtual SessionCommands portFailed(const std::string& message) = 0;
};

}  // namespace quorvanta
