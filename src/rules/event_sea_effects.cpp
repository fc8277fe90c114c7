// The scripted events at sea: new ships in the reserve pool or at a sea
// node, land units put to sea on a new transport or landing ship (with the
// computer opponent's invasion order for a landing), and damage to every
// ship in a sea zone.
#include "rules/event_map_effects.h"

#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/purchases.h"
#include "rules/rule_helpers.h"
#include "rules/sea_transport.h"
#include "world/ai_orders.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/sea_graph.h"
#include "world/transport_tables.h"
#include "world/world.h"

namespace {


bool CheckShipType(double type, const sEventCall& call) {
  const int value = EventInt(type);
  if (value >= kUnitAircraftCarrier && value <= kUnitAmphibiousShip) return true;
  LogEventError(call, plat::Format(L"%i is no ship type", value));
  return false;
}

// Only cargo and landing ships carry land units.
bool CheckCarryingShipType(double type, const sEventCall& call) {
  const int value = EventInt(type);
  if (value == kUnitCargoShip || value == kUnitAmphibiousShip) return true;
  LogEventError(call, plat::Format(L"%i is no ship type that carries land units", value));
  return false;
}

// A new ship of the country in the naval reserve pool, with the next ship
// id and the full hit points of its type; in no fleet. Without a name it
// is named as a bought ship.
cJednostkaMorska& NewShipInReserve(cWorld& world, const cCountry& country, int type, const std::wstring& name) {
  auto* ship = new cJednostkaMorska(&world);
  ship->SetType(type);
  ship->id = world.ids.Take(world, eIdKind::kShip);
  ship->countryId = country.id;
  ship->SetName(name.empty() ? DrawNewUnitName(world, country, type) : name);
  ship->SetCommander(nullptr);
  ship->hitPoints = ship->maxHitPoints = transport_tables::NewShipHitPoints(world.constants, type);
  ship->fleet = nullptr;
  ship->fleetId = -1;
  ship->inReserve = true;
  world.Units().navalReservePool.push_back(ship);
  return *ship;
}

bool IsPortHeldBy(const cWorld& world, const sWezelGrafuMorz& node, int countryId) {
  const cMap& map = world.GetMap();
  return !node.IsSeaZone() && map.IsInside(node.x, node.y) && map.GetHex(node.x, node.y).controller == countryId;
}

std::wstring TransportFleetName() {
  const wchar_t* text = g_StringBase.GetText("new_transporter_fleet_#%i");
  return text != nullptr ? text : L"";
}

// Where a land unit is put to sea: the hex of a landing (the invasion
// target of its fleet) or none.
struct sLandingTarget {
  bool landing = false;
  int x = -1;
  int y = -1;
  int seaZone = -1;
};

cFleet& FleetForLanding(cWorld& world, int countryId, const sWezelGrafuMorz& node, const sLandingTarget& target) {
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->country == countryId && fleet->seaNode == node.id && fleet->aiOrder == kAiFleetInvasion &&
        fleet->aiInvasionX == target.x && fleet->aiInvasionY == target.y) {
      return *fleet;
    }
  }
  cFleet& fleet = BuildFleetAtSeaNode(world, countryId, node.id, TransportFleetName());
  fleet.aiOrder = kAiFleetInvasion;
  fleet.aiInvasionX = target.x;
  fleet.aiInvasionY = target.y;
  fleet.aiDestinationNode = target.seaZone;
  return fleet;
}

// The new land unit aboard a new ship of its country at the node, in the
// country's fleet there (a new one when there is none). A port is used only
// when the country holds it.
void PutLandUnitToSea(cWorld& world, const sEventEffect& effect, const cCountry& country, sWezelGrafuMorz& node,
                      const sLandingTarget& target) {
  if (!node.IsSeaZone() && !IsPortHeldBy(world, node, country.id)) return;
  const int shipType = EventInt(P(effect, 1));
  std::unique_ptr<cJednostkaLadowa> made =
      NewEventLandUnit(world, country, P(effect, 3), P(effect, 4), P(effect, 5), Name(effect));
  cJednostkaLadowa& unit = *made.release();
  unit.inReserve = false;
  unit.x = -1;
  unit.y = -1;
  cJednostkaMorska& ship = BuildCarryingShip(world, unit, shipType, country.id);
  ship.SetName(unit.name);
  unit.transport = &ship;
  unit.transporterId = ship.id;
  sUnitLists& lists = world.Units();
  (shipType == kUnitCargoShip ? lists.carriedUnitsA : lists.carriedUnitsB).push_back(&unit);
  cFleet* fleet = nullptr;
  if (target.landing) {
    fleet = &FleetForLanding(world, country.id, node, target);
  } else {
    fleet = world.FindFleetAtSeaNode(node.id, country.id);
    if (fleet == nullptr) fleet = &BuildFleetAtSeaNode(world, country.id, node.id, TransportFleetName());
  }
  JoinShipToFleet(ship, *fleet);
}

// The checks of both land-unit-at-sea effects: the node (p0), the ship
// type (p1), the country (p2) and the land unit (p3 to p5).
const cCountry* CheckLandUnitAtSea(cWorld& world, const sEventEffect& effect, const sEventCall& call,
                                   sWezelGrafuMorz*& node) {
  node = EventSeaNode(world, P(effect, 0), call);
  if (node == nullptr || !CheckCarryingShipType(P(effect, 1), call)) return nullptr;
  const cCountry* country = EventCountry(world, P(effect, 2), call);
  if (country == nullptr || !CheckEventLandUnit(P(effect, 3), P(effect, 4), call)) return nullptr;
  const int strength = EventInt(P(effect, 5));
  if (strength < 1 || strength > 100) {
    LogEventError(call, plat::Format(L"strength %i outside 1..100", strength));
    return nullptr;
  }
  return country;
}

}  // namespace

void AddShipToReserve(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  const cCountry* country = EventCountry(world, P(effect, 0), call);
  if (country == nullptr || !CheckShipType(P(effect, 1), call)) return;
  NewShipInReserve(world, *country, EventInt(P(effect, 1)), Name(effect));
}

void AddLandUnitAtSea(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = nullptr;
  const cCountry* country = CheckLandUnitAtSea(world, effect, call, node);
  if (country == nullptr) return;
  PutLandUnitToSea(world, effect, *country, *node, sLandingTarget{});
  CalculateNavalVisibility(world, *node, false);
}

void AddLandingLandUnit(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = nullptr;
  const cCountry* country = CheckLandUnitAtSea(world, effect, call, node);
  if (country == nullptr) return;
  const sHex* hex = EventHex(world, P(effect, 6), P(effect, 7), call);
  if (hex == nullptr) return;
  sLandingTarget target{true, hex->x, hex->y, -1};
  if (hex->seaZone != 0) {
    target.seaZone = hex->seaZone;
  } else {
    LogLine(L"Nieprawidłowy event SeaNode.AddLandingLandUnit: chce inwazji na hex %d, %d ktory jest srodladowy",
            target.x, target.y);
  }
  PutLandUnitToSea(world, effect, *country, *node, target);
  // The sight of the human player who looks at the map next.
  if (const cCountry* viewer = world.turnState.FindNextHumanCountry(world.Countries())) {
    CalculateNavalVisibilityFor(world, *node, viewer->id, false);
  } else {
    CalculateNavalVisibility(world, *node, false);
  }
}

void AddShipAtSeaNode(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = EventSeaNode(world, P(effect, 0), call);
  if (node == nullptr) return;
  const cCountry* country = EventCountry(world, P(effect, 1), call);
  if (country == nullptr || !CheckShipType(P(effect, 2), call)) return;
  cJednostkaMorska& ship = NewShipInReserve(world, *country, EventInt(P(effect, 2)), Name(effect));
  if (IsEventParamDefined(P(effect, 3))) {
    // A ship afloat has at least one hit point.
    ship.hitPoints = std::clamp(EventInt(P(effect, 3)), 1, std::max(1, ship.maxHitPoints));
  } else {
    LogLine(L"ERROR: param%i for effect at line %i is not defined!", 3, static_cast<int>(effect.line));
  }
  // Joining a fleet takes the ship out of the reserve pool: a ship is in a
  // fleet or in the pool, never in both.
  if (IsPortHeldBy(world, *node, country->id)) {
    ship.JoinFleetAtSeaNode(node->id);
  } else if (node->IsSeaZone()) {
    ship.AssignToFleetAtNode(node->id);
  }
  CalculateNavalVisibility(world, *node, false);
}

void DamageShipsInSeaZone(cWorld& world, const sEventEffect& effect, const sEventCall& call) {
  sWezelGrafuMorz* node = EventSeaNode(world, P(effect, 1), call);
  if (node == nullptr) return;
  const double lowest = P(effect, 2);
  const double highest = P(effect, 3);
  std::vector<cJednostkaMorska*> sunk;
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->fleet == nullptr || ship->fleet->seaNode != node->id) continue;
    const double share = RandomFraction() * (highest - lowest) + lowest;
    // The ship's own change keeps its hit points within 0 and its maximum.
    ship->AddHitPoints(static_cast<float>(-EventInt(share * ship->hitPoints)));
    if (ship->hitPoints <= 0) sunk.push_back(ship);
  }
  for (cJednostkaMorska* ship : sunk) ship->Kill(true);
  CalculateNavalVisibility(world, *node, false);
}
