#include "rules/unit_orders.h"

#include "world/commander.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

template <class Table>
auto Entry(const Table& table, int index) -> typename Table::value_type {
  if (index < 0 || index >= static_cast<int>(table.size())) return {};
  return table[static_cast<std::size_t>(index)];
}

}  // namespace

double DisbandRefund(const cWorld& world, cJednostka& unit) {
  const sScenarioConstants& c = world.constants;
  float factor = 0.0f;
  if (unit.category == kCategoryLand) factor = Entry(c.replacementFactors, unit.type);
  if (unit.category == kCategoryAir) factor = Entry(c.airCostFactorsA, unit.type - kUnitFighter);
  return static_cast<double>(unit.GetCombatStrength()) * 0.5 * static_cast<double>(factor);
}

void DisbandUnit(cWorld& world, cJednostka& unit) {
  if (cCountry* country = world.GetCountry(unit.countryId)) country->AddProductionPoints(DisbandRefund(world, unit));
  world.turnState.ForgetUnit(&unit);
  unit.Kill();
  world.turnState.Deselect();
}

const char* CommanderRefusalKey(eCommanderRefusal refusal) {
  switch (refusal) {
    case eCommanderRefusal::kNone: return nullptr;
    case eCommanderRefusal::kUnitHasCommander: return "commander_refused_unit_has_commander";
    case eCommanderRefusal::kNotFree: return "commander_refused_not_free";
    case eCommanderRefusal::kWrongCountry: return "commander_refused_wrong_country";
    case eCommanderRefusal::kWrongKind: return "commander_refused_wrong_kind";
    case eCommanderRefusal::kNoCommander: return "commander_refused_no_commander";
  }
  return nullptr;
}

eCommanderRefusal CheckAssignCommander(const cUnit& unit, const cCommander& commander) {
  if (unit.ownCommander != nullptr) return eCommanderRefusal::kUnitHasCommander;
  if (commander.state != kCommanderNotAssigned || commander.ledUnit != nullptr) return eCommanderRefusal::kNotFree;
  if (commander.countryId != unit.countryId) return eCommanderRefusal::kWrongCountry;
  if (commander.type != unit.category) return eCommanderRefusal::kWrongKind;
  return eCommanderRefusal::kNone;
}

eCommanderRefusal AssignCommander(cUnit& unit, cCommander& commander) {
  const eCommanderRefusal refusal = CheckAssignCommander(unit, commander);
  if (refusal != eCommanderRefusal::kNone) return refusal;
  unit.ownCommander = &commander;
  unit.hqCommanderId = -1;
  commander.ledUnit = &unit;
  commander.state = kCommanderAssigned;
  unit.UpdateEffectiveness();
  return eCommanderRefusal::kNone;
}

eCommanderRefusal CheckRecallCommander(const cUnit& unit) {
  return unit.ownCommander != nullptr ? eCommanderRefusal::kNone : eCommanderRefusal::kNoCommander;
}

eCommanderRefusal RecallCommander(cUnit& unit) {
  const eCommanderRefusal refusal = CheckRecallCommander(unit);
  if (refusal != eCommanderRefusal::kNone) return refusal;
  unit.ownCommander->ReleaseFromUnit();
  unit.ownCommander = nullptr;
  unit.hqCommanderId = -1;
  unit.UpdateEffectiveness();
  return eCommanderRefusal::kNone;
}
