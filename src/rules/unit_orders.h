// The unit panel's orders that change a unit's standing rather than its
// place: disbanding it for a refund, and giving it a commander or calling
// him back. The panel and the commanders dialog give them through these
// functions; each refusing order has its check beside it.
#pragma once

class cCommander;
class cJednostka;
class cUnit;
class cWorld;

// What the country gets back for a disbanded land or air unit: half its
// combat strength times the price factor of its type (the factors that price
// replacements); 0 for any other unit.
double DisbandRefund(const cWorld& world, cJednostka& unit);
// Pays the refund to the unit's country, drops the unit from the turn
// state's records, kills it and clears the selection (the panels then show
// nothing).
void DisbandUnit(cWorld& world, cJednostka& unit);

enum class eCommanderRefusal {
  kNone = 0,
  kUnitHasCommander,  // the unit already has a commander of its own
  kNotFree,           // the commander is not free in headquarters
  kWrongCountry,      // the commander serves another country
  kWrongKind,         // a land, air or naval commander for another kind of unit
  kNoCommander,       // recall: the unit has no commander of its own
};
const char* CommanderRefusalKey(eCommanderRefusal refusal);

eCommanderRefusal CheckAssignCommander(const cUnit& unit, const cCommander& commander);
// The check, then: the commander leads the unit (state assigned), the unit
// leaves its headquarters commander, and its effectiveness is worked out
// again.
eCommanderRefusal AssignCommander(cUnit& unit, cCommander& commander);
eCommanderRefusal CheckRecallCommander(const cUnit& unit);
// The check, then: the commander heads back to headquarters leading nothing,
// the unit has no commander, and its effectiveness is worked out again.
eCommanderRefusal RecallCommander(cUnit& unit);
