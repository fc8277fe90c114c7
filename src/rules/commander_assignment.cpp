#include "rules/commander_assignment.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "world/commander.h"
#include "world/unit.h"
#include "world/world.h"

const char* CommanderRefusalKey(eCommanderRefusal refusal) {
  switch (refusal) {
    case eCommanderRefusal::kNone:
      return nullptr;
    case eCommanderRefusal::kNotOwnUnit:
      return "attack_impossible_not_own_unit";
    case eCommanderRefusal::kHasCommander:
      return "commander_impossible_has_commander";
    case eCommanderRefusal::kNoCommander:
      return "commander_no_commander_assigned";
    case eCommanderRefusal::kNotFree:
      return "commander_impossible_not_free";
    case eCommanderRefusal::kWrongKind:
      return "commander_impossible_wrong_kind";
    case eCommanderRefusal::kOtherCountry:
      return "commander_impossible_other_country";
  }
  return nullptr;
}

std::vector<cCommander*> CommandersForUnit(const cWorld& world, const cUnit& unit) {
  std::vector<cCommander*> out;
  const int current = world.turnState.CurrentCountryId();
  for (cCommander* commander : world.Units().commanders) {
    if (commander && commander->countryId == current && commander->type == unit.category) out.push_back(commander);
  }
  std::stable_sort(out.begin(), out.end(), [](const cCommander* a, const cCommander* b) { return a->skill > b->skill; });
  return out;
}

eCommanderRefusal CheckAssignCommander(const cWorld& world, const cUnit& unit, const cCommander& commander) {
  if (unit.countryId != world.turnState.CurrentCountryId()) return eCommanderRefusal::kNotOwnUnit;
  if (unit.ownCommander) return eCommanderRefusal::kHasCommander;
  if (commander.countryId != unit.countryId) return eCommanderRefusal::kOtherCountry;
  if (commander.type != unit.category) return eCommanderRefusal::kWrongKind;
  if (commander.state != kCommanderNotAssigned || commander.ledUnit) return eCommanderRefusal::kNotFree;
  return eCommanderRefusal::kNone;
}

eCommanderRefusal AssignCommander(cWorld& world, cUnit& unit, cCommander& commander) {
  const cFrameworkLockGuard lock;
  const eCommanderRefusal refusal = CheckAssignCommander(world, unit, commander);
  if (refusal != eCommanderRefusal::kNone) return refusal;
  unit.ownCommander = &commander;
  unit.hqCommanderId = -1;
  commander.ledUnit = &unit;
  commander.state = kCommanderAssigned;
  unit.UpdateEffectiveness();
  LogLine(L"%s has been assigned to command %s", commander.name.c_str(), unit.name.c_str());
  return eCommanderRefusal::kNone;
}

eCommanderRefusal CheckRecallCommander(const cWorld& world, const cUnit& unit) {
  if (unit.countryId != world.turnState.CurrentCountryId()) return eCommanderRefusal::kNotOwnUnit;
  if (!unit.ownCommander) return eCommanderRefusal::kNoCommander;
  return eCommanderRefusal::kNone;
}

eCommanderRefusal RecallCommander(cWorld& world, cUnit& unit) {
  const cFrameworkLockGuard lock;
  const eCommanderRefusal refusal = CheckRecallCommander(world, unit);
  if (refusal != eCommanderRefusal::kNone) return refusal;
  cCommander* commander = unit.ownCommander;
  commander->state = kCommanderOnHisWay;
  commander->ledUnit = nullptr;
  unit.ownCommander = nullptr;
  unit.hqCommanderId = -1;
  unit.UpdateEffectiveness();
  return eCommanderRefusal::kNone;
}
