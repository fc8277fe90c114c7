// "reports.dat", the automatic-events repository and the eye candies.
#include <gtest/gtest.h>

#include <string>

#include "files/auto_events_file.h"
#include "files/eye_candies_file.h"
#include "files/reports_file.h"
#include "files_fixture.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// One report of type 18 from country 2, 11 May 1940, impulse 3, text "Hi".
const std::string kExample = "Tdwv1" + Bytes({1, 0, 0, 0, 18, 0, 0, 0,      // N, type
                                              0x94, 0x07, 0, 0, 5, 0, 0, 0,  // year 1940, month
                                              11, 0, 0, 0, 3, 0, 0, 0,       // day, impulse
                                              1, 0, 0, 0, 2, 0, 0, 0,        // the further int, country id
                                              2, 0, 0, 0, 'H', 0, 'i', 0});  // L, the text

const sReport kReport{.type = 18, .year = 1940, .month = 5, .day = 11, .impulse = 3, .countryId = 2, .text = L"Hi"};

TEST(ReportsFile, ExampleBytesBothWays) {
  ASSERT_EQ(kExample.size(), 45u);
  cReportStore store;
  store.Reports().push_back(kReport);
  EXPECT_EQ(ReportsToBytes(store), kExample);

  twtest::TempDir dir;
  dir.Write("reports.dat", kExample);
  cReportStore read;
  read.Reports().push_back(sReport{});  // emptied by the load
  LoadReports(read, dir.Path().wstring() + L"\\%s");
  ASSERT_EQ(read.Reports().size(), 1u);
  EXPECT_EQ(read.Reports().front(), kReport);
}

TEST(ReportsFile, SaveLoadKeepsEveryField) {
  cReportStore store;
  store.Reports().push_back(kReport);
  store.Reports().push_back(sReport{.countryId = 9, .extra = -7, .text = {}});  // L = 0: no text bytes
  sReport wide = kReport;
  wide.text = L"Kraków \U0001F6A2";  // a surrogate pair in the file
  store.Reports().push_back(wide);
  twtest::TempDir dir;
  SaveReports(store, dir.Path().wstring());
  cReportStore read;
  LoadReports(read, dir.Path().wstring() + L"\\%s");
  EXPECT_EQ(read.Reports(), store.Reports());
  EXPECT_EQ(twtest::ReadFile(dir.File("reports.dat")).size(), 9u + 3 * 32 + 2 * 2 + 2 * 9);

  // Only the magic and N = 0; a negative N and a negative L read nothing.
  std::string negativeL = kExample;
  negativeL.replace(37, 8, Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ReportsFromBytes(read, negativeL), eReportsRead::kOk);
  EXPECT_EQ(read.Reports().front().text, L"");
  EXPECT_EQ(ReportsFromBytes(read, "Tdwv2" + Bytes({0, 0, 0, 0})), eReportsRead::kWrongMagic);
}

// The fatal exit of a truncated file is among the files' fatal paths; here
// where a file ends too soon.
TEST(ReportsFile, TruncationAnywhereIsFoundAndAWrongMagicIsNoError) {
  cReportStore store;
  for (std::size_t size : {std::size_t{7}, std::size_t{20}, std::size_t{44}}) {
    EXPECT_EQ(ReportsFromBytes(store, kExample.substr(0, size)), eReportsRead::kTruncated) << size;
  }
  // A huge count or length with few bytes behind it is truncation, not an
  // allocation.
  std::string huge = kExample;
  huge.replace(37, 4, Bytes({0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(ReportsFromBytes(store, huge), eReportsRead::kTruncated);

  // A wrong magic: the list stays empty, which a WARNING names.
  twtest::TempDir dir;
  dir.Write("reports.dat", "Tdwv0");
  twtest::LogCapture log;
  store.Reports().push_back(kReport);
  LoadReports(store, dir.Path().wstring() + L"\\%s");
  EXPECT_TRUE(store.Reports().empty());
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"WARNING: " + dir.Path().wstring() +
                                                   L"\\reports.dat does not start with \"Tdwv1\"; the game goes on "
                                                   L"without its reports"});
}

TEST(AutoEvents, AddKeepsFirstAndFileRoundTrips) {
  cAutoEventsRepository repo;
  EXPECT_TRUE(repo.Add(5, 2) && !repo.Add(5, 3) && repo.Add(-1, 7));
  EXPECT_EQ(repo.Pairs(), (std::list<cAutoEventsRepository::Pair>{{5, 2}, {-1, 7}}));
  twtest::TempDir dir;
  SaveAutoEvents(repo, dir.Path().wstring());
  EXPECT_EQ(twtest::ReadFile(dir.File("auto_events.csv")), "5;2\r\n-1;7\r\n");
  dir.Write("auto_events.csv", "#c\r\n5;2\r\n\r\n9;;1\r\n-1;4\r\n");
  cAutoEventsRepository read;
  read.Add(100, 1);
  twtest::LogCapture log;
  LoadAutoEvents(read, dir.Path().wstring() + L"\\%s");
  EXPECT_EQ(read.Pairs(), (std::list<cAutoEventsRepository::Pair>{{5, 2}, {9, 1}, {-1, 4}}));
  EXPECT_TRUE(log.Contains(L"empty_line..."));
  // An id is a whole number, never the number a text starts with; the game
  // writes an event once.
  const std::wstring path = dir.Path().wstring() + L"\\auto_events.csv";
  cScopedThrowingFatalHook hook;
  for (const auto& [text, line] :
       {std::pair("5;2\r9;1x\n", L"line 2 column 2: option id \"1x\" is not a whole number"),
        {"5;2\r\n9;1\r\n5;3\r\n", L"line 3: event 5 is given twice, on lines 1 and 3; the saved game is damaged"}}) {
    dir.Write("auto_events.csv", text);
    EXPECT_EQ(filestest::FatalLine(log, [&] { LoadAutoEvents(read, dir.Path().wstring() + L"\\%s"); }),
              L"ERROR: " + path + L" " + line);
  }
}

TEST(EyeCandies, EntriesFillTheirHexes) {
  twtest::TempDir dir;
  const std::wstring folder = dir.Path().wstring();
  dir.Write("eyecandies.csv",
            "# x;y;d;c0;r0;c1;r1;c2;r2\r\n"
            "1;2;39;0;0;1;2;3;4\r\n"
            "  \r\n"
            "3;0;29;2;1;0;0;0;0\r\n"
            "1;1;39;0\r\n"
            "1;1;3x;0;0;0;0;0;0\r\n"
            "1;1;39;0;0;0;0;0\r\n"
            "9;9;39;0;0;0;0;0;0\r\n"
            "3;0;39;1;1;1;1;1;1\r\n"
            "2;0;39;0;0;0\r\n");
  std::vector<sEyeCandy> records(4 * 3);
  for (auto& r : records) r.Reset();
  twtest::LogCapture log;
  LoadEyeCandies(records, 4, 3, folder);
  const sEyeCandy& a = records[2 * 4 + 1];
  EXPECT_FLOAT_EQ(a.scale, 0.6f);
  EXPECT_EQ(std::vector<std::uint32_t>(a.words, a.words + 6), (std::vector<std::uint32_t>{1, 1, 168, 335, 502, 669}));
  // The later line for (3, 0) replaced the earlier one, named with it.
  EXPECT_EQ(records[3].words[0], 168u);
  EXPECT_TRUE(log.Contains(L"WARNING: " + folder +
                           L"/eyecandies.csv line 9: hex (3, 0) is given twice, on lines 4 and 9; the later row is kept"));
  const std::wstring formatError = L"ERROR incorrect entry data format in " + folder + L"/eyecandies.csv: ";
  EXPECT_EQ(filestest::CountLines(log, formatError), 3);  // a letter, eight fields, six fields
  EXPECT_EQ(records[1 * 4 + 1].words[2], 0u);  // nothing written by the bad lines
  // Each line left out is warned about with its line number.
  const std::wstring warning = L"WARNING: " + folder + L"/eyecandies.csv line ";
  for (const std::wstring line : {L"5: 4 fields where 9 are needed", L"6: nine whole numbers are needed",
                                  L"8: hex (9, 9) is outside the map", L"10: nine whole numbers are needed"}) {
    EXPECT_TRUE(log.Contains(warning + line + L"; the row is skipped")) << ::testing::PrintToString(line);
  }
  EXPECT_EQ(filestest::CountLines(log, L"WARNING: "), 6);
}

}  // namespace
