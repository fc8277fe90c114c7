// Replacements: a land or air unit of the current country buys strength
// points with its country's production points. The price of one point and
// the most points it may buy now are the rule; the replacements dialog and
// the computer opponent ask them and give the order through BuyReplacements.
#pragma once

class cJednostka;
class cWorld;

// The price of one strength point, fixed by the unit's type and level:
//   land: p = base strength x replacement factor[type] / 100, then
//         p + replacement level step x p x (level - 1) / 100;
//   air:  p = air replacement price[type], then p + p x air level step x (level - 1) / 100.
// 0 for a unit whose type has no price (such a unit can buy nothing).
float ReplacementPrice(const cWorld& world, cJednostka& unit);

// The most points the unit may buy now at that price, never below 0: the
// smallest of what the country can pay, the supply limit (the unit's supply
// indexes the land or air limit table when its hex is its country's, else
// 10) and the room left (100 - strength for land units, limit - strength for
// air units). A price of 0 or less gives 0.
int ReplacementMaximum(const cWorld& world, cJednostka& unit, float price);

enum class eReplacementRefusal {
  kNone = 0,
  kNothingBought,   // no points asked for
  kAboveMaximum,    // more points than the unit may buy now
};
const char* ReplacementRefusalKey(eReplacementRefusal refusal);

eReplacementRefusal CheckBuyReplacements(const cWorld& world, cJednostka& unit, int points);
// The check, then: the unit's action points become 0, its strength grows by
// points, its movement range is emptied, and its country pays price x points.
eReplacementRefusal BuyReplacements(cWorld& world, cJednostka& unit, int points);
