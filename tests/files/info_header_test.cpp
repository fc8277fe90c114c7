// The header of a folder as a load reads it: numbers whole and in range,
// and a scenario name that names a folder; the file is named in every line.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/fatal_exit.h"
#include "files/info_ini_file.h"
#include "files_fixture.h"
#include "support/test_support.h"

namespace {

struct InfoHeader : ::testing::Test {
  std::wstring Pattern() const { return dir.Path().wstring() + L"\\%s"; }
  std::wstring Path() const { return dir.Path().wstring() + L"\\Info.ini"; }
  twtest::TempDir dir;
  twtest::LogCapture log;
};

TEST_F(InfoHeader, DaysAndCountsOutOfRangeAreClampedWithAWarning) {
  dir.Write("Info.ini",
            "[Save]\r\nScenarioName=Fixture\r\nGameDay=40\rGameMonth=12\nGameYear=1940\r\nTurn=-3\r\nImpulse=2\r\n"
            "[Duration]\r\nTurns=-1\r\n");
  const sInfoHeader h = LoadInfoHeader(Pattern());
  EXPECT_EQ(std::tuple(h.gameDay, h.gameMonth, h.gameYear, h.turn, h.impulse, h.turnsLeft),
            std::tuple(31, 12, 1940, 0, 2, 0));
  for (const std::wstring line : {L"Save/GameDay 40 is out of range (1 to 31); taken as 31",
                                  L"Save/Turn -3 is out of range (0 to 2147483647); taken as 0",
                                  L"Duration/Turns -1 is out of range (0 to 2147483647); taken as 0"}) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + Path() + L": " + line)) << ::testing::PrintToString(line);
  }
}

TEST_F(InfoHeader, MonthsYearsTextAndMissingNamesEndTheLoadNamingTheFile) {
  cScopedThrowingFatalHook hook;
  const std::pair<const char*, std::wstring> cases[] = {
      {"[Save]\nScenarioName=F\nGameMonth=13\nGameYear=1940\n", L"Save/GameMonth 13 is out of range (1 to 12)"},
      {"[Save]\nScenarioName=F\nGameMonth=1\nGameYear=19x40\n", L"Save/GameYear \"19x40\" is not a whole number"},
      {"[Save]\nScenarioName=F\nGameMonth=1\nGameYear=4294969235\n",
       L"Save/GameYear \"4294969235\" is not a whole number"},
      {"[Save]\nScenarioName=F\nGameYear=1940\n", L"Save/GameMonth is missing (taken as 0, outside 1 to 12)"},
      {"[Save]\nGameMonth=1\nGameYear=1940\n", L"Save/ScenarioName \"unknown\" names no scenario folder"},
      {"[Save]\nScenarioName=..\\x\nGameMonth=1\nGameYear=1940\n", L"Save/ScenarioName \"..\\x\" names no scenario folder"},
  };
  for (const auto& [text, line] : cases) {
    dir.Write("Info.ini", text);
    EXPECT_EQ(filestest::FatalLine(log, [&] { LoadInfoHeader(Pattern()); }), L"ERROR: " + Path() + L": " + line);
  }
  // A missing header is said so before its defaults fail the same way.
  twtest::TempDir empty;
  EXPECT_THROW(LoadInfoHeader(empty.Path().wstring() + L"\\%s"), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"WARNING: " + empty.Path().wstring() +
                           L"\\Info.ini cannot be read; the header's defaults are taken"));
}

}  // namespace
