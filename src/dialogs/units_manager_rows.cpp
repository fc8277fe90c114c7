#include "dialogs/units_manager_rows.h"

#include "app/console_log.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "platform/format.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {


wchar_t Mark(bool yes) { return yes ? L'+' : L' '; }

std::wstring Availability(const cUnit& unit) {
  if (unit.availableInTurns < 1) return Text("units_mgr_units_list_avail_now");
  return plat::Format(std::wstring(Text("units_mgr_units_list_avail_in_%i_turns")), unit.availableInTurns);
}

// Name, strength in per cent of the base (0 for a unit without a base
// strength) with both values, supply, action points, type and level.
std::wstring StateCells(cJednostka& unit) {
  const float strength = unit.GetEffectiveCombatStrength();
  const float base = unit.GetBaseStrength();
  const double percent = base > 0.0f ? 100.0 * static_cast<double>(strength) / static_cast<double>(base) : 0.0;
  return plat::Format(std::wstring(L"%s;%.0f%% (%.1f/%.1f);%i;%i;%s;%i"), unit.name, percent,
                      static_cast<double>(strength), static_cast<double>(base), unit.supply, unit.actionPoints,
                      cUnit::GetSubtypeText(unit.World(), unit.type), unit.level);
}

std::wstring Marks(std::initializer_list<bool> marks) {
  std::wstring cells;
  for (bool mark : marks) {
    cells += L';';
    cells += Mark(mark);
  }
  return cells;
}

// A land unit on the map answers its capability checks; one aboard a ship
// can do none of it until it is ashore.
std::wstring LandRow(cJednostkaLadowa& unit) {
  const bool ashore = unit.IsOnMap();
  return StateCells(unit) +
         Marks({ashore && unit.CanUpgradeToCorps(nullptr), ashore && unit.CanLevelUp(nullptr),
                unit.ownCommander != nullptr, ashore && unit.CanStrategicMove(nullptr),
                ashore && unit.CanReplenish(nullptr), ashore && unit.CanAirborneAssault(nullptr),
                ashore && unit.CanSeaTransport(nullptr), ashore && unit.CanAmphibiousTransport(nullptr)});
}

std::wstring AirRow(cJednostkaLotnicza& unit) {
  return StateCells(unit) + Marks({unit.CanLevelUp(nullptr), unit.ownCommander != nullptr,
                                   unit.CanStrategicMove(nullptr), unit.CanReplenish(nullptr),
                                   unit.CanAirFight(nullptr), unit.CanBombard(nullptr),
                                   unit.CanNuclearAttack(nullptr), unit.CanAirRecon(nullptr)});
}

std::wstring NavalRow(const cWorld& world, const cJednostkaMorska& ship) {
  // A ship without maximum hit points counts as 0 per cent.
  const int percent = ship.maxHitPoints > 0 ? 100 * ship.hitPoints / ship.maxHitPoints : 0;
  std::wstring fleet, node;
  if (ship.fleet != nullptr) {
    fleet = ship.fleet->name;
    if (const sWezelGrafuMorz* at = world.GetSeaGraph().GetNode(ship.fleet->seaNode)) node = at->name;
  }
  return plat::Format(std::wstring(L"%s;%i%% (%i/%i);%s;%s;%s"), ship.name, percent, ship.hitPoints,
                      ship.maxHitPoints, cUnit::GetSubtypeText(&world, ship.type), fleet, node);
}

template <class List, class Add>
void ForCountry(const List& list, int countryId, std::uint32_t filter, Add add) {
  for (auto* unit : list) {
    if (unit->countryId == countryId && PassesFilter(filter, unit->type)) add(*unit);
  }
}

}  // namespace

void SetMaskBit(std::uint32_t* mask, int bit, bool set) {
  if (mask == nullptr || bit < 0 || bit > 31) return;
  const std::uint32_t value = 1u << bit;
  *mask = set ? (*mask | value) : (*mask & ~value);
}

std::uint32_t& CategoryFilter(sUnitsManagerView& view, int category) {
  if (category == kCategoryAir) return view.airFilter;
  if (category == kCategoryNaval) return view.navalFilter;
  return view.landFilter;
}

bool PassesFilter(std::uint32_t mask, int type) {
  if (type < 0) return false;
  return (mask & (1u << (type % 20))) != 0;
}

std::vector<sUnitsManagerRow> UnitsManagerRows(cWorld& world, int countryId, int category, int listMode,
                                               std::uint32_t filter) {
  std::vector<sUnitsManagerRow> rows;
  sUnitLists& units = world.Units();
  if (listMode == kUnitsListOnMap) {
    if (category == kCategoryLand) {
      for (const auto* list : {&units.landUnits, &units.carriedUnitsA, &units.carriedUnitsB}) {
        ForCountry(*list, countryId, filter, [&](cJednostkaLadowa& unit) { rows.push_back({&unit, LandRow(unit)}); });
      }
    } else if (category == kCategoryAir) {
      ForCountry(units.airUnits, countryId, filter,
                 [&](cJednostkaLotnicza& unit) { rows.push_back({&unit, AirRow(unit)}); });
    } else {
      ForCountry(units.navalUnits, countryId, filter,
                 [&](cJednostkaMorska& ship) { rows.push_back({&ship, NavalRow(world, ship)}); });
    }
    return rows;
  }
  if (category == kCategoryNaval) {
    ForCountry(units.navalReservePool, countryId, filter, [&](cJednostkaMorska& ship) {
      const std::wstring row =
          plat::Format(std::wstring(L"%s;%s;%s"), ship.name, cUnit::GetSubtypeText(&world, ship.type), Availability(ship));
      LogLine(L"%s", row);
      rows.push_back({&ship, row});
    });
    return rows;
  }
  for (cJednostka* unit : units.reservePool) {
    if (unit->category != category || unit->countryId != countryId || !PassesFilter(filter, unit->type)) continue;
    rows.push_back({unit, plat::Format(std::wstring(L"%s;%s;%i;%s"), unit->name, cUnit::GetSubtypeText(&world, unit->type),
                                       unit->level, Availability(*unit))});
  }
  return rows;
}

void CountUnitsOfType(const cWorld& world, int countryId, int type, int& onMap, int& inReserve) {
  onMap = 0;
  inReserve = 0;
  const sUnitLists& units = world.Units();
  const auto count = [countryId, type](const auto& list) {
    int n = 0;
    for (const auto* unit : list) {
      if (unit->countryId == countryId && unit->type == type) ++n;
    }
    return n;
  };
  onMap = count(units.landUnits) + count(units.carriedUnitsA) + count(units.carriedUnitsB) + count(units.airUnits) +
          count(units.navalUnits);
  inReserve = count(units.reservePool) + count(units.navalReservePool);
}

bool UnitsManagerHex(const cWorld& world, const cUnit& unit, int& x, int& y) {
  const cMap& map = world.GetMap();
  const cJednostkaMorska* ship = dynamic_cast<const cJednostkaMorska*>(&unit);
  if (ship == nullptr) {
    if (const auto* land = dynamic_cast<const cJednostkaLadowa*>(&unit); land != nullptr && !land->IsOnMap()) {
      ship = land->transport;
    } else {
      x = unit.x;
      y = unit.y;
      return map.IsInside(x, y);
    }
  }
  if (ship == nullptr || ship->fleet == nullptr) return false;
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(ship->fleet->seaNode);
  if (node == nullptr) return false;
  if (node->size > 0 || !map.IsInside(node->ownShipX, node->ownShipY)) {
    x = node->x;
    y = node->y;
  } else {
    x = node->ownShipX;
    y = node->ownShipY;
  }
  return map.IsInside(x, y);
}
