#include "support/CliRunner.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "support/TestFiles.h"

namespace quorvanta::test {

namespace {

std::string readAll(FILE* file) {
  std::string text;
  std::array<char, 1 << 16> buffer;
  std::size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), file)) > 0) text.append(buffer.data(), got);
  return text;
}

}  // namespace

CliRun runCli(const std::string& arguments) {
  ScratchDir scratch;
  return runCli(arguments, scratch.path() / "stderr.txt");
}

CliRun runCli(const std::string& arguments, const std::filesystem::path& errFile) {
  const std::string command =
      std::string(QUORVANTA_CLI) + " " + arguments + " 2>" + quotedPath(errFile);
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  run.out = readAll(pipe);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* err = fopen(errFile.c_str(), "r")) {
    run.err = readAll(err);
    fclose(err);
  }
  return run;
}

std::string quotedPath(const std::filesystem::path& path) {
  std::string quoted(1, '\'');
  return (quoted += path.string()) += '\'';
}

}  // namespace quorvanta::test
