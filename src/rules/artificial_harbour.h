// The artificial harbour (cMulberry): the build order with its check and
// payment, as the hex panel's icon and the computer's landings give it, and
// the placing of a new harbour on a hex, which the build order and a
// scenario script's harbour (granted, not bought) share.
#pragma once

#include <string>

class cCountry;
class cMulberry;
class cWorld;
struct sHex;

// Why a harbour may not be built. Each maps to a text key (HarbourRefusalKey).
enum class eHarbourRefusal {
  kNone = 0,
  kNotLand,          // water
  kNotCoastal,       // a land hex off the coast
  kOccupied,         // a unit stands on the hex
  kNotFriendly,      // nobody's hex, or one neither own nor of an ally at peace
  kNotEnoughPoints,  // the country has fewer production points than the harbour costs
};

// The language-base key of a refusal; for kNone the hint of the build icon.
const char* HarbourRefusalKey(eHarbourRefusal refusal);

// The production points a harbour costs (first value of the harbour line).
double HarbourCost(const cWorld& world);

// Whether the country may build a harbour costing cost on the hex, the
// reasons asked in this order: a land hex, on the coast, free, held by the
// country or an ally it is not at war with, and points enough (equal
// suffice).
eHarbourRefusal CheckHarbour(const sHex& hex, const cCountry& country, double cost);
eHarbourRefusal CheckBuildHarbour(const cWorld& world, const sHex& hex, const cCountry& country);

// The build order, under the framework lock: the check, a new harbour
// named name for the hex's controller (PlaceNewHarbour), the cost paid by
// the country. A refused order changes nothing.
eHarbourRefusal BuildHarbour(cWorld& world, cCountry& country, sHex& hex, const std::wstring& name);

// A harbour of the country on the free hex: the next land-unit id, level 1,
// the harbour's fixed strength (third value of the harbour line), full
// supply and its effectiveness, no supply source, no action points, the
// harbour lifetime in months (fourth value); it joins the land units on the
// map and stands on the hex. Null, with nothing changed, when the hex holds
// a unit (a second unit would overwrite the hex's link to the first).
cMulberry* PlaceNewHarbour(cWorld& world, int countryId, const std::wstring& name, sHex& hex);
