#pragma once

#include <filesystem>
#include <string>

namespace quorvanta::test {

// A real flight from the shared test data.
std::filesystem::path realFlight(const std::string& name);
std::filesystem::path testDataDir();

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
