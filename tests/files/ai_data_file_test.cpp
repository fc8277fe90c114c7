#include <gtest/gtest.h>

#include <string>

#include "files/ai_data_file.h"
#include "files_fixture.h"
#include "platform/text.h"
#include "support/world_builders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

constexpr const char* kMap = "size 5 5\nterrain\nppppp\nppppp\nppppp\nppppp\nppppp\n";

// Two countries on a 5 x 5 map with a port at (1, 1) and a town at (3, 2).
class AiWorld {
 public:
  AiWorld() {
    std::string error;
    EXPECT_TRUE(BuildMapFromText(kMap, world.GetMap(), error)) << error;
    port = &twtest::AddCity(world, 1, 1, kCityPort, L"Port");
    town = &twtest::AddCity(world, 3, 2, kCityNormal, L"Town");
    twtest::AddCountry(world);
    twtest::AddCountry(world);
  }
  sCountryAiData& Ai(int id) { return world.GetCountry(id)->aiData; }

  cWorld world;
  cCity* port = nullptr;
  cCity* town = nullptr;
};

class AiDataFile : public ::testing::Test {
 protected:
  std::wstring Pattern() const { return plat::WidenAnsi(dir_.Path().string()) + L"/%s"; }
  void Load(AiWorld& w, const std::string& text) {
    dir_.Write("ai_data.csv", text);
    LoadAiData(w.world, Pattern());
  }
  // The log line of a fatal load.
  std::wstring FatalLine(const std::string& text) {
    AiWorld w;
    return filestest::FatalLine(log_, [&] { Load(w, text); });
  }

  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cScopedThrowingFatalHook hook_;
};

// The format, lists left out when empty, is that of the scenarios' files,
// which a save leaves unchanged (the world loader's round trip).
TEST_F(AiDataFile, RoundTripThroughTheSaveFolder) {
  AiWorld saved;
  sCountryAiData& d = saved.Ai(2);
  d.makesSeaInvasions = true;
  d.maxNumberOfFrontsForSeaInvasion = 4;
  d.currentSeaInvasionTarget = 17;
  d.obligatorySeaInvasionTargets = {saved.port};
  d.currentTargets = {{1, 2, 3}, {-4, 5, 6}};
  d.doNotAttackCities = {saved.town, saved.port};
  d.extraCitiesToGarrison = {saved.town};
  d.seaZonesToPatrol = twtest::PatrolZones({{12, 7}, {3, 40}});  // not in zone order: the file's order stays
  d.purchaseQueue = {5, 5, 20};
  d.desiredLandForcesStructure = {1, 2, 3, 4, 5};
  d.desiredTechLevels = {7, 6, 5, 4, 3, 2, 1};
  d.newUnitPurchasePreferences = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  d.newUnitPurchaseCounts = {1, 2, 3};
  d.newUnitPurchaseWeights = {0.5f, 1.25f, -2.0f};
  d.oneSideAttackPreferences = {6, 5, 4};
  d.countriesToPress = {1};
  d.transportsUnitsToFrontsBySea = true;
  d.minRatioToPatchFront = 1.75f;
  d.maxSafeMoveCost = 8;
  d.shoreBombardmentSingleUse = {0.5f, 0.25f};
  d.carrierTargetsPriorities = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  WriteAiData(saved.world, plat::WidenAnsi(dir_.Path().string()));

  AiWorld loaded;
  LoadAiData(loaded.world, Pattern());
  // Writing the loaded data again gives the same text: every value survived.
  EXPECT_EQ(FormatAiDataText(loaded.world), FormatAiDataText(saved.world));
  EXPECT_EQ(loaded.Ai(2).seaZonesToPatrol, twtest::PatrolZones({{12, 7}, {3, 40}}));
  // The cities named by their hexes are the loaded world's own.
  EXPECT_EQ(loaded.Ai(2).doNotAttackCities, (std::vector<cCity*>{loaded.town, loaded.port}));
}

TEST_F(AiDataFile, FatalLines) {
  EXPECT_EQ(FatalLine("Country;1\r\nMakesSeaInvasion;1"),
            L"ERROR: line 2 in ai_data.csv has incorrect variable name (MakesSeaInvasion)!");
  EXPECT_EQ(FatalLine("Country;1\r\n#x\r\nDoNotAttackCities;3;2;2;2"),
            L"ERROR (ai_data.csv, line 3): There is no city at coords (2,2)");
  EXPECT_EQ(FatalLine("Country;1\r\nExtraCitiesToGarrison;-1;99999"),
            L"ERROR (ai_data.csv, line 2): There is no city at coords (-1,99999)");
  EXPECT_EQ(FatalLine("Country;2\r\nObligatorySeaInvasionTargets;1;1;3;2"),
            L"ERROR(ai_data.csv, line 2): City at coords (3, 2) is not a port");
  EXPECT_EQ(FatalLine("Country;3\r\n"), L"ERROR: line 1 in ai_data.csv names country ID 3, which does not exist!");
  EXPECT_EQ(FatalLine("Country;0\r\n"), L"ERROR: line 1 in ai_data.csv names country ID 0, which does not exist!");
  EXPECT_EQ(FatalLine("MaxSafeMoveCost;3\r\nCountry;1"),
            L"ERROR: line 1 in ai_data.csv gives values before a Country line!");
  // A value is a whole number (or a decimal one where the key takes one),
  // never the number a text starts with; the error names file, line, column.
  const std::wstring path = plat::WidenAnsi(dir_.Path().string()) + L"/ai_data.csv";
  EXPECT_EQ(FatalLine("Country;1\nMaxSafeMoveCost;3x"),
            L"ERROR: " + path + L" line 2 column 2: value \"3x\" is not a whole number");
  EXPECT_EQ(FatalLine("Country;1\rMinRatioToPatchFront;nan"),
            L"ERROR: " + path + L" line 2 column 2: value \"nan\" is not a number");
  EXPECT_EQ(FatalLine("Country;4294967297"),
            L"ERROR: " + path + L" line 1 column 2: value \"4294967297\" is not a whole number");
  // A country or a city that is not there is named with the file it is missing from.
  FatalLine("Country;3\r\n");
  EXPECT_TRUE(log_.Contains(L"ERROR: " + path + L" line 1: country 3 is not one of the 2 countries of countries.csv"));
  FatalLine("Country;1\r\nDoNotAttackCities;5;5");
  EXPECT_TRUE(log_.Contains(L"ERROR: " + path + L" line 2: cities.csv has no city at (5, 5)"));
}

// What the reader cannot take is said with the file and line: a key line
// without its ";" and its values, and a country without a section (which
// keeps the default settings). Blank lines pass in silence.
TEST_F(AiDataFile, LinesWithoutValuesAndCountriesWithoutASectionAreWarned) {
  AiWorld w;
  Load(w, "Country;1\r\nMaxSafeMoveCost 8\r\nMakesSeaInvasions\r\n \t\r\nMaxUnitCountOnFront;9\r\n");
  const std::wstring path = plat::WidenAnsi(dir_.File("ai_data.csv"));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + path + L" line 2: \"MaxSafeMoveCost 8\" gives no values (a key and its "
                            L"values are separated by ';'); the line is skipped"));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + path + L" line 3: \"MakesSeaInvasions\" gives no values (a key and its "
                            L"values are separated by ';'); the line is skipped"));
  EXPECT_FALSE(log_.Contains(L"WARNING: " + path + L" line 4"));
  EXPECT_EQ(w.Ai(1).maxSafeMoveCost, 5);
  EXPECT_EQ(w.Ai(1).maxUnitCountOnFront, 9);
  const std::wstring name = w.world.GetCountry(2)->name;
  EXPECT_TRUE(log_.Contains(L"WARNING: " + path + L": no Country;2 section (" + name +
                            L"): the country plays with the default computer settings"));
  EXPECT_FALSE(log_.Contains(L"WARNING: " + path + L": no Country;1 section"));
  // The game writes every key with all its values: in a saved game such a
  // line is one cut short, and the load ends.
  for (const char* cut : {"MaxUnitCountOnFront", "CarrierTargetsPriorities;90;80", "CurrentTargets;1;2;3;4"}) {
    AiWorld saved;
    saved.world.savedGame = true;
    const std::wstring line = filestest::FatalLine(log_, [&] { Load(saved, std::string("Country;1\r\n") + cut); });
    const std::wstring key = plat::WidenAnsi(std::string(cut).substr(0, std::string(cut).find(';')));
    EXPECT_EQ(line.rfind(L"ERROR: " + path + L" line 2: \"" + key + L"\" gives", 0), 0u) << plat::NarrowBytes(line);
  }
}

}  // namespace
