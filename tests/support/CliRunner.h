#pragma once

#include <filesystem>
#include <string>

namespace quorvanta::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs quorvanta-cli with the given argument text (shell syntax).
CliRun runCli(const std::string& arguments);
// The same with standard error going to `errFile`, which another thread may
// watch while the command runs.
CliRun runCli(const std::string& arguments, const std::filesystem::path& errFile);

std::string quotedPath(const std::filesystem::path& path);

}  // namespace quorvanta::test
