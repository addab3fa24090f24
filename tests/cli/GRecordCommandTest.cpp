#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "flight/FileContent.h"
#include "support/CliRunner.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"
#include "support/WriterlessFifo.h"

namespace quorvanta {
namespace {

using test::quotedPath;
using test::runCli;

class GRecordCommandTest : public ::testing::Test {
 protected:
  // Signs and verifies a flight whose lines end in `lineEnd`.
  void signAndVerify(const std::string& lineEnd) {
    std::string content = test::igcFile(test::generateTrack({.fixCount = 20, .seed = 5}));
    for (std::size_t at = 0; (at = content.find("\r\n", at)) != std::string::npos;) {
      content.replace(at, 2, lineEnd);
      at += lineEnd.size();
    }
    const std::string path = quotedPath(scratch.write("flight.igc", content));
    const auto sign = runCli("sign " + path);
    EXPECT_EQ(sign.status, 0) << sign.err;
    EXPECT_EQ(sign.out, "igc-File signiert\n");
    const auto verify = runCli("verify " + path);
    EXPECT_EQ(verify.status, 0) << verify.out;
    EXPECT_EQ(runCli("info " + path).status, 0);
  }

  test::ScratchDir scratch;
};

TEST_F(GRecordCommandTest, SignsFilesWithBareCrLineEndsSoThatTheyVerify) {
  signAndVerify("\r");
  signAndVerify("\n");
  signAndVerify("\r\n");
}

TEST_F(GRecordCommandTest, RefusesWhatIsNoRegularFileInGerman) {
  const test::WriterlessFifo fifo(scratch.path() / "fifo.igc", std::chrono::seconds(5));
  const auto start = std::chrono::steady_clock::now();
  const auto fromFifo = runCli("info " + quotedPath(fifo.path()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(fromFifo.status, 1);
  EXPECT_NE(fromFifo.err.find("das ist keine gewöhnliche Datei"), std::string::npos)
      << fromFifo.err;

  const auto fromDevice = runCli("sign /dev/zero");
  EXPECT_EQ(fromDevice.status, 1);
  EXPECT_EQ(fromDevice.err,
            "Die Datei „/dev/zero“ kann nicht gelesen werden: das ist keine gewöhnliche Datei\n");

  const std::string directory = (scratch.path() / "dir.igc").string();
  ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
  const auto fromDirectory = runCli("info " + quotedPath(directory));
  EXPECT_EQ(fromDirectory.status, 1);
  EXPECT_NE(fromDirectory.err.find("das ist ein Verzeichnis"), std::string::npos);
}

TEST_F(GRecordCommandTest, RefusesAFileOverTheLimitInGerman) {
  const std::string path = scratch.write("huge.igc", "");
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(WholeFileLimit) + 1), 0);
  for (const std::string command : {"info ", "sign "}) {
    const auto run = runCli(command + quotedPath(path));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("sie ist größer als 256 MiB"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace quorvanta
