#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/console_log.h"
#include "support/test_support.h"

namespace {

using namespace std::string_literals;

// UTF-16LE bytes of a plain ASCII line plus CR LF.
std::string Unit16Line(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out + "\r\0\n\0"s;
}

TEST(ConsoleLog, WritesUtf16UnitsAndCrLfWithoutByteOrderMark) {
  twtest::LogCapture log;
  g_ConsoleLog.WriteLine(L"Ab 1");
  g_ConsoleLog.WriteLine(L"");
  EXPECT_EQ(log.Bytes(), Unit16Line("Ab 1") + Unit16Line(""));
}

TEST(ConsoleLog, WritesCharactersBeyondEightBitsAsUtf16Units) {
  twtest::LogCapture log;
  g_ConsoleLog.WriteLine(L"\u00C4\u2122\U0001F600");
  EXPECT_EQ(log.Bytes(), "\xC4\x00\x22\x21\x3D\xD8\x00\xDE\r\0\n\0"s);
}

TEST(ConsoleLog, RestartKeepsOnlyByteOrderMarkAndLaterLines) {
  twtest::LogCapture log;
  g_ConsoleLog.WriteLine(L"before");
  g_ConsoleLog.Restart();
  EXPECT_EQ(log.Bytes(), "\xFF\xFE"s);
  g_ConsoleLog.WriteLine(L"after");
  EXPECT_EQ(log.Bytes(), "\xFF\xFE"s + Unit16Line("after"));
}

TEST(ConsoleLog, DisabledLogWritesNothing) {
  twtest::LogCapture log;
  g_ConsoleLog.SetEnabled(false);
  g_ConsoleLog.WriteLine(L"hidden");
  g_ConsoleLog.SetEnabled(true);
  g_ConsoleLog.WriteLine(L"shown");
  EXPECT_EQ(log.Bytes(), Unit16Line("shown"));
}

TEST(ConsoleLog, FormattedLineUsesWideStringRules) {
  twtest::LogCapture log;
  LogLine(L"%s=%i (%hs)", std::wstring(L"x"), 42, "n");
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"x=42 (n)"});
}

std::wstring ThreadLine(wchar_t who, int n) {
  // Long lines widen the window in which two writers could interleave.
  return std::wstring(1, who) + L"-" + std::to_wstring(n) + std::wstring(60, who);
}

TEST(ConsoleLogThread, TwoWritersProduceOnlyWholeLinesInOrder) {
  twtest::LogCapture log;
  constexpr int kLines = 2000;
  auto writer = [](wchar_t who) {
    for (int i = 0; i < kLines; ++i) g_ConsoleLog.WriteLine(ThreadLine(who, i));
  };
  std::thread a(writer, L'a');
  std::thread b(writer, L'b');
  a.join();
  b.join();
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u * kLines);
  int next_a = 0;
  int next_b = 0;
  for (const auto& line : lines) {
    if (line == ThreadLine(L'a', next_a)) {
      ++next_a;
    } else {
      ASSERT_EQ(line, ThreadLine(L'b', next_b));
      ++next_b;
    }
  }
  EXPECT_EQ(next_a, kLines);
  EXPECT_EQ(next_b, kLines);
}

TEST(ConsoleLogThread, LinesWrittenDuringRestartAreKeptWhole) {
  twtest::LogCapture log;
  constexpr int kLines = 1000;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < kLines; ++i) g_ConsoleLog.WriteLine(ThreadLine(L'w', i));
    done = true;
  });
  int restarts = 0;
  while (!done) {
    g_ConsoleLog.Restart();
    ++restarts;
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  writer.join();
  g_ConsoleLog.WriteLine(L"end");
  ASSERT_GT(restarts, 0);
  // The file begins with the byte-order mark and then holds every line
  // written after the last restart, each whole: a run that ends with the
  // writer's last line, then "end".
  const std::string bytes = log.Bytes();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE"s);
  auto lines = log.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"end");
  lines.pop_back();
  const int first = kLines - static_cast<int>(lines.size());
  ASSERT_GE(first, 0);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i], ThreadLine(L'w', first + static_cast<int>(i)));
  }
}

}  // namespace
