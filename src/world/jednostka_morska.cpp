#include "world/jednostka_morska.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/naval_spotting.h"
#include "world/world.h"

cJednostkaMorska::cJednostkaMorska() { category = kCategoryNaval; }

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
  // nodes, its fleet and the lists together.
  AcquireFrameworkLock(__FILE__, __LINE__);
  g_ConsoleLog.WriteLine(TextWithName("killing_%s_naval_unit", name));
  std::vector<int> shownAt;
  if (g_pWorld) {
    g_pWorld->turnState.ForgetUnit(this);
    // The sea nodes that show this ship forget it (and pick anew below).
    for (sWezelGrafuMorz& node : g_pWorld->GetSeaGraph().Nodes()) {
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
      if (IsUnitInWorldLists(cargo)) RemoveUnitFromWorld(cargo);
    } else {
      cargo->transport = nullptr;
    }
  }
  const int node = fleet ? fleet->seaNode : -1;
  if (g_pWorld) {
    sUnitLists& lists = g_pWorld->Units();
    if (fleet) {
      fleet->RemoveShip(this);
      if (fleet->ships.empty()) fleet->Delete(*g_pWorld);
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
    if (g_pWorld) {
      if (const sWezelGrafuMorz* at = g_pWorld->GetSeaGraph().GetNode(node)) {
        PropagateFleetCommanders(*g_pWorld, *at, countryId);
      }
    }
  }
  if (g_pWorld) {
    for (int id : shownAt) {
      if (sWezelGrafuMorz* at = g_pWorld->GetSeaGraph().GetNode(id)) PickDisplayedShips(*g_pWorld, *at, true, true);
    }
  }
  delete this;
  ReleaseFrameworkLock(__FILE__, __LINE__);
}

void cJednostkaMorska::PutIntoFleet(int seaNodeId, bool anyFleet) {
  sUnitLists& lists = g_pWorld->Units();
  cFleet* target = nullptr;
  for (cFleet* candidate : lists.fleets) {
    if (candidate->country == countryId && candidate->seaNode == seaNodeId && (anyFleet || !candidate->moved)) {
      target = candidate;  // the last one in list order
    }
  }
  if (!target) {
    target = new cFleet();
    target->formation = kFormationRegular;
    target->id = g_pWorld->ids.nextFleetId++;
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
  if (!g_pWorld) return;
  PutIntoFleet(seaNodeId, false);
  CalculateNavalVisibilityEverywhere(*g_pWorld, countryId, false);
}

void cJednostkaMorska::AssignToFleetAtNode(int seaNodeId) {
  if (!g_pWorld) return;
  if (seaNodeId > g_pWorld->GetSeaGraph().GetNodeCount() || seaNodeId < 1) {
    LogLine(L"WARNING: Could not find sea node with ID = %i while assigning ship %s (ID = %i)", seaNodeId,
            name.c_str(), id);
    return;
  }
  PutIntoFleet(seaNodeId, true);
}

int cJednostkaMorska::MarkUnloadHexes(bool) { return 0; }
bool cJednostkaMorska::UnloadToCoast(bool) { return false; }
int cJednostkaMorska::UnloadUnitAt(int, int, int, int) { return 0; }
