// The language base: its binary file read into the string base, and its
// text source checked and built into that file; and the console log.
#include "app/string_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/console_log.h"
#include "app/lang_source.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

using Lines = std::vector<std::wstring>;

// The file layout written out by hand, independent of the tool's writer.
// Byte 0 is set to a value the loader must not care about.
std::string Header(std::uint64_t n) {
  std::string s(1, '\x7A');
  for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
  return s;
}

std::string Record(std::string_view key, std::wstring_view text) {
  const std::string utf16 = plat::ToUtf16LE(text);
  const std::size_t units = utf16.size() / 2;
  return static_cast<char>(key.size()) + std::string(key) + static_cast<char>(units & 0xFF) +
         static_cast<char>(units >> 8) + utf16;
}

class StringBaseTest : public ::testing::Test {
 protected:
  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cStringBase base_;
  std::wstring Text(const std::string& key) { return base_.GetText(key); }
};
using LangSourceTest = StringBaseTest;

TEST_F(StringBaseTest, LoadsRecordsAndLogs) {
  dir_.Write("Lang_ENG.DB",
             Header(3) + Record("siege", L"Siege of %s (%s)\n\n%s") + Record("", L"no key") + Record("blank", L""));
  base_.Load(dir_.File("lang_LANGID.db"), true);
  EXPECT_EQ(std::tuple(Text("siege"), Text(""), Text("blank")),
            std::tuple(std::wstring(L"Siege of %s (%s)\n\n%s"), std::wstring(L"no key"), std::wstring()));
  EXPECT_EQ(log_.Lines(), (Lines{L"Loading string base", L"Loaded 3 strings", L"Loaded string base"}));
  EXPECT_EQ(base_.LoadedFiles(), std::vector<std::string>{dir_.File("lang_ENG.db")});  // found in any case
  // A second file gets the next index; its new keys carry it.
  base_.Load(dir_.Write("more.db", Header(1) + Record("axis", L"Axis")), true);
  EXPECT_EQ(base_.FindEntry("siege")->id, 0);
  EXPECT_EQ(base_.FindEntry("axis")->id, 1);
}

TEST_F(StringBaseTest, ReplaceFlagDecidesWhichTextStaysAndHandedOutTextsSurvive) {
  const wchar_t* shown = base_.GetText("please_wait");  // a missing key shows itself
  EXPECT_STREQ(shown, L"please_wait");
  EXPECT_EQ(base_.FindEntry("please_wait")->id, -1);
  EXPECT_EQ(std::wstring(base_.GetText("a\x80\xFFz")), std::wstring(L"a\xFF80\xFFFFz"));  // bytes widen signed
  const std::string first =
      dir_.Write("first.db", Header(3) + Record("k", L"first") + Record("k", L"second") + Record("please_wait", L"W"));
  base_.Load(first, false);
  const wchar_t* firstText = base_.GetText("k");
  EXPECT_STREQ(firstText, L"first");
  EXPECT_STREQ(base_.GetText("please_wait"), L"please_wait");
  for (int i = 0; i < 50; ++i) base_.GetText("filler_" + std::to_string(i));  // grows the map
  base_.Load(first, true);
  EXPECT_EQ(std::tuple(Text("k"), Text("please_wait"), base_.FindEntry("please_wait")->id),
            std::tuple(std::wstring(L"second"), std::wstring(L"W"), -1));
  // Across files the first file's id stays either way; only replace changes the text.
  const std::string other = dir_.Write("other.db", Header(1) + Record("k", L"other"));
  base_.Load(other, false);
  EXPECT_STREQ(base_.GetText("k"), L"second");
  base_.Load(other, true);
  EXPECT_EQ(std::tuple(Text("k"), base_.FindEntry("k")->id, base_.Count()),
            std::tuple(std::wstring(L"other"), 0, 53u));
  // Texts handed out before stay valid and unchanged.
  EXPECT_STREQ(firstText, L"first");
  EXPECT_STREQ(shown, L"please_wait");
}

TEST_F(StringBaseTest, MissingShortAndTruncatedFilesKeepWhatCameBefore) {
  base_.GetText("kept");
  base_.Load(dir_.File("absent.db"), true);
  EXPECT_EQ(log_.Lines(), (Lines{L"Loading string base", L"Failed opening string base"}));
  EXPECT_EQ(std::pair(base_.LoadedFiles().empty(), Text("kept")), std::pair(true, std::wstring(L"kept")));
  // Too short for the count: no records, yet a loaded file.
  for (const std::string& bytes : {std::string(), std::string("\0\x05\0\0", 4), Header(3).substr(0, 8)}) {
    cStringBase base;
    base.Load(dir_.Write("short.db", bytes), true);
    EXPECT_EQ(base.Count(), 0u);
    EXPECT_EQ(base.LoadedFiles().size(), 1u);
  }
  // The count promises more than there is: a record cut anywhere is dropped.
  const std::string good = Record("a", L"alpha") + Record("b", L"beta");
  const std::string next = Record("cc", L"gamma");
  for (std::size_t keep : std::vector<std::size_t>{0, 2, 3, 4, 7, next.size() - 1, next.size()}) {
    cStringBase base;
    base.Load(dir_.Write("cut.db", Header(1000) + good + next.substr(0, keep)), true);
    EXPECT_EQ(base.Count(), keep == next.size() ? 3u : 2u) << keep;
    EXPECT_STREQ(base.GetText("b"), L"beta");
  }
  cStringBase huge;  // a count near the 64-bit limit reserves nothing absurd
  huge.Load(dir_.Write("huge.db", Header(~0ull) + good), true);
  EXPECT_EQ(huge.Count(), 2u);
}

TEST_F(StringBaseTest, ThreadLookupsOfNewKeysWhileLoading) {
  constexpr int kFileKeys = 300, kRounds = 1500;
  auto key = [](const char* prefix, int n) { return prefix + std::to_string(n); };
  std::string db = Header(kFileKeys);
  for (int i = 0; i < kFileKeys; ++i) db += Record(key("file_", i), L"text " + std::to_wstring(i));
  const std::string path = dir_.Write("t.db", db);
  std::atomic<bool> go{false};
  std::vector<const wchar_t*> kept[2];
  auto worker = [&](int t) {
    while (!go) std::this_thread::yield();
    for (int r = 0; r < kRounds; ++r) {
      kept[t].push_back(base_.GetText(key(t == 0 ? "a_" : "b_", r)));
      base_.GetText(key("shared_", r % 100));  // both threads add these
      base_.GetText(key("file_", r % kFileKeys));
    }
  };
  std::thread a(worker, 0), b(worker, 1);
  go = true;
  for (int l = 0; l < 10; ++l) base_.Load(path, true);
  a.join();
  b.join();
  EXPECT_EQ(base_.Count(), static_cast<std::size_t>(kFileKeys + 2 * kRounds + 100));
  for (int r = 0; r < kRounds; ++r) {
    ASSERT_EQ(plat::WidenBytes(key("a_", r)), kept[0][r]);
    ASSERT_EQ(plat::WidenBytes(key("b_", r)), kept[1][r]);
  }
  for (int i = 0; i < kFileKeys; ++i) {
    ASSERT_EQ(std::wstring(base_.GetText(key("file_", i))), L"text " + std::to_wstring(i));
  }
}

// Parses source; error.line stays 0 when it is accepted.
std::vector<sLangText> Parse(std::string_view source, sLangSourceError& error) {
  std::vector<sLangText> texts;
  const bool accepted = ParseLangSource(source, texts, error);
  EXPECT_EQ(accepted, error.line == 0) << error.message;
  return texts;
}

TEST_F(LangSourceTest, ParsesLinesEscapesAndCommentsAndTheTextsRoundTripThroughTheStringBase) {
  sLangSourceError error;
  const auto texts = Parse(
      "\xEF\xBB\xBF# comment\r\n"
      "\n"
      "siege\tSiege of %s (%s)\\n\\n%s\r\n"
      "spaced\t  kept both ends  \n"
      "escapes\ta\\tb\\\\n\n"
      "# key\tlooks like a text but is a comment\n"
      "empty\t\n"
      "General_%s/Name\tname\n"
      "utf8\tZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xF0\x9F\x98\x80",
      error);
  std::vector<std::tuple<std::string, std::wstring, std::size_t>> read;
  for (const sLangText& t : texts) read.emplace_back(t.key, t.text, t.line);
  EXPECT_EQ(read, (decltype(read){{"siege", L"Siege of %s (%s)\n\n%s", 3},
                                  {"spaced", L"  kept both ends  ", 4},
                                  {"escapes", L"a\tb\\n", 5},
                                  {"empty", L"", 7},
                                  {"General_%s/Name", L"name", 8},
                                  {"utf8", std::wstring(L"Za\x017C\x00F3\x0142\x0107 ") + wchar_t(0x1F600), 9}}));
  // The texts built into a base file read back the same, all from that file.
  std::string db;
  ASSERT_TRUE(BuildLangBase(texts, db));
  base_.Load(dir_.Write("lang_ENG.db", db), true);
  EXPECT_EQ(base_.Count(), 6u);
  for (const auto& t : texts) {
    EXPECT_EQ(std::pair(Text(t.key), base_.FindEntry(t.key)->id), std::pair(t.text, 0)) << t.key;
  }
  std::string untouched = "before";  // what the file format cannot hold is refused
  EXPECT_FALSE(BuildLangBase({{std::string(256, 'k'), L"", 1}}, untouched));
  EXPECT_FALSE(BuildLangBase({{"k", std::wstring(65536, L'a'), 1}}, untouched));
  EXPECT_EQ(untouched, "before");
}

TEST_F(LangSourceTest, RejectsFaultsWithTheirLine) {
  const std::string smile = "\xF0\x9F\x98\x80";  // two UTF-16 units
  std::string smiles = "k\t";
  for (int i = 0; i < 32767; ++i) smiles += smile;
  const struct { std::string source; std::size_t line; std::string message_part; } cases[] = {
      {"ok\tfine\nno tab here\n", 2, "malformed"},
      {"\tno key\n", 1, "empty key"},
      {std::string(256, 'k') + "\ttoo long\n", 1, "255"},
      {"a key\twith a space\n", 1, "ASCII"},
      {"k\xC3\xA9y\ttext\n", 1, "ASCII"},
      {"a\tone\nb\ttwo\na\tthree\n", 3, "duplicate key 'a' (first on line 1)"},
      {"k\tbad \\q escape\n", 1, "unknown escape"},
      {"k\tends in \\\n", 1, "backslash"},
      {"k\traw\ttab\n", 1, "control"},
      {"k\tlone \x80 continuation\n", 1, "UTF-8"},
      {"k\toverlong \xC0\xAF\n", 1, "UTF-8"},
      {"k\tsurrogate \xED\xA0\x80\n", 1, "UTF-8"},
      {"k\tcut \xE2\x82", 1, "UTF-8"},
      {"k\tpast max \xF4\x90\x80\x80\n", 1, "UTF-8"},
      {"ok\t\n" + smiles + smile, 2, "text longer than 65535 UTF-16 units"},
  };
  for (const auto& c : cases) {
    sLangSourceError error;
    Parse(c.source, error);
    EXPECT_EQ(error.line, c.line) << c.source.substr(0, 40);
    EXPECT_NE(error.message.find(c.message_part), std::string::npos) << error.message;
  }
  sLangSourceError error;
  EXPECT_EQ(Parse(std::string(255, 'k') + "\tx\n" + smiles + "a", error).size(), 2u);  // both at the limit
}

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

TEST(ConsoleLog, BatchedLinesReachTheFileTogetherAtTheOutermostEndInTheirOrder) {
  twtest::LogCapture log;
  g_ConsoleLog.WriteLine(L"before");
  {
    const cConsoleLogBatch outer;
    g_ConsoleLog.WriteLine(L"one");
    {
      const cConsoleLogBatch inner;
      LogLine(L"two=%i", 2);
    }
    EXPECT_EQ(log.Bytes(), Utf16Line("before")) << "an inner end writes nothing yet";
    g_ConsoleLog.WriteLine(L"three");
  }
  g_ConsoleLog.WriteLine(L"after");
  EXPECT_EQ(log.Bytes(), Utf16Line("before") + Utf16Line("one") + Utf16Line("two=2") + Utf16Line("three") +
                             Utf16Line("after"));
  // A batch's lines do not wait past a switch of the file: they go to the
  // file they were written for.
  twtest::TempDir dir;
  {
    const cConsoleLogBatch batch;
    g_ConsoleLog.WriteLine(L"old file");
    g_ConsoleLog.RedirectTo(dir.File("second.txt"));
    g_ConsoleLog.WriteLine(L"new file");
  }
  EXPECT_EQ(log.Bytes(), Utf16Line("before") + Utf16Line("one") + Utf16Line("two=2") + Utf16Line("three") +
                             Utf16Line("after") + Utf16Line("old file"));
  EXPECT_EQ(twtest::ReadFile(dir.File("second.txt")), Utf16Line("new file"));
}

TEST(ConsoleLog, AVeryLongBatchIsWrittenInPartsWithNothingLost) {
  twtest::LogCapture log;
  constexpr int kLines = 20000;  // far more than one part holds
  {
    const cConsoleLogBatch batch;
    for (int i = 0; i < kLines; ++i) g_ConsoleLog.WriteLine(ThreadLine(L'x', i));
    EXPECT_FALSE(log.Bytes().empty()) << "the full parts are written before the end";
  }
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kLines));
  for (int i = 0; i < kLines; ++i) ASSERT_EQ(lines[static_cast<std::size_t>(i)], ThreadLine(L'x', i));
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
  std::atomic<bool> started{false};
  std::atomic<bool> done{false};
  std::thread writer([&] {
    // The writer starts once the first restart is under way, so that the
    // restarts overlap its lines however fast it writes them.
    while (!started) std::this_thread::yield();
    for (int i = 0; i < kLines; ++i) g_ConsoleLog.WriteLine(ThreadLine(L'w', i));
    done = true;
  });
  int restarts = 0;
  do {
    g_ConsoleLog.Restart();
    ++restarts;
    started = true;
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  } while (!done);
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
