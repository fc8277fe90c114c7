// The computer's amphibious landings: each invasion fleet at its destination
// bombards the weakest enemy near the landing area, lands one unit per pass
// on a free coastal hex near its invasion hex and builds an artificial
// harbour behind the landing; the passes go on while units land, and the
// attacks follow each pass that landed one.
#include <algorithm>
#include <vector>

#include "ai/ai_attacks.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "platform/format.h"
#include "rules/amphibious_invasion.h"
#include "rules/artificial_harbour.h"
#include "rules/fleet_orders.h"
#include "rules/land_move_orders.h"
#include "world/ai_orders.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// How far from the invasion hex the bombardment looks for a target, and
// the landings (and the harbour) for a hex.
constexpr int kBombardmentDistance = 6;
constexpr int kLandingDistance = 4;

bool IsBombardingShip(const cJednostkaMorska* ship) {
  return (ship->type == kUnitBattleship || ship->type == kUnitCruiser) && !ship->shoreBombardmentDone;
}

// A fleet that lands its cargo now: an invasion fleet, or a fleet sent to
// its destination, standing there.
bool IsLandingFleet(const cFleet& fleet) {
  return (fleet.aiOrder == kAiFleetInvasion || fleet.aiOrder == kAiFleetMoved) &&
         fleet.seaNode == fleet.aiDestinationNode;
}

// The player sees the fleet's landings: a ship of it is visible and the
// turn shows the computer's actions.
bool IsFleetShown(const cWorld& world, const cFleet& fleet) {
  if (!world.turnState.showActions) return false;
  return std::any_of(fleet.ships.begin(), fleet.ships.end(), [](const cJednostkaMorska* s) { return s->visible; });
}

// Every own fleet at the node with a battleship or cruiser that has not
// fired bombards the weakest enemy near the invasion hex.
void BombardLandingArea(cWorld& world, cCountry& country, int zone, int ix, int iy, bool shown) {
  ReportAction(plat::Format(L"[AI] %s: Amphibious invasion - bombarding landing area...", country.name.c_str()),
               shown);
  int bx = -1, by = -1;
  if (!world.GetMap().FindWeakestCoastalEnemy(world, country.id, ix, iy, zone, kBombardmentDistance, bx, by)) return;
  for (int id : OwnFleetIds(world, country.id)) {
    if (WorkerStopping(world)) return;
    cFleet* fleet = FindFleetById(world, id);
    if (fleet == nullptr || fleet->seaNode != zone) continue;
    bool firing = false;
    for (const cJednostkaMorska* ship : fleet->ships) firing = firing || IsBombardingShip(ship);
    if (!firing) continue;
    sBombardmentResult result;
    const eFleetOrderRefusal refusal = ShoreBombard(world, *fleet, bx, by, result);
    if (refusal != eFleetOrderRefusal::kNone) {
      LogLine(L"[AI] %s: shore bombardment of (%i, %i) by %s refused (%S)", country.name.c_str(), bx, by,
              fleet->name.c_str(), FleetOrderRefusalKey(refusal));
      continue;
    }
    if (shown) ShowStrikeResult(world, bx, by, result);
  }
}

enum class eLanding { kNone, kRepelled, kLanded };

// One unit of the fleet assaults a free coastal hex near the invasion hex;
// the hex it landed on goes into landedX, landedY. Its ship is used up
// either way, so the fleet may be gone afterwards.
eLanding LandOneUnit(cWorld& world, cCountry& country, cFleet& fleet, int zone, int ix, int iy, int& landedX,
                     int& landedY) {
  std::vector<cJednostkaMorska*> ships;
  for (cJednostkaMorska* ship : fleet.ships) {
    if (ship->type == kUnitAmphibiousShip && ship->carriedUnit != nullptr) ships.push_back(ship);
  }
  for (cJednostkaMorska* ship : ships) {
    if (WorkerStopping(world)) return eLanding::kNone;
    if (!IsShipInWorld(world, ship) || ship->carriedUnit == nullptr) continue;
    ReportAction(plat::Format(L"[AI] %s: Amphibious invasion - finding hex to land...", country.name.c_str()),
                 IsFleetShown(world, fleet));
    int lx = -1, ly = -1;
    if (!world.GetMap().FindLandingHex(world, country.id, ix, iy, zone, kLandingDistance, lx, ly, false)) continue;
    cJednostkaLadowa* unit = ship->carriedUnit;
    LogLine(L"[AI] %s: Amphibious invasion - unloading %s", country.name.c_str(), unit->name.c_str());
    if (!AiAmphibiousInvasion(world, *unit, lx, ly)) return eLanding::kRepelled;
    landedX = lx;
    landedY = ly;
    // On toward the invasion hex, when the unit is still there to go.
    if (IsUnitInWorldLists(world, unit) && (unit->x != ix || unit->y != iy)) AiMoveTowardHex(world, *unit, ix, iy);
    return eLanding::kLanded;
  }
  return eLanding::kNone;
}

// The artificial harbour behind a landing: the landing hex when it is free
// again, else the invasion hex when the country holds it free; one per sea
// node in a call, paid from the country's production points.
void BuildHarbourBehindLanding(cWorld& world, cCountry& country, int zone, int ix, int iy, int landedX, int landedY,
                               int& lastHarbourNode) {
  const cMap& map = world.GetMap();
  int hx = -1, hy = -1;
  if (map.IsInside(landedX, landedY) && map.GetHex(landedX, landedY).unit == nullptr) {
    hx = landedX;
    hy = landedY;
  } else if (!map.FindLandingHex(world, country.id, ix, iy, zone, kLandingDistance, hx, hy, true)) {
    return;
  }
  if (zone == lastHarbourNode) return;
  const eHarbourRefusal refusal =
      BuildHarbour(world, country, world.GetMap().GetHex(hx, hy), L"Artificial harbour");
  if (refusal == eHarbourRefusal::kNotEnoughPoints) {
    LogLine(L"Not enough PP for Mulberry purcharse");
    return;
  }
  if (refusal != eHarbourRefusal::kNone) {
    LogLine(L"[AI]: %s - harbour at (%d, %d) refused (%hs)", country.name.c_str(), hx, hy, HarbourRefusalKey(refusal));
    return;
  }
  lastHarbourNode = zone;
  LogLine(L"Mulberry created at (%d, %d) for country %s", hx, hy, country.name.c_str());
}

}  // namespace

int ExecuteAmphibiousInvasions(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  int total = 0;
  int lastHarbourNode = -1;
  // A pass goes on only after a landing, which uses up its ship: the
  // passes end with the ships.
  for (bool attempted = true; attempted && !WorkerStopping(world);) {
    attempted = false;
    bool landedInPass = false;
    for (int id : OwnFleetIds(world, country.id)) {
      if (WorkerStopping(world)) break;
      cFleet* fleet = FindFleetById(world, id);
      if (fleet == nullptr || !IsLandingFleet(*fleet)) continue;
      const int ix = fleet->aiInvasionX, iy = fleet->aiInvasionY;
      if (!world.GetMap().IsInside(ix, iy)) {
        LogLine(L"ERROR Amphibious invasion of %s (ID=%i) destination hex (%i, %i) out of map!", fleet->name.c_str(),
                fleet->id, ix, iy);
        // The fleet keeps its cargo and gives up the invasion.
        SetFleetOrder(world, *fleet, kAiFleetIdle, -1);
        continue;
      }
      const int zone = fleet->seaNode;
      BombardLandingArea(world, country, zone, ix, iy, IsFleetShown(world, *fleet));
      fleet = FindFleetById(world, id);
      if (fleet == nullptr) continue;
      int landedX = -1, landedY = -1;
      const eLanding landing = LandOneUnit(world, country, *fleet, zone, ix, iy, landedX, landedY);
      if (landing == eLanding::kNone) continue;
      attempted = true;
      if (landing != eLanding::kLanded) continue;
      landedInPass = true;
      ++total;
      BuildHarbourBehindLanding(world, country, zone, ix, iy, landedX, landedY, lastHarbourNode);
    }
    if (!attempted) {
      LogLine(L"[AI] %s: no more units to land (%i landed)", country.name.c_str(), total);
    }
    if (landedInPass) {
      BuildUnitLists(world, country, lists);
      MultipleDirectionAttacks(world, country, lists);
      OneSideAttacks(world, country, lists);
      BuildUnitLists(world, country, lists);
    }
  }
  return total;
}

}  // namespace ai
