// Where a unit stands: placing it on a hex, deploying it from the reserve
// pool, the HQ commander search over the units around it, and taking it out
// of the world when it dies.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/sound.h"
#include "world/world_helpers.h"
#include "world/world_view.h"
#include "world/commander.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/unit.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/hex.h"

namespace {

// The hex link of a unit: land and air units stand on the cells, ships
// never do (they sit in their fleet at a sea node).
cJednostka* AsHexUnit(cUnit* unit) { return dynamic_cast<cJednostka*>(unit); }
cJednostkaLadowa* AsLandUnit(cUnit* unit) { return dynamic_cast<cJednostkaLadowa*>(unit); }

bool CityConvoyMarkFor(const cCity& city, int countryId) {
  const int index = countryId - 1;
  if (index < 0 || index >= static_cast<int>(city.convoyInfo.size())) return false;
  return city.convoyInfo[static_cast<std::size_t>(index)] != 0;
}

// A per-type cost; a type the table has no column for costs nothing.
template <std::size_t N>
int CostOfType(const std::array<int, N>& table, int index) {
  return index >= 0 && index < static_cast<int>(N) ? table[static_cast<std::size_t>(index)] : 0;
}

}  // namespace

bool cUnit::PlaceOnHex(cWorld& world, int newX, int newY) {
  cMap& map = world.GetMap();
  // Negative coordinates are outside the map as much as those past its
  // edge: the map look-up would answer with its first cell, and the unit
  // would stand there while its own position said otherwise.
  if (!map.IsInside(newX, newY)) return false;
  sHex& target = map.GetHex(newX, newY);
  if (target.unit) return false;
  cJednostka* self = AsHexUnit(this);
  if (self && map.IsInside(x, y)) {
    sHex& old = map.GetHex(x, y);
    if (old.unit == self) old.unit = nullptr;
  }
  x = newX;
  y = newY;
  if (self) target.unit = self;
  return true;
}

namespace {

// The id of the commander in range whose weighted value is greatest (the
// first of equals in the candidates' order), -1 for none.
template <class Candidates>
int BestHqCommanderId(const cUnit& unit, const Candidates& candidates, int range) {
  int best = 0;
  int bestId = -1;
  for (const cJednostkaLadowa* candidate : candidates) {
    if (candidate->countryId != unit.countryId || !candidate->ownCommander) continue;
    const cCommander& commander = *candidate->ownCommander;
    if (commander.type != unit.category) continue;
    const int distance = HexDistance(unit.x, unit.y, candidate->x, candidate->y);
    if (distance > range) continue;
    const int score = static_cast<int>(cUnit::GetCommanderValue(unit.World(), commander, distance) * 100.0f);
    if (score > best) {
      best = score;
      bestId = commander.id;
    }
  }
  return bestId;
}

}  // namespace

void cUnit::AssignBestHQCommanderAmong(const cWorld& world, const std::vector<const cJednostkaLadowa*>& commanded) {
  if (category == kCategoryNaval) {
    hqCommanderId = -1;
    return;
  }
  if (x < 0 || y < 0 || ownCommander) return;
  hqCommanderId = BestHqCommanderId(*this, commanded, world.constants.commanderRange[0]);
}

const cCity* cJednostka::FindDeploySupplyCity(const cWorld& world, int hexX, int hexY) const {
  const cMap& map = world.GetMap();
  if (!map.IsInside(hexX, hexY)) return nullptr;
  if (const cCity* own = map.GetHex(hexX, hexY).city) return own;
  const int turnCountry = world.turnState.CurrentCountryId();
  const cCountry* mover = world.GetCountry(turnCountry);
  const bool atWar = mover && mover->IsAtWarWithAnyone();
  const cCountry* owner = world.GetCountry(countryId);
  const bool convoyMarkCounts = owner && (owner->human || owner->pbemPlayerId != 0);
  const int halfSupply = world.constants.maxSupply / 2;
  const cCity* city = nullptr;
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* neighbour = map.GetNeighbour(hexX, hexY, dir);
    if (!neighbour || !neighbour->city) continue;
    const cCity& candidate = *neighbour->city;
    if (candidate.type == kCityResources || neighbour->controller != turnCountry) continue;
    if (atWar) {
      if (CitySupplyFor(candidate, turnCountry) < halfSupply) continue;
      if (convoyMarkCounts && CityConvoyMarkFor(candidate, turnCountry)) continue;
    }
    city = &candidate;  // the last one that counts
  }
  return city;
}

void cJednostka::DeployFromReserve(cWorld& world, int hexX, int hexY) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  cMap& map = world.GetMap();
  const int turnCountry = world.turnState.CurrentCountryId();
  const cCity* city = FindDeploySupplyCity(world, hexX, hexY);
  if (!city) {
    LogLine(L"Error while deploying unit: cant find appropriate city near (%i,%i)", hexX, hexY);
    FatalExit(1);
  }
  SetSupplySourceX(city->x);
  SetSupplySourceY(city->y);
  SetSupply(CitySupplyFor(*city, turnCountry));

  sUnitLists& lists = world.Units();
  auto& pool = lists.reservePool;
  pool.erase(std::remove(pool.begin(), pool.end(), this), pool.end());
  cJednostkaLadowa* land = AsLandUnit(this);
  if (category == kCategoryLand && land) {
    land->turnsSinceParadrop = 0;
    lists.landUnits.push_back(land);
  } else if (category == kCategoryAir) {
    if (auto* air = dynamic_cast<cJednostkaLotnicza*>(this)) lists.airUnits.push_back(air);
  }
  inReserve = false;
  if (map.IsInside(hexX, hexY)) map.GetHex(hexX, hexY).unit = this;
  x = hexX;
  y = hexY;
  if (land) land->movedOrDeployed = true;
}

void cJednostka::MoveToReservePool() {
  LogLine(L"map --> reserve pool: %s", name.c_str());
  if (cWorld* world = World()) {
    cMap& map = world->GetMap();
    if (map.IsInside(x, y) && map.GetHex(x, y).unit == this) map.GetHex(x, y).unit = nullptr;
    sUnitLists& lists = world->Units();
    if (auto* land = dynamic_cast<cJednostkaLadowa*>(this)) {
      lists.landUnits.remove(land);
    } else if (auto* air = dynamic_cast<cJednostkaLotnicza*>(this)) {
      lists.airUnits.remove(air);
    }
    lists.reservePool.push_back(this);
  }
  inReserve = true;
  x = -1;
  y = -1;
}

bool IsUnitInWorldLists(const cWorld& world, const cJednostka* unit) {
  if (!unit) return false;
  const sUnitLists& lists = world.Units();
  auto in = [unit](const auto& list) {
    return std::find(list.begin(), list.end(), unit) != list.end();
  };
  return in(lists.landUnits) || in(lists.carriedUnitsA) || in(lists.carriedUnitsB) || in(lists.airUnits) ||
         in(lists.reservePool);
}

void KillUnitInWorld(cWorld& world, cJednostka* unit) {
  if (!unit) return;
  const cFrameworkLockGuard lock;
  // Off its hex first: the panels that forgetting it refreshes (at once on
  // the main thread) must no longer find it there.
  cMap& map = world.GetMap();
  if (map.IsInside(unit->x, unit->y) && map.GetHex(unit->x, unit->y).unit == unit) {
    map.GetHex(unit->x, unit->y).unit = nullptr;
  }
  world.turnState.ForgetUnit(unit);
  RemoveUnitFromWorld(world, unit);
}

void RemoveUnitFromWorld(cWorld& world, cJednostka* unit) {
  if (!unit) return;
  sUnitLists& lists = world.Units();
  if (cJednostkaLadowa* land = AsLandUnit(unit)) {
    lists.landUnits.remove(land);
    lists.carriedUnitsA.remove(land);
    lists.carriedUnitsB.remove(land);
  }
  cMap& map = world.GetMap();
  if (map.IsInside(unit->x, unit->y) && map.GetHex(unit->x, unit->y).unit == unit) {
    map.GetHex(unit->x, unit->y).unit = nullptr;
  }
  if (auto* air = dynamic_cast<cJednostkaLotnicza*>(unit)) lists.airUnits.remove(air);
  auto& pool = lists.reservePool;
  pool.erase(std::remove(pool.begin(), pool.end(), unit), pool.end());
  for (auto& country : world.Countries()) {
    if (country) country->reconSpottedUnits.remove(unit);
  }
  if (unit->ownCommander) {
    unit->ownCommander->ReleaseFromUnit();
    unit->ownCommander = nullptr;
  }
  delete unit;
}

bool cUnit::StrategicMove(cWorld& world, int newX, int newY) {
  cMap& map = world.GetMap();
  if (!map.IsInside(newX, newY)) return false;
  // The worker moves the computer's units: the sound plays on the main
  // thread, as every other sound of a move.
  if (visible) ChangeWorldView([](cWorldView&) { PlaySoundEffect(SND_STRATEGIC_DEPLOY_LAND); });
  cJednostka* self = AsHexUnit(this);
  if (self && map.IsInside(x, y) && map.GetHex(x, y).unit == self) map.GetHex(x, y).unit = nullptr;
  x = newX;
  y = newY;
  if (auto* unit = dynamic_cast<cJednostka*>(this)) unit->actionPoints = 0;
  if (self) map.GetHex(newX, newY).unit = self;
  const sScenarioConstants& rules = world.constants;
  if (cCountry* country = world.GetCountry(countryId)) {
    if (category == kCategoryAir) {
      country->AddProductionPoints(-CostOfType(rules.airStrategicMoveCost, type - kUnitFighter));
    } else {
      country->AddStrategicMovementPoints(-CostOfType(rules.strategicMoveCost, type));
    }
  }
  return true;
}
