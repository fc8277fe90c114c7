// Every fatal path of the scenario and save files: the line it logs and the
// exit code, seen through the throwing hook instead of an ended process.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "files/ai_data_file.h"
#include "files/auto_events_file.h"
#include "files/cities_file.h"
#include "files/city_rows_file.h"
#include "files/consts_file.h"
#include "files/countries_file.h"
#include "files/fleet_files.h"
#include "files/reports_file.h"
#include "files/topography_file.h"
#include "files/unit_files.h"
#include "files_fixture.h"
#include "platform/text.h"

namespace {

using LoadFn = std::function<void(cWorld&, const std::wstring& folder)>;

struct sFatalCase {
  const char* file;                  // written into the folder first, unless bytes is empty
  std::optional<std::string> bytes;  // none: the file is missing
  LoadFn load;
  std::wstring line;  // "@" stands for the folder and its separator
};

std::wstring Pattern(const std::wstring& folder) { return folder + L"\\%s"; }

// A reader of the folder's files into the test's world or a fresh Record.
template <typename Record, auto Load>
void Read(cWorld& world, const std::wstring& folder) {
  if constexpr (std::is_same_v<Record, cWorld>) {
    Load(world, Pattern(folder));
  } else {
    Record record;
    Load(record, Pattern(folder));
  }
}

TEST(FilesFatalPaths, LogTheirLineAndExitWithOne) {
  const std::wstring kMissing = L"Blad otwarcia pliku! (nie istnieje?)";
  const std::wstring kNotThere = L"error_opening_file!_(not_exists?)";
  const std::vector<sFatalCase> cases = {
      {"consts.csv", {},
       [](cWorld&, const std::wstring& f) {
         sScenarioConstants c;
         LoadScenarioConstantsFile(c, f + L"\\consts.csv");
       },
       kMissing},
      {"consts.csv", {},
       [](cWorld&, const std::wstring& f) { WriteConstsFile(f + L"\\no\\consts.csv", sScenarioConstants()); },
       L"Error opening file for writing"},
      {"countries.csv", {}, Read<cWorld, LoadCountries>, kMissing},
      {"cities.csv", {}, Read<cWorld, LoadCities>, kMissing},
      {"land_units.csv", {}, Read<cWorld, LoadLandUnits>, kMissing},
      {"air_units.csv", {}, Read<cWorld, LoadAirUnits>, kMissing},
      {"naval_units.csv", {}, Read<cWorld, LoadNavalUnits>, kMissing},
      {"ai_data.csv", {}, Read<cWorld, LoadAiData>, kMissing},
      {"auto_events.csv", {}, Read<cAutoEventsRepository, LoadAutoEvents>, kMissing},
      {"auto_events.csv", "1;2;3\r\n", Read<cAutoEventsRepository, LoadAutoEvents>,
       L"error:_cannot_handle_word_from_column_3_for_auto_events_repository."},
      {"flags.txt", {},
       [](cWorld&, const std::wstring& f) {
         std::vector<int> flags;
         LoadFlags(Pattern(f), flags, files::eRowLoss::kWarn);
       },
       L"Blad otwarcia pliku (nie istnieje?)"},
      {"topography.csv", {}, Read<cWorld, LoadTopography>, kNotThere},
      {"topography.csv", "Country;1;\r\nRiver;3;\r\n", Read<cWorld, LoadTopography>,
       L"ERROR: line 2 in topography.csv has incorrect variable name (River)!"},
      {"cities_supply_info.csv", {}, Read<cWorld, LoadCitiesSupplyInfo>, kNotThere},
      {"reports.dat", {}, Read<cReportStore, LoadReports>, L"ERROR: Opening reports file for reading"},
      {"reports.dat", std::string("Tdwv1\x01\x00", 7), Read<cReportStore, LoadReports>,
       L"ERROR: Reports file @reports.dat is truncated"},
  };
  for (const sFatalCase& c : cases) {
    twtest::TempDir dir;
    if (c.bytes) dir.Write(c.file, *c.bytes);
    const std::wstring folder = dir.Path().wstring();
    std::wstring line = c.line;
    if (const auto at = line.find(L'@'); at != std::wstring::npos) line.replace(at, 1, folder + L"\\");
    cWorld world;
    cScopedThrowingFatalHook hook;
    twtest::LogCapture log;
    const std::wstring last = filestest::FatalLine(log, [&] { c.load(world, folder); });
    EXPECT_TRUE(log.Contains(line)) << c.file << ": " << plat::NarrowBytes(last);
  }
}

}  // namespace
