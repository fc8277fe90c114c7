#include "app/lang_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/string_base.h"
#include "support/test_support.h"

namespace {

std::vector<sLangText> ParseOk(std::string_view source) {
  std::vector<sLangText> texts;
  sLangSourceError error;
  EXPECT_TRUE(ParseLangSource(source, texts, error)) << error.line << ": " << error.message;
  return texts;
}

sLangSourceError ParseBad(std::string_view source) {
  std::vector<sLangText> texts;
  sLangSourceError error;
  EXPECT_FALSE(ParseLangSource(source, texts, error));
  return error;
}

TEST(LangSourceTest, ParsesLinesEscapesAndComments) {
  const auto texts = ParseOk(
      "\xEF\xBB\xBF# comment\r\n"
      "\n"
      "siege\tSiege of %s (%s)\\n\\n%s\r\n"
      "spaced\t  kept both ends  \n"
      "escapes\ta\\tb\\\\n\n"
      "# key\tlooks like a text but is a comment\n"
      "empty\t\n"
      "utf8\tZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xF0\x9F\x98\x80\n"
      "General_%s/Name\tname");
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].key, "siege");
  EXPECT_EQ(texts[0].text, L"Siege of %s (%s)\n\n%s");
  EXPECT_EQ(texts[0].line, 3u);
  EXPECT_EQ(texts[1].text, L"  kept both ends  ");
  EXPECT_EQ(texts[2].text, L"a\tb\\n");
  EXPECT_EQ(texts[3].key, "empty");
  EXPECT_EQ(texts[3].text, L"");
  EXPECT_EQ(texts[4].text, std::wstring(L"Za\x017C\x00F3\x0142\x0107 ") + wchar_t(0x1F600));
  EXPECT_EQ(texts[5].key, "General_%s/Name");
  EXPECT_EQ(texts[5].line, 9u);
}

TEST(LangSourceTest, RejectsFaultsWithTheirLine) {
  struct Case {
    std::string source;
    std::size_t line;
    std::string message_part;
  } cases[] = {
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.substr(0, 40));
    const auto error = ParseBad(c.source);
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.message.find(c.message_part), std::string::npos) << error.message;
  }
}

TEST(LangSourceTest, LengthLimitsAtTheEdge) {
  EXPECT_EQ(ParseOk(std::string(255, 'k') + "\tx").size(), 1u);

  // 65535 UTF-16 units fit; a character above U+FFFF counts as two units.
  const std::string smile = "\xF0\x9F\x98\x80";
  std::string fits = "k\t";
  for (int i = 0; i < 32767; ++i) fits += smile;
  EXPECT_EQ(ParseOk(fits + "a").size(), 1u);
  EXPECT_EQ(ParseBad(fits + smile).message, "text longer than 65535 UTF-16 units");
  EXPECT_EQ(ParseBad("k\t" + std::string(65536, 'a')).message, "text longer than 65535 UTF-16 units");
}

TEST(LangSourceTest, WritesTheBinaryLayout) {
  std::string db;
  ASSERT_TRUE(BuildLangBase({{"ab", L"x\x00E9", 1}, {"", std::wstring(1, wchar_t(0x1F600)), 2}}, db));
  const std::string expected = std::string("\0\x02\0\0\0\0\0\0\0", 9) + std::string("\x02" "ab" "\x02\0" "x\0\xE9\0", 9) +
                               std::string("\0\x02\0\x3D\xD8\x00\xDE", 7);
  EXPECT_EQ(db, expected);

  std::string untouched = "before";
  EXPECT_FALSE(BuildLangBase({{std::string(256, 'k'), L"", 1}}, untouched));
  EXPECT_FALSE(BuildLangBase({{"k", std::wstring(65536, L'a'), 1}}, untouched));
  EXPECT_EQ(untouched, "before");
}

TEST(LangSourceTest, RoundTripThroughTheStringBase) {
  twtest::TempDir dir;
  twtest::LogCapture log;
  const auto texts = ParseOk(
      "please_wait\tPlease wait...\n"
      "siege\tSiege of %s (%s)\\n\\n%s\n"
      "smile\tGood \xF0\x9F\x98\x80 luck\n"
      "empty\t\n"
      "january\tJanuary\n");
  std::string db;
  ASSERT_TRUE(BuildLangBase(texts, db));
  dir.Write("lang_ENG.db", db);

  cStringBase base;
  base.Load(dir.File("lang_LANGID.db"), true);
  EXPECT_TRUE(log.Contains(L"Loaded 5 strings"));
  for (const auto& t : texts) {
    EXPECT_EQ(std::wstring(base.GetText(t.key)), t.text) << t.key;
    EXPECT_EQ(base.FindEntry(t.key)->id, 0) << t.key;
  }
}

}  // namespace
