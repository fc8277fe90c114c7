#include "world/id_counters.h"

#include <algorithm>
#include <climits>

#include "app/fatal_exit.h"
#include "world/convoy.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

constexpr unsigned Bit(eIdKind kind) { return 1u << static_cast<int>(kind); }

int& CounterOf(sIdCounters& ids, eIdKind kind) {
  switch (kind) {
    case eIdKind::kConvoy: return ids.nextConvoyId;
    case eIdKind::kFleet: return ids.nextFleetId;
    case eIdKind::kShip: return ids.nextShipId;
    case eIdKind::kLandUnit: return ids.nextLandUnitId;
    case eIdKind::kAirUnit: break;
  }
  return ids.nextAirUnitId;
}

// The counter goes on at `first`; one past the greatest int leaves the
// kind's ids used up, its next id the lowest free one.
void StartAt(sIdCounters& ids, eIdKind kind, long long first) {
  if (first <= INT_MAX) {
    CounterOf(ids, kind) = static_cast<int>(first);
    ids.usedUp &= ~Bit(kind);
  } else {
    CounterOf(ids, kind) = 1;
    ids.usedUp |= Bit(kind);
  }
}

int Greatest(const std::unordered_set<int>& ids) {
  int greatest = 0;
  for (const int id : ids) greatest = std::max(greatest, id);
  return greatest;
}

}  // namespace

int LowestFreeId(const std::unordered_set<int>& used, int from) {
  from = std::max(from, 1);
  // Each search stops at the first gap, at most used.size() + 1 ids on.
  for (long long id = from; id <= INT_MAX; ++id) {
    if (used.count(static_cast<int>(id)) == 0) return static_cast<int>(id);
  }
  for (int id = 1; id < from; ++id) {
    if (used.count(id) == 0) return id;
  }
  return 0;
}

int NewIdBeside(const std::unordered_set<int>& used) {
  const int greatest = Greatest(used);
  return greatest < INT_MAX ? greatest + 1 : LowestFreeId(used);
}

std::unordered_set<int> IdsInUse(cWorld& world, eIdKind kind) {
  std::unordered_set<int> ids;
  sUnitLists& units = world.Units();
  switch (kind) {
    case eIdKind::kConvoy:
      for (int countryId = 1; countryId <= units.convoys.GetCountryCount(); ++countryId) {
        for (const cConvoy& convoy : *units.convoys.ConvoysOf(countryId)) ids.insert(convoy.id);
      }
      break;
    case eIdKind::kFleet:
      for (const cFleet* fleet : units.fleets) ids.insert(fleet->id);
      break;
    case eIdKind::kShip:
      for (const cJednostkaMorska* ship : units.navalUnits) ids.insert(ship->id);
      for (const cJednostkaMorska* ship : units.navalReservePool) ids.insert(ship->id);
      break;
    case eIdKind::kLandUnit:
      for (const auto* list : {&units.landUnits, &units.carriedUnitsA, &units.carriedUnitsB}) {
        for (const cJednostkaLadowa* unit : *list) ids.insert(unit->id);
      }
      for (const cJednostka* unit : units.reservePool) {
        if (unit->category == kCategoryLand) ids.insert(unit->id);
      }
      break;
    case eIdKind::kAirUnit:
      for (const cJednostkaLotnicza* unit : units.airUnits) ids.insert(unit->id);
      for (const cJednostka* unit : units.reservePool) {
        if (unit->category == kCategoryAir) ids.insert(unit->id);
      }
      break;
  }
  return ids;
}

void sIdCounters::Recompute(cWorld& world) {
  sUnitLists& units = world.Units();
  units.fleets.sort([](const cFleet* a, const cFleet* b) { return a->id < b->id; });
  units.navalUnits.sort([](const cJednostkaMorska* a, const cJednostkaMorska* b) { return a->id < b->id; });

  StartAt(*this, eIdKind::kFleet, units.fleets.empty() ? 1 : units.fleets.back()->id + 1LL);
  // The last ship's id + 1, raised to the greatest reserve id, then one
  // more: ships 1 to 5 and no reserve give 7.
  long long ship = units.navalUnits.empty() ? 1 : units.navalUnits.back()->id + 1LL;
  for (const cJednostkaMorska* reserve : units.navalReservePool) ship = std::max<long long>(ship, reserve->id);
  StartAt(*this, eIdKind::kShip, ship + 1);
  for (const eIdKind kind : {eIdKind::kLandUnit, eIdKind::kAirUnit, eIdKind::kConvoy}) {
    StartAt(*this, kind, Greatest(IdsInUse(world, kind)) + 1LL);
  }
}

int sIdCounters::Take(cWorld& world, eIdKind kind) {
  int& next = CounterOf(*this, kind);
  int id = next;
  if ((usedUp & Bit(kind)) != 0) {
    id = LowestFreeId(IdsInUse(world, kind), next);
    if (id == 0) FatalExit(L"ERROR: every id of a record kind is in use: no new record can be made");
  }
  if (id == INT_MAX) {
    next = 1;
    usedUp |= Bit(kind);
  } else {
    next = id + 1;
  }
  return id;
}
