#include "support/TestFiles.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace quorvanta::test {

std::filesystem::path testDataDir() { return QUORVANTA_TESTDATA_DIR; }

std::filesystem::path realFlight(const std::string& name) {
  const auto path = testDataDir() / "igc" / name;
  if (!std::filesystem::exists(path)) throw std::runtime_error("missing test flight " + path.string());
  return path;
}

std::vector<std::string> sharedFlightNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(testDataDir() / "igc")) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".igc" || extension == ".csv") names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string testNameOf(std::string_view fileName) {
  std::string name(fileName.substr(0, fileName.find('.')));
  std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

std::string fileContent(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
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
