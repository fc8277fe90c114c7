// "reports.dat", the automatic-events repository and the eye candies.
#include <gtest/gtest.h>

#include <string>

#include "files/auto_events_file.h"
#include "files/eye_candies_file.h"
#include "app/fatal_exit.h"
#include "files/reports_file.h"
#include "support/test_support.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// One report of type 18 from country 2, 11 May 1940, impulse 3, text "Hi".
const std::string kExample = "Tdwv1" + Bytes({1, 0, 0, 0,                 // N
                                              18, 0, 0, 0,                // type
                                              0x94, 0x07, 0, 0,           // year 1940
                                              5, 0, 0, 0,                 // month
                                              11, 0, 0, 0,                // day
                                              3, 0, 0, 0,                 // impulse
                                              1, 0, 0, 0,                 // the further int
                                              2, 0, 0, 0,                 // country id
                                              2, 0, 0, 0,                 // L
                                              'H', 0, 'i', 0});

sReport ExampleReport() {
  sReport r;
  r.type = 18;
  r.year = 1940;
  r.month = 5;
  r.day = 11;
  r.impulse = 3;
  r.countryId = 2;
  r.text = L"Hi";
  return r;
}

TEST(ReportsFile, ExampleBytesBothWays) {
  ASSERT_EQ(kExample.size(), 45u);
  cReportStore store;
  store.Reports().push_back(ExampleReport());
  EXPECT_EQ(ReportsToBytes(store), kExample);

  twtest::TempDir dir;
  dir.Write("reports.dat", kExample);
  cReportStore read;
  read.Reports().push_back(sReport{});  // emptied by the load
  LoadReports(read, dir.Path().wstring() + L"\\%s");
  ASSERT_EQ(read.Reports().size(), 1u);
  EXPECT_EQ(read.Reports().front(), ExampleReport());
}

TEST(ReportsFile, SaveLoadKeepsEveryField) {
  cReportStore store;
  store.Reports().push_back(ExampleReport());
  sReport empty;  // L = 0: no text bytes
  empty.extra = -7;
  empty.countryId = 9;
  store.Reports().push_back(empty);
  sReport wide = ExampleReport();
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

TEST(ReportsFile, TruncatedFileIsFatal) {
  twtest::TempDir dir;
  const std::wstring pattern = dir.Path().wstring() + L"\\%s";
  cScopedThrowingFatalHook hook;
  for (std::size_t size : {std::size_t{7}, std::size_t{20}, std::size_t{44}}) {
    dir.Write("reports.dat", kExample.substr(0, size));
    cReportStore store;
    twtest::LogCapture log;
    EXPECT_THROW(LoadReports(store, pattern), sFatalExitError) << size;
    EXPECT_TRUE(log.Contains(L"ERROR: Reports file " + dir.Path().wstring() + L"\\reports.dat is truncated"));
    EXPECT_TRUE(store.Reports().empty());
  }
  // A huge count or length with few bytes behind it is truncation, not an
  // allocation.
  std::string huge = kExample;
  huge.replace(37, 4, Bytes({0xFF, 0xFF, 0xFF, 0x7F}));
  cReportStore store;
  EXPECT_EQ(ReportsFromBytes(store, huge), eReportsRead::kTruncated);

  // A wrong magic is no error: the list stays empty and nothing is logged.
  dir.Write("reports.dat", "Tdwv0");
  {
    twtest::LogCapture log;
    LoadReports(store, pattern);
    EXPECT_TRUE(log.Lines().empty());
  }
}

TEST(AutoEvents, AddKeepsFirstAndFileRoundTrips) {
  cAutoEventsRepository repo;
  EXPECT_TRUE(repo.Add(5, 2));
  EXPECT_FALSE(repo.Add(5, 3));
  EXPECT_TRUE(repo.Add(-1, 7));
  EXPECT_EQ(repo.Find(5)->second, 2);
  EXPECT_EQ(repo.Find(6), repo.end());
  twtest::TempDir dir;
  SaveAutoEvents(repo, dir.Path().wstring());
  EXPECT_EQ(twtest::ReadFile(dir.File("auto_events.csv")), "5;2\r\n-1;7\r\n");
  dir.Write("auto_events.csv", "#c\r\n5;2\r\n\r\n9;;1\r\n9;4\r\n");
  cAutoEventsRepository read;
  read.Add(100, 1);
  twtest::LogCapture log;
  LoadAutoEvents(read, dir.Path().wstring() + L"\\%s");
  // Loading keeps duplicates as the file has them.
  EXPECT_EQ(read.Pairs(), (std::list<cAutoEventsRepository::Pair>{{5, 2}, {9, 1}, {9, 4}}));
  EXPECT_TRUE(log.Contains(L"empty_line..."));
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
  // The later line for (3, 0) replaced the earlier one.
  EXPECT_EQ(records[3].words[0], 168u);
  int formatErrors = 0;
  for (const auto& l : log.Lines()) {
    formatErrors += l.rfind(L"ERROR incorrect entry data format in " + folder + L"/eyecandies.csv: ", 0) == 0;
  }
  EXPECT_EQ(formatErrors, 3);  // a letter, eight fields, six fields
  EXPECT_EQ(records[1 * 4 + 1].words[2], 0u);  // nothing written by the bad lines
}

TEST(EyeCandies, MissingFileIsLogged) {
  twtest::TempDir dir;
  std::vector<sEyeCandy> records(4);
  twtest::LogCapture log;
  LoadEyeCandies(records, 2, 2, dir.Path().wstring());
  EXPECT_TRUE(log.Contains(L"ERROR unable to load eyecandies data from " + dir.Path().wstring() + L"/eyecandies.csv"));
  EXPECT_FLOAT_EQ(records[0].scale, -1.0f);
}

}  // namespace
