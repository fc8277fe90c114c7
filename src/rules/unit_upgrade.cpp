#include "rules/unit_upgrade.h"

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/settings.h"
#include "world/world_view.h"
#include "world/worker_steps.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/world.h"

namespace {

eUpgradeRefusal CheckUnit(const cWorld& world, const cJednostka& unit) {
  if (!unit.IsOnMap() || unit.inReserve) return eUpgradeRefusal::kNotOnMap;
  if (unit.countryId != world.turnState.CurrentCountryId()) return eUpgradeRefusal::kNotOwnUnit;
  return eUpgradeRefusal::kNone;
}

bool NoActionPointTest(const cJednostka& unit) {
  if (unit.actionPoints != unit.startingActionPoints) return false;
  const auto* land = dynamic_cast<const cJednostkaLadowa*>(&unit);
  if (land && land->actionPoints == 0 && land->freezeTime == 0) return false;
  return true;
}

double ProductionOf(const cWorld& world, const cJednostka& unit) {
  const cCountry* country = world.GetCountry(unit.countryId);
  return country ? country->productionPoints : 0.0;
}

}  // namespace

eUpgradeRefusal CheckUpgradeToCorps(const cWorld& world, cJednostka& unit) {
  const eUpgradeRefusal base = CheckUnit(world, unit);
  if (base != eUpgradeRefusal::kNone) return base;
  if (unit.category == kCategoryAir) return eUpgradeRefusal::kAirUnit;
  if (unit.type == kUnitArtificialHarbour) return eUpgradeRefusal::kMulberry;
  if (unit.type == kUnitAirborneDivision) return eUpgradeRefusal::kAirborne;
  if (unit.type == kUnitInfantryCorps || unit.type == kUnitMechanizedCorps || unit.type == kUnitArmouredCorps) {
    return eUpgradeRefusal::kAlreadyCorps;
  }
  if (unit.type != kUnitInfantryDivision && unit.type != kUnitMechanizedDivision &&
      unit.type != kUnitArmouredDivision) {
    // The cost logs the type it cannot price; the order is refused.
    unit.GetUpgradeToCorpsCost();
    return eUpgradeRefusal::kNoCorpsForm;
  }
  const cMap& map = world.GetMap();
  if (map.GetHex(unit.x, unit.y).owner != unit.countryId) return eUpgradeRefusal::kNotInOwnedHex;
  if (!NoActionPointTest(unit)) return eUpgradeRefusal::kNotFullActionPoints;
  const float cost = unit.GetUpgradeToCorpsCost();
  if (cost < 0.0f) return eUpgradeRefusal::kNoCorpsForm;
  if (static_cast<double>(cost) > ProductionOf(world, unit)) return eUpgradeRefusal::kNotEnoughProduction;
  return eUpgradeRefusal::kNone;
}

eUpgradeRefusal UpgradeToCorps(cWorld& world, cJednostka& unit) {
  const cFrameworkLockGuard lock;
  const eUpgradeRefusal refusal = CheckUpgradeToCorps(world, unit);
  if (refusal != eUpgradeRefusal::kNone) {
    if (refusal == eUpgradeRefusal::kNoCorpsForm) LogLine(L"Upgrade to corps refused: %s", unit.name.c_str());
    return refusal;
  }
  unit.UpgradeToCorps();
  return eUpgradeRefusal::kNone;
}

eUpgradeRefusal CheckLevelUp(const cWorld& world, cJednostka& unit) {
  const eUpgradeRefusal base = CheckUnit(world, unit);
  if (base != eUpgradeRefusal::kNone) return base;
  if (unit.type == kUnitArtificialHarbour) return eUpgradeRefusal::kMulberry;
  if (unit.level >= 5) return eUpgradeRefusal::kMaxLevel;
  const cCountry* country = world.GetCountry(unit.countryId);
  int research = 0;
  if (country) {
    if (unit.category == kCategoryAir) {
      research = country->techLevel[kTechAircraft];
    } else if (unit.type == kUnitArmouredDivision || unit.type == kUnitArmouredCorps) {
      research = country->techLevel[kTechTanks];
    } else {
      research = country->techLevel[kTechArtillery];
    }
  }
  if (unit.level >= research) return eUpgradeRefusal::kNoTechnology;
  if (!NoActionPointTest(unit)) return eUpgradeRefusal::kNotFullActionPoints;
  if (static_cast<double>(unit.GetLevelUpCost()) > ProductionOf(world, unit)) {
    return eUpgradeRefusal::kNotEnoughProduction;
  }
  return eUpgradeRefusal::kNone;
}

eUpgradeRefusal LevelUp(cWorld& world, cJednostka& unit) {
  const cFrameworkLockGuard lock;
  const eUpgradeRefusal refusal = CheckLevelUp(world, unit);
  if (refusal != eUpgradeRefusal::kNone) return refusal;
  unit.LevelUp();
  return eUpgradeRefusal::kNone;
}

eUpgradeRefusal AiLevelUp(cWorld& world, cJednostka& unit) {
  const eUpgradeRefusal refusal = LockedStep([&] { return CheckLevelUp(world, unit); });
  if (refusal != eUpgradeRefusal::kNone) return refusal;
  const cCountry* country = world.GetCountry(unit.countryId);
  LogLine(L"[AI]: %s - upgrading %s (level up)", country ? country->name.c_str() : L"", unit.name.c_str());
  if (unit.visible && world.turnState.showActions) FollowHexInView(unit.x, unit.y);
  StoppableDelay(world, static_cast<int>(g_Delays[kDelayAIReplacementBefore].load()), __FILE__, __LINE__);
  // The main thread may have changed the unit or its country during the
  // delay: the change asks the check again in its own step.
  const eUpgradeRefusal done = LockedStep([&] {
    const eUpgradeRefusal again = CheckLevelUp(world, unit);
    if (again != eUpgradeRefusal::kNone) return again;
    if (auto* land = dynamic_cast<cJednostkaLadowa*>(&unit)) {
      land->RaiseLevel();
    } else {
      unit.LevelUp();
    }
    return eUpgradeRefusal::kNone;
  });
  if (done != eUpgradeRefusal::kNone) return done;
  StoppableDelay(world, static_cast<int>(g_Delays[kDelayAIReplacementAfter].load()), __FILE__, __LINE__);
  return eUpgradeRefusal::kNone;
}
