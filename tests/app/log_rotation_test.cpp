// The log of a game with no human turn is rotated at the end of an impulse
// once it is too large: the last lines are kept whole in two files and none
// is lost.
#include <gtest/gtest.h>

#include <string>

#include "app/console_log.h"
#include "app/log_rotation.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

// The lines of a log file (its byte-order mark dropped).
std::wstring Text(const std::string& path) {
  std::string bytes = twtest::ReadFile(path);
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') bytes.erase(0, 2);
  return plat::FromUtf16LE(bytes.data(), bytes.size());
}

TEST(LogRotation, RotatedNameKeepsTheExtension) {
  EXPECT_EQ(RotatedLogPath("ConsoleOut.txt"), "ConsoleOut.1.txt");
  EXPECT_EQ(RotatedLogPath("/tmp/a.b/log"), "/tmp/a.b/log.1");
}

TEST(LogRotation, LargeLogGoesToTheRotatedFileWithEveryLineAndTheNextStartsEmpty) {
  const twtest::LogCapture capture;
  const std::string path = g_ConsoleLog.Path();
  const std::string rotated = RotatedLogPath(path);
  // The observer reads each rotated part before the next rotation replaces it.
  std::wstring observed;
  g_ConsoleLog.SetRotationObserver([&observed](const std::string& part) { observed += Text(part); });
  LogLine(L"impulse 1");
  EXPECT_FALSE(RotateLogIfLarger(g_ConsoleLog, 1000));  // small: stays
  EXPECT_EQ(Text(path), L"impulse 1\r\n");
  {
    // A batch still open at the rotation is written to the file it belongs to.
    const cConsoleLogBatch batch;
    LogLine(L"impulse 2");
    EXPECT_TRUE(RotateLogIfLarger(g_ConsoleLog, 4));
  }
  EXPECT_EQ(Text(rotated), L"impulse 1\r\nimpulse 2\r\n");
  EXPECT_EQ(twtest::ReadFile(path), "\xFF\xFE");
  LogLine(L"impulse 3");
  // The next rotation replaces the one before: two files at most.
  EXPECT_TRUE(RotateLogIfLarger(g_ConsoleLog, 4));
  EXPECT_EQ(Text(rotated), L"impulse 3\r\n");
  LogLine(L"impulse 4");
  EXPECT_EQ(Text(path), L"impulse 4\r\n");
  g_ConsoleLog.SetRotationObserver(nullptr);
  EXPECT_EQ(observed, L"impulse 1\r\nimpulse 2\r\nimpulse 3\r\n");
}

}  // namespace
