#include "world/strategic_movement.h"

#include <algorithm>

#include "app/console_log.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex_changes.h"
#include "world/jednostka_ladowa.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// Every mark but the selection's.
constexpr std::uint32_t kOrderMarks = 0xFFFFFFFEu;

const Topography kNoGroups;

// The first group that holds the city, or null.
const TopographyGroup* GroupOf(const Topography& groups, const cCity& city) {
  for (const TopographyGroup& group : groups) {
    if (std::find(group.begin(), group.end(), &city) != group.end()) return &group;
  }
  return nullptr;
}

const Topography& TopographyOf(const cWorld& world, int countryId) {
  if (countryId < 1 || countryId > static_cast<int>(world.topographies.size())) return kNoGroups;
  return world.topographies[static_cast<std::size_t>(countryId - 1)];
}

bool Holds(const TopographyGroup& group, const cCity& city) {
  return std::find(group.begin(), group.end(), &city) != group.end();
}

// A hex a unit may be moved to beside a destination held by holder: on the
// map, land, free, and held by the holder or an ally of it.
bool IsFreeFriendlyLand(const cWorld& world, const sHex& hex, int holder) {
  if (!hex.IsLand() || hex.unit != nullptr || hex.controller == 0) return false;
  const cCountry* country = world.GetCountry(holder);
  return country != nullptr && IsControllerFriendlyTo(hex.controller, *country);
}

}  // namespace

const char* StrategicMoveBlockKey(eStrategicMoveBlock block) {
  switch (block) {
    case eStrategicMoveBlock::kNone: return "unitpanel_strategic_move_icon_hint";
    case eStrategicMoveBlock::kNoPoints: return "unitpanel_strategic_move_icon_hint_no_smp";
    case eStrategicMoveBlock::kNotFullActionPoints: return "unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen";
    case eStrategicMoveBlock::kNoSupplySource:
      return "unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply";
    case eStrategicMoveBlock::kOutOfSupply: return "unitpanel_strategic_move_icon_out_of_supply";
  }
  return "unitpanel_strategic_move_icon_hint";
}

int StrategicMoveCost(const cWorld& world, const cJednostka& unit) {
  const sScenarioConstants& k = world.constants;
  if (unit.category == kCategoryAir) {
    const int slot = unit.type - kUnitFighter;
    return slot >= 0 && slot < static_cast<int>(k.airStrategicMoveCost.size())
               ? k.airStrategicMoveCost[static_cast<std::size_t>(slot)]
               : 0;
  }
  return unit.type >= 0 && unit.type < static_cast<int>(k.strategicMoveCost.size())
             ? k.strategicMoveCost[static_cast<std::size_t>(unit.type)]
             : 0;
}

eStrategicMoveBlock GetStrategicMoveBlock(const cWorld& world, const cJednostka& unit) {
  const cCountry* country = world.GetCountry(unit.countryId);
  const int cost = StrategicMoveCost(world, unit);
  const bool noSource = unit.supplySourceX == -1 || unit.supplySourceY == -1;
  const bool supplied = unit.supply > 0 && unit.turnsWithoutSupply < 1;
  if (unit.category == kCategoryAir) {
    if (noSource) return eStrategicMoveBlock::kNoSupplySource;
    if (!supplied) return eStrategicMoveBlock::kOutOfSupply;
    if (unit.actionPoints != unit.startingActionPoints) return eStrategicMoveBlock::kNotFullActionPoints;
    if (country == nullptr || country->productionPoints < cost) return eStrategicMoveBlock::kNoPoints;
    return eStrategicMoveBlock::kNone;
  }
  if (country == nullptr || country->strategicMovementPoints < cost) return eStrategicMoveBlock::kNoPoints;
  const auto* land = dynamic_cast<const cJednostkaLadowa*>(&unit);
  if (unit.actionPoints != unit.startingActionPoints || (land != nullptr && land->freezeTime > 0)) {
    return eStrategicMoveBlock::kNotFullActionPoints;
  }
  if (noSource) return eStrategicMoveBlock::kNoSupplySource;
  if (!supplied) return eStrategicMoveBlock::kOutOfSupply;
  return eStrategicMoveBlock::kNone;
}

void cStrategicMovement::Init() {
  LogLine(L"Strategic movement: topographies set up for %i countries", world_.GetCountryCount());
  world_.topographies.resize(static_cast<std::size_t>(std::max(0, world_.GetCountryCount())));
}

void cStrategicMovement::SetCountryTopography(int countryId, const Topography& groups) {
  if (countryId < 1 || countryId > static_cast<int>(world_.topographies.size())) return;
  world_.topographies[static_cast<std::size_t>(countryId - 1)] = groups;
  LogLine(L"Strategic movement: country id=%i has %i groups", countryId, static_cast<int>(groups.size()));
  int index = 0;
  for (const TopographyGroup& group : groups) {
    std::wstring names;
    for (const cCity* city : group) {
      if (!names.empty()) names += L", ";
      names += city->GetName();
    }
    LogLine(L"  group %i: %s", ++index, names);
  }
}

const Topography& cStrategicMovement::CountryTopography(int countryId) const {
  return TopographyOf(world_, countryId);
}

bool IsStrategicDestinationCity(const cWorld& world, const cJednostka& unit, const cCity& target) {
  const cCountry* country = world.GetCountry(unit.countryId);
  if (country == nullptr || unit.supplySourceX == -1 || unit.supplySourceY == -1) return false;
  const cMap& map = world.GetMap();
  if (!map.IsInside(unit.supplySourceX, unit.supplySourceY)) return false;
  const cCity* source = map.GetHex(unit.supplySourceX, unit.supplySourceY).city;
  if (source == nullptr) return false;
  // Land nobody holds is nobody's: never a destination.
  if (!IsControllerFriendlyTo(target.GetControllerId(), *country)) return false;
  if (unit.category == kCategoryAir) return true;
  const Topography& groups =
      country->alliance != kNeutral ? TopographyOf(world, country->id) : world.GetTopography().WorldTopography();
  const TopographyGroup* group = GroupOf(groups, target);
  return group != nullptr && Holds(*group, *source);
}

bool cStrategicMovement::IsCityReachable(const cJednostka& unit, const cCity& target) const {
  return IsStrategicDestinationCity(world_, unit, target);
}

namespace {

// Calls fn(x, y) for each hex a destination city of the unit offers: the
// city's hex when free, and its free land neighbours its holder or an ally
// of it holds.
template <class Fn>
void ForEachTarget(const cWorld& world, const cJednostka& unit, Fn&& fn) {
  const cMap& map = world.GetMap();
  for (const cCity* city : world.Cities()) {
    if (city == nullptr || !map.IsInside(city->x, city->y) || !IsStrategicDestinationCity(world, unit, *city)) {
      continue;
    }
    const sHex& hex = map.GetHex(city->x, city->y);
    if (hex.unit == nullptr) fn(city->x, city->y);
    const int holder = hex.controller;
    for (int dir = 0; dir < 6; ++dir) {
      const sHex* next = map.GetNeighbour(city->x, city->y, dir);
      if (next != nullptr && IsFreeFriendlyLand(world, *next, holder)) fn(next->x, next->y);
    }
  }
}

}  // namespace

int cStrategicMovement::MarkStrategicMoveTargets(const cJednostka& unit) {
  cMap& map = world_.GetMap();
  ClearMapMarks(map, kOrderMarks, true);
  for (int id = 1; id <= world_.GetCountryCount(); ++id) {
    LogLine(L"Kraj o id=%i ma %i grup topograficznych", id, static_cast<int>(CountryTopography(id).size()));
  }
  int marked = 0;
  ForEachTarget(world_, unit, [&](int x, int y) {
    sHex& hex = map.GetHex(x, y);
    if ((hex.markBits & kMarkStrategicDestination) == 0) ++marked;
    SetHexMark(map, hex, kMarkStrategicDestination, -1);
  });
  return marked;
}

bool IsStrategicMoveTarget(const cWorld& world, const cJednostka& unit, int x, int y) {
  bool found = false;
  ForEachTarget(world, unit, [&](int tx, int ty) { found = found || (tx == x && ty == y); });
  return found;
}

bool cJednostkaLadowa::FindStrategicMoveDestination(const cWorld& world, const cCity& target, int& outX,
                                                    int& outY) const {
  if (actionPoints != startingActionPoints) return false;
  const cCountry* country = world.GetCountry(countryId);
  if (country == nullptr || country->strategicMovementPoints < StrategicMoveCost(world, *this)) return false;
  if (!IsStrategicDestinationCity(world, *this, target)) return false;
  const cMap& map = world.GetMap();
  if (!map.IsInside(target.x, target.y)) return false;
  if (map.GetHex(target.x, target.y).unit == nullptr) {
    outX = target.x;
    outY = target.y;
    return true;
  }
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* next = map.GetNeighbour(target.x, target.y, dir);
    if (next == nullptr || next->controller == 0 || next->unit != nullptr) continue;
    if (!IsControllerFriendlyTo(next->controller, *country)) continue;
    outX = next->x;
    outY = next->y;
    return true;
  }
  return false;
}
