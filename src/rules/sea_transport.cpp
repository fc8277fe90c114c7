// Loading land units onto ships and putting them ashore.
#include "rules/sea_transport.h"

#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/amphibious_invasion.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/naval_spotting.h"
#include "world/sea_graph.h"
#include "world/transport_tables.h"
#include "world/world.h"
#include "world/worker_steps.h"

namespace {

constexpr std::size_t kShipNameMax = 99;


bool IsCarrierType(int shipType) { return shipType == kUnitCargoShip || shipType == kUnitAmphibiousShip; }

bool StandsOnMap(const cWorld& world, const cJednostkaLadowa& unit) {
  const cMap& map = world.GetMap();
  return !unit.inReserve && unit.transport == nullptr && map.IsInside(unit.x, unit.y) &&
         map.GetHex(unit.x, unit.y).unit == &unit;
}

// Pays the carrying cost from the unit's country.
void Pay(cWorld& world, const cJednostkaLadowa& unit, int shipType) {
  cCountry* country = world.GetCountry(unit.countryId);
  if (!country) return;
  const int cost = transport_tables::CarryCost(world.constants, shipType, unit.type);
  if (shipType == kUnitAmphibiousShip) {
    country->AddAmphibiousInvasionPoints(-cost);
  } else {
    country->AddSeaTransportPoints(-cost);
  }
}

// The unit leaves its hex, the selection and the move records, and the map
// list for the list of its ship's type.
void GoAboard(cWorld& world, cJednostkaLadowa& unit, cJednostkaMorska& ship) {
  cMap& map = world.GetMap();
  if (map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).unit == &unit) map.GetHex(unit.x, unit.y).unit = nullptr;
  world.turnState.ForgetUnit(&unit);
  unit.x = -1;
  unit.y = -1;
  unit.inReserve = false;
  unit.transport = &ship;
  unit.transporterId = ship.id;
  sUnitLists& lists = world.Units();
  lists.landUnits.remove(&unit);
  (ship.type == kUnitCargoShip ? lists.carriedUnitsA : lists.carriedUnitsB).push_back(&unit);
}

}  // namespace

cJednostkaMorska& BuildCarryingShip(cWorld& world, cJednostkaLadowa& unit, int shipType, int countryId) {
  auto* ship = new cJednostkaMorska(&world);
  ship->SetType(shipType);
  ship->id = world.ids.Take(world, eIdKind::kShip);
  ship->countryId = countryId;
  ship->hqCommanderId = -1;
  ship->carriedUnit = &unit;
  ship->hitPoints = ship->maxHitPoints = transport_tables::NewShipHitPoints(world.constants, shipType);
  world.Units().navalUnits.push_back(ship);
  return *ship;
}

cFleet& BuildFleetAtSeaNode(cWorld& world, int countryId, int seaNodeId, const std::wstring& nameFormat) {
  auto* fleet = new cFleet();
  fleet->formation = kFormationRegular;
  fleet->id = world.ids.Take(world, eIdKind::kFleet);
  fleet->country = countryId;
  fleet->seaNode = seaNodeId;
  fleet->name = nameFormat.empty() ? MakeFleetName(fleet->id) : plat::Format(nameFormat, fleet->id);
  fleet->moved = false;
  world.Units().fleets.push_back(fleet);
  return *fleet;
}

void JoinShipToFleet(cJednostkaMorska& ship, cFleet& fleet) {
  fleet.ships.push_back(&ship);
  ship.fleet = &fleet;
  ship.fleetId = fleet.id;
}

const char* TransportRefusalKey(eTransportRefusal refusal) {
  switch (refusal) {
    case eTransportRefusal::kNone:
      return nullptr;
    case eTransportRefusal::kNotOnMap:
      return "transport_impossible_not_on_map";
    case eTransportRefusal::kNotOwnUnit:
      return "transport_impossible_not_own_unit";
    case eTransportRefusal::kNotShipType:
      return "transport_impossible_not_a_transport";
    case eTransportRefusal::kUnitCannot:
      return "transport_impossible_unit_cannot";
    case eTransportRefusal::kNoPort:
      return "transport_impossible_no_port";
    case eTransportRefusal::kNoSeaNode:
      return "transport_impossible_no_sea_node";
    case eTransportRefusal::kNoCargo:
      return "transport_impossible_no_cargo";
    case eTransportRefusal::kNoFleet:
      return "transport_impossible_no_fleet";
    case eTransportRefusal::kTargetOffMap:
      return "transport_impossible_target_off_map";
    case eTransportRefusal::kNotUnloadHex:
      return "transport_impossible_not_unload_hex";
    case eTransportRefusal::kFriendlyOnBeach:
      return "transport_impossible_friendly_on_beach";
    case eTransportRefusal::kNotParadropTarget:
      return "transport_impossible_not_paradrop_target";
  }
  return nullptr;
}

eTransportRefusal CheckLoadOntoShip(const cWorld& world, const cJednostkaLadowa& unit, int shipType, int* portX,
                                    int* portY, int* seaNodeId) {
  if (!IsCarrierType(shipType)) return eTransportRefusal::kNotShipType;
  if (!StandsOnMap(world, unit)) return eTransportRefusal::kNotOnMap;
  const int current = world.turnState.CurrentCountryId();
  if (current != 0 && unit.countryId != current) return eTransportRefusal::kNotOwnUnit;
  int px = -1, py = -1;
  if (!unit.FindAdjacentPort(world, px, py)) return eTransportRefusal::kNoPort;
  const int node = world.GetSeaGraph().FindNodeIdByMainHex(px, py);
  if (node < 0) {
    if (portX) *portX = px;
    if (portY) *portY = py;
    return eTransportRefusal::kNoSeaNode;
  }
  // The unit's own check: action points, frozen, the points and (for a
  // landing) the supply.
  auto& self = const_cast<cJednostkaLadowa&>(unit);
  const bool allowed = shipType == kUnitCargoShip ? self.CanSeaTransport(nullptr) : self.CanAmphibiousTransport(nullptr);
  if (!allowed) return eTransportRefusal::kUnitCannot;
  if (portX) *portX = px;
  if (portY) *portY = py;
  if (seaNodeId) *seaNodeId = node;
  return eTransportRefusal::kNone;
}

namespace {

// The loading after its check, under the framework lock. The player's
// loading (computerOrder null) names its ship after the type and joins a
// fleet of the current country at the node when there is one; the
// computer's always builds a new fleet with its order. Fills fleetOut.
eTransportRefusal Load(cWorld& world, cJednostkaLadowa& unit, int shipType, const int* computerOrder,
                       cFleet** fleetOut) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  int portX = -1, portY = -1, node = -1;
  const eTransportRefusal refusal = CheckLoadOntoShip(world, unit, shipType, &portX, &portY, &node);
  if (refusal == eTransportRefusal::kNoPort) {
    LogLine(L"ERROR! Unit tries to load into transport but isn't in or near friendle port");
  } else if (refusal == eTransportRefusal::kNoSeaNode) {
    LogLine(L"ERROR! While loading unit to transporter or amphibious, there is no port at coordinates %i %i", portX,
            portY);
  }
  if (refusal != eTransportRefusal::kNone) return refusal;

  const int current = world.turnState.CurrentCountryId();
  const int shipCountry = current != 0 ? current : unit.countryId;
  if (computerOrder) LogLine(Text("loading_%s_onto_transport/amphibious_fleet..."), unit.name);
  cJednostkaMorska& ship = BuildCarryingShip(world, unit, shipType, shipCountry);
  cFleet* fleet = nullptr;
  if (computerOrder) {
    const cCountry* country = world.GetCountry(shipCountry);
    const wchar_t* typeName = country ? country->GetUnitTypeName(shipType) : nullptr;
    std::wstring name = plat::Format(L"#%i %s %s", ship.id, unit.name,
                                     typeName ? std::wstring(typeName) : cUnit::GetSubtypeText(&world, shipType));
    if (name.size() > kShipNameMax) name.resize(kShipNameMax);
    ship.name = name;
    LogLine(L"Loading unit: new fleet will be created");
    fleet = &BuildFleetAtSeaNode(world, shipCountry, node,
                                 Text(shipType == kUnitCargoShip ? "fleet_transporter_#%i" : "fleet_amphibious_#%i"));
    fleet->aiOrder = *computerOrder;
  } else {
    ship.name = plat::Format(Text(shipType == kUnitCargoShip ? "transport_#%i" : "landing_task_force_#%i"), ship.id);
    fleet = world.FindFleetAtSeaNode(node, shipCountry);
    if (fleet) {
      LogLine(L"Loading unit: transport will be added to existing fleet");
    } else {
      LogLine(L"Loading unit: new fleet will be created");
      fleet = &BuildFleetAtSeaNode(world, unit.countryId, node, std::wstring());
    }
  }
  JoinShipToFleet(ship, *fleet);
  // Port, node and ship are there: now the loading is paid.
  Pay(world, unit, shipType);
  if (computerOrder) unit.visible = false;
  GoAboard(world, unit, ship);
  if (!computerOrder) CalculateNavalVisibilityEverywhere(world, shipCountry, false);
  if (fleetOut) *fleetOut = fleet;
  return eTransportRefusal::kNone;
}

}  // namespace

eTransportRefusal LoadOntoShip(cWorld& world, cJednostkaLadowa& unit, int shipType) {
  const cFrameworkLockGuard lock;
  return Load(world, unit, shipType, nullptr, nullptr);
}

eTransportRefusal AiLoadOntoTransport(cWorld& world, cJednostkaLadowa& unit, int shipType, int fleetOrder,
                                      cFleet** fleet) {
  const cFrameworkLockGuard lock;
  if (fleet) *fleet = nullptr;
  return Load(world, unit, shipType, &fleetOrder, fleet);
}

eTransportRefusal CheckUnloadShip(const cWorld& world, const cJednostkaMorska& ship, int x, int y) {
  if (ship.carriedUnit == nullptr) return eTransportRefusal::kNoCargo;
  if (ship.fleet == nullptr || world.GetSeaGraph().GetNode(ship.fleet->seaNode) == nullptr) {
    return eTransportRefusal::kNoFleet;
  }
  if (!world.GetMap().IsInside(x, y)) return eTransportRefusal::kTargetOffMap;
  if (!ship.IsUnloadHex(x, y)) return eTransportRefusal::kNotUnloadHex;
  return eTransportRefusal::kNone;
}

eTransportRefusal UnloadShip(cWorld& world, cJednostkaMorska& ship, int x, int y, sLandingOutcome& outcome) {
  const cFrameworkLockGuard lock;
  const eTransportRefusal refusal = CheckUnloadShip(world, ship, x, y);
  if (refusal != eTransportRefusal::kNone) return refusal;
  cMap& map = world.GetMap();
  const sHex& hex = map.GetHex(x, y);
  sWezelGrafuMorz& node = *world.GetSeaGraph().GetNode(ship.fleet->seaNode);
  cJednostkaLadowa& cargo = *ship.carriedUnit;
  const bool friendly = IsHexControllerFriendly(world, hex, ship.countryId);
  const bool portCity = map.IsInside(node.x, node.y) && map.GetHex(node.x, node.y).city != nullptr;
  eTransportRefusal result = eTransportRefusal::kNone;
  if ((!friendly || !portCity) && hex.seaZone != 0 && hex.coastal) {
    result = AmphibiousInvasion(world, cargo, x, y, outcome);
  } else if (friendly) {
    if (ship.UnloadUnitAt(x, y, node.x, node.y) == 0) return eTransportRefusal::kNotUnloadHex;
    cargo.visible = true;
    ship.Kill(false);
    outcome.landed = true;
  } else {
    return eTransportRefusal::kNotUnloadHex;
  }
  CalculateNavalVisibilityFor(world, node, world.turnState.CurrentCountryId(), true);
  return result;
}

eTransportRefusal CheckUnloadToCoast(const cWorld& world, const cJednostkaMorska& ship, int* x, int* y) {
  if (ship.carriedUnit == nullptr) return eTransportRefusal::kNoCargo;
  if (ship.fleet == nullptr || world.GetSeaGraph().GetNode(ship.fleet->seaNode) == nullptr) {
    return eTransportRefusal::kNoFleet;
  }
  int hexX = -1, hexY = -1;
  if (!ship.FindCoastUnloadHex(world, hexX, hexY)) return eTransportRefusal::kNotUnloadHex;
  const eTransportRefusal refusal = CheckUnloadShip(world, ship, hexX, hexY);
  if (refusal == eTransportRefusal::kNone) {
    if (x) *x = hexX;
    if (y) *y = hexY;
  }
  return refusal;
}

eTransportRefusal UnloadToCoast(cWorld& world, cJednostkaMorska& ship, sLandingOutcome& outcome) {
  const cFrameworkLockGuard lock;
  int x = -1, y = -1;
  const eTransportRefusal refusal = CheckUnloadToCoast(world, ship, &x, &y);
  if (refusal != eTransportRefusal::kNone) return refusal;
  return UnloadShip(world, ship, x, y, outcome);
}
