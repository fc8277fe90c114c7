// Every fatal path of the scenario and save files: the line it logs and the
// exit code, seen through the throwing hook instead of an ended process.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/ai_data_file.h"
#include "files/auto_events_file.h"
#include "files/cities_file.h"
#include "files/city_rows_file.h"
#include "files/consts_file.h"
#include "files/countries_file.h"
#include "app/fatal_exit.h"
#include "files/fleet_files.h"
#include "files/reports_file.h"
#include "files/topography_file.h"
#include "files/unit_files.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

using LoadFn = std::function<void(cWorld&, const std::wstring& folder)>;

struct sFatalCase {
  const char* file;                  // written into the folder first, unless bytes is empty
  std::optional<std::string> bytes;  // none: the file is missing
  LoadFn load;
  std::wstring line;  // "@" stands for the folder and its separator
};

std::wstring Pattern(const std::wstring& folder) { return folder + L"\\%s"; }

TEST(FilesFatalPaths, LogTheirLineAndExitWithOne) {
  const std::wstring kMissing = L"Blad otwarcia pliku! (nie istnieje?)";
  const std::vector<sFatalCase> cases = {
      {"consts.csv", {}, [](cWorld&, const std::wstring& f) { sScenarioConstants c; LoadScenarioConstantsFile(c, f + L"\\consts.csv"); },
       kMissing},
      {"consts.csv", {},
       [](cWorld&, const std::wstring& f) { WriteConstsFile(f + L"\\no\\consts.csv", sScenarioConstants()); },
       L"Error opening file for writing"},
      {"countries.csv", {}, [](cWorld& w, const std::wstring& f) { LoadCountries(w, Pattern(f)); }, kMissing},
      {"cities.csv", {}, [](cWorld& w, const std::wstring& f) { LoadCities(w, Pattern(f)); }, kMissing},
      {"land_units.csv", {}, [](cWorld& w, const std::wstring& f) { LoadLandUnits(w, Pattern(f)); }, kMissing},
      {"air_units.csv", {}, [](cWorld& w, const std::wstring& f) { LoadAirUnits(w, Pattern(f)); }, kMissing},
      {"naval_units.csv", {},
       [](cWorld& w, const std::wstring& f) { LoadNavalUnits(w, Pattern(f)); },
       kMissing},
      {"ai_data.csv", {}, [](cWorld& w, const std::wstring& f) { LoadAiData(w, Pattern(f)); }, kMissing},
      {"auto_events.csv", {}, [](cWorld&, const std::wstring& f) { cAutoEventsRepository r; LoadAutoEvents(r, Pattern(f)); },
       kMissing},
      {"auto_events.csv", "1;2;3\r\n",
       [](cWorld&, const std::wstring& f) { cAutoEventsRepository r; LoadAutoEvents(r, Pattern(f)); },
       L"error:_cannot_handle_word_from_column_3_for_auto_events_repository."},
      {"flags.txt", {},
       [](cWorld&, const std::wstring& f) {
         std::vector<int> flags;
         LoadFlags(Pattern(f), flags);
       },
       L"Blad otwarcia pliku (nie istnieje?)"},
      {"topography.csv", {}, [](cWorld& w, const std::wstring& f) { LoadTopography(w, Pattern(f)); },
       L"error_opening_file!_(not_exists?)"},
      {"topography.csv", "Country;1;\r\nRiver;3;\r\n",
       [](cWorld& w, const std::wstring& f) { LoadTopography(w, Pattern(f)); },
       L"ERROR: line 2 in topography.csv has incorrect variable name (River)!"},
      {"cities_supply_info.csv", {}, [](cWorld& w, const std::wstring& f) { LoadCitiesSupplyInfo(w, Pattern(f)); },
       L"error_opening_file!_(not_exists?)"},
      {"reports.dat", {}, [](cWorld&, const std::wstring& f) { cReportStore store; LoadReports(store, Pattern(f)); },
       L"ERROR: Opening reports file for reading"},
      {"reports.dat", std::string("Tdwv1\x01\x00", 7),
       [](cWorld&, const std::wstring& f) { cReportStore store; LoadReports(store, Pattern(f)); },
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
    try {
      c.load(world, folder);
      ADD_FAILURE() << "no fatal exit for " << c.file;
    } catch (const sFatalExitError& e) {
      EXPECT_EQ(e.exitCode, 1) << c.file;
    }
    EXPECT_TRUE(log.Contains(line)) << c.file << ": " << (log.Lines().empty() ? "" : plat::NarrowBytes(log.Lines().back()));
  }
}

}  // namespace
