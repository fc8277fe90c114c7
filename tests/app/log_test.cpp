#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/console_log.h"
#include "support/test_support.h"

namespace {

using namespace std::string_literals;

// UTF-16LE bytes of an ASCII line plus CR LF.
std::string Utf16Line(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += {c, '\0'};
  return out + "\r\0\n\0"s;
}

// Long lines widen the window in which two writers could interleave.
std::wstring ThreadLine(wchar_t who, int n) {
  return std::wstring(1, who) + L"-" + std::to_wstring(n) + std::wstring(60, who);
}

TEST(ConsoleLog, WritesUtf16UnitsAndCrLfWithByteOrderMarkOnlyAfterRestart) {
  twtest::LogCapture log;
  g_ConsoleLog.WriteLine(L"Ab 1");
  g_ConsoleLog.WriteLine(L"");
  g_ConsoleLog.WriteLine(L"\u00C4\u2122\U0001F600");
  EXPECT_EQ(log.Bytes(), Utf16Line("Ab 1") + Utf16Line("") + "\xC4\x00\x22\x21\x3D\xD8\x00\xDE\r\0\n\0"s);
  g_ConsoleLog.Restart();
  EXPECT_EQ(log.Bytes(), "\xFF\xFE"s);
  g_ConsoleLog.SetEnabled(false);
  g_ConsoleLog.WriteLine(L"hidden");
  g_ConsoleLog.SetEnabled(true);
  LogLine(L"%s=%i (%hs)", std::wstring(L"x"), 42, "n");
  EXPECT_EQ(log.Bytes(), "\xFF\xFE"s + Utf16Line("x=42 (n)"));
}

TEST(ConsoleLogThread, TwoWritersProduceOnlyWholeLinesInOrder) {
  twtest::LogCapture log;
  constexpr int kLines = 2000;
  auto writer = [](wchar_t who) {
    for (int i = 0; i < kLines; ++i) g_ConsoleLog.WriteLine(ThreadLine(who, i));
  };
  std::thread a(writer, L'a'), b(writer, L'b');
  a.join();
  b.join();
  int next[2] = {0, 0};
  for (const auto& line : log.Lines()) {
    const int who = line[0] == L'b' ? 1 : 0;
    ASSERT_EQ(line, ThreadLine(L"ab"[who], next[who]++));
  }
  EXPECT_EQ(next[0], kLines);
  EXPECT_EQ(next[1], kLines);
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
  for (; !done; ++restarts) {
    g_ConsoleLog.Restart();
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  writer.join();
  g_ConsoleLog.WriteLine(L"end");
  ASSERT_GT(restarts, 0);
  // The mark, then every line written after the last restart, whole.
  EXPECT_EQ(log.Bytes().substr(0, 2), "\xFF\xFE"s);
  auto lines = log.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"end");
  lines.pop_back();
  const int first = kLines - static_cast<int>(lines.size());
  ASSERT_GE(first, 0);
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], ThreadLine(L'w', first + static_cast<int>(i)));
}

}  // namespace
