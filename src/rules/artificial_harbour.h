// Placing a new artificial harbour (cMulberry) on a hex: the one way the
// hex panel's build order and a scenario script's harbour come onto the
// map. The checks and the payment are the caller's.
#pragma once

#include <string>

class cMulberry;
class cWorld;
struct sHex;

// A harbour of the country on the free hex: the next land-unit id, level 1,
// the harbour's fixed strength (third value of the harbour line), full
// supply and its effectiveness, no supply source, no action points, the
// harbour lifetime in months (fourth value); it joins the land units on the
// map and stands on the hex. Null, with nothing changed, when the hex holds
// a unit (a second unit would overwrite the hex's link to the first).
cMulberry* PlaceNewHarbour(cWorld& world, int countryId, const std::wstring& name, sHex& hex);
