#include <gtest/gtest.h>

#include <string>

#include "frame/startup.h"
#include "app/version.h"
#include "support/fake_audio.h"
#include "support/test_support.h"

namespace {

TEST(StartUp, TitleShowsTheBuildOnlyWhenItIsNoMultipleOf100) {
  EXPECT_EQ(VersionTitle(1.01f, 200), L"Tidewrack v1.01");
  EXPECT_EQ(VersionTitle(1.01f, 201), L"Tidewrack v1.01 [build 201]");
  EXPECT_EQ(VersionTitle(1.01f, 5), L"Tidewrack v1.01 [build   5]");
  EXPECT_EQ(VersionTitle(1.01f, 0), L"Tidewrack v1.01");
}

TEST(StartUp, MissingUnicodeLayerWritesErrorTxtAndEndsWithCodeZero) {
  twtest::TempDir dir;
  dir.Write("error.txt", "an older, longer error text\r\n");
  twtest::ScopedWorkingFolder folder(dir.Path());
  twtest::LogCapture log;
  EXPECT_EXIT(ExitUnicodeLayerMissing(), ::testing::ExitedWithCode(0), "");
  // Overwritten: the one text, no line end.
  EXPECT_EQ(twtest::ReadFile(dir.File("error.txt")), "unicows.dll not found! cannot load game");
  EXPECT_TRUE(log.Contains(L"unicows.dll_not_found,_cannot_start_application"));
}

}  // namespace
