#include "app/csv_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text.h"
#include "support/test_support.h"

namespace {

using Fields = std::vector<std::wstring>;

// Every record of the file, read as the game's loaders do.
std::vector<Fields> ReadAll(cCsvReader& reader, bool keepEmpty) {
  std::vector<Fields> records;
  while (!reader.AtEnd()) {
    const std::uint16_t count = reader.ReadRecord(keepEmpty);
    EXPECT_EQ(count, reader.FieldCount());
    records.push_back(reader.Fields());
  }
  return records;
}

// The record rule taken one byte at a time, as plainly as it can be said.
std::vector<Fields> Reference(const std::string& data, bool keepEmpty) {
  std::vector<Fields> records;
  std::size_t pos = 0;
  while (pos < data.size()) {
    Fields fields;
    std::string acc;
    bool comment = false;
    for (;;) {
      const char b = data[pos++];
      const bool atEnd = pos >= data.size();
      if (b != '\n' && b != '\r' && b != ';' && !comment) {
        if (b == '#' && acc.empty() && fields.empty()) comment = true;
        acc += b;
      }
      if (acc.empty() && !keepEmpty) {
        if (b == '\r' || atEnd) break;
        continue;
      }
      if (!comment) {
        if (b == '\r' || b == ';' || atEnd) {
          fields.push_back(plat::WidenAnsi(acc));
          acc.clear();
        } else {
          continue;
        }
      }
      if (b == '\r' || atEnd) break;
    }
    records.push_back(fields);
  }
  return records;
}

class CsvReaderTest : public ::testing::Test {
 protected:
  std::vector<Fields> Read(const std::string& bytes, bool keepEmpty) {
    cCsvReader reader(plat::FromUtf8(dir_.Write("t.csv", bytes)));
    EXPECT_TRUE(reader.IsOpened());
    return ReadAll(reader, keepEmpty);
  }
  twtest::TempDir dir_;
};

TEST_F(CsvReaderTest, HeaderCommentThenRecordWithCrLf) {
  cCsvReader reader(plat::FromUtf8(dir_.Write("units.csv", "#id;name\r\n1;abc\r\n")));
  ASSERT_TRUE(reader.IsOpened());
  EXPECT_EQ(reader.ReadRecord(false), 0);
  EXPECT_EQ(reader.ReadRecord(false), 2);
  EXPECT_EQ(reader.Fields(), (Fields{L"1", L"abc"}));
  EXPECT_EQ(reader[1], L"abc");
  EXPECT_EQ(reader.LineCounter(), 2);
  // The LF after the last CR still forms a record of its own, without fields.
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadRecord(false), 0);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadRecord(false), 0);
  EXPECT_EQ(reader.LineCounter(), 3);
}

TEST_F(CsvReaderTest, LineEnds) {
  EXPECT_EQ(Read("a;b\r\nc;d", false), (std::vector<Fields>{{L"a", L"b"}, {L"c", L"d"}}));
  EXPECT_EQ(Read("a;b\rc", false), (std::vector<Fields>{{L"a", L"b"}, {L"c"}}));
  // LF alone ends nothing: the lines run together into one record.
  EXPECT_EQ(Read("a;b\nc;d\n", false), (std::vector<Fields>{{L"a", L"bc", L"d"}}));
}

TEST_F(CsvReaderTest, EmptyFieldsKeptOrPassedOver) {
  EXPECT_EQ(Read("a;;b;\r\n\r\n", false), (std::vector<Fields>{{L"a", L"b"}, {}, {}}));
  EXPECT_EQ(Read("a;;b;\r\n\r\n", true), (std::vector<Fields>{{L"a", L"", L"b", L""}, {L""}, {L""}}));
  EXPECT_EQ(Read(";a;\r", true), (std::vector<Fields>{{L"", L"a", L""}}));
}

TEST_F(CsvReaderTest, HashStartsACommentOnlyAtTheRecordsFirstField) {
  EXPECT_EQ(Read("a;#b;c#d\r;;#x;y\r #z\r", false),
            (std::vector<Fields>{{L"a", L"#b", L"c#d"}, {}, {L" #z"}}));
  // Kept empty fields count as fields, so the '#' no longer comes first.
  EXPECT_EQ(Read(";#x;y\r#q;r", true), (std::vector<Fields>{{L"", L"#x", L"y"}, {}}));
}

TEST_F(CsvReaderTest, LongFieldsStayWhole) {
  const std::string f999(999, 'x');
  const std::string f100k(100000, 'y');
  const auto records = Read(f999 + ";" + f100k + "\r\n" + f100k, false);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (Fields{std::wstring(999, L'x'), std::wstring(100000, L'y')}));
  EXPECT_EQ(records[1], (Fields{std::wstring(100000, L'y')}));
}

TEST_F(CsvReaderTest, Windows1252BytesAreWidened) {
  EXPECT_EQ(Read("\x80;\xE9t\xE9\r\x9C", false), (std::vector<Fields>{{L"\u20AC", L"\u00E9t\u00E9"}, {L"\u0153"}}));
}

TEST_F(CsvReaderTest, FieldCountFollowsEachRecord) {
  cCsvReader reader(plat::FromUtf8(dir_.Write("t.csv", "a;b;c;d\r\nlong field;x\r\n#c\r\nq;r;s;t;u\r")));
  EXPECT_EQ(reader.ReadRecord(false), 4);
  EXPECT_EQ(reader.ReadRecord(false), 2);
  EXPECT_EQ(reader.Fields(), (Fields{L"long field", L"x"}));
  EXPECT_EQ(reader.ReadRecord(false), 0);
  EXPECT_TRUE(reader.Fields().empty());
  EXPECT_EQ(reader.ReadRecord(false), 5);
  EXPECT_EQ(reader.Fields(), (Fields{L"q", L"r", L"s", L"t", L"u"}));
  EXPECT_TRUE(reader.AtEnd());
}

TEST_F(CsvReaderTest, MissingEmptyClosedAndReopened) {
  cCsvReader missing(plat::FromUtf8(dir_.File("none.csv")));
  EXPECT_FALSE(missing.IsOpened());
  EXPECT_TRUE(missing.AtEnd());
  EXPECT_EQ(missing.ReadRecord(true), 0);

  cCsvReader folder(plat::FromUtf8(dir_.Path().string()));
  EXPECT_FALSE(folder.IsOpened());
  EXPECT_TRUE(folder.AtEnd());

  cCsvReader empty(plat::FromUtf8(dir_.Write("empty.csv", "")));
  EXPECT_TRUE(empty.IsOpened());
  EXPECT_TRUE(empty.AtEnd());

  dir_.Write("data/Scen/Fleets.csv", "1;2\r\n");
  cCsvReader reader(plat::FromUtf8(dir_.Path().string()) + L"\\DATA\\scen\\fleets.CSV");
  ASSERT_TRUE(reader.IsOpened());
  EXPECT_EQ(reader.ReadRecord(false), 2);
  reader.Close();
  EXPECT_FALSE(reader.IsOpened());
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.LineCounter(), 0);
  EXPECT_EQ(reader.Fields(), (Fields{L"1", L"2"}));  // Close leaves the last record
  reader.Open(plat::FromUtf8(dir_.Write("b.csv", "z\r")));
  EXPECT_EQ(reader.ReadRecord(false), 1);
  EXPECT_EQ(reader[0], L"z");
  EXPECT_TRUE(reader.AtEnd());
}

// Random files over the bytes that matter, read run by run by the reader and
// byte by byte by the reference above.
TEST_F(CsvReaderTest, MatchesTheByteRuleOnRandomData) {
  const char alphabet[] = {'a', 'b', '#', ';', ';', '\r', '\n', '\xE9', ' '};
  std::mt19937 random(12345);
  for (int round = 0; round < 400; ++round) {
    std::string bytes(1 + random() % 40, ' ');
    for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
    for (bool keep : {false, true}) {
      ASSERT_EQ(Read(bytes, keep), Reference(bytes, keep)) << "keep " << keep << " data " << ::testing::PrintToString(bytes);
    }
  }
}

}  // namespace
