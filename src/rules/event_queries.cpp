#include "rules/event_queries.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/random.h"
#include "rules/event_params.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

using Params = std::array<double, 10>;
using QueryFn = double (*)(cWorld& world, const Params& p, const sEventCall& call);

double Truth(bool value) { return value ? 1.0 : 0.0; }

// A country field read through the checked look-up of param0; 0 when the
// country does not exist.
template <class Read>
double CountryValue(cWorld& world, const Params& p, const sEventCall& call, Read read) {
  const cCountry* country = EventCountry(world, p[0], call);
  return country != nullptr ? static_cast<double>(read(*country)) : 0.0;
}

// Entry param1 of a table of the country of param0; 0 after the error line
// when either does not exist.
template <class Table>
double CountryTableEntry(cWorld& world, const Params& p, const sEventCall& call, const Table& (*table)(const cCountry&)) {
  const cCountry* country = EventCountry(world, p[0], call);
  if (country == nullptr) return 0.0;
  const Table& entries = table(*country);
  const int index = EventIndex(p[1], static_cast<int>(entries.size()), call);
  return index < 0 ? 0.0 : static_cast<double>(entries[static_cast<std::size_t>(index)]);
}

const std::array<int, kTechCount>& TechLevels(const cCountry& c) { return c.techLevel; }
const std::array<int, kTechCount>& TechProgress(const cCountry& c) { return c.techProgress; }
const std::array<int, kTechCount>& TechInvestment(const cCountry& c) { return c.techInvestment; }
const std::array<int, 14>& PurchasePreferences(const cCountry& c) { return c.aiData.newUnitPurchasePreferences; }
const std::array<int, 9>& CarrierPriorities(const cCountry& c) { return c.aiData.carrierTargetsPriorities; }
const std::array<int, 5>& LandForcesStructure(const cCountry& c) { return c.aiData.desiredLandForcesStructure; }

// The controlled land hex (param0, param1) of the alliance tests: a hex
// without a controller or of water is refused with the method's own line.
const cCountry* HexControllerForAlliance(cWorld& world, const Params& p, const sEventCall& call) {
  const sHex* hex = EventHex(world, p[0], p[1], call);
  if (hex == nullptr) return nullptr;
  if (hex->controller == 0 || hex->terrain == kTerrainWater) {
    LogLine(L"ERROR %s called with arg pointing hex (%d, %d) which is sea hex", std::wstring(call.method), EventInt(p[0]),
            EventInt(p[1]));
    return nullptr;
  }
  return EventCountry(world, hex->controller, call);
}

double ControlledByAlliance(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* controller = HexControllerForAlliance(world, p, call);
  return Truth(controller != nullptr && controller->IsInAlliance(EventInt(p[2])));
}

double OccupiedAndControlledByAlliance(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* controller = HexControllerForAlliance(world, p, call);
  if (controller == nullptr) return 0.0;
  const sHex& hex = world.GetMap().GetHex(EventInt(p[0]), EventInt(p[1]));
  return Truth(controller->IsInAlliance(EventInt(p[2])) && hex.unit != nullptr);
}

double HexOccupied(cWorld& world, const Params& p, const sEventCall& call) {
  const sHex* hex = EventHex(world, p[0], p[1], call);
  return Truth(hex != nullptr && hex->unit != nullptr);
}

double HexControlledByCountry(cWorld& world, const Params& p, const sEventCall& call) {
  const sHex* hex = EventHex(world, p[0], p[1], call);
  return Truth(hex != nullptr && hex->controller == EventInt(p[2]));
}

double CityWasBombed(cWorld& world, const Params& p, const sEventCall& call) {
  const sHex* hex = EventHex(world, p[0], p[1], call);
  return Truth(hex != nullptr && hex->city != nullptr && hex->city->productionLostToBombing > 0);
}

double HasWarWithCountry(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* a = EventCountry(world, p[0], call);
  const cCountry* b = EventCountry(world, p[1], call);
  if (a == nullptr || b == nullptr) return 0.0;
  const cRelationsMatrix& relations = world.GetRelations();
  // A matrix not sized for the countries knows of no war.
  if (a->id > relations.GetCount() || b->id > relations.GetCount()) return 0.0;
  return Truth(relations.IsAtWar(a->id, b->id));
}

double IsAtWar(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* country = EventCountry(world, p[0], call);
  if (country == nullptr) return 0.0;
  const cRelationsMatrix& relations = world.GetRelations();
  if (country->id > relations.GetCount()) return 0.0;
  for (int other = 1; other <= relations.GetCount(); ++other) {
    if (relations.IsAtWar(country->id, other)) return 1.0;
  }
  return 0.0;
}

double FlagValue(cWorld& world, const Params& p, const sEventCall&) {
  const int index = EventInt(p[0]);
  if (index < 0 || index >= kEventFlagCount) {
    LogLine(L"ERR: Flag.GetValue arg out of range: %d, max is %d", index, kEventFlagCount);
    return 0.0;
  }
  // A flag the game never stored is 0.
  if (static_cast<std::size_t>(index) >= world.eventFlags.size()) return 0.0;
  return world.eventFlags[static_cast<std::size_t>(index)];
}

double CommanderLevel(cWorld& world, const Params& p, const sEventCall& call) {
  const cCommander* commander = world.FindCommanderById(EventInt(p[0]));
  if (commander == nullptr) {
    LogEventError(call, L"no commander with id " + std::to_wstring(EventInt(p[0])));
    return 0.0;
  }
  return commander->skill;
}

double RandomNumber(cWorld&, const Params& p, const sEventCall&) {
  return RandomRange(EventInt(p[0]), EventInt(p[1]));
}

double CountryVictoryPoints(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* country = EventCountry(world, p[0], call);
  return country != nullptr ? world.CountCountryVictoryPoints(country->id) : 0.0;
}

double ShipsInSeaZone(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* country = EventCountry(world, p[0], call);
  const sWezelGrafuMorz* node = EventSeaNode(world, p[1], call);
  if (country == nullptr || node == nullptr) return 0.0;
  const int type = EventInt(p[2]);
  int count = 0;
  for (const cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->countryId == country->id && ship->type == type && ship->fleet != nullptr &&
        ship->fleet->seaNode == node->id) {
      ++count;
    }
  }
  return count;
}

// A debugging box of the scripts: it would stop the worker in a modal box,
// so it writes its text to the log.
double DebugBox(cWorld&, const Params&, const sEventCall& call) {
  LogLine(L"Event %i: Zajebiste okienko: daraiarar (logged instead of a message box)", call.eventId);
  return 666.0;
}

// Every country's units of the type in the world's lists (the reserve
// pools not counted).
double UnitCount(cWorld& world, const Params& p, const sEventCall&) {
  const int type = EventInt(p[1]);
  const sUnitLists& units = world.Units();
  auto count = [type](const auto& list) {
    int n = 0;
    for (const auto* unit : list) n += unit->type == type ? 1 : 0;
    return n;
  };
  if ((type >= 0 && type <= 6) || type == 60) {
    return count(units.landUnits) + count(units.carriedUnitsA) + count(units.carriedUnitsB);
  }
  if (type >= 20 && type <= 22) return count(units.airUnits);
  if (type >= 40 && type <= 45) return count(units.navalUnits);
  return 0.0;
}

double PortSize(cWorld& world, const Params& p, const sEventCall& call) {
  const sWezelGrafuMorz* node = EventSeaNode(world, p[0], call);
  return node != nullptr ? node->size : 0.0;
}

double SeaZonePatrolled(cWorld& world, const Params& p, const sEventCall& call) {
  const cCountry* country = EventCountry(world, p[0], call);
  return Truth(country != nullptr && country->aiData.seaZonesToPatrol.Contains(EventInt(p[1])));
}

// The query methods by name. Built once; a look-up hashes the name instead
// of comparing it with every method in turn.
using QueryTable = std::unordered_map<std::wstring_view, QueryFn>;

#define TW_COUNTRY_FIELD(expr)                                                    \
  [](cWorld& w, const Params& p, const sEventCall& c) {                          \
    return CountryValue(w, p, c, [](const cCountry& country) { return (expr); }); \
  }
#define TW_COUNTRY_TABLE(table) \
  [](cWorld& w, const Params& p, const sEventCall& c) { return CountryTableEntry(w, p, c, &table); }

const QueryTable& Queries() {
  static const QueryTable table = {
      {L"Country.GetProductionPoints", TW_COUNTRY_FIELD(country.productionPoints)},
      {L"Country.GetDiplomaticPoints", TW_COUNTRY_FIELD(country.diplomaticPoints)},
      {L"Country.GetVP", &CountryVictoryPoints},
      {L"Country.GetPoliticalStrength", TW_COUNTRY_FIELD(country.politicalStrength)},
      {L"Country.GetAllianceEntry", TW_COUNTRY_FIELD(country.allianceEntry)},
      {L"Country.GetSocialUnrest", TW_COUNTRY_FIELD(country.socialUnrest)},
      {L"Country.HasWarWithCountry", &HasWarWithCountry},
      {L"Country.IsActive", TW_COUNTRY_FIELD(country.active ? 1 : 0)},
      {L"Country.GetZoneOfInfluence", TW_COUNTRY_FIELD(country.zoneOfInfluence)},
      {L"Country.GetOrientation", TW_COUNTRY_FIELD(country.orientation)},
      {L"Flag.GetValue", &FlagValue},
      {L"Commander.GetLevel", &CommanderLevel},
      {L"System.GetRandomNumber", &RandomNumber},
      {L"Hex.ControlledByAliance", &ControlledByAlliance},
      {L"Hex.Occupied", &HexOccupied},
      {L"Hex.OccupiedAndControlledByAlliance", &OccupiedAndControlledByAlliance},
      {L"Country.IsAIControlled", TW_COUNTRY_FIELD(country.human ? 0 : 1)},
      {L"Country.GetWarEconomy", TW_COUNTRY_FIELD(country.warEconomy)},
      {L"Country.GetAlliance", TW_COUNTRY_FIELD(country.alliance)},
      {L"Country.GetStrategicMovementPoints", TW_COUNTRY_FIELD(country.strategicMovementPointsMax)},
      {L"Country.IsAtWar", &IsAtWar},
      {L"Country.GetShipsAmountInSeaZone", &ShipsInSeaZone},
      {L"Country.WyswietlZajebisteOkienko", &DebugBox},
      {L"Hex.ControlledByCountry", &HexControlledByCountry},
      {L"Country.GetUnitPurchasePreferences", TW_COUNTRY_TABLE(PurchasePreferences)},
      {L"Country.GetTechLevel", TW_COUNTRY_TABLE(TechLevels)},
      {L"Country.GetSTP", TW_COUNTRY_FIELD(country.seaTransportPoints)},
      {L"Country.GetAIP", TW_COUNTRY_FIELD(country.amphibiousInvasionPoints)},
      {L"Country.GetAICarrierTargetsPriorities", TW_COUNTRY_TABLE(CarrierPriorities)},
      {L"Get.WinterBattle", [](cWorld& w, const Params&, const sEventCall&) -> double { return w.constants.winterBattleFactor; }},
      {L"Get.WinterMove", [](cWorld& w, const Params&, const sEventCall&) -> double { return w.constants.winterMoveFactor; }},
      {L"Country.GetWinterBattle", TW_COUNTRY_FIELD(country.winterBattle)},
      {L"Country.GetWinterMove", TW_COUNTRY_FIELD(country.winterMove)},
      {L"Get.MudBattle", [](cWorld& w, const Params&, const sEventCall&) -> double { return w.constants.mudBattleFactor; }},
      {L"Get.MudMove", [](cWorld& w, const Params&, const sEventCall&) -> double { return w.constants.mudMoveFactor; }},
      {L"Country.GetMudBattle", TW_COUNTRY_FIELD(country.mudBattle)},
      {L"Country.GetMudMove", TW_COUNTRY_FIELD(country.mudMove)},
      {L"Country.GetMaxNumberOfFrontsForSeaInvasion", TW_COUNTRY_FIELD(country.aiData.maxNumberOfFrontsForSeaInvasion)},
      {L"Country.GetTechResearchProgress", TW_COUNTRY_TABLE(TechProgress)},
      {L"Country.GetTechInvestment", TW_COUNTRY_TABLE(TechInvestment)},
      {L"AI.IsSeaZonePatrolled", &SeaZonePatrolled},
      {L"Game.GetCurrentTurn", [](cWorld& w, const Params&, const sEventCall&) -> double { return w.turnNumber; }},
      {L"Country.GetUpkeepCost", TW_COUNTRY_FIELD(country.unitUpkeepModifier)},
      {L"Country.GetMaxSafeMoveCost", TW_COUNTRY_FIELD(country.aiData.maxSafeMoveCost)},
      {L"Country.GetMaxCoveringUnitDistance", TW_COUNTRY_FIELD(country.aiData.maxCoveringUnitDistance)},
      {L"Country.GetMaxUnitCountOnFront", TW_COUNTRY_FIELD(country.aiData.maxUnitCountOnFront)},
      {L"Country.GetMinRatioToPatchFront", TW_COUNTRY_FIELD(country.aiData.minRatioToPatchFront)},
      {L"Country.GetDesiredLandForcesStructure", TW_COUNTRY_TABLE(LandForcesStructure)},
      {L"Country.GetUnitCount", &UnitCount},
      {L"City.WasBombed", &CityWasBombed},
      {L"Port.GetSize", &PortSize},
      {L"Country.GetDifficultyLevel", TW_COUNTRY_FIELD(country.difficulty)},
  };
  return table;
}

#undef TW_COUNTRY_FIELD
#undef TW_COUNTRY_TABLE

}  // namespace

double EvaluateOperand(cWorld& world, const sEventOperand& operand, int eventId) {
  if (IsEventParamDefined(operand.constValue)) return operand.constValue;
  const QueryTable& table = Queries();
  const auto found = table.find(std::wstring_view(operand.method));
  if (found == table.end()) {
    LogLine(L"CRICITAL: Could not resolve operand at line %i! Method=%s unknown?", operand.line, operand.method);
    FatalExit(1);
  }
  const sEventCall call{eventId, operand.method, operand.line};
  return found->second(world, operand.param, call);
}
