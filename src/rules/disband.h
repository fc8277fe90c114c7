// Disbanding a land or air unit for a refund of production points, as the
// unit panel orders it.
#pragma once

class cJednostka;
class cWorld;

// What the country gets back for a disbanded land or air unit: half its
// combat strength times the price factor of its type (the factors that price
// replacements); 0 for any other unit.
double DisbandRefund(const cWorld& world, cJednostka& unit);
// Pays the refund to the unit's country, drops the unit from the turn
// state's records, kills it and clears the selection (the panels then show
// nothing).
void DisbandUnit(cWorld& world, cJednostka& unit);
