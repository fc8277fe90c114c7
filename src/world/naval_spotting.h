// What happens at one sea node besides movement: which ships a country sees
// there (a spotting chance that grows with the ships present), which ship
// the node's marker shows, which commander leads the ships of a country
// without their own, and the raids on a convoy passing the node.
#pragma once

#include <string>

#include "world/sea_graph.h"

class cFleet;
class cWorld;
struct sWezelGrafuMorz;

// The spotting pass at the node for the sea graph's viewing country. Without
// roll the counts start afresh and every enemy ship is spotted only by its
// own draw; with roll the sightings so far stay and every enemy ship not yet
// seen gets a draw to be seen. Then the shown ships are picked.
void CalculateNavalVisibility(cWorld& world, sWezelGrafuMorz& node, bool roll);
// Makes the country the viewing country, then the pass at the node.
void CalculateNavalVisibilityFor(cWorld& world, sWezelGrafuMorz& node, int countryId, bool roll);
// The look at the node for the country that a reconnaissance takes: the
// fleets lying in a port count too, though the map hides them otherwise.
// A ship's own look (no roll) is the pass that starts the sightings afresh.
// An aircraft's flight (roll) over a sea zone rolls for each enemy ship not
// yet seen and answers every enemy ship seen there. Over a port it rolls for
// every enemy ship with the port's spotting chance, whatever an earlier pass
// left of the ship's visible flag (a port's pass at an impulse's end skips
// the fleets lying in it): a ship it sees becomes visible, one it misses
// stays as it was, so a ship seen before is not hidden by a miss; it answers
// the ships this flight saw. The node's counts then are the enemy ships the
// country saw there, this flight or its earlier looks at the port (its
// sightings), for its marker and hover box.
// Answers the enemy ships the look names, by type.
sNavalTypeCounts ReconNodeShips(cWorld& world, sWezelGrafuMorz& node, int countryId, bool roll);
// Makes the country the viewing country, then the pass at every node.
void CalculateNavalVisibilityEverywhere(cWorld& world, int countryId, bool roll);
// The chance in per cent with which the viewing country spots an enemy ship
// at the node, from the counts as they stand.
int NavalSpottingChance(const cWorld& world, const sWezelGrafuMorz& node);
// Picks the shown own and (at a sea zone) the shown enemy ship again from
// the visible ships, without spotting.
void PickDisplayedShips(cWorld& world, sWezelGrafuMorz& node, bool own, bool enemy);
// A fleet of the viewing country that leaves the node: its ships leave the
// own counts and the shown own ship is picked again.
void RemoveFleetFromOwnCounts(cWorld& world, sWezelGrafuMorz& node, const cFleet& fleet);
// The best own commander of the country's ships at the node leads every ship
// there without its own commander (-1 when none has one); a country below 1
// does so for every country with a fleet there, in ascending id.
void PropagateFleetCommanders(cWorld& world, const sWezelGrafuMorz& node, int countryId);

// A convoy on its way, as the raids at each node of its route see it.
struct sConvoyVoyage {
  int stpCarried = 0;
  int stpLost = 0;
  std::wstring routeText;
};
// The raid chance of the convoy in per cent, by the sea transport points it
// still carries.
int GetConvoyRaidChance(const cWorld& world, const sConvoyVoyage& voyage);
// The type of the report a raid on a convoy leaves the raiding country.
constexpr int kReportConvoyRaid = 18;
// The raids at the node on a convoy of the owner: one enemy fleet picked by
// chance, then every enemy raider ship there, while the convoy still carries
// something; losses and route text go into the voyage.
// Each raid that costs the convoy STP leaves the raider's country a report.
void ResolveConvoyAttacks(cWorld& world, int ownerId, int nodeId, sConvoyVoyage& voyage, bool lastNode);
