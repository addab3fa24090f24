#include "support/TestFiles.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace quorvanta::test {

std::filesystem::path testDataDir() { return QUORVANTA_TESTDATA_DIR; }

std::filesystem::path realFlight(const std::string& name) {
  const auto path = testDataDir() / "igc" / name;
  if (!std::filesystem::exists(path)) throw std::runtime_error("missing test flight " + path.string());
  return path;
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("quorvanta-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::write(const std::string& name, const std::string& content) const {
  const auto file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return file.string();
}

}  // namespace quorvanta::test
