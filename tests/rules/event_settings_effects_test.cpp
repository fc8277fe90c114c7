// The scripted events' effects on the computer opponent's lists and
// settings, weather areas, event flags, commanders and the view, on the
// fixture game, with the refusal of ids and indexes outside their tables.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "event_effects_fixture.h"
#include "world/commander.h"

namespace twtest {
namespace {

using SettingsEffects = EventEffectsTest;

TEST_F(SettingsEffects, FlagIndexesOutsideTheFlagsAreRefused) {
  std::vector<int>& flags = World().eventFlags;  // flag 7 is 1, 39999 is 5
  const std::vector<int> before = flags;
  Run(L"Flag.SetValue", {40000, 9});
  EXPECT_TRUE(Logged(L"ERR: Flag.SetValue arg out of range: 40000, max is 40000"));
  EXPECT_EQ(ErrorLines(L"Flag.SetValue"), 1);
  Run(L"Flag.SetValue", {-1, 9});
  Run(L"Flag.ChangeValue", {-1, 9});
  Run(L"Flag.ChangeValue", {40000, 9});
  EXPECT_EQ(ErrorLines(L"Flag.SetValue"), 2);
  EXPECT_EQ(ErrorLines(L"Flag.ChangeValue"), 2);
  EXPECT_EQ(flags, before);
  Run(L"Flag.SetValue", {39999, -4});
  EXPECT_EQ(flags[39999], -4);
  Run(L"Flag.ChangeValue", {7, 2});
  EXPECT_EQ(flags[7], 3);
  Run(L"Flag.ChangeValue", {7, 3e9});
  EXPECT_EQ(flags[7], INT_MAX);
}

// The list keeps the order of its entries: the file's, then each new zone
// after them; a zone listed again only takes its new value.
TEST_F(SettingsEffects, PatrolZonesKeepOneEntryPerZoneInTheOrderTheyCame) {
  auto& patrol = Country(kWestland).aiData.seaZonesToPatrol;  // zone 2: 50
  Run(L"AI.AddSeaZoneToPatrolList", {kWestland, 1, 30});
  Run(L"AI.AddSeaZoneToPatrolList", {kWestland, 1, 40});
  EXPECT_EQ(std::vector(patrol.begin(), patrol.end()), (std::vector<std::pair<int, int>>{{2, 50}, {1, 40}}));
  Run(L"AI.AddSeaZoneToPatrolList", {kWestland, 2, 60});
  EXPECT_EQ(std::vector(patrol.begin(), patrol.end()), (std::vector<std::pair<int, int>>{{2, 60}, {1, 40}}));
  Run(L"AI.AddSeaZoneToPatrolList", {kWestland, 99, 40});
  EXPECT_EQ(ErrorLines(L"AI.AddSeaZoneToPatrolList"), 1);
  Run(L"AI.RemoveSeaZoneFromPatrolList", {kWestland, 2});
  EXPECT_EQ(std::vector(patrol.begin(), patrol.end()), (std::vector<std::pair<int, int>>{{1, 40}}));
}

TEST_F(SettingsEffects, CityListsTakeEachCityOnceAndOnlyWhereThereIsOne) {
  sCountryAiData& ai = Country(kWestland).aiData;
  cCity* ostburg = &City(L"Ostburg");  // (16, 5)
  Run(L"AI.AddDoNotAttackCity", {kWestland, 16, 5});
  Run(L"AI.AddDoNotAttackCity", {kWestland, 16, 5});
  Run(L"AI.AddDoNotAttackCity", {kWestland, 16, 6});  // no city there
  Run(L"AI.AddExtraCityToGarrison", {kWestland, 16, 5});
  Run(L"AI.AddExtraCityToGarrison", {kWestland, 40, 5});  // off the map
  EXPECT_EQ(ai.doNotAttackCities, (std::vector<cCity*>{ostburg}));
  EXPECT_EQ(ai.extraCitiesToGarrison, (std::vector<cCity*>{ostburg}));
  EXPECT_EQ(ErrorLines(L"AI.AddDoNotAttackCity"), 1);
  EXPECT_EQ(ErrorLines(L"AI.AddExtraCityToGarrison"), 1);
  // A city listed twice (as a file may list it) goes altogether.
  ai.doNotAttackCities.push_back(ostburg);
  Run(L"AI.RemoveDoNotAttackCity", {kWestland, 16, 5});
  EXPECT_TRUE(ai.doNotAttackCities.empty());
}

TEST_F(SettingsEffects, ObligatoryInvasionPortsAreRealPorts) {
  auto& ports = Country(kEastmark).aiData.obligatorySeaInvasionTargets;
  cCity* westport = &City(L"Westport");     // (4, 2)
  cCity* straitport = &City(L"Straitport");  // (11, 6)
  Run(L"AI.AddPortForObligatoryInvasion", {kEastmark, 4, 2, 0});
  Run(L"AI.AddPortForObligatoryInvasion", {kEastmark, 11, 6, 1});
  Run(L"AI.AddPortForObligatoryInvasion", {kEastmark, 4, 2, 0});
  EXPECT_EQ(ports, (std::vector<cCity*>{straitport, westport, westport}));
  Run(L"AI.AddPortForObligatoryInvasion", {kEastmark, 2, 4, 0});  // Westhaven: no port
  Run(L"AI.AddPortForObligatoryInvasion", {kEastmark, 3, 4, 0});  // no city
  EXPECT_EQ(ErrorLines(L"AI.AddPortForObligatoryInvasion"), 2);
  EXPECT_EQ(ports.size(), 3u);
  Run(L"AI.RemovePortForObligatoryInvasion", {kEastmark, 4, 2});
  EXPECT_EQ(ports, (std::vector<cCity*>{straitport}));
}

TEST_F(SettingsEffects, InvasionTargetsAndCountriesToPress) {
  sCountryAiData& ai = Country(kSouthia).aiData;
  Run(L"AI.AddInvasionTarget", {kSouthia, 4, 12, 50});
  Run(L"AI.AddInvasionTarget", {kSouthia, 4, 12, 60});
  Run(L"AI.AddInvasionTarget", {kSouthia, 6, 8, 10});
  Run(L"AI.AddInvasionTarget", {kSouthia, 20, 8, 10});  // off the map
  ASSERT_EQ(ai.currentTargets.size(), 3u);
  Run(L"AI.RemoveInvasionTarget", {kSouthia, 4, 12});
  ASSERT_EQ(ai.currentTargets.size(), 1u);
  EXPECT_EQ(ai.currentTargets[0].c, 10);
  Run(L"AI.AddCountryToPress", {kSouthia, kNeutralia});
  Run(L"AI.AddCountryToPress", {kSouthia, 6});
  EXPECT_EQ(ai.countriesToPress, (std::vector<int>{kNeutralia}));
  EXPECT_EQ(ErrorLines(L"AI.AddInvasionTarget"), 1);
  EXPECT_EQ(ErrorLines(L"AI.AddCountryToPress"), 1);
}

TEST_F(SettingsEffects, TableEntriesAreWrittenOnlyWithinTheirTables) {
  const sCountryAiData defaults;
  sCountryAiData& ai = Country(kEastmark).aiData;
  Run(L"AI.SetDesiredTechLevel", {kEastmark, 6, 3});
  Run(L"AI.SetDesiredTechLevel", {kEastmark, 7, 3});
  EXPECT_EQ(ai.desiredTechLevels, (std::array<int, 7>{1, 1, 1, 1, 1, 1, 3}));
  Run(L"Country.NewUnitPurchasePreferences", {kEastmark, 0, 6});
  Run(L"Country.NewUnitPurchasePreferences", {kEastmark, 14, 7});
  Run(L"Country.NewUnitPurchasePreferences", {kEastmark, 15, 8});
  EXPECT_EQ(ai.desiredStrategicMovementPoints, 6);
  EXPECT_EQ(ai.newUnitPurchasePreferences[13], 7);
  Run(L"Country.SetDesiredLandForcesStructure", {kEastmark, 4, 50});
  Run(L"Country.SetDesiredLandForcesStructure", {kEastmark, 5, 50});
  EXPECT_EQ(ai.desiredLandForcesStructure, (std::array<int, 5>{10, 20, 30, 20, 50}));
  Run(L"Country.ChangeAICarrierTargetsPriorities", {kEastmark, 9, 1});
  Run(L"Country.ChangeAICarrierTargetsPriorities", {kEastmark, 0, 1});
  Run(L"Country.ChangeAICarrierTargetsPriorities", {kEastmark, 10, 1});
  EXPECT_EQ(ai.carrierTargetsPriorities, (std::array<int, 9>{90, 80, 70, 60, 50, 40, 30, 20, 1}));
  EXPECT_EQ(ErrorLines(L"AI.SetDesiredTechLevel"), 1);
  EXPECT_EQ(ErrorLines(L"Country.NewUnitPurchasePreferences"), 1);
  EXPECT_EQ(ErrorLines(L"Country.SetDesiredLandForcesStructure"), 1);
  EXPECT_EQ(ErrorLines(L"Country.ChangeAICarrierTargetsPriorities"), 2);
  // The rest of the record is as it was.
  EXPECT_EQ(ai.newUnitPurchaseCounts, defaults.newUnitPurchaseCounts);
  EXPECT_EQ(ai.multipleSideAttackPreferences, defaults.multipleSideAttackPreferences);
}

TEST_F(SettingsEffects, CarrierPrioritiesOfEveryCountryAtOnceAndTheTwoKindsOfFlags) {
  Run(L"Country.SetAICarrierTargetsPriorities", {1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (const auto& country : World().Countries()) {
    EXPECT_EQ(country->aiData.carrierTargetsPriorities, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  }
  // A flag given as "p1 != 0" and one given as "int(p1) != 0".
  Run(L"AI.SetMakesSeaInvasionsParameter", {kSouthia, 0.5});
  Run(L"AI.TransportUnitsToFrontsBySea", {kSouthia, 0.5});
  EXPECT_TRUE(Country(kSouthia).aiData.makesSeaInvasions);
  EXPECT_FALSE(Country(kSouthia).aiData.transportsUnitsToFrontsBySea);
}

TEST_F(SettingsEffects, WeatherAreasMarkOnlyTheLandOfTheRectangle) {
  for (sHex& hex : Map().Hexes()) hex.weather = 0;
  // Row 3 has sea at columns 9 and 10.
  const std::uint8_t seaFlag = Hex(9, 3).hasWeather;
  Run(L"New.StartWinterArea", {8, 3, 11, 4, 0});
  for (int x = 8; x <= 11; ++x) {
    for (int y = 3; y <= 4; ++y) {
      const sHex& hex = Hex(x, y);
      EXPECT_EQ(hex.weather, hex.IsWater() ? 0u : 1u) << x << "," << y;
      EXPECT_EQ(hex.hasWeather, hex.IsWater() ? seaFlag : 0) << x << "," << y;
    }
  }
  ASSERT_TRUE(Hex(9, 3).IsWater());
  EXPECT_EQ(Hex(12, 3).weather, 0u);
  Run(L"New.StartMudArea", {8, 3, 8, 3, 1});
  EXPECT_EQ(Hex(8, 3).weather, 2u);
  EXPECT_EQ(Hex(8, 3).hasWeather, 1);
  // Ending a fixed mud area hands it back to the roll, still muddy until then.
  Run(L"New.StartMudArea", {8, 3, 8, 3, 0});
  EXPECT_EQ(Hex(8, 3).hasWeather, 0);
  Hex(8, 4).weather = 1;
  Run(L"New.EndMudArea", {8, 3, 8, 4});
  EXPECT_EQ(std::pair(Hex(8, 3).weather, Hex(8, 3).hasWeather), std::pair(2u, std::uint8_t{1}));
  EXPECT_EQ(Hex(8, 4).weather, 2u);
  Run(L"New.EndWinterArea", {8, 3, 8, 3});
  EXPECT_EQ(Hex(8, 3).weather, 0u);
  Run(L"New.EndWinterArea", {8, 4, 11, 4});
  EXPECT_EQ(Hex(11, 4).weather, 0u);
  EXPECT_EQ(Hex(11, 4).hasWeather, 1);
  // Bounds the wrong way round, or a corner off the map: nothing.
  Run(L"New.StartWinterArea", {11, 3, 8, 3, 1});
  Run(L"New.StartWinterArea", {0, 0, 20, 14, 1});
  EXPECT_EQ(Hex(8, 3).weather, 0u);
  EXPECT_EQ(Hex(0, 5).weather, 0u);
  EXPECT_EQ(ErrorLines(L"New.StartWinterArea"), 1);
}

TEST_F(SettingsEffects, NewCommandersFollowTheLastIdAndStartWithNoPost) {
  auto& commanders = World().Units().commanders;  // ids 1 to 5
  Run(L"Commander.AddNew", {kSouthia, 4, 12}, L"Gen. Falk");
  ASSERT_EQ(commanders.size(), 6u);
  const cCommander& added = *commanders.back();
  EXPECT_EQ(added.id, 6);
  EXPECT_EQ(added.name, L"Gen. Falk");
  EXPECT_EQ(added.countryId, kSouthia);
  EXPECT_EQ(added.skill, 4);
  EXPECT_EQ(added.experience, 12);
  EXPECT_EQ(added.type, 0);
  EXPECT_EQ(added.state, kCommanderNotAssigned);
  EXPECT_EQ(added.ledUnit, nullptr);
  Run(L"Commander.AddNew", {0, 4, 12}, L"Nobody");
  EXPECT_EQ(commanders.size(), 6u);
  EXPECT_EQ(ErrorLines(L"Commander.AddNew"), 1);
  // Levels: the skill that "Commander.GetLevel" reads.
  Run(L"Commander.SetLevel", {6, 2});
  Run(L"Commander.ChangeLevel", {6, 3});
  Run(L"Commander.ChangeLevel", {60, 3});
  EXPECT_EQ(added.skill, 5);
  EXPECT_EQ(ErrorLines(L"Commander.ChangeLevel"), 1);
}

// The last commander's id plus one, also below a greater id; where that id
// is in use, or past the greatest int, the id after the greatest, or the
// lowest free one.
TEST_F(SettingsEffects, ANewCommanderTakesTheIdAfterTheLastOneWhereItIsFree) {
  auto& commanders = World().Units().commanders;  // ids 1 to 5
  const auto append = [&commanders](int id) {
    commanders.push_back(new cCommander());
    commanders.back()->id = id;
  };
  commanders.back()->id = 9;
  append(5);
  std::vector<int> added;
  Run(L"Commander.AddNew", {kSouthia, 4, 12}, L"Gen. Six");
  added.push_back(commanders.back()->id);
  append(8);
  Run(L"Commander.AddNew", {kSouthia, 4, 12}, L"Gen. Ten");
  added.push_back(commanders.back()->id);
  append(2147483647);
  Run(L"Commander.AddNew", {kSouthia, 4, 12}, L"Gen. Seven");
  added.push_back(commanders.back()->id);
  EXPECT_EQ(added, (std::vector<int>{6, 10, 7}));
}

TEST_F(SettingsEffects, TheFirstCommanderOfAWorldWithoutAnyHasId1) {
  for (cCommander* commander : World().Units().commanders) delete commander;
  World().Units().commanders.clear();
  Run(L"Commander.AddNew", {kWestland, 1, 0}, L"Gen. First");
  ASSERT_EQ(World().Units().commanders.size(), 1u);
  EXPECT_EQ(World().Units().commanders.front()->id, 1);
}

TEST_F(SettingsEffects, TheViewIsAskedOfTheScreenAndKeptForTheNextHuman) {
  Run(L"View.CenterAt", {5, 6});
  EXPECT_EQ(view_->Followed(), (std::vector<std::pair<int, int>>{{5, 6}}));
  float x = 0, y = 0, zoom = 0;
  Country(kWestland).GetMapView(x, y, zoom);  // the fixture's human country
  EXPECT_EQ(x, 5.0f * kHexColumnWidth);
  EXPECT_EQ(y, 6.0f * kHexRowHeight);
  EXPECT_EQ(zoom, g_Settings.MapZoom);
  Run(L"View.CenterAt", {5, 15});
  EXPECT_EQ(view_->Followed().size(), 1u);
  EXPECT_EQ(ErrorLines(L"View.CenterAt"), 1);
}

}  // namespace
}  // namespace twtest
