// Giving a unit its own commander and recalling him, as the commanders dialog
// and the computer opponent do it.
#pragma once

#include <vector>

class cCommander;
class cUnit;
class cWorld;

enum class eCommanderRefusal {
  kNone = 0,
  kNotOwnUnit,        // the unit does not belong to the country whose turn it is
  kHasCommander,      // the unit has its own commander already
  kNoCommander,       // the unit has no own commander to recall
  kNotFree,           // the commander is not free in headquarters
  kWrongKind,         // the commander's kind (land, air, naval) is not the unit's
  kOtherCountry,      // the commander serves another country
};

const char* CommanderRefusalKey(eCommanderRefusal refusal);

// The current country's commanders of the unit's kind, highest skill first
// (equal skills keep the world's order).
std::vector<cCommander*> CommandersForUnit(const cWorld& world, const cUnit& unit);

eCommanderRefusal CheckAssignCommander(const cWorld& world, const cUnit& unit, const cCommander& commander);
// The commander leads the unit (state assigned), the unit leaves its HQ
// commander and recomputes its effectiveness.
eCommanderRefusal AssignCommander(cWorld& world, cUnit& unit, cCommander& commander);

eCommanderRefusal CheckRecallCommander(const cWorld& world, const cUnit& unit);
// The commander heads to headquarters leading nothing; the unit has no
// commander and recomputes its effectiveness.
eCommanderRefusal RecallCommander(cWorld& world, cUnit& unit);
