#include "app/lang_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/string_base.h"
#include "support/test_support.h"

namespace {

// Parses source; error.line stays 0 when it is accepted.
std::vector<sLangText> Parse(std::string_view source, sLangSourceError& error) {
  std::vector<sLangText> texts;
  const bool accepted = ParseLangSource(source, texts, error);
  EXPECT_EQ(accepted, error.line == 0) << error.message;
  return texts;
}

TEST(LangSourceTest, ParsesLinesEscapesAndComments) {
  sLangSourceError error;
  const auto texts = Parse(
      "\xEF\xBB\xBF# comment\r\n"
      "\n"
      "siege\tSiege of %s (%s)\\n\\n%s\r\n"
      "spaced\t  kept both ends  \n"
      "escapes\ta\\tb\\\\n\n"
      "# key\tlooks like a text but is a comment\n"
      "empty\t\n"
      "utf8\tZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xF0\x9F\x98\x80",
      error);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].key, "siege");
  EXPECT_EQ(texts[0].text, L"Siege of %s (%s)\n\n%s");
  EXPECT_EQ(texts[0].line, 3u);
  EXPECT_EQ(texts[1].text, L"  kept both ends  ");
  EXPECT_EQ(texts[2].text, L"a\tb\\n");
  EXPECT_EQ(texts[3].text, L"");
  EXPECT_EQ(texts[4].text, std::wstring(L"Za\x017C\x00F3\x0142\x0107 ") + wchar_t(0x1F600));
  EXPECT_EQ(texts[4].line, 8u);
}

TEST(LangSourceTest, RejectsFaultsWithTheirLine) {
  const std::string smile = "\xF0\x9F\x98\x80";  // two UTF-16 units
  std::string smiles = "k\t";
  for (int i = 0; i < 32767; ++i) smiles += smile;
  const struct {
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

TEST(LangSourceTest, RoundTripThroughTheStringBase) {
  sLangSourceError error;
  const auto texts = Parse(
      "please_wait\tPlease wait...\n"
      "siege\tSiege of %s (%s)\\n\\n%s\n"
      "smile\tGood \xF0\x9F\x98\x80 luck\n"
      "empty\t\n"
      "General_%s/Name\tname\n",
      error);
  std::string db;
  ASSERT_TRUE(BuildLangBase(texts, db));
  twtest::TempDir dir;
  cStringBase base;
  base.Load(dir.Write("lang_ENG.db", db), true);
  EXPECT_EQ(base.Count(), 5u);
  for (const auto& t : texts) {
    EXPECT_EQ(std::wstring(base.GetText(t.key)), t.text) << t.key;
    EXPECT_EQ(base.FindEntry(t.key)->id, 0) << t.key;
  }
  std::string untouched = "before";  // what the file format cannot hold is refused
  EXPECT_FALSE(BuildLangBase({{std::string(256, 'k'), L"", 1}}, untouched));
  EXPECT_FALSE(BuildLangBase({{"k", std::wstring(65536, L'a'), 1}}, untouched));
  EXPECT_EQ(untouched, "before");
}

}  // namespace
