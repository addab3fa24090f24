#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace quorvanta {
namespace {

namespace fs = std::filesystem;

int run(const std::string& command) { return std::system((command + " >&2").c_str()); }

std::string quoted(const fs::path& path) {
  std::string text(1, '\'');
  text += path.string();
  text += '\'';
  return text;
}

TEST(Install, PutsProgramsDesktopEntryIconAndFileTypeInTheirPlaces) {
  const test::ScratchDir prefix;
  ASSERT_EQ(run(quoted(QUORVANTA_CMAKE) + " --install " + quoted(QUORVANTA_BUILD_DIR) +
                " --prefix " + quoted(prefix.path())),
            0);
  for (const char* installed :
       {"bin/quorvanta", "bin/quorvanta-cli", "share/applications/quorvanta.desktop",
        "share/icons/hicolor/scalable/apps/quorvanta.svg", "share/mime/packages/quorvanta-igc.xml"}) {
    EXPECT_TRUE(fs::is_regular_file(prefix.path() / installed)) << installed;
  }
  EXPECT_EQ(run("desktop-file-validate " +
                quoted(prefix.path() / "share/applications/quorvanta.desktop")),
            0);
}

}  // namespace
}  // namespace quorvanta
