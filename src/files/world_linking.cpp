// The second loading pass of the world: the records read by the first pass
// are linked together (ships into fleets, cargo aboard its ships, reserve
// units into their pools), the tables that no file stores are built, and
// the id counters continue after the greatest ids in use.
#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/string_base.h"
#include "files/ai_data_file.h"
#include "files/event_loader.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "files/fleet_files.h"
#include "files/reference_checks.h"
#include "files/world_loader.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

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

void FinishLoading(cWorld& world) {
  if (ValidateHexOwnership(world.GetMap(), world.GetCountryCount())) {
    LogLine(L"WARNING: %s: hexes name controllers or owners that are not countries of countries.csv (the ERR lines "
            L"above)",
            files::PathFromPattern(world.folderPattern, L"map.tdw"));
  }
  world.turnState.SetCurrentCountry(PickCurrentCountry(world.Countries()));

  MoveReserveShipsToPool(world);
  PlaceShipsInFleets(world);
  LinkLandUnitsToTransports(world);
  MoveReserveUnitsToPool(world);

  world.GetTopography().ComputeWorldTopography(world.GetMap(), world.Cities());
  world.GetTopography().BuildNearestCityGrid(world.GetMap(), world.Cities());
  // One list of city groups per country for strategic movement, empty
  // until a saved game reads its groups from "topography.csv".
  world.topographies.assign(static_cast<std::size_t>(world.GetCountryCount()), Topography{});

  // The cities diagram and the sea edges never change in play: they come
  // from the scenario's own folder, also for a saved game. The sea nodes
  // (port sizes) come from the loaded folder.
  world.GetCityGraph().BuildNodes(world.Cities());
  world.GetCityGraph().LoadCitiesDiagram(world, world.scenarioName);
  world.ComputeCityHopDistances();
  world.GetSeaGraph().LoadSeaNodes(world, world.folderPattern);
  CheckFleetSeaNodes(world);
  world.GetSeaGraph().LoadSeaEdges(world, world.scenarioName);

  LoadConvoys(world, world.folderPattern);
  world.ids.Recompute(world);
  // The event files belong to the scenario: a saved game reads them from the
  // folder of the scenario it was started from.
  const std::string scenario = plat::ToUtf8(world.scenarioName);
  LoadEventFiles(world.eventManager, scenario);
  ValidateEvents(world.eventManager);
  LoadAllEvents(world.eventManager);
  LoadAiData(world, world.folderPattern);
}

void MoveReserveShipsToPool(cWorld& world) {
  world.Units().navalReservePool.clear();
  std::list<cJednostkaMorska*>& ships = world.Units().navalUnits;
  for (auto it = ships.begin(); it != ships.end();) {
    if ((*it)->inReserve) {
      world.Units().navalReservePool.push_back(*it);
      it = ships.erase(it);
    } else {
      ++it;
    }
  }
}

void PlaceShipsInFleets(cWorld& world) {
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    const int fleetId = ship->fleetId;
    bool placed = false;
    for (cFleet* fleet : world.Units().fleets) {
      if (fleet->id != fleetId) continue;
      fleet->ships.push_back(ship);
      ship->fleet = fleet;
      placed = true;
      g_ConsoleLog.WriteLine(plat::Format(g_StringBase.GetText("%s_belongs_to_fleet_%s"), ship->name, fleet->name));
    }
    if (!placed) {
      LogLine(L"ERROR: %s: ship %s (ID=%i) names fleet %i, which fleets.csv does not hold",
              files::PathFromPattern(world.folderPattern, L"naval_units.csv"), ship->name, ship->id, fleetId);
      FatalExit(plat::Format(L"Data integrity error: %s belongs to fleet id=%i, but no such fleet exists",
                                  ship->name, fleetId));
    }
  }
}

void LinkLandUnitsToTransports(cWorld& world) {
  std::list<cJednostkaLadowa*>& list = world.Units().landUnits;
  for (auto it = list.begin(); it != list.end();) {
    cJednostkaLadowa* unit = *it;
    if (unit->transporterId == -1) {
      ++it;
      continue;
    }
    cJednostkaMorska* ship = FindShip(world, unit->transporterId);
    if (!ship) {
      // A cargo whose ship is missing could never be unloaded nor saved
      // with its ship: the data are broken.
      LogLine(L"ERROR: %s: land unit %s (ID=%i) is aboard ship %i, which naval_units.csv does not hold",
              files::PathFromPattern(world.folderPattern, L"land_units.csv"), unit->name, unit->id,
              unit->transporterId);
      FatalExit(plat::Format(L"Data integrity error: %s is loaded on ship id=%i, but no such ship exists",
                                  unit->name, unit->transporterId));
    }
    if (ship->type != kUnitCargoShip && ship->type != kUnitAmphibiousShip) {
      g_ConsoleLog.WriteLine(
          plat::Format(g_StringBase.GetText("%s_is_supposed_to_be_loaded_into_%s"), unit->name, ship->name));
      FatalExit(
          g_StringBase.GetText("but_this_isn't_transport_or_amphib._fleet._data_integrity_error!_game_terminated."));
    }
    g_ConsoleLog.WriteLine(plat::Format(g_StringBase.GetText("loading_%s_into_%s"), unit->name, ship->name));
    LeaveHex(world, unit);
    // Aboard, a unit has no map position; a row that gave one loses it.
    if (unit->x != -1 || unit->y != -1) {
      LogLine(L"WARNING: land_units.csv: %s (ID=%i) is aboard ship id=%i: its hex (%i, %i) is dropped", unit->name,
              unit->id, ship->id, unit->x, unit->y);
      unit->x = unit->y = -1;
    }
    // A ship carries one unit: a second row naming the same ship would leave
    // the first cargo aboard a ship that no longer knows it.
    if (ship->carriedUnit != nullptr && ship->carriedUnit != unit) {
      LogLine(L"ERROR: %s: land units %s and %s are both aboard ship %i, which carries one",
              files::PathFromPattern(world.folderPattern, L"land_units.csv"), ship->carriedUnit->name, unit->name,
              ship->id);
      FatalExit(plat::Format(L"Data integrity error: ship id=%i carries two units", ship->id));
    }
    unit->transport = ship;
    unit->inReserve = false;
    unit->visible = false;
    ship->carriedUnit = unit;
    (ship->type == kUnitCargoShip ? world.Units().carriedUnitsA : world.Units().carriedUnitsB).push_back(unit);
    it = list.erase(it);
  }
}

void MoveReserveUnitsToPool(cWorld& world) {
  world.Units().reservePool.clear();
  auto move = [&world](auto& list) {
    for (auto it = list.begin(); it != list.end();) {
      cJednostka* unit = *it;
      if (!unit->inReserve) {
        ++it;
        continue;
      }
      unit->SetSupply(world.constants.maxSupply);
      unit->UpdateEffectiveness();
      LeaveHex(world, unit);
      world.Units().reservePool.push_back(unit);
      it = list.erase(it);
    }
  };
  move(world.Units().landUnits);
  move(world.Units().airUnits);
}

void SeedAutoEventsFromEvents(cWorld& world, const std::vector<sEventOptionChances>& events) {
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
    world.autoEvents.Add(event.eventId, chosen);
  }
}

