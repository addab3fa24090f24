#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorvanta::test {

// A real flight from the shared test data.
std::filesystem::path realFlight(const std::string& name);
std::filesystem::path testDataDir();
// The file names of the shared real flights, IGC and CSV, sorted.
std::vector<std::string> sharedFlightNames();
// A file name as a test name: up to its first dot, other characters than
// letters and digits as "_".
std::string testNameOf(std::string_view fileName);

// The whole file as it lies on disk, empty where it cannot be read.
std::string fileContent(const std::filesystem::path& path);

// A fresh directory for one test's files, removed with the object.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Writes `content` byte for byte and returns the file's path.
  std::string write(const std::string& name, const std::string& content) const;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvanta::test
