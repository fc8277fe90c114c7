#include "world/jednostka_morska.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/transport_tables.h"
#include "world/world.h"
#include "world/world_helpers.h"

cJednostkaMorska::cJednostkaMorska(cWorld* world) : cUnit(world) { category = kCategoryNaval; }

int cJednostkaMorska::AddHitPoints(float delta) {
  // Truncate first, then clamp: a ship never goes below 0 nor above its
  // full strength, whatever the combat routines hand in.
  const long long next = static_cast<long long>(hitPoints) + static_cast<long long>(std::trunc(delta));
  hitPoints = static_cast<int>(std::clamp<long long>(next, 0, std::max(0, maxHitPoints)));
  return hitPoints;
}

namespace {

std::wstring TextWithName(const char* key, const std::wstring& name) {
  const wchar_t* format = g_StringBase.GetText(key);
  return plat::Format(format ? format : L"", name.c_str());
}

}  // namespace

void cJednostkaMorska::Kill(bool killCarried) {
  // One step for the main thread: the ship leaves the turn state, the sea
  // nodes, its fleet and the lists together, under the lock (let go also
  // when a step throws).
  const cFrameworkLockGuard lock;
  g_ConsoleLog.WriteLine(TextWithName("killing_%s_naval_unit", name));
  std::vector<int> shownAt;
  if (World()) {
    World()->turnState.ForgetUnit(this);
    // The sea nodes that show this ship forget it (and pick anew below).
    for (sWezelGrafuMorz& node : World()->GetSeaGraph().Nodes()) {
      bool shown = false;
      if (node.ownShip == this) node.ownShip = nullptr, shown = true;
      if (node.enemyShip == this) node.enemyShip = nullptr, shown = true;
      if (shown) shownAt.push_back(node.id);
    }
  }
  if (carriedUnit) {
    cJednostkaLadowa* cargo = carriedUnit;
    carriedUnit = nullptr;
    if (killCarried) {
      g_ConsoleLog.WriteLine(TextWithName("killing_%s_carried_by_transport/amph.", cargo->name));
      cargo->Kill();
      if (IsUnitInWorldLists(*World(), cargo)) RemoveUnitFromWorld(*World(), cargo);
    } else {
      cargo->transport = nullptr;
    }
  }
  const int node = fleet ? fleet->seaNode : -1;
  if (World()) {
    sUnitLists& lists = World()->Units();
    if (fleet) {
      fleet->RemoveShip(this);
      if (fleet->ships.empty()) fleet->Delete(*World());
      fleet = nullptr;
      fleetId = -1;
    }
    lists.navalUnits.remove(this);
    auto& pool = lists.navalReservePool;
    pool.erase(std::remove(pool.begin(), pool.end(), this), pool.end());
  }
  if (ownCommander) {
    ownCommander->ReleaseFromUnit();
    ownCommander = nullptr;
    // The ships of the country at the node follow their best commander left.
    if (World()) {
      if (const sWezelGrafuMorz* at = World()->GetSeaGraph().GetNode(node)) {
        PropagateFleetCommanders(*World(), *at, countryId);
      }
    }
  }
  if (World()) {
    for (int id : shownAt) {
      if (sWezelGrafuMorz* at = World()->GetSeaGraph().GetNode(id)) PickDisplayedShips(*World(), *at, true, true);
    }
  }
  delete this;
}

void cJednostkaMorska::PutIntoFleet(int seaNodeId, bool anyFleet) {
  sUnitLists& lists = World()->Units();
  cFleet* target = nullptr;
  for (cFleet* candidate : lists.fleets) {
    if (candidate->country == countryId && candidate->seaNode == seaNodeId && (anyFleet || !candidate->moved)) {
      target = candidate;  // the last one in list order
    }
  }
  if (!target) {
    target = new cFleet();
    target->formation = kFormationRegular;
    target->id = World()->ids.Take(*World(), eIdKind::kFleet);
    target->country = countryId;
    target->seaNode = seaNodeId;
    const wchar_t* format = g_StringBase.GetText("fleet_#%i");
    target->name = plat::Format(format ? format : L"", target->id);
    // A fleet made by a scenario script has done its moving for this turn.
    target->moved = anyFleet;
    lists.fleets.push_back(target);
  }
  target->ships.push_back(this);
  fleet = target;
  fleetId = target->id;
  auto& pool = lists.navalReservePool;
  pool.erase(std::remove(pool.begin(), pool.end(), this), pool.end());
  if (std::find(lists.navalUnits.begin(), lists.navalUnits.end(), this) == lists.navalUnits.end()) {
    lists.navalUnits.push_back(this);
  }
  inReserve = false;
}

void cJednostkaMorska::JoinFleetAtSeaNode(int seaNodeId) {
  if (!World()) return;
  PutIntoFleet(seaNodeId, false);
  CalculateNavalVisibilityEverywhere(*World(), countryId, false);
}

void cJednostkaMorska::AssignToFleetAtNode(int seaNodeId) {
  if (!World()) return;
  if (seaNodeId > World()->GetSeaGraph().GetNodeCount() || seaNodeId < 1) {
    LogLine(L"WARNING: Could not find sea node with ID = %i while assigning ship %s (ID = %i)", seaNodeId,
            name.c_str(), id);
    return;
  }
  PutIntoFleet(seaNodeId, true);
}

namespace {

constexpr std::uint32_t kMarkUnload = 64;

// A land hex without a unit whose controller is the country or its ally:
// where a ship in port may put its cargo ashore.
bool IsFreeFriendlyLand(const cWorld& world, int x, int y, int countryId) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  const sHex& hex = map.GetHex(x, y);
  return hex.IsLand() && hex.unit == nullptr && IsHexControllerFriendly(world, hex, countryId);
}

}  // namespace

bool cJednostkaMorska::IsUnloadHex(int x, int y) const {
  if (!World() || !fleet || !carriedUnit) return false;
  const cWorld& world = *World();
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(fleet->seaNode);
  const cMap& map = world.GetMap();
  if (!node || !map.IsInside(x, y)) return false;
  if (node->IsSeaZone()) {
    // From the open sea only an amphibious ship lands, on an enemy coast of
    // its zone; a unit of a country not at war there blocks the beach.
    if (type != kUnitAmphibiousShip) return false;
    const sHex& hex = map.GetHex(x, y);
    if (!hex.IsLand() || !hex.coastal || hex.seaZone != node->id) return false;
    if (!IsHexOwnerAtWarWith(world, hex, countryId)) return false;
    return hex.unit == nullptr || AreAtWar(world, countryId, hex.unit->countryId);
  }
  const bool nearPort = (x == node->x && y == node->y) || map.GetNeighbourDirection(node->x, node->y, x, y) != 0;
  return nearPort && IsFreeFriendlyLand(world, x, y, countryId);
}

int cJednostkaMorska::MarkUnloadHexes(bool mark) {
  if (!World() || !fleet || !carriedUnit) return 0;
  cWorld& world = *World();
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(fleet->seaNode);
  if (!node) return 0;
  cMap& map = world.GetMap();
  int count = 0;
  const auto take = [&](int x, int y) {
    if (!IsUnloadHex(x, y)) return;
    ++count;
    if (mark) SetHexMark(map, map.GetHex(x, y), kMarkUnload, -1);
  };
  if (node->IsSeaZone()) {
    for (const sHex& hex : map.Hexes()) take(hex.x, hex.y);
    return count;
  }
  take(node->x, node->y);
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(node->x, node->y, dir, nx, ny);
    take(nx, ny);
  }
  return count;
}

bool cJednostkaMorska::FindCoastUnloadHex(const cWorld& world, int& x, int& y) const {
  if (!carriedUnit) {
    LogLine(L"ERROR! Trying to unload non-existing unit from transport!");
    return false;
  }
  if (!fleet) return false;
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(fleet->seaNode);
  if (!node) return false;
  const int current = world.turnState.CurrentCountryId();
  if (IsFreeFriendlyLand(world, node->x, node->y, current)) {
    x = node->x;
    y = node->y;
    return true;
  }
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(node->x, node->y, dir, nx, ny);
    if (IsFreeFriendlyLand(world, nx, ny, current)) {
      x = nx;
      y = ny;
      return true;
    }
  }
  return false;
}

int cJednostkaMorska::UnloadUnitAt(int x, int y, int portX, int portY) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  cJednostkaLadowa* unit = carriedUnit;
  if (!unit || !World()) return 0;
  cWorld& world = *World();
  cMap& map = world.GetMap();
  // A landing never puts two units on one hex nor a unit off the map.
  if (!map.IsInside(x, y) || map.GetHex(x, y).unit != nullptr) {
    LogLine(L"ERROR! %s cannot be unloaded to hex (%i, %i): it is off the map or taken", unit->name, x, y);
    return 0;
  }
  const cFrameworkLockGuard lock;
  // The points bound in the ship come back to the pool they were paid from.
  cCountry* payer = world.turnState.currentCountry ? world.turnState.currentCountry : unit->GetCountry();
  if (payer) {
    const int cost = transport_tables::CarryCost(world.constants, type, unit->type);
    if (type == kUnitAmphibiousShip) {
      payer->AddAmphibiousInvasionPoints(cost);
    } else {
      payer->AddSeaTransportPoints(cost);
    }
  }
  unit->SetActionPoints(0);
  // A port hex without a city (a sea zone's main hex) leaves the supply as
  // it was.
  if (map.IsInside(portX, portY)) {
    if (const cCity* city = map.GetHex(portX, portY).city) {
      unit->SetSupply(CitySupplyFor(*city, unit->countryId));
      unit->SetSupplySourceX(portX);
      unit->SetSupplySourceY(portY);
    }
  }
  unit->UpdateEffectiveness();
  unit->x = x;
  unit->y = y;
  unit->transport = nullptr;
  unit->transporterId = -1;
  map.GetHex(x, y).unit = unit;
  sUnitLists& lists = world.Units();
  lists.carriedUnitsA.remove(unit);
  lists.carriedUnitsB.remove(unit);
  lists.landUnits.push_back(unit);
  carriedUnit = nullptr;
  unit->RevealUnitsAround(world, false);
  return 1;
}
