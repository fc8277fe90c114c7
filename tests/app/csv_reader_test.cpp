#include "app/csv_reader.h"

#include <gtest/gtest.h>


#include "platform/text.h"
#include "support/test_support.h"

namespace {

using Fields = std::vector<std::wstring>;
using Records = std::vector<Fields>;

class CsvReaderTest : public ::testing::Test {
 protected:
  // Every record of the file, read as the game's loaders do.
  Records Read(const std::string& bytes, bool keepEmpty) {
    cCsvReader reader(plat::FromUtf8(dir_.Write("t.csv", bytes)));
    EXPECT_TRUE(reader.IsOpened());
    Records records;
    while (!reader.AtEnd()) {
      const std::uint16_t count = reader.ReadRecord(keepEmpty);
      EXPECT_EQ(count, reader.FieldCount());
      records.push_back(reader.Fields());
    }
    return records;
  }
  twtest::TempDir dir_;
};

TEST_F(CsvReaderTest, FieldAndCommentRules) {
  const struct {
    std::string bytes;
    bool keepEmpty;
    Records want;
  } cases[] = {
      {"#id;name\r\n1;abc\r\n", false, {{}, {L"1", L"abc"}, {}}},  // the last LF is a record of its own
      {"a;b\r\nc;d", false, {{L"a", L"b"}, {L"c", L"d"}}},
      {"a;b\nc;d\n", false, {{L"a", L"bc", L"d"}}},  // LF alone ends nothing
      {"a;;b;\r\n\r\n", false, {{L"a", L"b"}, {}, {}}},
      {"a;;b;\r\n\r\n", true, {{L"a", L"", L"b", L""}, {L""}, {L""}}},
      {"a;#b;c#d\r\n;;#x;y\r\n #z\r\n#q;r", false, {{L"a", L"#b", L"c#d"}, {}, {L" #z"}, {}}},
      {";#x;y\r\n#q;r", true, {{L"", L"#x", L"y"}, {}}},  // a kept empty field comes before the '#'
      {"\x80;\xE9t\xE9\r\n\x9C", false, {{L"\u20AC", L"\u00E9t\u00E9"}, {L"\u0153"}}},  // Windows-1252
      {std::string(999, 'x') + ";" + std::string(100000, 'y'), false,
       {{std::wstring(999, L'x'), std::wstring(100000, L'y')}}},  // long fields stay whole
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.bytes, c.keepEmpty), c.want) << ::testing::PrintToString(c.bytes);
}

TEST_F(CsvReaderTest, MissingFileFolderAndWindowsStylePath) {
  for (const std::string& path : {dir_.File("none.csv"), dir_.Path().string()}) {
    cCsvReader missing(plat::FromUtf8(path));
    EXPECT_FALSE(missing.IsOpened());
    EXPECT_TRUE(missing.AtEnd());
    EXPECT_EQ(missing.ReadRecord(true), 0);
  }
  dir_.Write("data/Scen/Fleets.csv", "1;2\r\n");
  cCsvReader reader(plat::FromUtf8(dir_.Path().string()) + L"\\DATA\\scen\\fleets.CSV");
  EXPECT_EQ(reader.ReadRecord(false), 2);
  EXPECT_EQ(reader[1], L"2");
  EXPECT_EQ(reader.LineCounter(), 1);
}

}  // namespace
