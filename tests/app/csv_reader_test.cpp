#include "app/csv_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text.h"
#include "support/test_support.h"

namespace {

using Fields = std::vector<std::wstring>;
using Records = std::vector<Fields>;

// The record rule taken one byte at a time, as plainly as it can be said.
Records Reference(const std::string& data, bool keepEmpty) {
  Records records;
  for (std::size_t pos = 0; pos < data.size();) {
    Fields fields;
    std::string acc;
    bool comment = false;
    for (bool end = false; !end;) {
      const char b = data[pos++];
      end = b == '\r' || pos >= data.size();
      if (b != '\n' && b != '\r' && b != ';' && !comment) {
        comment = b == '#' && acc.empty() && fields.empty();
        acc += b;
      }
      if ((keepEmpty || !acc.empty()) && !comment && (b == ';' || end)) {
        fields.push_back(plat::WidenAnsi(acc));
        acc.clear();
      }
    }
    records.push_back(fields);
  }
  return records;
}

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
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.bytes, c.keepEmpty), c.want) << ::testing::PrintToString(c.bytes);
}

TEST_F(CsvReaderTest, LongFieldsStayWhole) {
  const std::string f999(999, 'x'), f100k(100000, 'y');
  EXPECT_EQ(Read(f999 + ";" + f100k + "\r\n" + f100k, false),
            (Records{{std::wstring(999, L'x'), std::wstring(100000, L'y')}, {std::wstring(100000, L'y')}}));
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

TEST_F(CsvReaderTest, MatchesTheByteRuleOnRandomData) {
  const char alphabet[] = {'a', 'b', '#', ';', ';', '\r', '\n', '\xE9', ' '};
  std::mt19937 random(12345);
  for (int round = 0; round < 400; ++round) {
    std::string bytes(1 + random() % 40, ' ');
    for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
    for (bool keep : {false, true}) {
      ASSERT_EQ(Read(bytes, keep), Reference(bytes, keep)) << keep << ::testing::PrintToString(bytes);
    }
  }
}

}  // namespace
