#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace quorvanta::fuzz {

// A broken property aborts, so that libFuzzer keeps the input as a crash.
inline void require(bool holds, std::string_view property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "Property broken: %.*s%s%.*s\n", static_cast<int>(property.size()),
               property.data(), detail.empty() ? "" : ": ", static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

// A directory of this process's own under $TMPDIR, so that fuzzers running
// side by side never read each other's files; removed when the run ends.
class ScratchDir {
 public:
  ScratchDir()
      : path_(std::filesystem::temp_directory_path() /
              ("quorvanta-fuzz-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `content` byte for byte and returns the file's path.
  std::string write(const std::string& name, std::string_view content) const {
    const std::string file = (path_ / name).string();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    require(static_cast<bool>(out), "the scratch file is written", file);
    return file;
  }

 private:
  std::filesystem::path path_;
};

inline const ScratchDir& scratch() {
  static const ScratchDir dir;
  return dir;
}

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The bytes of a harness's input, taken one step at a time; past its end
// every byte reads 0 and every run of bytes is empty.
class Steps {
 public:
  Steps(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool atEnd() const { return next_ >= size_; }
  std::uint8_t byte() { return atEnd() ? 0 : data_[next_++]; }
  std::string_view bytes(std::size_t count) {
    count = std::min(count, size_ - next_);
    const std::string_view taken(reinterpret_cast<const char*>(data_ + next_), count);
    next_ += count;
    return taken;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace quorvanta::fuzz
