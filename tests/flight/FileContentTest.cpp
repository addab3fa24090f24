#include "flight/FileContent.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace quorvanta {
namespace {

using ::testing::HasSubstr;

std::string contentOf(const std::string& path) {
  std::string content;
  EXPECT_FALSE(readWholeFile(path, content));
  return content;
}

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
  EXPECT_EQ(contentOf(path), "new");
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
  EXPECT_EQ(contentOf(path), "the pilot's only copy");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);

  EXPECT_THAT(writeWholeFile((scratch.path() / "no" / "x").string(), "x").value_or(""),
              HasSubstr("Verzeichnis nicht gefunden"));
  std::string content;
  EXPECT_THAT(readWholeFile((scratch.path() / "none").string(), content).value_or(""),
              HasSubstr("Datei nicht gefunden"));
}

}  // namespace
}  // namespace quorvanta
