#include "flight/FileContent.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "support/WriterlessFifo.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;

// Makes every write beyond `bytes` fail for as long as it lives, as a full
// disk would; the limit binds root too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(FileContent, ReplacesAWholeFileAndKeepsItsPermissions) {
  const test::ScratchDir scratch;
  const std::string path = scratch.write("flight.igc", "old content that is longer");
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(writeWholeFile(path, "new"));
  EXPECT_EQ(test::fileContent(path), "new");
  struct stat status {};
  ::stat(path.c_str(), &status);
  EXPECT_EQ(status.st_mode & 07777, 0640u);

  const std::string fresh = (scratch.path() / "fresh.olc").string();
  ASSERT_FALSE(writeWholeFile(fresh, "x"));
  ::stat(fresh.c_str(), &status);
  EXPECT_EQ(status.st_mode & 07777, 0644u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 2);
}

TEST(FileContent, FailedWriteLeavesTheOldFileWholeAndNoLeftovers) {
  const test::ScratchDir scratch;
  const std::string path = scratch.write("flight.igc", "the pilot's only copy");
  std::optional<std::string> failure;
  {
    const FileSizeLimit limit(64);
    failure = writeWholeFile(path, std::string(4096, 'B'));
  }
  EXPECT_THAT(failure.value_or(""), HasSubstr("kann nicht geschrieben werden"));
  EXPECT_EQ(test::fileContent(path), "the pilot's only copy");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);

  EXPECT_THAT(writeWholeFile((scratch.path() / "no" / "x").string(), "x").value_or(""),
              HasSubstr("Verzeichnis nicht gefunden"));
  std::string content;
  EXPECT_THAT(readWholeFile((scratch.path() / "none").string(), content).value_or(""),
              HasSubstr("Datei nicht gefunden"));
}

std::string readFailure(const std::string& path) {
  std::string content;
  const auto failure = readWholeFile(path, content);
  EXPECT_TRUE(content.empty());
  return failure.value_or("");
}

TEST(FileContent, RefusesAFifoWithoutWaitingForAWriter) {
  const test::ScratchDir scratch;
  const test::WriterlessFifo fifo(scratch.path() / "flight.igc", std::chrono::seconds(5));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(readFailure(fifo.path()),
            "Die Datei „" + fifo.path() + "“ kann nicht gelesen werden: " +
                "das ist keine gewöhnliche Datei");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(FileContent, RefusesDirectoriesAndDevices) {
  const test::ScratchDir scratch;
  EXPECT_THAT(readFailure(scratch.path().string()),
              HasSubstr("“ kann nicht gelesen werden: das ist ein Verzeichnis"));
  EXPECT_EQ(readFailure("/dev/zero"),
            "Die Datei „/dev/zero“ kann nicht gelesen werden: das ist keine gewöhnliche Datei");
}

TEST(FileContent, RefusesAFileOverTheLimitBeforeReadingIt) {
  const test::ScratchDir scratch;
  const std::string path = scratch.write("huge.dem", "");
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(WholeFileLimit) + 1), 0);
  EXPECT_EQ(readFailure(path),
            "Die Datei „" + path + "“ kann nicht gelesen werden: sie ist größer als 256 MiB");
}

}  // namespace
}  // namespace quorvanta
