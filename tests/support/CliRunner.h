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

std::string quotedPath(const std::filesystem::path& path);

}  // namespace quorvanta::test
