// Land units at sea: loading a unit onto a new cargo ship (sea transport) or
// amphibious ship at a friendly port, as the unit panel and the computer
// opponent order it, and putting the cargo of a ship ashore where the map
// marks it (in port, or an amphibious landing from a sea zone). Each action
// runs its check first; the panel's icons and the computer's planning ask the
// same checks. Points are paid only once the port, the sea node and the ship
// are found: a refused loading costs nothing.
#pragma once

#include <string>

#include "rules/landing_outcome.h"

class cFleet;
class cJednostkaLadowa;
class cJednostkaMorska;
class cWorld;

// The parts of every loading (the player's, the computer's and a scenario
// script's): a new ship of the type and country carrying the unit, with the
// next ship id and the type's new-ship hit points, on the world's naval
// list; a new fleet of the country at the node (next fleet id, regular, not
// moved) named by the format with its id ("fleet_#%i" when empty), on the
// world's fleet list; and the ship joining a fleet.
cJednostkaMorska& BuildCarryingShip(cWorld& world, cJednostkaLadowa& unit, int shipType, int countryId);
cFleet& BuildFleetAtSeaNode(cWorld& world, int countryId, int seaNodeId, const std::wstring& nameFormat);
void JoinShipToFleet(cJednostkaMorska& ship, cFleet& fleet);

// Loads the unit (it must stand on the map, belong to the country whose
// turn it is and pass its own check, CanSeaTransport for a cargo ship (44)
// or CanAmphibiousTransport for an amphibious ship (45)); the port is the
// friendly port on or next to its hex, the sea node the one whose main hex
// is that port. Fills portX, portY and seaNodeId when given.
eTransportRefusal CheckLoadOntoShip(const cWorld& world, const cJednostkaLadowa& unit, int shipType,
                                    int* portX = nullptr, int* portY = nullptr, int* seaNodeId = nullptr);
// The player's loading: a new ship of the type named "transport_#%i" or
// "landing_task_force_#%i" with the next ship id and the type's new-ship hit
// points, joined to the first fleet of the current country at the port's
// node or to a new fleet there ("fleet_#%i"); then the points are paid, the
// unit leaves its hex and the map list for the list of its ship's type, and
// the country's naval visibility is computed again without a roll.
// Refused, nothing changes (the two port refusals are logged).
eTransportRefusal LoadOntoShip(cWorld& world, cJednostkaLadowa& unit, int shipType);

// The computer opponent's loading (worker thread, one locked step): the
// player's check and loading, but always a new ship named "#%i <unit>
// <country's name of the ship type>" in a new fleet "fleet_transporter_#%i"
// or "fleet_amphibious_#%i" at the port's node with the fleet order given,
// the unit hidden, and no sight computed again. Fills fleet with the new
// fleet (null when refused; nothing is paid then).
eTransportRefusal AiLoadOntoTransport(cWorld& world, cJednostkaLadowa& unit, int shipType, int fleetOrder,
                                      cFleet** fleet = nullptr);

// Whether the ship may put its cargo ashore on (x, y): it carries a unit,
// stands in a fleet at a sea node and the hex is one of its unload hexes
// (cJednostkaMorska::MarkUnloadHexes).
eTransportRefusal CheckUnloadShip(const cWorld& world, const cJednostkaMorska& ship, int x, int y);
// The map's unload order: on a hex not friendly to the ship's country, or
// from a sea zone (its main hex has no city), a coastal hex of a sea zone
// gets an amphibious invasion (AmphibiousInvasion, outcome filled);
// otherwise, on a friendly hex, the ship unloads the unit there from its
// port (cJednostkaMorska::UnloadUnitAt), the unit is shown and the ship is
// removed. Either way the node's naval visibility of the current country is
// computed again with the roll. The ship may be gone afterwards.
eTransportRefusal UnloadShip(cWorld& world, cJednostkaMorska& ship, int x, int y, sLandingOutcome& outcome);

// The computer's unloading of a transport at its fleet's node: the hex is
// the ship's FindCoastUnloadHex (the port's hex or its first free friendly
// neighbour), kNotUnloadHex when there is none, and the unload order's
// check (CheckUnloadShip) decides. Fills x and y when given.
eTransportRefusal CheckUnloadToCoast(const cWorld& world, const cJednostkaMorska& ship, int* x = nullptr,
                                     int* y = nullptr);
// The map's unload order (UnloadShip) on that hex. The ship may be gone
// afterwards.
eTransportRefusal UnloadToCoast(cWorld& world, cJednostkaMorska& ship, sLandingOutcome& outcome);
