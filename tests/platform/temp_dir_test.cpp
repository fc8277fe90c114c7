// A test's temporary folder does not outlive the test when the process
// that made it ends at once, as the child of a test that expects the game
// to end does: the next folder made or removed takes it away. Folders of a
// process still running are kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/test_support.h"

namespace {

TEST(TempDir, TheFolderOfAProcessThatEndedAtOnceGoesAndThoseOfARunningOneStay) {
  // The child writes into the parent's folder: a forked child shares it.
  const std::string style = GTEST_FLAG_GET(death_test_style);
  GTEST_FLAG_SET(death_test_style, "fast");
  twtest::TempDir parent;
  const std::string note = parent.File("child.txt");
  EXPECT_EXIT(
      {
        twtest::TempDir child;
        child.Write("inside.txt", "x");
        std::ofstream(note) << child.Path().string();
        std::_Exit(std::filesystem::exists(child.Path() / "inside.txt") ? 1 : 2);
      },
      ::testing::ExitedWithCode(1), "");
  GTEST_FLAG_SET(death_test_style, style);
  const std::string childPath = twtest::ReadFile(note);
  ASSERT_FALSE(childPath.empty());
  // Another test process running beside this one may already have taken
  // the child's folder away; the next folder made here surely does.
  { twtest::TempDir next; }
  EXPECT_FALSE(std::filesystem::exists(childPath));
  EXPECT_TRUE(std::filesystem::exists(parent.Path()));
}

}  // namespace
