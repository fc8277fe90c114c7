// Air combat: the interception of a mission by a fighter or a carrier, and
// the air fight of a fighter (or a carrier's aircraft) with an air unit.
#include <algorithm>
#include <cmath>

#include "app/console_log.h"
#include "app/random.h"
#include "app/sound.h"
#include "world/air_sound.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_dice.h"
#include "world/air_tables.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportAirFightAttacker = 2;
constexpr int kReportAirFightDefender = 3;
// The supply index of a carrier's aircraft.
constexpr int kCarrierSupplyIndex = 30;


int NavyLevel(const cWorld& world, const cUnit& unit) {
  const cCountry* country = world.GetCountry(unit.countryId);
  return country ? country->techLevel[kTechNavy] : 0;
}

const wchar_t* CountryName(const cWorld& world, const cUnit& unit) {
  const cCountry* country = world.GetCountry(unit.countryId);
  return country ? country->name.c_str() : L"";
}

void AddLosses(cWorld& world, int dealtBy, int dealtTo, float value) {
  if (dealtBy <= 0 || dealtTo <= 0) return;
  if (dealtBy > world.GetCountryCount() || dealtTo > world.GetCountryCount()) return;
  world.GetRelations().AddLosses(dealtBy, dealtTo, value);
}

}  // namespace

int InterceptionBonus(const cWorld& world, int supplyLevel) {
  return air_tables::Bounded(world.constants.supplyEffectC, supplyLevel);
}

// Lines 35-40 are the defenders' losses, lines 41-46 the attackers', one
// line per die, columns -4..4.
int AirDefenderLoss(const cWorld& world, int die, int column) {
  const int row = std::clamp(die, 1, 6) - 1;
  const int col = std::clamp(column, -4, 4) + 4;
  return world.constants.airCombatTable[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

int AirAttackerLoss(const cWorld& world, int die, int column) {
  const int row = std::clamp(die, 1, 6) - 1 + 6;
  const int col = std::clamp(column, -4, 4) + 4;
  return world.constants.airCombatTable[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

float CarrierInterceptionFloor(const cWorld& world, const cJednostkaMorska& carrier) {
  return static_cast<float>(carrier.maxHitPoints) * world.constants.seaBattleValue155 / 100.0f;
}

bool cJednostkaLotnicza::ResolveInterception(cUnit* interceptor, sBombardmentResult& result) {
  if (!World() || !interceptor) return false;
  cWorld& world = *World();
  auto* fighter = interceptor->type == kUnitFighter ? dynamic_cast<cJednostkaLotnicza*>(interceptor) : nullptr;
  auto* carrier =
      interceptor->type == kUnitAircraftCarrier ? dynamic_cast<cJednostkaMorska*>(interceptor) : nullptr;
  int a = 0, b = 0;
  if (fighter) {
    a = static_cast<int>(fighter->strength);
    b = fighter->level;
  } else if (carrier) {
    a = carrier->hitPoints;
    b = NavyLevel(world, *carrier);
  }
  if (visible || interceptor->visible) PlayAirSound(SND_AIR_TO_AIR_COMBAT);
  result.kind = kCombatInterception;
  LogLine(L"%s tries to intercept %s", interceptor->name.c_str(), name.c_str());

  const int column = std::clamp(level + static_cast<int>(strength) - a - b, -4, 4);
  const int die = air_dice::Die();
  float li = static_cast<float>(AirAttackerLoss(world, die, column));
  const float lu = static_cast<float>(AirDefenderLoss(world, die, column));

  if (fighter) {
    fighter->strength -= std::trunc(li);
  } else if (carrier) {
    const int before = carrier->hitPoints;
    carrier->AddHitPoints(-li);
    const int floor = static_cast<int>(CarrierInterceptionFloor(world, *carrier));
    if (carrier->hitPoints < floor) carrier->hitPoints = std::min(before, floor);
    li = static_cast<float>(before - carrier->hitPoints);
  }
  strength -= std::trunc(lu);
  AddLosses(world, countryId, interceptor->countryId, li);
  AddLosses(world, interceptor->countryId, countryId, lu);

  result.attackerLosses += lu;
  result.defenderLosses += li;
  result.SetFlag(kFlagIntercepted);
  result.attackerText1 += plat::Format(Text("report_looses_interception"), lu) + L"\n";
  result.attackerCountry = countryId;
  result.defenderText1 += plat::Format(Text("report_looses_interception"), li) + L"\n";
  result.defenderCountry = interceptor->countryId;
  const float interceptorLeft =
      fighter ? fighter->strength : (carrier ? static_cast<float>(carrier->hitPoints) : 0.0f);
  result.attackerText2 += plat::Format(Text("report_details_interception_att"), name.c_str(), CountryName(world, *this), lu,
                                       std::max(0.0f, strength), li) +
                          L"\n";
  const std::wstring interceptorName = interceptor->name;
  result.defenderText2 += plat::Format(Text("report_details_interception"), interceptorName.c_str(),
                                       CountryName(world, *interceptor), li, std::max(0.0f, interceptorLeft), lu) +
                          L"\n";

  if (fighter && fighter->strength < 0.1f) {
    LogLine(L"Intercepcja nieudana, interceptor zdechl");
    fighter->Kill();
    result.defenderText2 += Text("report_unit_killed") + L"\n";
    result.defenderText2 += Text("report_details_interception_failed") + L"\n";
    result.attackerText2 += Text("report_details_interception_failed_att") + L"\n";
    result.SetFlag(kFlagDefenderDestroyed);
    return false;
  }
  if (strength < 0.1f) {
    LogLine(L"Intercepcja udana, ataker zabity");
    result.attackerText2 += Text("report_unit_killed") + L"\n";
    result.attackerText2 += Text("report_details_interception_succeeded_att") + L"\n";
    result.defenderText2 += Text("report_details_interception_succeeded") + L"\n";
    result.SetFlag(kFlagAttackerDestroyed);
    result.SetFlag(kFlagStoppedByInterception);
    return true;
  }
  if (lu > li) {
    LogLine(L"Intercepcja udana, misja przerwana");
    result.attackerText2 += Text("report_details_interception_succeeded_att") + L"\n\n";
    result.defenderText2 += Text("report_details_interception_succeeded") + L"\n\n";
    result.SetFlag(kFlagStoppedByInterception);
    return true;
  }
  LogLine(L"Intercepcja nieudana, misja trwa");
  result.defenderText2 += Text("report_details_interception_failed") + L"\n\n";
  result.attackerText2 += Text("report_details_interception_failed_att") + L"\n\n";
  return false;
}

void cJednostkaLotnicza::AirFight(cWorld& world, sBombardmentResult& result, cUnit* attacker) {
  if (!attacker) return;
  auto* air = dynamic_cast<cJednostkaLotnicza*>(attacker);
  auto* carrier = dynamic_cast<cJednostkaMorska*>(attacker);
  if (!air && !carrier) return;
  int v = 0, l = 0, s = 0;
  if (air) {
    v = static_cast<int>(air->strength);
    l = air->level - 1;
    s = InterceptionBonus(world, air->supply);
    air->AddActionPoints(-1);
  } else {
    v = carrier->hitPoints;
    l = NavyLevel(world, *carrier) - 1;
    s = InterceptionBonus(world, kCarrierSupplyIndex);
  }
  result.kind = kCombatAirFight;
  result.attackerCountry = attacker->countryId;
  result.defenderCountry = countryId;
  const int defenderBonus = InterceptionBonus(world, supply);
  LogLine(L"%s (strength:%i, level:%i, supply:%i) airfight with %s (strength:%i, level:%i, supply: %i)",
          attacker->name.c_str(), v, l, s, name.c_str(), GetStrength(), level, defenderBonus);

  const int column = std::clamp(s + v + l - (defenderBonus + GetStrength() + level), -4, 4);
  const int die = air_dice::Die();
  int la = AirAttackerLoss(world, die, column);
  int ld = AirDefenderLoss(world, die, column);
  if (air && air->CommanderPreventsLosses()) la = 0;
  if (CommanderPreventsLosses()) ld = 0;
  AddLosses(world, attacker->countryId, countryId, static_cast<float>(ld));
  AddLosses(world, countryId, attacker->countryId, static_cast<float>(la));
  LogLine(L"Column = %+i, D6=%i, att losses=%i, def losses=%i", column, die, la, ld);

  if (air) {
    air->strength -= static_cast<float>(la);
    if (air->strength < 0.1f) {
      result.attackerText2 += Text("report_unit_killed");
      result.SetFlag(kFlagAttackerDestroyed);
    }
  } else {
    carrier->AddHitPoints(static_cast<float>(-la));
    if (carrier->hitPoints < 1) {
      result.attackerText2 += Text("report_unit_killed");
      result.SetFlag(kFlagAttackerDestroyed);
    }
  }
  result.attackerLosses += static_cast<float>(la);
  result.attackerText1 += plat::Format(Text("report_looses_air_fight"), static_cast<float>(la)) + L"\n";
  result.defenderText2 += plat::Format(Text("report_air_fight"), GetSubtypeText(World(), type).c_str(), name.c_str(),
                                       CountryName(world, *this), GetEffectiveCombatStrength(), static_cast<float>(ld)) +
                          L"\n";
  strength -= static_cast<float>(ld);
  result.defenderLosses += static_cast<float>(ld);
  result.defenderText1 += plat::Format(Text("report_looses_air_fight"), static_cast<float>(ld)) + L"\n";

  FileReport(world, kReportAirFightAttacker, attacker->countryId,
             plat::Format(std::wstring(L"Air combat\n\n%s attacked %s (%s).\n\nAttacker losses: %.2f\nDefender "
                                       L"losses: %.2f"),
                          attacker->name.c_str(), name.c_str(), CountryName(world, *this), static_cast<double>(la),
                          static_cast<double>(ld)));
  FileReport(world, kReportAirFightDefender, countryId,
             plat::Format(std::wstring(L"Air combat\n\n%s was attacked by %s (%s).\n\nAttacker losses: "
                                       L"%.2f\nDefender losses: %.2f"),
                          name.c_str(), attacker->name.c_str(), CountryName(world, *attacker),
                          static_cast<double>(la), static_cast<double>(ld)));

  if (strength < 0.1f) {
    result.defenderText2 += Text("report_unit_killed");
    result.SetFlag(kFlagDefenderDestroyed);
    Kill();  // nothing of this unit is read after this
    result.defenderText2 += L"\n\n";
    return;
  }
  result.defenderText2 += L"\n\n";
}

void cJednostkaLotnicza::ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex*) {
  if (attacker && attacker->type == kUnitAircraftCarrier) AirFight(*World(), result, attacker);
}

cJednostkaLotnicza* cJednostkaLotnicza::FindWeakestEnemyAirInRange(const cWorld& world, int airType,
                                                                   const cCountry* sight) const {
  const cCountry* own = world.GetCountry(countryId);
  if (!own) return nullptr;
  const int r = GetRange(world);
  cJednostkaLotnicza* best = nullptr;
  int bestPower = 0;
  for (cJednostkaLotnicza* other : world.Units().airUnits) {
    if (!other || other->type != airType || !own->IsAtWarWith(other->countryId)) continue;
    if (HexDistance(x, y, other->x, other->y) > r) continue;
    // Only a unit this fighter may attack: an unseen one is no target.
    if (!IsAirFightTarget(world, other->x, other->y, sight)) continue;
    const int power = InterceptionBonus(world, other->supply) + static_cast<int>(other->strength) + other->level;
    if (!best || power < bestPower) {
      best = other;
      bestPower = power;
    }
  }
  return best;
}
