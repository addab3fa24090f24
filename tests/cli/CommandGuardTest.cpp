#include "cli/CommandGuard.h"

#include <new>
#include <sstream>

#include <gtest/gtest.h>

namespace quorvanta::cli {
namespace {

TEST(CommandGuard, PassesTheCommandsStatusOn) {
  std::ostringstream err;
  EXPECT_EQ(guardedCommand([] { return 2; }, err), 2);
  EXPECT_EQ(err.str(), "");
}

TEST(CommandGuard, MemoryExhaustionEndsTheCommandWithAGermanMessage) {
  std::ostringstream err;
  EXPECT_EQ(guardedCommand([]() -> int { throw std::bad_alloc(); }, err), 1);
  EXPECT_EQ(err.str(), "Zu wenig Arbeitsspeicher für diesen Befehl.\n");
}

}  // namespace
}  // namespace quorvanta::cli
