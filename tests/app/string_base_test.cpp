#include "app/string_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

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
};

TEST_F(StringBaseTest, LoadsRecordsAndLogs) {
  dir_.Write("Lang_ENG.DB",
             Header(3) + Record("siege", L"Siege of %s (%s)\n\n%s") + Record("", L"no key") + Record("blank", L""));
  base_.Load(dir_.File("lang_LANGID.db"), true);
  EXPECT_STREQ(base_.GetText("siege"), L"Siege of %s (%s)\n\n%s");
  EXPECT_STREQ(base_.GetText(""), L"no key");
  EXPECT_STREQ(base_.GetText("blank"), L"");
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
  EXPECT_STREQ(base_.GetText("k"), L"second");
  EXPECT_STREQ(base_.GetText("please_wait"), L"W");
  EXPECT_EQ(base_.FindEntry("please_wait")->id, -1);
  // Across files the first file's id stays either way; only replace changes the text.
  const std::string other = dir_.Write("other.db", Header(1) + Record("k", L"other"));
  base_.Load(other, false);
  EXPECT_STREQ(base_.GetText("k"), L"second");
  base_.Load(other, true);
  EXPECT_STREQ(base_.GetText("k"), L"other");
  EXPECT_EQ(base_.FindEntry("k")->id, 0);
  EXPECT_EQ(base_.Count(), 53u);
  // Texts handed out before stay valid and unchanged.
  EXPECT_STREQ(firstText, L"first");
  EXPECT_STREQ(shown, L"please_wait");
}

TEST_F(StringBaseTest, MissingShortAndTruncatedFilesKeepWhatCameBefore) {
  base_.GetText("kept");
  base_.Load(dir_.File("absent.db"), true);
  EXPECT_EQ(log_.Lines(), (Lines{L"Loading string base", L"Failed opening string base"}));
  EXPECT_TRUE(base_.LoadedFiles().empty());
  EXPECT_STREQ(base_.GetText("kept"), L"kept");
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

}  // namespace
