#pragma once

#include <functional>
#include <iosfwd>

namespace quorvanta::cli {

// Runs a command and returns its exit status. Memory exhaustion anywhere in
// it ends the command with a German message on err and status 1, not with an
// abort.
int guardedCommand(const std::function<int()>& command, std::ostream& err);

}  // namespace quorvanta::cli
