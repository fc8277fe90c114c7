// The second loading pass of the world: the records read by the first pass
// are linked together (ships into fleets, cargo aboard its ships, reserve
// units into their pools), the tables that no file stores are built, and
// the id counters continue after the greatest ids in use.
#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/string_base.h"
#include "files/ai_data_file.h"
#include "files/fatal.h"
#include "files/fleet_files.h"
#include "files/world_loader.h"
#include "platform/format.h"
#include "units/commander.h"
#include "units/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/cities.h"
#include "world/gra.h"

namespace {

// A unit leaving the world must not stay the unit of its commander nor the
// unit of its hex.
void ForgetUnit(cWorld& world, cUnit* unit) {
  if (unit->ownCommander && unit->ownCommander->ledUnit == unit) unit->ownCommander->ledUnit = nullptr;
  cMap& map = world.GetMap();
  if (!map.IsInside(unit->x, unit->y)) return;
  sHex& hex = map.GetHex(unit->x, unit->y);
  if (static_cast<const void*>(hex.unit) == static_cast<const void*>(unit)) hex.unit = nullptr;
}

// The hex link of a unit that leaves the map for a pool or a ship.
void LeaveHex(cWorld& world, const cUnit* unit) {
  cMap& map = world.GetMap();
  if (!map.IsInside(unit->x, unit->y)) return;
  sHex& hex = map.GetHex(unit->x, unit->y);
  if (static_cast<const void*>(hex.unit) == static_cast<const void*>(unit)) hex.unit = nullptr;
}

cJednostkaMorska* FindShip(cWorld& world, int shipId) {
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->id == shipId) return ship;
  }
  for (cJednostkaMorska* ship : world.Units().navalReservePool) {
    if (ship->id == shipId) return ship;
  }
  return nullptr;
}

}  // namespace

void cWorld::FinishLoading() {
  ValidateHexOwnership(*map_, GetCountryCount());
  turnState.SetCurrentCountry(PickCurrentCountry(countries_));

  MoveReserveShipsToPool();
  PlaceShipsInFleets();
  LinkLandUnitsToTransports();
  MoveReserveUnitsToPool();

  topography_.CreateAllianceHexData(*map_);
  topography_.ComputeWorldTopography(*map_, cities_);
  topography_.BuildNearestCityGrid(*map_, cities_);
  // One list of city groups per country for strategic movement, empty
  // until a saved game reads its groups from "topography.csv".
  topographies.assign(static_cast<std::size_t>(GetCountryCount()), Topography{});

  // The cities diagram and the sea edges never change in play: they come
  // from the scenario's own folder, also for a saved game. The sea nodes
  // (port sizes) come from the loaded folder.
  city_graph_.BuildNodes(cities_);
  city_graph_.LoadCitiesDiagram(scenarioName);
  ComputeCityHopDistances();
  sea_graph_.LoadSeaNodes(folderPattern);
  sea_graph_.LoadSeaEdges(scenarioName);

  LoadConvoys(*this, folderPattern);
  ids.Recompute(*this);
  // Scenario events are not loaded yet: a scenario plays without them.
  LoadAiData(*this, folderPattern);
}

void cWorld::MoveReserveShipsToPool() {
  units_.navalReservePool.clear();
  std::list<cJednostkaMorska*>& ships = units_.navalUnits;
  for (auto it = ships.begin(); it != ships.end();) {
    if ((*it)->inReserve) {
      units_.navalReservePool.push_back(*it);
      it = ships.erase(it);
    } else {
      ++it;
    }
  }
}

void cWorld::PlaceShipsInFleets() {
  for (cJednostkaMorska* ship : units_.navalUnits) {
    const int fleetId = ship->fleetId;
    bool placed = false;
    for (cFleet* fleet : units_.fleets) {
      if (fleet->id != fleetId) continue;
      fleet->ships.push_back(ship);
      ship->fleet = fleet;
      placed = true;
      g_ConsoleLog.WriteLine(plat::Format(g_StringBase.GetText("%s_belongs_to_fleet_%s"), ship->name, fleet->name));
    }
    if (!placed) {
      FilesFatalExit(plat::Format(L"Data integrity error: %s belongs to fleet id=%i, but no such fleet exists",
                                  ship->name, fleetId));
    }
  }
}

void cWorld::LinkLandUnitsToTransports() {
  std::list<cJednostkaLadowa*>& list = units_.landUnits;
  for (auto it = list.begin(); it != list.end();) {
    cJednostkaLadowa* unit = *it;
    if (unit->transporterId == -1) {
      ++it;
      continue;
    }
    cJednostkaMorska* ship = FindShip(*this, unit->transporterId);
    if (!ship) {
      // A cargo whose ship is missing could never be unloaded nor saved
      // with its ship: the data are broken.
      FilesFatalExit(plat::Format(L"Data integrity error: %s is loaded on ship id=%i, but no such ship exists",
                                  unit->name, unit->transporterId));
    }
    if (ship->type != kUnitCargoShip && ship->type != kUnitAmphibiousShip) {
      g_ConsoleLog.WriteLine(
          plat::Format(g_StringBase.GetText("%s_is_supposed_to_be_loaded_into_%s"), unit->name, ship->name));
      FilesFatalExit(
          g_StringBase.GetText("but_this_isn't_transport_or_amphib._fleet._data_integrity_error!_game_terminated."));
    }
    LeaveHex(*this, unit);
    unit->transport = ship;
    ship->carriedUnit = unit;
    (ship->type == kUnitCargoShip ? units_.carriedUnitsA : units_.carriedUnitsB).push_back(unit);
    it = list.erase(it);
  }
}

void cWorld::MoveReserveUnitsToPool() {
  units_.reservePool.clear();
  auto move = [this](auto& list) {
    for (auto it = list.begin(); it != list.end();) {
      cJednostka* unit = *it;
      if (!unit->inReserve) {
        ++it;
        continue;
      }
      unit->SetSupply(constants.maxSupply);
      unit->UpdateEffectiveness();
      LeaveHex(*this, unit);
      units_.reservePool.push_back(unit);
      it = list.erase(it);
    }
  };
  move(units_.landUnits);
  move(units_.airUnits);
}

void cWorld::ResetCitySupplyRows() {
  const auto count = static_cast<std::size_t>(GetCountryCount());
  for (cCity* city : cities_) {
    city->supplyInfo.assign(count, 0);
    city->convoyInfo.assign(count, 0);
  }
}

void cWorld::SeedAutoEventsFromEvents(const std::vector<sEventOptionChances>& events) {
  // An event none of whose options qualifies takes the option chosen for
  // the event before it (0 before the first).
  int chosen = 0;
  for (const sEventOptionChances& event : events) {
    int best = -1;
    for (const sEventOptionChances::sOption& option : event.options) {
      if (option.chanceAI >= 0 && option.chanceAI > best) {
        best = option.chanceAI;
        chosen = option.optionId;
      }
    }
    autoEvents.Add(event.eventId, chosen);
  }
}

bool cWorld::IsLandUnitIdUsed(int id) const {
  for (const auto* list : {&units_.landUnits, &units_.carriedUnitsA, &units_.carriedUnitsB}) {
    for (const cJednostkaLadowa* unit : *list) {
      if (unit->id == id) return true;
    }
  }
  for (const cJednostka* unit : units_.reservePool) {
    if (unit->category == kCategoryLand && unit->id == id) return true;
  }
  return false;
}

bool cWorld::IsAirUnitIdUsed(int id) const {
  for (const cJednostkaLotnicza* unit : units_.airUnits) {
    if (unit->id == id) return true;
  }
  for (const cJednostka* unit : units_.reservePool) {
    if (unit->category == kCategoryAir && unit->id == id) return true;
  }
  return false;
}

void cWorld::RemoveCountryReserveUnits(int countryId) {
  std::vector<cJednostka*>& pool = units_.reservePool;
  auto keep = std::stable_partition(pool.begin(), pool.end(),
                                    [countryId](const cJednostka* unit) { return unit->countryId != countryId; });
  for (auto it = keep; it != pool.end(); ++it) {
    ForgetUnit(*this, *it);
    delete *it;
  }
  pool.erase(keep, pool.end());
}

void cWorld::RemoveCountryReserveShips(int countryId) {
  std::vector<cJednostkaMorska*>& pool = units_.navalReservePool;
  auto keep = std::stable_partition(pool.begin(), pool.end(),
                                    [countryId](const cJednostkaMorska* ship) { return ship->countryId != countryId; });
  for (auto it = keep; it != pool.end(); ++it) {
    cJednostkaMorska* ship = *it;
    ForgetUnit(*this, ship);
    if (ship->fleet) ship->fleet->RemoveShip(ship);
    delete ship;
  }
  pool.erase(keep, pool.end());
}

void sIdCounters::Recompute(cWorld& world) {
  sUnitLists& units = world.Units();
  units.fleets.sort([](const cFleet* a, const cFleet* b) { return a->id < b->id; });
  units.navalUnits.sort([](const cJednostkaMorska* a, const cJednostkaMorska* b) { return a->id < b->id; });

  nextFleetId = units.fleets.empty() ? 1 : units.fleets.back()->id + 1;
  // The last ship's id + 1, raised to the greatest reserve id, then one
  // more: ships 1 to 5 and no reserve give 7.
  int ship = units.navalUnits.empty() ? 1 : units.navalUnits.back()->id + 1;
  for (const cJednostkaMorska* reserve : units.navalReservePool) ship = std::max(ship, reserve->id);
  nextShipId = ship + 1;

  int land = 0;
  int air = 0;
  for (const auto* list : {&units.landUnits, &units.carriedUnitsA, &units.carriedUnitsB}) {
    for (const cJednostkaLadowa* unit : *list) land = std::max(land, unit->id);
  }
  for (const cJednostkaLotnicza* unit : units.airUnits) air = std::max(air, unit->id);
  for (const cJednostka* unit : units.reservePool) {
    if (unit->category == kCategoryLand) land = std::max(land, unit->id);
    if (unit->category == kCategoryAir) air = std::max(air, unit->id);
  }
  nextLandUnitId = land + 1;
  nextAirUnitId = air + 1;

  int convoy = 0;
  for (int countryId = 1; countryId <= units.convoys.GetCountryCount(); ++countryId) {
    for (const cConvoy& c : *units.convoys.ConvoysOf(countryId)) convoy = std::max(convoy, c.id);
  }
  nextConvoyId = convoy + 1;
}
