#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "testing/file_tree.h"

namespace zelmor::adapters {
namespace {

// One holder at a time, threads of one process included; the next waits for it, or
// gives up with an error once its wait is over; a folder that is not there is an error.
TEST(SystemFileLocks, OneHolderAtATimeAndAnErrorAfterTheWait) {
  testing::FileTree dir;
  auto held = SystemFileLocks().LockFolder(dir.Path(), 1000);
  ASSERT_NE(held, nullptr);
  EXPECT_THROW(SystemFileLocks().LockFolder(dir.Path(), 50), EFileError);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    held.reset();
  });
  EXPECT_NE(SystemFileLocks().LockFolder(dir.Path(), 60000), nullptr);  // had once released
  release.join();
  EXPECT_TRUE(dir.Names().empty());  // nothing made in the folder
  EXPECT_THROW(SystemFileLocks().LockFolder(dir.Path("missing"), 1000), EFileError);
}

}  // namespace
}  // namespace zelmor::adapters
