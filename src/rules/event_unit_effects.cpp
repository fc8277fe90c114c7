// The scripted events' land and air units: new ones on a hex or in the
// reserve pool, partisans around a city and artificial harbours; the units
// on hexes killed, moved, frozen and unfrozen; a unit removed by its id or
// drawn by chance.
#include "rules/event_map_effects.h"

#include <utility>
#include <vector>

#include "app/console_log.h"
#include "app/random.h"
#include "platform/format.h"
#include "rules/artificial_harbour.h"
#include "rules/capture.h"
#include "rules/purchases.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// Partisans appear within five hexes of their city, found in at most 30
// draws.
constexpr int kPartisanTries = 30;
constexpr int kPartisanRadius = 5;
// Strength is a percentage of the full unit, as the unit files keep it.
constexpr int kMaxStrength = 100;


bool IsLandType(int type) { return type >= kUnitInfantryDivision && type <= kUnitAirborneDivision; }
bool IsAirType(int type) { return type >= kUnitFighter && type <= kUnitStrategicBomber; }

bool CheckLevel(double level, const sEventCall& call) {
  const int value = EventInt(level);
  if (value >= 1 && value <= kPurchaseMaxLevel) return true;
  LogEventError(call, plat::Format(L"level %i outside 1..%i", value, kPurchaseMaxLevel));
  return false;
}

bool CheckStrength(double strength, const sEventCall& call) {
  const int value = EventInt(strength);
  if (value >= 1 && value <= kMaxStrength) return true;
  LogEventError(call, plat::Format(L"strength %i outside 1..%i", value, kMaxStrength));
  return false;
}

bool CheckAirUnit(double type, double level, double strength, const sEventCall& call) {
  if (!IsAirType(EventInt(type))) {
    LogEventError(call, plat::Format(L"%i is no air unit type", EventInt(type)));
    return false;
  }
  return CheckLevel(level, call) && CheckStrength(strength, call);
}

// Both coordinates -1 name the reserve pool.
bool NamesReservePool(double x, double y) { return EventInt(x) == -1 && EventInt(y) == -1; }
// Either coordinate -1: the effects that need a hex do nothing.
bool NamesNoHex(double x, double y) { return EventInt(x) == -1 || EventInt(y) == -1; }

// The unit stands on the hex: on the world's list of its kind, no reserve
// flag, no supply source, no action points.
template <class Unit>
Unit& StandOnHex(std::unique_ptr<Unit> made, std::list<Unit*>& list, sHex& hex) {
  Unit* unit = made.release();
  unit->inReserve = false;
  unit->x = hex.x;
  unit->y = hex.y;
  unit->SetSupplySourceX(-1);
  unit->SetSupplySourceY(-1);
  unit->SetActionPoints(0);
  list.push_back(unit);
  hex.unit = unit;
  return *unit;
}

void JoinReservePool(cWorld& world, std::unique_ptr<cJednostka> made) {
  cJednostka* unit = made.release();
  unit->inReserve = true;
  unit->x = -1;
  unit->y = -1;
  world.Units().reservePool.push_back(unit);
}

// The checks every new land unit on a hex passes: its country, type, level
// and strength (p2 to p5).
const cCountry* CheckNewLandUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = EventCountry(world, P(effect, 2), call);
  if (country == nullptr || !CheckEventLandUnit(P(effect, 3), P(effect, 4), call)) return nullptr;
  if (!CheckStrength(P(effect, 5), call)) return nullptr;
  return country;
}

cJednostkaLadowa& PlaceNewLandUnit(cWorld& world, const cCountry& country, const sEventEffect& effect, sHex& hex) {
  return StandOnHex(NewEventLandUnit(world, country, P(effect, 3), P(effect, 4), P(effect, 5), Name(effect)),
                    world.Units().landUnits, hex);
}

// A hex a land unit may be put on: free land.
bool IsFreeLand(const sHex& hex) { return hex.unit == nullptr && hex.IsLand(); }

// The hex passes to the country; a port that changes hands sends the fleets
// in it out to sea, as when a unit takes it.
void PassControl(cWorld& world, sHex& hex, int countryId) {
  if (hex.controller == countryId) return;
  SetHexController(world.GetMap(), hex, countryId);
  EvacuatePort(world, hex.x, hex.y);
}

// A land unit of the hex, or null.
cJednostkaLadowa* LandUnitOn(const sHex& hex) { return dynamic_cast<cJednostkaLadowa*>(hex.unit); }

// A partisans' hex: on the map, free land, held by the city's controller,
// off the city's row and column and at most five hexes from it.
bool IsPartisanHex(const cMap& map, int x, int y, int cityX, int cityY) {
  if (!map.IsInside(x, y) || x == cityX || y == cityY) return false;
  const sHex& hex = map.GetHex(x, y);
  return IsFreeLand(hex) && hex.controller == map.GetHex(cityX, cityY).controller &&
         HexDistance(x, y, cityX, cityY) <= kPartisanRadius;
}

// The country filter of "Unit.Remove": below 1 every country, otherwise a
// country that exists. False after the error line.
bool CheckRemovalCountry(cWorld& world, double id, const sEventCall& call) {
  return EventInt(id) < 1 || EventCountry(world, id, call) != nullptr;
}

// The type filter: -1 every type, otherwise a land, harbour or air type.
bool CheckRemovalType(double type, const sEventCall& call) {
  const int value = EventInt(type);
  if (value == -1 || IsLandType(value) || IsAirType(value) || value == kUnitArtificialHarbour) return true;
  LogEventError(call, plat::Format(L"%i is no land or air unit type", value));
  return false;
}

}  // namespace

bool CheckEventLandUnit(double type, double level, const sEventCall& call) {
  if (!IsLandType(EventInt(type))) {
    LogEventError(call, plat::Format(L"%i is no land unit type", EventInt(type)));
    return false;
  }
  return CheckLevel(level, call);
}

std::unique_ptr<cJednostkaLadowa> NewEventLandUnit(cWorld& world, const cCountry& country, double type,
                                                   double level, double strength, const std::wstring& name) {
  // The land item codes are the land types.
  std::unique_ptr<cUnit> made = MakePurchasedUnit(world, country, EventInt(type), EventInt(level), name);
  std::unique_ptr<cJednostkaLadowa> unit(static_cast<cJednostkaLadowa*>(made.release()));
  unit->id = world.ids.Take(world, eIdKind::kLandUnit);
  unit->SetStrength(EventInt(strength));
  unit->availableInTurns = 0;
  // A unit a script raises starts supplied, its counters at 0.
  unit->turnsWithoutSupply = 0;
  unit->UpdateEffectiveness();
  return unit;
}

void AddLandUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = CheckNewLandUnit(world, effect, call);
  if (country == nullptr) return;
  if (NamesReservePool(P(effect, 0), P(effect, 1))) {
    JoinReservePool(world, NewEventLandUnit(world, *country, P(effect, 3), P(effect, 4), P(effect, 5), Name(effect)));
    return;
  }
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr || !IsFreeLand(*hex)) return;
  PlaceNewLandUnit(world, *country, effect, *hex);
  ShowMapChange(false);
}

void AddLandUnitAndTakeHex(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  if (NamesNoHex(P(effect, 0), P(effect, 1))) return;
  const cCountry* country = CheckNewLandUnit(world, effect, call);
  if (country == nullptr) return;
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  // A land unit never stands on water.
  if (hex == nullptr || !IsFreeLand(*hex)) return;
  PlaceNewLandUnit(world, *country, effect, *hex);
  PassControl(world, *hex, country->id);
  ShowMapChange(true);
}

void FirePartisans(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  if (NamesNoHex(P(effect, 0), P(effect, 1))) return;
  const cCountry* country = CheckNewLandUnit(world, effect, call);
  if (country == nullptr) return;
  if (EventHex(world, P(effect, 0), P(effect, 1), call) == nullptr) return;
  const int cityX = EventInt(P(effect, 0));
  const int cityY = EventInt(P(effect, 1));
  cMap& map = world.GetMap();
  if (map.GetHex(cityX, cityY).controller == country->id) return;
  for (int attempt = 0; attempt < kPartisanTries; ++attempt) {
    const int x = RandomRange(EventInt(P(effect, 0) - kPartisanRadius), EventInt(P(effect, 0) + kPartisanRadius + 1));
    const int y = RandomRange(EventInt(P(effect, 1) - kPartisanRadius), EventInt(P(effect, 1) + kPartisanRadius + 1));
    if (!IsPartisanHex(map, x, y, cityX, cityY)) continue;
    sHex& hex = map.GetHex(x, y);
    PlaceNewLandUnit(world, *country, effect, hex);
    PassControl(world, hex, country->id);
    ShowMapChange(true);
    return;
  }
}

void AddAirUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = EventCountry(world, P(effect, 0), call);
  if (country == nullptr || !CheckAirUnit(P(effect, 3), P(effect, 4), P(effect, 5), call)) return;
  sHex* hex = nullptr;
  if (!NamesReservePool(P(effect, 1), P(effect, 2))) {
    hex = EventHex(world, P(effect, 1), P(effect, 2), call);
    if (hex == nullptr) return;
  }
  const int item = EventInt(P(effect, 3)) - kUnitFighter + kPurchaseFirstAir;
  std::unique_ptr<cUnit> made = MakePurchasedUnit(world, *country, item, EventInt(P(effect, 4)), Name(effect));
  std::unique_ptr<cJednostkaLotnicza> unit(static_cast<cJednostkaLotnicza*>(made.release()));
  unit->id = world.ids.Take(world, eIdKind::kAirUnit);
  unit->strength = static_cast<float>(EventInt(P(effect, 5)));
  unit->availableInTurns = 0;
  // An occupied hex sends the unit to the reserve pool, and so does water:
  // air units are based on land.
  if (hex == nullptr || !IsFreeLand(*hex)) {
    JoinReservePool(world, std::move(unit));
    return;
  }
  StandOnHex(std::move(unit), world.Units().airUnits, *hex);
  ShowMapChange(false);
}

void AddHarbour(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  cCountry* country = EventCountry(world, P(effect, 0), call);
  if (country == nullptr) return;
  sHex* hex = EventHex(world, P(effect, 1), P(effect, 2), call);
  if (hex == nullptr) return;
  // A harbour is built only on a free hex; where a unit stands the country
  // is paid half the harbour's price instead.
  if (hex->unit != nullptr) {
    country->AddProductionPoints(world.constants.mulberryValues[0] / 2.0);
    return;
  }
  PlaceNewHarbour(world, country->id, Name(effect), *hex);
  LogLine(L"Mulberry  \"%s\" created at (%d, %d) for country %s", Name(effect), static_cast<int>(hex->x),
          static_cast<int>(hex->y), country->name);
  ShowMapChange(false);
}

void KillUnitOnHex(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr || hex->unit == nullptr) return;
  hex->unit->Kill();
}

void TeleportUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* from = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (from == nullptr) return;
  sHex* to = EventHex(world, P(effect, 2), P(effect, 3), call);
  if (to == nullptr || from->unit == nullptr || to->IsWater()) return;
  cJednostka* unit = from->unit;
  if (!unit->PlaceOnHex(world, to->x, to->y)) return;
  // A selection, a move record or an attack set up from the old hex no
  // longer holds.
  world.turnState.ForgetUnit(unit);
  ShowMapChange(false);
}

void FreezeUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr) return;
  if (cJednostkaLadowa* unit = LandUnitOn(*hex)) unit->freezeTime = EventInt(P(effect, 2));
}

void FreezeUnitOfCountry(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr) return;
  const cCountry* country = EventCountry(world, P(effect, 3), call);
  if (country == nullptr) return;
  cJednostkaLadowa* unit = LandUnitOn(*hex);
  if (unit != nullptr && unit->countryId == country->id) unit->freezeTime = EventInt(P(effect, 2));
}

void UnfreezeUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sHex* hex = EventHex(world, P(effect, 0), P(effect, 1), call);
  if (hex == nullptr) return;
  if (cJednostkaLadowa* unit = LandUnitOn(*hex)) {
    unit->Unfreeze();
    ShowMapChange(false);
  }
}

void RemoveUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  if (!CheckRemovalCountry(world, P(effect, 0), call) || !CheckRemovalType(P(effect, 1), call)) return;
  const int countryId = EventInt(P(effect, 0));
  const int type = EventInt(P(effect, 1));
  const int id = EventInt(P(effect, 2));
  const auto matches = [&](const cJednostka& unit) {
    return (countryId < 1 || unit.countryId == countryId) && (type == -1 || unit.type == type);
  };
  std::vector<cJednostka*> found;
  const auto gather = [&](auto& list) {
    for (cJednostka* unit : list) {
      if (matches(*unit) && (id < 0 || unit->IdInScenario() == id)) found.push_back(unit);
    }
  };
  // Land and air units have ids of their own: with an id the first land
  // unit that has it goes, else the first air unit. The script names a
  // unit by the id its scenario gave it, which a unit that took a free id
  // for a repeated one keeps as its scenario id.
  gather(world.Units().landUnits);
  gather(world.Units().airUnits);
  if (found.empty()) return;
  found[static_cast<std::size_t>(id >= 0 ? 0 : RandomIndex(static_cast<int>(found.size())))]->Kill();
}
