#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace quorvanta::test {

// A FIFO that nobody writes to. Should a reader block on it anyway, a writer
// comes and goes after `patience`, so that the test fails instead of hanging.
class WriterlessFifo {
 public:
  WriterlessFifo(const std::filesystem::path& path, std::chrono::milliseconds patience)
      : path_(path.string()) {
    ::mkfifo(path_.c_str(), 0600);
    rescue_ = std::jthread([this, patience](std::stop_token stop) {
      std::mutex mutex;
      std::unique_lock lock(mutex);
      std::condition_variable_any wake;
      wake.wait_for(lock, stop, patience, [] { return false; });
      while (!stop.stop_requested()) {
        const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        wake.wait_for(lock, stop, std::chrono::milliseconds(20), [] { return false; });
      }
    });
  }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::jthread rescue_;
};

}  // namespace quorvanta::test
