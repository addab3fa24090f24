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
  test::ScratchDir scratch;
};

// The core's tests cover every line end; one with bare CR ends shows that the
// commands pass on what the core finds.
TEST_F(GRecordCommandTest, SignedFileVerifiesUntilAFixChanges) {
  std::string content = test::igcFile(test::generateTrack({.fixCount = 20, .seed = 5}));
  std::erase(content, '\n');
  const std::string path = scratch.write("flight.igc", content);
  EXPECT_EQ(runCli("verify " + quotedPath(path)).status, 2);  // not signed yet
  const auto sign = runCli("sign " + quotedPath(path));
  EXPECT_EQ(sign.status, 0) << sign.err;
  EXPECT_EQ(sign.out, "igc-File signiert\n");
  const auto verify = runCli("verify " + quotedPath(path));
  EXPECT_EQ(verify.status, 0) << verify.out;
  EXPECT_EQ(verify.out, "Signatur gültig: die Datei ist unverändert.\n");
  EXPECT_EQ(runCli("info " + quotedPath(path)).status, 0);

  std::string changed = test::fileContent(path);
  changed[changed.find("\r\nB") + 12] ^= 1;
  EXPECT_EQ(runCli("verify " + quotedPath(scratch.write("changed.igc", changed))).status, 1);
  EXPECT_EQ(runCli("verify /nonexistent/x.igc").status, 2);
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
