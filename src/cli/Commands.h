#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quorvanta::cli {

// Each command takes its arguments after the command name and returns the
// process exit status.
int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quorvanta::cli
