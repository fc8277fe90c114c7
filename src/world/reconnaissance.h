// What a reconnaissance flight (an air unit's or a carrier's aircraft) sees
// and what its report tells the player. The flight over land reveals the
// hexes around its target; the flight over a sea node leaves the node's
// counts of spotted enemy ships (its hover box). The report goes into the
// flight's result record, which the combat report shows under the title of
// a reconnaissance: the flight on the flyer's side, on the other side what
// it found (the enemy units of the area and the ones it saw for the first
// time, the enemy ships at a node) or that it found nothing.
#pragma once

#include "world/sea_graph.h"

class cWorld;
struct sBombardmentResult;
struct sWezelGrafuMorz;

// The flight of the country's unit (its name) over the land around (x, y):
// every hex reached from (x, y) over neighbours within the country's
// aircraft level in hexes is seen; a unit there not yet visible becomes
// visible and joins the country's reconSpottedUnits. The result becomes a
// reconnaissance of the country against the hex's holder, with the flight
// and the enemy units of the area in its details.
void ReconArea(cWorld& world, int countryId, const wchar_t* flyerName, int x, int y, sBombardmentResult& result);

// The enemy ships the look at the node saw (seen, by type), or that there
// were none, into the result's details. A result that holds no
// reconnaissance yet becomes one of the country at the node (against a
// port's holder) with the flight's line; one that does (the flight over a
// port's land) gets the harbour's ships added.
void ReportNodeShips(const cWorld& world, int countryId, const wchar_t* flyerName, const sWezelGrafuMorz& node,
                     const sNavalTypeCounts& seen, sBombardmentResult& result);
