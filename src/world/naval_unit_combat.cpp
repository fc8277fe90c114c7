// A ship's values by type and technology, its flags for a sea battle, the
// surprise attack of a carrier or a raider submarine before the battles, and
// the interception of a carrier's strike.
#include <algorithm>
#include <cmath>

#include "app/console_log.h"
#include "app/random.h"
#include "app/sound.h"
#include "world/air_sound.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/air_dice.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

constexpr int kReportNavalActivity = 20;


std::size_t TypeIndex(int type) { return static_cast<std::size_t>(std::clamp(type - kUnitAircraftCarrier, 0, 5)); }


int NavyLevelOf(const cUnit& unit) {
  const cCountry* country = unit.GetCountry();
  return country ? country->techLevel[kTechNavy] : 0;
}

void AddLosses(cWorld& world, int dealtBy, int dealtTo, float value) {
  if (dealtBy <= 0 || dealtTo <= 0 || dealtBy > world.GetCountryCount() || dealtTo > world.GetCountryCount()) return;
  world.GetRelations().AddLosses(dealtBy, dealtTo, value);
}

}  // namespace

int cJednostkaMorska::GetTechLevel() const {
  const cCountry* country = GetCountry();
  if (!country) return 0;
  return country->techLevel[type == kUnitSubmarine ? kTechSubmarines : kTechNavy];
}

int cJednostkaMorska::RollConvoyDamage(const cWorld& world) const {
  // Lines 122 and 123 hold the two ends of the damage; the draw runs from
  // the smaller to the larger, whichever line holds which.
  const int a = world.constants.convoyDamageMin[TypeIndex(type)];
  const int b = world.constants.convoyDamageMax[TypeIndex(type)];
  return RandomRange(std::min(a, b), std::max(a, b));
}

float cJednostkaMorska::GetCombatValue(const cWorld& world) const {
  const int a = world.constants.navalCombatA[TypeIndex(type)];
  const int b = world.constants.navalCombatB[TypeIndex(type)];
  const int half = (a + b) / 2;
  return static_cast<float>(half) * (0.5f + 0.1f * static_cast<float>(GetTechLevel() - 1));
}

int cJednostkaMorska::GetHitPointPercent() const {
  if (maxHitPoints <= 0) return 0;
  return static_cast<int>(static_cast<long long>(std::max(0, hitPoints)) * 100 / maxHitPoints);
}

int cJednostkaMorska::GetHitChance() const { return (GetTechLevel() + 3) * 10; }

int cJednostkaMorska::RollShotDamage() const { return RandomRange(0, 100) < (GetTechLevel() + 5) * 10 ? 1 : 0; }

void cJednostkaMorska::ResetSeaBattleFlags(const cWorld& world) {
  takesPartInBattle = true;
  leftBattle = false;
  if (type == kUnitAircraftCarrier && hitPoints <= world.constants.carrierMinStrength) takesPartInBattle = false;
  if (type == kUnitCargoShip || type == kUnitAmphibiousShip) takesPartInBattle = false;
}

bool cJednostkaMorska::TrySurpriseAttack(cWorld& world, const std::vector<cJednostkaMorska*>& ships,
                                         std::wstring& message) {
  message.clear();
  int chance = 0;
  if (type == kUnitAircraftCarrier) {
    chance = world.constants.navalSeaBattleValue[6];
  } else if (type == kUnitSubmarine && fleet && fleet->formation == kFormationRaiders) {
    chance = world.constants.navalSeaBattleValue[7];
  }
  if (chance <= 0) return false;
  if (RandomRange(1, 1000) > chance) {
    LogLine(plat::Format(Text("%s_tries_to_launch_a_surprise_attack._check_failed."), name.c_str()));
    return false;
  }
  LogLine(plat::Format(Text("%s_tries_to_launch_a_surprise_attack._check_passed._searching_for_enemies..."),
                       name.c_str()));
  const cCountry* own = GetCountry();
  std::vector<cJednostkaMorska*> candidates;
  for (cJednostkaMorska* ship : ships) {
    if (!ship || ship->hitPoints <= 0 || !ship->fleet || !fleet || ship->fleet->seaNode != fleet->seaNode) continue;
    if (own && own->IsAtWarWith(ship->countryId)) candidates.push_back(ship);
  }
  if (candidates.empty()) {
    LogLine(Text("no_enemy_ships_present_in_sea_zone"));
    return false;
  }
  cJednostkaMorska& target = *candidates[static_cast<std::size_t>(RandomIndex(static_cast<int>(candidates.size())))];
  LogLine(plat::Format(Text("target_chosen:_%s"), target.name.c_str()));
  const int damage = RollShotDamage();
  const bool carrier = type == kUnitAircraftCarrier;
  const char* key;
  if (RandomRange(1, 100) > GetHitChance()) {
    key = carrier ? "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._attack_failed."
                  : "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._attack_failed.";
  } else {
    target.AddHitPoints(static_cast<float>(-damage));
    if (target.hitPoints < 1) {
      key = carrier ? "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_destroyed!"
                    : "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_destroyed!";
    } else {
      key = carrier ? "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_damaged."
                    : "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_damaged.";
    }
  }
  message = plat::Format(Text(key), name.c_str(), CountryName(world, countryId), target.name.c_str(),
                         CountryName(world, target.countryId));
  FileReport(world, kReportNavalActivity, target.countryId, message);
  return true;
}

bool cJednostkaMorska::ResolveInterception(cUnit* interceptor, sBombardmentResult& result) {
  if (!World() || !interceptor) return false;
  cWorld& world = *World();
  auto* fighter = interceptor->type == kUnitFighter ? dynamic_cast<cJednostkaLotnicza*>(interceptor) : nullptr;
  auto* carrier =
      interceptor->type == kUnitAircraftCarrier ? dynamic_cast<cJednostkaMorska*>(interceptor) : nullptr;
  int v = 0, l = 0;
  if (fighter) {
    v = static_cast<int>(fighter->strength);
    l = fighter->level;
  } else if (carrier) {
    v = carrier->hitPoints;
    l = NavyLevelOf(*carrier);
  } else {
    return false;
  }
  if (visible || interceptor->visible) PlayAirSound(SND_AIR_TO_AIR_COMBAT);
  result.kind = kCombatInterception;
  LogLine(L"%s tries to intercept %s", interceptor->name.c_str(), name.c_str());
  const int column = std::clamp(hitPoints - l - v + NavyLevelOf(*interceptor), -4, 4);
  const int die = air_dice::Die();
  const int interceptorLoss = AirAttackerLoss(world, die, column);
  const int ownLoss = AirDefenderLoss(world, die, column);

  float interceptorTaken = 0.0f;
  if (fighter) {
    const float before = fighter->strength;
    fighter->strength -= std::trunc(static_cast<float>(interceptorLoss));
    interceptorTaken = before - fighter->strength;
  } else {
    const int before = carrier->hitPoints;
    carrier->AddHitPoints(static_cast<float>(-interceptorLoss));
    carrier->ApplyHitPointFloor();
    interceptorTaken = static_cast<float>(before - carrier->hitPoints);
  }
  const int before = hitPoints;
  AddHitPoints(static_cast<float>(-ownLoss));
  ApplyHitPointFloor();
  const float ownTaken = static_cast<float>(before - hitPoints);
  AddLosses(world, countryId, interceptor->countryId, interceptorTaken);
  AddLosses(world, interceptor->countryId, countryId, ownTaken);

  result.attackerLosses += ownTaken;
  result.defenderLosses += interceptorTaken;
  result.SetFlag(kFlagIntercepted);
  result.attackerCountry = countryId;
  result.defenderCountry = interceptor->countryId;
  result.attackerText1 += plat::Format(Text("report_looses_interception"), ownTaken) + L"\n";
  result.defenderText1 += plat::Format(Text("report_looses_interception"), interceptorTaken) + L"\n";
  const float interceptorLeft = fighter ? fighter->strength : static_cast<float>(carrier->hitPoints);
  result.attackerText2 += plat::Format(Text("report_details_interception_att"), name.c_str(),
                                       CountryName(world, countryId), ownTaken, static_cast<float>(hitPoints),
                                       interceptorTaken) +
                          L"\n";
  result.defenderText2 += plat::Format(Text("report_details_interception"), interceptor->name.c_str(),
                                       CountryName(world, interceptor->countryId), interceptorTaken,
                                       std::max(0.0f, interceptorLeft), ownTaken) +
                          L"\n";
  auto failed = [&result] {
    result.defenderText2 += Text("report_details_interception_failed") + L"\n";
    result.attackerText2 += Text("report_details_interception_failed_att") + L"\n";
    return false;
  };
  auto succeeded = [&result] {
    result.attackerText2 += Text("report_details_interception_succeeded_att") + L"\n";
    result.defenderText2 += Text("report_details_interception_succeeded") + L"\n";
    result.SetFlag(kFlagStoppedByInterception);
    return true;
  };
  if (fighter && fighter->strength < 0.1f) {
    result.defenderText2 += Text("report_unit_killed") + L"\n";
    result.SetFlag(kFlagDefenderDestroyed);
    fighter->Kill();
    return failed();
  }
  if (hitPoints <= 0) {
    result.SetFlag(kFlagAttackerDestroyed);
    result.attackerText2 += Text("report_unit_killed") + L"\n";
    return succeeded();
  }
  // Equal losses let the strike go on.
  return ownTaken > interceptorTaken ? succeeded() : failed();
}
