// Supply at the end of an impulse: which units and hexes are supplied, from
// where, and what falls for want of it.
#pragma once

class cWorld;

// Interim entry points of the end of an impulse; each does nothing yet.
void CalculateSupply(cWorld& world);
void PullSupplyFromMulberries(cWorld& world);
void PullSupplyFromShips(cWorld& world);
void AbsorbHexesWithoutSupply(cWorld& world);
