// Buying replacements (strength points) for a land or air unit.
#pragma once

class cJednostka;
class cWorld;

enum class eReplacementRefusal {
  kNone = 0,
  kNotOnMap,          // the unit does not stand on the map
  kNotOwnUnit,        // the unit does not belong to the country whose turn it is
  kCannotReplenish,   // the unit's own check refuses (acted, full strength, no supply)
  kNothingToBuy,      // zero points asked for
  kAboveMaximum,      // more points than ReplacementMaximum allows
};

const char* ReplacementRefusalKey(eReplacementRefusal refusal);

eReplacementRefusal CheckBuyReplacements(const cWorld& world, cJednostka& unit, int points);
// Action points 0, strength + points, the range emptied, the country pays
// points x ReplacementPricePerPoint.
eReplacementRefusal BuyReplacements(cWorld& world, cJednostka& unit, int points);
