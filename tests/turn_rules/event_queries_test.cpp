// The query methods of event conditions on the fixture scenario: each reads
// what its name says, and every id, hex and index a script gives is checked
// (an error line, then 0) so no script reads outside a table.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "files/event_methods.h"
#include "land_rules/fixture_game.h"
#include "land_rules/land_rules_fixture.h"
#include "rules/event_queries.h"
#include "world/commander.h"
#include "world/event_records.h"

namespace {

class EventQueries : public twtest::FixtureGame {
 protected:
  double Ask(const wchar_t* method, std::initializer_list<double> params) {
    sEventOperand operand;
    operand.method = method;
    operand.line = 12;
    int i = 0;
    for (double value : params) operand.param[static_cast<std::size_t>(i++)] = value;
    return EvaluateOperand(World(), operand, 77);
  }
  // The "ERR:" line of event 77 for the method.
  bool Refused(const twtest::LogCapture& log, const std::wstring& method) const {
    const std::wstring start = L"ERR: event 77, " + method + L" (line 12): ";
    for (const std::wstring& line : log.Lines()) {
      if (line.rfind(start, 0) == 0) return true;
    }
    return false;
  }
};

// Each country query against a value set on another field's behalf: the
// right field is read, of the country named.
TEST_F(EventQueries, CountryQueriesReadTheirOwnFieldOfTheNamedCountry) {
  struct Case {
    const wchar_t* method;
    std::function<void(cCountry&)> set;
    double expected;
  };
  const std::vector<Case> cases = {
      {L"Country.GetProductionPoints", [](cCountry& c) { c.productionPoints = 41.5; }, 41.5},
      {L"Country.GetDiplomaticPoints", [](cCountry& c) { c.diplomaticPoints = 17; }, 17},
      {L"Country.GetPoliticalStrength", [](cCountry& c) { c.politicalStrength = 33; }, 33},
      {L"Country.GetAllianceEntry", [](cCountry& c) { c.allianceEntry = 64; }, 64},
      {L"Country.GetSocialUnrest", [](cCountry& c) { c.socialUnrest = 12.5f; }, 12.5},
      {L"Country.IsActive", [](cCountry& c) { c.active = false; }, 0},
      {L"Country.GetZoneOfInfluence", [](cCountry& c) { c.zoneOfInfluence = 2; }, 2},
      {L"Country.GetOrientation", [](cCountry& c) { c.orientation = 5; }, 5},
      {L"Country.IsAIControlled", [](cCountry& c) { c.human = false; }, 1},
      {L"Country.IsAIControlled", [](cCountry& c) { c.human = true; }, 0},
      {L"Country.GetWarEconomy", [](cCountry& c) { c.warEconomy = 55.0f; }, 55},
      {L"Country.GetAlliance", [](cCountry& c) { c.alliance = kComintern; }, kComintern},
      {L"Country.GetStrategicMovementPoints", [](cCountry& c) { c.strategicMovementPointsMax = 23; }, 23},
      {L"Country.GetSTP", [](cCountry& c) { c.seaTransportPoints = 9; }, 9},
      {L"Country.GetAIP", [](cCountry& c) { c.amphibiousInvasionPoints = 11; }, 11},
      {L"Country.GetWinterBattle", [](cCountry& c) { c.winterBattle = 40.0f; }, 40},
      {L"Country.GetWinterMove", [](cCountry& c) { c.winterMove = 41.0f; }, 41},
      {L"Country.GetMudBattle", [](cCountry& c) { c.mudBattle = 42.0f; }, 42},
      {L"Country.GetMudMove", [](cCountry& c) { c.mudMove = 43.0f; }, 43},
      {L"Country.GetMaxNumberOfFrontsForSeaInvasion",
       [](cCountry& c) { c.aiData.maxNumberOfFrontsForSeaInvasion = 6; }, 6},
      {L"Country.GetUpkeepCost", [](cCountry& c) { c.unitUpkeepModifier = 1.5f; }, 1.5},
      {L"Country.GetMaxSafeMoveCost", [](cCountry& c) { c.aiData.maxSafeMoveCost = 13; }, 13},
      {L"Country.GetMaxCoveringUnitDistance", [](cCountry& c) { c.aiData.maxCoveringUnitDistance = 14; }, 14},
      {L"Country.GetMaxUnitCountOnFront", [](cCountry& c) { c.aiData.maxUnitCountOnFront = 15; }, 15},
      {L"Country.GetMinRatioToPatchFront", [](cCountry& c) { c.aiData.minRatioToPatchFront = 3.5f; }, 3.5},
      {L"Country.GetDifficultyLevel", [](cCountry& c) { c.difficulty = 4; }, 4},
  };
  for (const Case& c : cases) {
    c.set(Country(3));
    EXPECT_EQ(Ask(c.method, {3}), c.expected) << std::string(c.method, c.method + wcslen(c.method));
  }
  // Southia's values are not Eastmark's.
  EXPECT_NE(Ask(L"Country.GetProductionPoints", {2}), 41.5);
  EXPECT_NE(Ask(L"Country.GetDiplomaticPoints", {2}), 17);
}

TEST_F(EventQueries, CountryTablesAreReadByIndexAndRefuseIndexesOutsideThem) {
  cCountry& southia = Country(3);
  southia.techLevel = {1, 2, 3, 4, 5, 6, 7};
  southia.techProgress = {10, 11, 12, 13, 14, 15, 16};
  southia.techInvestment = {20, 21, 22, 23, 24, 25, 26};
  southia.aiData.newUnitPurchasePreferences[13] = 31;
  southia.aiData.carrierTargetsPriorities[8] = 32;
  southia.aiData.desiredLandForcesStructure[4] = 33;
  EXPECT_EQ(Ask(L"Country.GetTechLevel", {3, 6}), 7);
  EXPECT_EQ(Ask(L"Country.GetTechResearchProgress", {3, 0}), 10);
  EXPECT_EQ(Ask(L"Country.GetTechInvestment", {3, 5}), 25);
  EXPECT_EQ(Ask(L"Country.GetUnitPurchasePreferences", {3, 13}), 31);
  EXPECT_EQ(Ask(L"Country.GetAICarrierTargetsPriorities", {3, 8.9}), 32) << "an index is truncated";
  EXPECT_EQ(Ask(L"Country.GetDesiredLandForcesStructure", {3, 4}), 33);

  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Country.GetTechLevel", {3, 7}), 0);
  EXPECT_TRUE(Refused(log, L"Country.GetTechLevel"));
  EXPECT_EQ(Ask(L"Country.GetUnitPurchasePreferences", {3, 14}), 0);
  EXPECT_EQ(Ask(L"Country.GetAICarrierTargetsPriorities", {3, -1}), 0);
  EXPECT_EQ(Ask(L"Country.GetDesiredLandForcesStructure", {3, 5}), 0);
  EXPECT_EQ(Ask(L"Country.GetTechInvestment", {3, 1e12}), 0);
  EXPECT_TRUE(Refused(log, L"Country.GetTechInvestment"));
}

TEST_F(EventQueries, CountryIdsOutsideTheCountriesAnswerZeroAfterTheErrorLine) {
  const twtest::LogCapture log;
  for (double id : {0.0, 6.0, -1.0, 1e300}) {
    EXPECT_EQ(Ask(L"Country.GetProductionPoints", {id}), 0);
    EXPECT_EQ(Ask(L"Country.GetVP", {id}), 0);
    EXPECT_EQ(Ask(L"Country.HasWarWithCountry", {1, id}), 0);
    EXPECT_EQ(Ask(L"Country.IsAtWar", {id}), 0);
    EXPECT_EQ(Ask(L"AI.IsSeaZonePatrolled", {id, 2}), 0);
  }
  EXPECT_TRUE(Refused(log, L"Country.GetProductionPoints"));
  EXPECT_TRUE(Refused(log, L"Country.HasWarWithCountry"));
}

TEST_F(EventQueries, VictoryPointsFollowTheCitiesTheCountryControls) {
  const double before = Ask(L"Country.GetVP", {1});
  EXPECT_GE(before, 3);
  const cCity& westhaven = City(L"Westhaven");
  Hex(westhaven.x, westhaven.y).controller = 2;
  EXPECT_EQ(Ask(L"Country.GetVP", {1}), before - westhaven.victoryPoints);
}

TEST_F(EventQueries, WarsAreReadFromTheRelations) {
  World().GetRelations().SetAtWar(3, 4, true);
  EXPECT_EQ(Ask(L"Country.HasWarWithCountry", {3, 4}), 1);
  EXPECT_EQ(Ask(L"Country.HasWarWithCountry", {4, 3}), 0) << "the flag of (p0, p1) only";
  EXPECT_EQ(Ask(L"Country.IsAtWar", {3}), 1);
  World().GetRelations().ClearWarsOf(4);
  World().GetRelations().ClearWarsOf(3);
  EXPECT_EQ(Ask(L"Country.IsAtWar", {3}), 0);
}

TEST_F(EventQueries, FlagsAreReadInsideTheirRangeOnly) {
  // "flags.txt" of the fixture: 7 is 1, 120 is -3, 39999 is 5.
  EXPECT_EQ(Ask(L"Flag.GetValue", {7}), 1);
  EXPECT_EQ(Ask(L"Flag.GetValue", {120}), -3);
  EXPECT_EQ(Ask(L"Flag.GetValue", {39999}), 5);
  EXPECT_EQ(Ask(L"Flag.GetValue", {8}), 0);
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Flag.GetValue", {40000}), 0);
  EXPECT_EQ(Ask(L"Flag.GetValue", {-1}), 0);
  EXPECT_TRUE(log.Contains(L"ERR: Flag.GetValue arg out of range: 40000, max is 40000"));
  EXPECT_TRUE(log.Contains(L"ERR: Flag.GetValue arg out of range: -1, max is 40000"));
}

TEST_F(EventQueries, CommanderLevelIsHisSkillAndAnUnknownCommanderZero) {
  EXPECT_EQ(Ask(L"Commander.GetLevel", {2}), 4);
  World().FindCommanderById(2)->skill = 6;
  EXPECT_EQ(Ask(L"Commander.GetLevel", {2}), 6);
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Commander.GetLevel", {99}), 0);
  EXPECT_TRUE(log.Contains(L"Commander with ID=99 not found"));
  EXPECT_TRUE(Refused(log, L"Commander.GetLevel"));
}

TEST_F(EventQueries, RandomNumberUsesTheSharedRangeWithTheBounds) {
  {
    const twtest::RandSequence draws({twtest::RandFor(1, 6, 4), twtest::RandFor(1, 6, 6)});
    EXPECT_EQ(Ask(L"System.GetRandomNumber", {1, 6}), 4);
    EXPECT_EQ(Ask(L"System.GetRandomNumber", {1, 6}), 6);
  }
  for (int i = 0; i < 50; ++i) {
    const double value = Ask(L"System.GetRandomNumber", {1, 6});
    EXPECT_GE(value, 1);
    EXPECT_LE(value, 6);
    EXPECT_EQ(value, static_cast<int>(value));
  }
}

TEST_F(EventQueries, HexQueriesReadControlUnitsAndCities) {
  // 1st Infantry of Westland (Allies' leader) stands on (3, 5); (1, 3) is
  // Westland's land without a unit; (0, 0) is the North Sea.
  ASSERT_NE(Hex(3, 5).unit, nullptr);
  ASSERT_EQ(Hex(1, 3).unit, nullptr);
  Hex(3, 5).controller = Hex(1, 3).controller = 1;
  EXPECT_EQ(Ask(L"Hex.Occupied", {3, 5}), 1);
  EXPECT_EQ(Ask(L"Hex.Occupied", {1, 3}), 0);
  EXPECT_EQ(Ask(L"Hex.ControlledByAliance", {1, 3, kAllies}), 1);
  EXPECT_EQ(Ask(L"Hex.ControlledByAliance", {1, 3, kAlliesLeader}), 1);
  EXPECT_EQ(Ask(L"Hex.ControlledByAliance", {1, 3, kAxis}), 0);
  EXPECT_EQ(Ask(L"Hex.OccupiedAndControlledByAlliance", {3, 5, kAllies}), 1);
  EXPECT_EQ(Ask(L"Hex.OccupiedAndControlledByAlliance", {3, 5, kAxis}), 0);
  EXPECT_EQ(Ask(L"Hex.OccupiedAndControlledByAlliance", {1, 3, kAllies}), 0);
  EXPECT_EQ(Ask(L"Hex.ControlledByCountry", {3, 5, 1}), 1);
  EXPECT_EQ(Ask(L"Hex.ControlledByCountry", {3, 5, 2}), 0);

  cCity& westhaven = City(L"Westhaven");
  ASSERT_EQ(Hex(2, 4).city, &westhaven);
  EXPECT_EQ(Ask(L"City.WasBombed", {2, 4}), 0);
  westhaven.productionLostToBombing = 2;
  EXPECT_EQ(Ask(L"City.WasBombed", {2, 4}), 1);
  EXPECT_EQ(Ask(L"City.WasBombed", {1, 3}), 0) << "no city there";
}

TEST_F(EventQueries, AllianceTestsOnWaterOrUnheldHexesAnswerZeroWithTheirLine) {
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Hex.ControlledByAliance", {0, 0, 0}), 0);
  EXPECT_TRUE(log.Contains(L"ERROR Hex.ControlledByAliance called with arg pointing hex (0, 0) which is sea hex"));
  Hex(1, 3).controller = 0;
  EXPECT_EQ(Ask(L"Hex.OccupiedAndControlledByAlliance", {1, 3, 0}), 0);
  EXPECT_TRUE(
      log.Contains(L"ERROR Hex.OccupiedAndControlledByAlliance called with arg pointing hex (1, 3) which is sea hex"));
  // Off the map: the checked look-up refuses it.
  EXPECT_EQ(Ask(L"Hex.Occupied", {20, 3}), 0);
  EXPECT_EQ(Ask(L"Hex.ControlledByCountry", {-1, 0, 0}), 0);
  EXPECT_EQ(Ask(L"City.WasBombed", {3, 15}), 0);
  EXPECT_TRUE(Refused(log, L"Hex.Occupied"));
  EXPECT_TRUE(Refused(log, L"Hex.ControlledByCountry"));
}

TEST_F(EventQueries, ShipsAreCountedInTheirFleetsSeaZoneOnly) {
  // Westland's Home Fleet at the North Sea (1): a battleship, a cruiser and
  // a carrier; Eastmark's squadron at the strait (2); Eastmark's reserve
  // cruiser in no fleet.
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {1, 1, 41}), 1);
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {1, 1, 42}), 1);
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {1, 2, 41}), 0);
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {2, 1, 41}), 0);
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {2, 2, 42}), 0);
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {2, 2, 43}), 1);
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Country.GetShipsAmountInSeaZone", {1, 99, 41}), 0);
  EXPECT_TRUE(Refused(log, L"Country.GetShipsAmountInSeaZone"));
}

TEST_F(EventQueries, UnitsAreCountedByTypeInTheMapListsOnly) {
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 20}), 1) << "the fighters";
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 21}), 0) << "the bombers wait in the reserve pool";
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 44}), 1);
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 5}), 1);
  // Every country's infantry, whatever country is named: three on the map
  // (Westland's, Southia's, Neutralia's) and the Marines aboard a ship.
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 0}), 4);
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {4, 0}), 4);
  auto* aboard = new cJednostkaLadowa(&World());
  aboard->countryId = 2;
  World().Units().carriedUnitsB.push_back(aboard);
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 0}), 5);
  auto* waiting = new cJednostkaLadowa(&World());
  waiting->countryId = 2;
  waiting->inReserve = true;
  World().Units().reservePool.push_back(waiting);
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 0}), 5) << "the reserve pool is not counted";
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 30}), 0);
  EXPECT_EQ(Ask(L"Country.GetUnitCount", {1, 7}), 0);
}

TEST_F(EventQueries, PortsSeaZonesAndTheWorldsOwnValues) {
  EXPECT_EQ(Ask(L"Port.GetSize", {3}), 3);
  EXPECT_EQ(Ask(L"Port.GetSize", {4}), 2);
  EXPECT_EQ(Ask(L"Port.GetSize", {1}), 0) << "open sea";
  EXPECT_EQ(Ask(L"AI.IsSeaZonePatrolled", {1, 2}), 1);
  EXPECT_EQ(Ask(L"AI.IsSeaZonePatrolled", {1, 1}), 0);
  World().constants.winterBattleFactor = 21.0f;
  World().constants.winterMoveFactor = 22.0f;
  World().constants.mudBattleFactor = 23.0f;
  World().constants.mudMoveFactor = 24.0f;
  World().turnNumber = 17;
  EXPECT_EQ(Ask(L"Get.WinterBattle", {}), 21);
  EXPECT_EQ(Ask(L"Get.WinterMove", {}), 22);
  EXPECT_EQ(Ask(L"Get.MudBattle", {}), 23);
  EXPECT_EQ(Ask(L"Get.MudMove", {}), 24);
  EXPECT_EQ(Ask(L"Game.GetCurrentTurn", {}), 17);
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Port.GetSize", {0}), 0);
  EXPECT_TRUE(Refused(log, L"Port.GetSize"));
}

TEST_F(EventQueries, TheDebugBoxIsALogLineAndAnswers666) {
  const twtest::LogCapture log;
  EXPECT_EQ(Ask(L"Country.WyswietlZajebisteOkienko", {1}), 666);
  EXPECT_TRUE(log.Contains(L"Event 77: Zajebiste okienko: daraiarar (logged instead of a message box)"));
}

TEST_F(EventQueries, AConstantIsItsValueWhateverTheMethod) {
  sEventOperand operand;
  operand.constValue = 0.0;
  operand.method = L"No.SuchMethod";
  const cScopedThrowingFatalHook hook;
  EXPECT_EQ(EvaluateOperand(World(), operand, 1), 0.0);
  operand.constValue = -2.5;
  EXPECT_EQ(EvaluateOperand(World(), operand, 1), -2.5);
}

TEST_F(EventQueries, AnUnknownMethodEndsTheProgram) {
  const twtest::LogCapture log;
  const cScopedThrowingFatalHook hook;
  int code = -1;
  try {
    Ask(L"Country.GetNothing", {1});
  } catch (const sFatalExitError& error) {
    code = error.exitCode;
  }
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(log.Contains(L"CRICITAL: Could not resolve operand at line 12! Method=Country.GetNothing unknown?"));
}

// Every method name a script may use is known, and none of them reads out
// of bounds when the script gives no parameters at all.
TEST_F(EventQueries, EveryQueryMethodIsKnownAndSafeWithoutParameters) {
  std::vector<std::wstring> names = {
      L"Country.GetProductionPoints", L"Country.GetDiplomaticPoints", L"Country.GetVP",
      L"Country.GetPoliticalStrength", L"Country.GetAllianceEntry", L"Country.GetSocialUnrest",
      L"Country.HasWarWithCountry", L"Country.IsActive", L"Country.GetZoneOfInfluence", L"Country.GetOrientation",
      L"Flag.GetValue", L"Commander.GetLevel", L"System.GetRandomNumber", L"Hex.ControlledByAliance",
      L"Hex.Occupied", L"Hex.OccupiedAndControlledByAlliance", L"Country.IsAIControlled", L"Country.GetWarEconomy",
      L"Country.GetAlliance", L"Country.GetStrategicMovementPoints", L"Country.IsAtWar",
      L"Country.GetShipsAmountInSeaZone", L"Country.WyswietlZajebisteOkienko", L"Hex.ControlledByCountry",
      L"Country.GetUnitPurchasePreferences", L"Country.GetTechLevel", L"Country.GetSTP", L"Country.GetAIP",
      L"Country.GetAICarrierTargetsPriorities", L"Get.WinterBattle", L"Get.WinterMove", L"Country.GetWinterBattle",
      L"Country.GetWinterMove", L"Get.MudBattle", L"Get.MudMove", L"Country.GetMudBattle", L"Country.GetMudMove",
      L"Country.GetMaxNumberOfFrontsForSeaInvasion", L"Country.GetTechResearchProgress",
      L"Country.GetTechInvestment", L"AI.IsSeaZonePatrolled", L"Game.GetCurrentTurn", L"Country.GetUpkeepCost",
      L"Country.GetMaxSafeMoveCost", L"Country.GetMaxCoveringUnitDistance", L"Country.GetMaxUnitCountOnFront",
      L"Country.GetMinRatioToPatchFront", L"Country.GetDesiredLandForcesStructure", L"Country.GetUnitCount",
      L"City.WasBombed", L"Port.GetSize", L"Country.GetDifficultyLevel"};
  ASSERT_EQ(names.size(), 52u);
  // The names validation knows (when its table is filled) must be known here.
  for (const sEventMethod& method : EventQueryMethods()) names.emplace_back(method.name);
  const cScopedThrowingFatalHook hook;
  for (const std::wstring& name : names) {
    sEventOperand operand;
    operand.method = name;
    EXPECT_NO_THROW(EvaluateOperand(World(), operand, 3)) << std::string(name.begin(), name.end());
  }
}

}  // namespace
