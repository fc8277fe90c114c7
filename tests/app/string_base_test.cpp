#include "app/string_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "support/test_support.h"

namespace {

// The file layout written out by hand, independent of the tool's writer.
// Byte 0 is set to a value the loader must not care about.
std::string Header(std::uint64_t n) {
  std::string s(1, '\x7A');
  for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
  return s;
}

std::string RawRecord(std::string_view key, std::string_view utf16, std::size_t units) {
  std::string s(1, static_cast<char>(key.size()));
  s += key;
  s.push_back(static_cast<char>(units & 0xFF));
  s.push_back(static_cast<char>(units >> 8));
  s += utf16;
  return s;
}

std::string Record(std::string_view key, std::wstring_view text) {
  const std::string utf16 = plat::ToUtf16LE(text);
  return RawRecord(key, utf16, utf16.size() / 2);
}

class StringBaseTest : public ::testing::Test {
 protected:
  std::string WriteDb(const std::string& name, const std::string& bytes) { return dir_.Write(name, bytes); }

  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cStringBase base_;
};

TEST_F(StringBaseTest, LoadsRecordsAndLogs) {
  const std::string path = WriteDb("lang_ENG.db", Header(2) + Record("pref_title", L"Preferences") +
                                                      Record("siege", L"Siege of %s (%s)\n\n%s"));
  base_.Load(dir_.File("lang_LANGID.db"), true);

  EXPECT_STREQ(base_.GetText("pref_title"), L"Preferences");
  EXPECT_STREQ(base_.GetText("siege"), L"Siege of %s (%s)\n\n%s");
  EXPECT_EQ(base_.FindEntry("pref_title")->id, 0);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"Loading string base", L"Loaded 2 strings", L"Loaded string base"}));
  EXPECT_EQ(base_.LoadedFiles(), std::vector<std::string>{path});
  EXPECT_EQ(base_.FileIndexes(), std::vector<std::int32_t>{0});

  // A second file gets the next index; its new keys carry it.
  WriteDb("more.db", Header(1) + Record("axis", L"Axis"));
  base_.Load(dir_.File("more.db"), true);
  EXPECT_EQ(base_.FindEntry("axis")->id, 1);
  EXPECT_EQ(base_.FindEntry("pref_title")->id, 0);
  EXPECT_EQ(base_.FileIndexes(), (std::vector<std::int32_t>{0, 1}));
  EXPECT_TRUE(log_.Contains(L"Loaded 3 strings"));
}

TEST_F(StringBaseTest, LanguageCodeNamesTheFileAndFallsBackToAnyCase) {
  EXPECT_EQ(base_.GetLanguageCode(), "ENG");
  // Each unit keeps its low byte: U+0145 becomes 'E'.
  base_.SetLanguageCode(L"D\x0145U");
  EXPECT_EQ(base_.GetLanguageCode(), "DEU");

  WriteDb("Lang_DEU.DB", Header(1) + Record("yes", L"Ja"));
  base_.Load(dir_.File("lang_LANGID.db"), true);
  EXPECT_STREQ(base_.GetText("yes"), L"Ja");
}

TEST_F(StringBaseTest, EmptyCountReportsKeysInsertedByLookups) {
  base_.GetText("one");
  base_.GetText("two");
  WriteDb("zero.db", Header(0) + Record("ignored", L"beyond the count"));
  base_.Load(dir_.File("zero.db"), true);
  EXPECT_TRUE(log_.Contains(L"Loaded 2 strings"));
  EXPECT_FALSE(base_.FindEntry("ignored").has_value());
}

TEST_F(StringBaseTest, EmptyKeyAndEmptyText) {
  WriteDb("a.db", Header(2) + Record("", L"no key") + Record("blank", L""));
  base_.Load(dir_.File("a.db"), true);
  EXPECT_STREQ(base_.GetText(""), L"no key");
  EXPECT_STREQ(base_.GetText("blank"), L"");
  EXPECT_EQ(base_.FindEntry("blank")->id, 0);
}

TEST_F(StringBaseTest, ReplaceFlagDecidesBetweenFirstAndLaterTexts) {
  WriteDb("twice.db", Header(2) + Record("k", L"first") + Record("k", L"second"));
  base_.Load(dir_.File("twice.db"), true);
  EXPECT_STREQ(base_.GetText("k"), L"second");

  cStringBase keep;
  keep.Load(dir_.File("twice.db"), false);
  EXPECT_STREQ(keep.GetText("k"), L"first");

  // Across files: without replace the first file's text and id stay; with
  // replace the text changes and the id still stays.
  WriteDb("other.db", Header(1) + Record("k", L"other"));
  keep.Load(dir_.File("other.db"), false);
  EXPECT_STREQ(keep.GetText("k"), L"first");
  keep.Load(dir_.File("other.db"), true);
  EXPECT_STREQ(keep.GetText("k"), L"other");
  EXPECT_EQ(keep.FindEntry("k")->id, 0);
}

TEST_F(StringBaseTest, MissingKeyShowsItselfAndIsTranslatedByALaterLoad) {
  EXPECT_STREQ(base_.GetText("please_wait"), L"please_wait");
  ASSERT_TRUE(base_.FindEntry("please_wait").has_value());
  EXPECT_EQ(base_.FindEntry("please_wait")->id, -1);
  EXPECT_EQ(base_.Count(), 1u);

  WriteDb("keep.db", Header(1) + Record("please_wait", L"Please wait..."));
  base_.Load(dir_.File("keep.db"), false);
  EXPECT_STREQ(base_.GetText("please_wait"), L"please_wait");

  base_.Load(dir_.File("keep.db"), true);
  EXPECT_STREQ(base_.GetText("please_wait"), L"Please wait...");
  EXPECT_EQ(base_.FindEntry("please_wait")->id, -1);
  EXPECT_EQ(base_.Count(), 1u);
}

TEST_F(StringBaseTest, MissingKeyBytesWidenSigned) {
  EXPECT_EQ(std::wstring(base_.GetText("a\x80\xFFz")), std::wstring(L"a\xFF80\xFFFFz"));
  EXPECT_FALSE(base_.FindEntry("never").has_value());
}

TEST_F(StringBaseTest, TruncatedRecordsKeepTheOnesBefore) {
  const std::string good = Record("a", L"alpha") + Record("b", L"beta");
  const std::string next = Record("cc", L"gamma");
  struct Case {
    const char* what;
    std::size_t keep;  // bytes of the third record present
  } cases[] = {{"no key length", 0}, {"mid key", 2}, {"no text length", 3}, {"mid text length", 4},
               {"mid text", 7},      {"last byte missing", next.size() - 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    cStringBase base;
    WriteDb("cut.db", Header(5) + good + next.substr(0, c.keep));
    base.Load(dir_.File("cut.db"), true);
    EXPECT_EQ(base.Count(), 2u);
    EXPECT_STREQ(base.GetText("b"), L"beta");
    EXPECT_FALSE(base.FindEntry("cc").has_value());
  }
  // The whole record present but the count promising more: all three stay.
  cStringBase base;
  WriteDb("more.db", Header(1000) + good + next);
  base.Load(dir_.File("more.db"), true);
  EXPECT_STREQ(base.GetText("cc"), L"gamma");
  // A count near the 64-bit limit reserves nothing absurd.
  cStringBase huge;
  WriteDb("huge.db", Header(~0ull) + good);
  huge.Load(dir_.File("huge.db"), true);
  EXPECT_EQ(huge.Count(), 2u);
}

TEST_F(StringBaseTest, ShortOrMissingFiles) {
  // A file that opens but is too short for the count loads no records; it
  // still counts as a loaded file.
  for (const std::string& bytes : {std::string(), std::string("\0\x05\0\0", 4), Header(3).substr(0, 8)}) {
    cStringBase base;
    twtest::LogCapture log;
    WriteDb("short.db", bytes);
    base.Load(dir_.File("short.db"), true);
    EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"Loading string base", L"Loaded 0 strings", L"Loaded string base"}));
    EXPECT_EQ(base.LoadedFiles().size(), 1u);
  }

  base_.GetText("kept");
  base_.Load(dir_.File("absent.db"), true);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"Loading string base", L"Failed opening string base"}));
  EXPECT_TRUE(base_.LoadedFiles().empty());
  EXPECT_TRUE(base_.FileIndexes().empty());
  EXPECT_STREQ(base_.GetText("kept"), L"kept");

  // A folder of that name is no language file either.
  std::filesystem::create_directories(dir_.Path() / "folder.db");
  base_.Load(dir_.File("folder.db"), true);
  EXPECT_TRUE(base_.LoadedFiles().empty());
}

TEST_F(StringBaseTest, SurrogatePairsBecomeOneCharacter) {
  // U+1F600 as D83D DE00, then a lone high surrogate that is kept as it is.
  const std::string utf16 = std::string("\x3D\xD8\x00\xDE", 4) + std::string("A\0", 2) + std::string("\x3D\xD8", 2);
  WriteDb("s.db", Header(2) + RawRecord("smile", utf16, 4) + Record("after", L"ok"));
  base_.Load(dir_.File("s.db"), true);
  const std::wstring text = base_.GetText("smile");
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(static_cast<char32_t>(text[0]), U'\U0001F600');
  EXPECT_EQ(text[1], L'A');
  EXPECT_EQ(static_cast<char32_t>(text[2]), 0xD83Du);
  EXPECT_STREQ(base_.GetText("after"), L"ok");
}

TEST_F(StringBaseTest, HandedOutTextsSurviveReplacingLoads) {
  WriteDb("old.db", Header(2) + Record("k", L"old text") + Record("same", L"unchanged"));
  WriteDb("new.db", Header(2) + Record("k", L"new text") + Record("same", L"unchanged"));
  base_.Load(dir_.File("old.db"), true);
  const wchar_t* before = base_.GetText("k");
  const wchar_t* same = base_.GetText("same");
  const wchar_t* looked_up = base_.GetText("shown_as_key");

  for (int i = 0; i < 50; ++i) base_.GetText("filler_" + std::to_string(i));  // grows the map
  base_.Load(dir_.File("new.db"), true);

  EXPECT_STREQ(before, L"old text");
  EXPECT_STREQ(base_.GetText("k"), L"new text");
  EXPECT_EQ(base_.GetText("same"), same);  // an equal text is not stored again
  EXPECT_STREQ(looked_up, L"shown_as_key");
  EXPECT_EQ(base_.GetText("shown_as_key"), looked_up);
}

TEST(StringBaseThreadTest, LookupsOfNewKeysWhileLoading) {
  twtest::TempDir dir;
  twtest::LogCapture log;
  constexpr int kFileKeys = 300, kRounds = 1500;
  std::string db = Header(kFileKeys);
  for (int i = 0; i < kFileKeys; ++i) {
    db += Record("file_" + std::to_string(i), L"text " + std::to_wstring(i));
  }
  const std::string path = dir.Write("t.db", db);

  cStringBase base;
  std::atomic<bool> go{false};
  std::atomic<int> faults{0};
  std::vector<const wchar_t*> kept[2];
  auto worker = [&](int t) {
    while (!go.load()) std::this_thread::yield();
    for (int r = 0; r < kRounds; ++r) {
      const std::string own = "thread" + std::to_string(t) + "_" + std::to_string(r);
      const wchar_t* p = base.GetText(own);
      if (plat::WidenBytes(own) != p) ++faults;
      kept[t].push_back(p);
      const std::string shared = "shared_" + std::to_string(r % 100);
      if (plat::WidenBytes(shared) != base.GetText(shared)) ++faults;
      const int i = r % kFileKeys;
      const std::wstring text = base.GetText("file_" + std::to_string(i));
      if (text != L"file_" + std::to_wstring(i) && text != L"text " + std::to_wstring(i)) ++faults;
    }
  };
  std::thread a(worker, 0), b(worker, 1);
  go = true;
  for (int l = 0; l < 10; ++l) base.Load(path, true);
  a.join();
  b.join();

  EXPECT_EQ(faults.load(), 0);
  EXPECT_EQ(base.Count(), static_cast<std::size_t>(kFileKeys + 2 * kRounds + 100));
  for (int t = 0; t < 2; ++t) {
    for (int r = 0; r < kRounds; ++r) {
      ASSERT_EQ(plat::WidenBytes("thread" + std::to_string(t) + "_" + std::to_string(r)), kept[t][r]);
    }
  }
  for (int i = 0; i < kFileKeys; ++i) {
    ASSERT_EQ(std::wstring(base.GetText("file_" + std::to_string(i))), L"text " + std::to_wstring(i));
  }
}

TEST(ReadWholeFileTest, ReadsEveryByteOrFails) {
  twtest::TempDir dir;
  std::string bytes(70000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  const std::string path = dir.Write("f.bin", bytes);

  std::vector<unsigned char> buffer;
  std::uint64_t size = 0;
  ASSERT_TRUE(ReadWholeFile(path, buffer, size));
  EXPECT_EQ(size, bytes.size());
  EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bytes);

  ASSERT_TRUE(ReadWholeFile(dir.Write("empty.bin", ""), buffer, size));
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(ReadWholeFile(dir.File("missing.bin"), buffer, size));
  EXPECT_FALSE(ReadWholeFile(dir.Path().string(), buffer, size));
}

}  // namespace
