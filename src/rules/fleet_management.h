// The orders that manage the fleets of a sea node, as the fleets dialog
// gives them: split ships off into a new fleet, move ships to another fleet,
// rename a fleet or a ship, set a fleet's formation and readiness, repair a
// ship in port and disband ships; and the checks of the orders that need a
// target on the map (carrier air strike, shore bombardment, reconnaissance,
// unloading), which ask the fleet's own target searches without marking.
// Each order runs its check first. A fleet left without ships is deleted
// (cFleet::Delete), so the fleets dialog lets it go in the same step; fleets
// are named by id, never by a pointer kept across a prompt.
#pragma once

#include <string>
#include <vector>

class cFleet;
class cJednostkaMorska;
class cWorld;

using ShipGroup = std::vector<cJednostkaMorska*>;

// Why a fleet or ship order is refused, in the order the checks test them.
enum class eShipOrderRefusal {
  kNone = 0,
  kNoShipSelected,        // no ship given
  kMultipleSelection,     // the order takes exactly one ship
  kNotOwnFleet,           // not the current country's, or a ship of another fleet
  kFleetAlreadyMoved,     // the fleet has moved this turn
  kNoDestinationFleet,    // no other fleet of the country at the node that has not moved
  kNotInPort,             // repair: the fleet is not in a port
  kFullHitPoints,         // repair: nothing to mend
  kAlreadyRepaired,       // repair: mended once this turn already
  kNotEnoughPoints,       // repair: the country cannot pay
  kPortTooSmall,          // repair: the port is below the least size of the ship's type
  kNotTransport,          // unload: not a cargo or amphibious ship
  kNoCargo,               // unload: nothing aboard
  kMoveToSeaZone,         // unload: a cargo ship lands its unit from a sea zone
  kMoveToPort,            // unload: an amphibious ship lands its unit in a port
  kNoLandingHex,          // unload: nowhere to land
  kNotCarrier,            // air strike: not an aircraft carrier
  kHitPointsTooLow,       // air strike: the carrier is too damaged to fly
  kPlanesUsed,            // air strike: the carrier has flown its strike this turn
  kNoBombardingShip,      // shore bombardment: no battleship or cruiser given
  kAllBombarded,          // shore bombardment: every one of them has fired this turn
  kNoCarrierGiven,        // reconnaissance: no carrier given
  kAllReconDone,          // reconnaissance: every given carrier has flown it this turn
  kNoTargets,             // nothing in range to strike, bombard or reconnoitre
  kTargetNotInRange,      // the clicked hex is not one of the targets
  kUnknownFleet,          // the fleet id names no fleet of the country at the node
};

// The fleets of the country at the node, in the world's fleet-list order.
std::vector<cFleet*> FleetsAtNode(const cWorld& world, int nodeId, int countryId);
// The fleets a ship of the fleet may move to: the other fleets of its
// country at its node that have not moved this turn.
std::vector<cFleet*> DestinationFleets(const cWorld& world, const cFleet& fleet);
// The nodes every one of the fleets can reach this turn, other than the
// node each stands at, in the first fleet's order; empty without fleets.
std::vector<int> CommonDestinations(const cWorld& world, const std::vector<cFleet*>& fleets);
// A fleet's condition in whole per cent; a fleet (or ship) without a
// maximum counts the maximum as 1.
int FleetConditionPercent(int hitPoints, int maxHitPoints);

// A new fleet from the given ships of the fleet (cFleet's split); the old
// fleet is deleted when it is left empty; naval visibility of the country
// is worked out again. Returns the new fleet's id, or 0 when refused.
eShipOrderRefusal CheckSplitFleet(const cWorld& world, const cFleet& fleet, const ShipGroup& ships);
int SplitFleet(cWorld& world, cFleet& fleet, const ShipGroup& ships);

// The given ships of the fleet join the fleet with the id (one of the
// destination fleets); the old fleet is deleted when it is left empty.
eShipOrderRefusal CheckMoveShips(const cWorld& world, const cFleet& fleet, const ShipGroup& ships);
eShipOrderRefusal MoveShipsToFleet(cWorld& world, cFleet& fleet, const ShipGroup& ships, int targetFleetId);

// The new name, cut to 99 characters.
void RenameFleet(cFleet& fleet, const std::wstring& name);
void RenameShip(cJednostkaMorska& ship, const std::wstring& name);
// Every fleet becomes of the formation; a raider is never ready.
void SetFleetFormation(const std::vector<cFleet*>& fleets, int formation);
// Every regular fleet takes the readiness; raiders stay as they are.
void SetFleetReadiness(const std::vector<cFleet*>& fleets, bool active);

// One hit point more for the ship in port; the country pays the repair cost
// of its type; once a turn.
eShipOrderRefusal CheckRepairShip(const cWorld& world, const ShipGroup& ships);
eShipOrderRefusal RepairShip(cWorld& world, cJednostkaMorska& ship);

// Every given ship is killed with its cargo (a fleet whose last ship goes
// is deleted); naval visibility of the country is worked out again.
void DisbandShips(cWorld& world, const ShipGroup& ships);

// The checks of the orders that take their target on the map, for the given
// ships of one fleet (the searches are those that mark the targets, asked
// without marking).
eShipOrderRefusal CheckUnloadOrder(cWorld& world, const ShipGroup& ships);
eShipOrderRefusal CheckCarrierStrikeOrder(cWorld& world, const ShipGroup& ships);
eShipOrderRefusal CheckShoreBombardmentOrder(cWorld& world, const ShipGroup& ships);
eShipOrderRefusal CheckReconOrder(cWorld& world, const ShipGroup& ships);

// The carrier's air strike on (x, y): the strike order's check for the one
// ship, then a hex its fleet's attack search finds; the strike itself is the
// air war's (ResolveHexAirBombardment: interception, then the target).
eShipOrderRefusal CheckCarrierStrike(cWorld& world, cJednostkaMorska& ship, int x, int y);
eShipOrderRefusal CarrierStrike(cWorld& world, cJednostkaMorska& ship, int x, int y, struct sBombardmentResult& result);
// The carrier's reconnaissance of (x, y): a land hex its fleet's recon
// search finds (ReconHex; a port's sea node is reconnoitred too) or a hex of
// a sea zone the search marks (ReconSeaZone); the report of what it found
// goes into result.
eShipOrderRefusal CheckShipRecon(cWorld& world, cJednostkaMorska& ship, int x, int y);
eShipOrderRefusal ShipRecon(cWorld& world, cJednostkaMorska& ship, int x, int y, struct sBombardmentResult& result);
