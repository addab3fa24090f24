#include "cli/CommandGuard.h"

#include <new>
#include <ostream>

namespace quorvanta::cli {

int guardedCommand(const std::function<int()>& command, std::ostream& err) {
  try {
    return command();
  } catch (const std::bad_alloc&) {
    // By now the command's memory is released again, so the message fits.
    err << "Zu wenig Arbeitsspeicher für diesen Befehl.\n";
    return 1;
  }
}

}  // namespace quorvanta::cli
