// The land battle of an attack set-up: action points, dice, the odds column
// and the two result tables, the defender's loss, retreat or surrender, the
// attackers' losses, and the texts of the result record and the reports.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/console_log.h"
#include "app/random.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/rand.h"
#include "rules/rule_helpers.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/land_attack_plan.h"
#include "world/map.h"
#include "world/report_store.h"
#include "world/turn_state.h"
#include "world/world.h"

namespace {

// Report types of the land battle.
constexpr int kReportLandAttack = 0;
constexpr int kReportLandDefence = 1;
// The fixed strength an air unit defends with on the ground, as a share.
constexpr float kAirDefenceShare = 0.25f;

bool IsComputerSide(const cWorld& world, int id) {
  const cCountry* country = world.GetCountry(id);
  return country && !country->human && country->pbemPlayerId < 1;
}

int DoctrineLevel(const cWorld& world, int id) {
  const cCountry* country = world.GetCountry(id);
  return country ? std::clamp(country->techLevel[kTechDoctrine], 0, 5) : 0;
}

// A whole number of strength points from a value that may be huge or not a
// number: clamped first.
int WholePoints(float value, int most) {
  if (!(value > 0.0f)) return 0;
  if (value >= static_cast<float>(most)) return most;
  return static_cast<int>(value);
}

// One of n (n >= 1) with equal chances, from one draw of the calling
// thread's generator.
int EvenPick(int n) {
  return static_cast<int>(static_cast<long long>(plat::Rand()) * n / (static_cast<long long>(plat::kRandMax) + 1));
}

// The unit leaves the turn state and the world.
void KillUnit(cWorld& world, cJednostka* unit) {
  world.turnState.ForgetUnit(unit);
  unit->Kill();
}

// The sides a retreating defender may take (free land of its own country,
// an ally or an enemy), the score of each (attacking sides opposite count
// 100, two apart 10, adjacent 1) and the one chosen. Returns -1 when no side
// is acceptable.
int ChooseRetreatSide(cWorld& world, const cLandAttack& attack, const cJednostka& defender) {
  const cMap& map = world.GetMap();
  bool acceptable[6] = {};
  bool hasNeighbour[6] = {};
  for (int d = 0; d < 6; ++d) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(defender.x, defender.y, d, nx, ny);
    if (!map.IsInside(nx, ny)) continue;
    hasNeighbour[d] = true;
    const sHex& hex = map.GetHex(nx, ny);
    acceptable[d] = hex.unit == nullptr && hex.IsLand() && hex.controller != 0 &&
                    (hex.controller == defender.countryId || AreAllied(world, hex.controller, defender.countryId) ||
                     AreAtWar(world, defender.countryId, hex.controller));
  }
  // The best score wins; among sides of equal best score each is equally
  // likely (the k-th equal side seen takes the place with chance 1 / k), so
  // any acceptable side leaves the defender a side to take.
  int best = -1;
  int bestScore = 0;
  int tied = 0;
  for (int d = 0; d < 6; ++d) {
    if (!acceptable[d]) continue;
    int score = 0;
    for (int k = 0; k < 6; ++k) {
      if (k == d || !hasNeighbour[k] || !attack.attackers[static_cast<std::size_t>(k)]) continue;
      const int apart = std::abs(k - d);
      score += apart == 3 ? 100 : (apart == 2 || apart == 4) ? 10 : 1;
    }
    LogLine(L"Retreat direction %i: score %i", d, score);
    if (best < 0 || score > bestScore) {
      best = d;
      bestScore = score;
      tied = 1;
    } else if (score == bestScore) {
      ++tied;
      if (EvenPick(tied) == 0) best = d;
    }
  }
  return best;
}

void Retreat(cWorld& world, cJednostka& defender, int side) {
  cMap& map = world.GetMap();
  int nx = 0, ny = 0;
  HexNeighbourCoords(defender.x, defender.y, side, nx, ny);
  map.GetHex(defender.x, defender.y).unit = nullptr;
  sHex& target = map.GetHex(nx, ny);
  target.unit = &defender;
  defender.x = nx;
  defender.y = ny;
  const int country = defender.countryId;
  if (!AreAtWar(world, country, target.controller)) return;
  const int owner = target.owner;
  if (owner != target.controller && owner != country && owner != 0 && AreAllied(world, owner, country)) {
    SetHexController(map, target, owner);
  } else {
    SetHexController(map, target, country);
  }
}

// One battle being fought: the set-up, the record it fills, the two
// countries and each side's report, written step by step.
struct sLandBattle {
  sLandBattle(cWorld& world_, cLandAttack& attack_, sBombardmentResult& result_)
      : world(world_), attack(attack_), result(result_) {}

  cWorld& world;
  cLandAttack& attack;
  sBombardmentResult& result;
  int attackerCountry = 0;
  int defenderCountry = 0;
  int sides = 0;
  std::wstring attackerReport;
  std::wstring defenderReport;

  // A line of both sides' reports and of both loss texts of the record.
  void ToBoth(const std::wstring& line) {
    attackerReport += line;
    defenderReport += line;
    result.attackerText1 += line;
    result.defenderText1 += line;
  }
  // A line of the attacker's report and loss text alone.
  void ToAttacker(const std::wstring& line) {
    attackerReport += line;
    result.attackerText1 += line;
  }
  // The defender leaves the set-up, the turn state and the world.
  void KillDefender() {
    cJednostka* killed = attack.defender;
    attack.defender = nullptr;
    KillUnit(world, killed);
  }
};

// The effective strengths the two sides fight with.
struct sStrengths {
  float attack = 0.0f;
  float defence = 0.0f;
};

// The dice of attacker and defender, 1 to 6.
struct sDice {
  int attack = 1;
  int defence = 1;
};

// Where the ratio of the strengths falls in the result tables: below 1:1
// the attack is weaker (column 1), from 8:1 it overruns the defender
// (column 7), between them its whole part is the column.
struct sOdds {
  float ratio = 0.0f;
  int column = 1;
  bool weaker = false;
  bool overrun = false;
};

// What the two result tables give: the per cent of the defender's strength
// lost, and the ratio of the attackers' loss to the defender's.
struct sTableResult {
  int lossPercent = 0;
  float lossRatio = 0.0f;
};

// The record is opened for the two countries and the attackers pay the
// action points an attack costs at their doctrine.
void BeginBattle(sLandBattle& battle) {
  const sScenarioConstants& k = battle.world.constants;
  cJednostka& defender = *battle.attack.defender;
  sBombardmentResult& result = battle.result;
  result.Reset();
  result.kind = kCombatLandBattle;
  result.defenderCountry = defender.countryId;
  bool armour = false;
  for (cJednostka* unit : battle.attack.attackers) {
    if (!unit) continue;
    ++battle.sides;
    const int doctrine = DoctrineLevel(battle.world, unit->countryId);
    unit->AddActionPoints(-k.attackActionPointCost[static_cast<std::size_t>(doctrine)]);
    if (unit->actionPoints < 0) unit->SetActionPoints(0);
    result.attackerCountry = unit->countryId;
    armour = armour || unit->type == kUnitArmouredDivision || unit->type == kUnitArmouredCorps;
  }
  battle.attackerCountry = result.attackerCountry;
  battle.defenderCountry = result.defenderCountry;
  LogLine(L"%s is attacked. Directions=%i, Armor present in attack=%i", defender.name, battle.sides,
          armour ? 1 : 0);
}

// The strengths and factors of the set-up, and the opening of each side's
// report that shows them: who attacked whom, the factors, the column the
// set-up estimates and the effective strength.
sStrengths OpenReports(sLandBattle& battle) {
  const cWorld& world = battle.world;
  const cLandAttack& attack = battle.attack;
  const cJednostka& defender = *attack.defender;
  const float attackerStrength = attack.GetAttackerStrength(world);
  const float defenderStrength = attack.GetDefenderStrength(world);
  const float directions = attack.GetDirectionsFactor(world);
  const float armourFactor = attack.GetArmourFactor(world);
  const float attackerWeather = attack.GetAttackerWeatherFactor(world);
  const float fortification = attack.GetFortificationFactor(world);
  const float terrain = attack.GetTerrainFactor(world);
  const float city = attack.GetCityFactor(world);
  const float defenderWeather = attack.GetDefenderWeatherFactor(world);
  const float entrenchment = attack.GetEntrenchmentFactor(world);
  const std::wstring columnLine = plat::Format(L"\nColumn: %i\n", attack.EstimateOddsColumn(world));
  const std::wstring attackerInfo = plat::Format(Text("combatresult_land_battle_att_info"), fortification * 100.0f,
                                                 directions * 100.0f, armourFactor * 100.0f,
                                                 attackerWeather * 100.0f) +
                                    columnLine;
  const std::wstring defenderInfo = plat::Format(Text("combatresult_land_battle_def_info"), terrain * 100.0f,
                                                 city * 100.0f, defenderWeather * 100.0f, entrenchment * 100.0f) +
                                    columnLine;
  std::wstring attackerList;
  for (cJednostka* unit : attack.attackers) {
    if (!unit) continue;
    if (!attackerList.empty()) attackerList += L", ";
    attackerList += plat::Format(L"%s [%.2f]", unit->name, unit->GetCombatStrength());
  }
  battle.attackerReport =
      plat::Format(L"Attacked unit %s (%s) [%.2f] on hex (%d, %d) with unit(s) %s\n\n", defender.name,
                   CountryName(world, battle.defenderCountry), attack.defender->GetCombatStrength(),
                   attack.defenderX, attack.defenderY, attackerList);
  battle.defenderReport =
      plat::Format(L"%s [%.2f] was attacked at hex (%i, %i) by unit(s) %s (%s)\n\n", defender.name,
                   attack.defender->GetCombatStrength(), attack.defenderX, attack.defenderY, attackerList,
                   CountryName(world, battle.attackerCountry));
  battle.attackerReport += attackerInfo;
  battle.defenderReport += defenderInfo;

  sStrengths strengths;
  strengths.attack = attackerStrength * directions * armourFactor * attackerWeather * fortification;
  strengths.defence = defenderStrength * terrain * city * defenderWeather * entrenchment;
  battle.attackerReport += plat::Format(L"\nEff. strength: %.2f\n", strengths.attack);
  battle.defenderReport += plat::Format(L"\nEff. strength: %.2f\n", strengths.defence);
  LogLine(L"\nAttacker eff. strength: %.2f\nDefender eff. strength: %.2f\n", strengths.attack, strengths.defence);
  return strengths;
}

// The dice; a computer side fighting a human one gets one more nine times
// in ten.
sDice RollDice(const sLandBattle& battle) {
  sDice dice;
  dice.attack = RandomRange(1, 6);
  dice.defence = RandomRange(1, 6);
  if (RandomFraction() > 0.1f) {
    const bool attackerComputer = IsComputerSide(battle.world, battle.attackerCountry);
    const bool defenderComputer = IsComputerSide(battle.world, battle.defenderCountry);
    if (attackerComputer && !defenderComputer) ++dice.attack;
    if (defenderComputer && !attackerComputer) ++dice.defence;
  }
  dice.attack = std::clamp(dice.attack, 1, 6);
  dice.defence = std::clamp(dice.defence, 1, 6);
  return dice;
}

// The odds of the strengths (a defence below kCombatFloor counts as
// kCombatFloor).
sOdds OddsOf(const sStrengths& strengths) {
  const float defence = strengths.defence >= kCombatFloor ? strengths.defence : kCombatFloor;
  sOdds odds;
  odds.ratio = strengths.attack / defence;
  if (!(odds.ratio >= 1.0f)) {
    odds.weaker = true;
  } else if (odds.ratio >= 8.0f) {
    odds.overrun = true;
    odds.column = 7;
  } else {
    odds.column = std::clamp(static_cast<int>(odds.ratio), 1, 7);
  }
  return odds;
}

void Overrun(sLandBattle& battle, float ratio) {
  LogLine(L"Defender destroyed by overrun!");
  battle.result.defenderLosses += battle.attack.defender->GetCombatStrength();
  battle.result.SetFlag(kFlagDefenderDestroyed);
  battle.ToBoth(plat::Format(L"\nDefender destroyed by overrun (%.2f:1)!\n", ratio));
  battle.KillDefender();
}

// The attacker's die picks the row of the defender's loss, the defender's
// die that of the loss ratio, which the defender's effectiveness scales.
sTableResult ReadTables(const sLandBattle& battle, const sDice& dice, int column) {
  const sScenarioConstants& k = battle.world.constants;
  const auto col = static_cast<std::size_t>(column - 1);
  sTableResult table;
  table.lossPercent = k.combatResultInt[static_cast<std::size_t>(dice.attack - 1)][col];
  table.lossRatio = k.combatResultLoss[static_cast<std::size_t>(dice.defence - 1)][col];
  if (const cJednostka* defender = battle.attack.defender) {
    table.lossRatio *= static_cast<float>(std::min(100, defender->effectiveness)) / 100.0f;
  }
  return table;
}

// The land defender's loss in strength points (worked out but not dealt
// when the attack is weaker). Returns the loss's value, which the
// attackers' losses follow.
float DefenderLosses(sLandBattle& battle, cJednostkaLadowa& land, bool weaker, int lossPercent) {
  const int strength = land.GetStrength();
  const int lostPoints = std::clamp(static_cast<int>(static_cast<long long>(strength) * lossPercent / 100), 0,
                                    std::max(strength, 0));
  const float lostValue = land.GetBaseStrength() * static_cast<float>(lostPoints) / 100.0f;
  const float before = land.GetCombatStrength();
  if (weaker) {
    LogLine(Text("attack_was_weaker_than_1:1,_losses_will_be_calculated_for_defender_but_won't_be_inflicted!"));
  } else {
    battle.world.GetRelations().AddLosses(battle.attackerCountry, battle.defenderCountry, lostValue);
    if (land.IsHarbour()) {
      land.strength -= lostPoints;
    } else {
      land.AddStrength(static_cast<float>(-lostPoints));
    }
  }
  const float lost = before - land.GetCombatStrength();
  battle.result.defenderLosses += lost;
  LogLine(L"Land combat: %.1f", lost);
  battle.ToBoth(plat::Format(L"%s losses %.2f strength\n", land.name, lost));
  return lostValue;
}

// A weakened defender in the open may retreat, by a chance of its strength
// left, the column and its terrain; one that passes the check but has no
// side to go to surrenders.
void RetreatOrStand(sLandBattle& battle, cJednostkaLadowa& land, int column) {
  const cMap& map = battle.world.GetMap();
  if (!map.IsInside(land.x, land.y)) return;
  const sScenarioConstants& k = battle.world.constants;
  const sHex& hex = map.GetHex(land.x, land.y);
  const int remaining = land.GetStrength();
  if (hex.city || hex.fortification != 0 || remaining > 50 || land.IsHarbour()) return;
  const float base = static_cast<float>(std::max(1, k.retreatBase - remaining));
  const float columnFactor = k.retreatOddsFactors[static_cast<std::size_t>(column - 1)];
  const float terrainFactor = k.retreatTerrainFactors[std::min<std::size_t>(hex.terrain, 7)];
  const int chance = WholePoints(base * columnFactor * terrainFactor, 1000000);
  LogLine(L"Retreat chance: Base=%.2f%% Modifiers: Column=%.2f Terrain=%.2f. CHANCE=%i%%", base, columnFactor,
          terrainFactor, chance);
  if (!(RandomRange(1, 100) < chance)) {
    LogLine(Text("retreat_check_failed._defender_stands_fast."));
    return;
  }
  const int side = ChooseRetreatSide(battle.world, battle.attack, land);
  if (side < 0) {
    LogLine(plat::Format(Text("retreat_check_passed,_but_retreat_impossible._%s_surrenders!"), land.name));
    battle.result.SetFlag(kFlagDefenderSurrendered);
    battle.KillDefender();
    return;
  }
  battle.ToBoth(plat::Format(L"\n%s retreats!\n", land.name));
  battle.result.SetFlag(kFlagDefenderRetreated);
  Retreat(battle.world, land, side);
}

// The attackers' losses: the total shared by combat strength among the land
// attackers; one left too weak is destroyed and leaves the set-up.
void AttackerLosses(sLandBattle& battle, float total) {
  float combined = battle.attack.GetAttackersCombatStrength();
  if (!(combined >= kCombatFloor)) combined = kCombatFloor;
  float dealt = 0.0f;
  for (cJednostka*& slot : battle.attack.attackers) {
    if (!slot || slot->category != kCategoryLand) continue;
    cJednostka* unit = slot;
    const float share = total * unit->GetCombatStrength() / combined;
    battle.world.GetRelations().AddLosses(battle.defenderCountry, unit->countryId, share);
    float base = unit->GetBaseStrength();
    if (!(base >= kCombatFloor)) base = kCombatFloor;
    const int points = WholePoints(share * 100.0f / base, 1000000);
    unit->AddStrength(static_cast<float>(-points));
    battle.ToAttacker(plat::Format(L"%s losses %.2f strength\n", unit->name, share));
    dealt += share;
    if (unit->GetCombatStrength() < kDestroyedBelow) {
      battle.ToBoth(plat::Format(L"%s destroyed!\n", unit->name));
      LogLine(Text("attacker_destroyed!"));
      battle.result.SetFlag(kFlagAttackerDestroyed);
      slot = nullptr;
      KillUnit(battle.world, unit);
    }
  }
  battle.result.attackerLosses += dealt;
}

// A land defender loses strength and may be destroyed, retreat or
// surrender; the attackers lose the loss ratio times its loss's value.
void FightLandDefender(sLandBattle& battle, const sOdds& odds, const sTableResult& table) {
  auto& land = static_cast<cJednostkaLadowa&>(*battle.attack.defender);
  const float lostValue = DefenderLosses(battle, land, odds.weaker, table.lossPercent);
  if (land.GetCombatStrength() < kDestroyedBelow) {
    LogLine(Text("defender_destroyed!"));
    battle.result.SetFlag(kFlagDefenderDestroyed);
    battle.KillDefender();
  } else if (!odds.weaker) {
    RetreatOrStand(battle, land, odds.column);
  }
  AttackerLosses(battle, table.lossRatio * lostValue);
}

// A unit that is not a land unit (an air unit on its field) defends with a
// fixed share; the attackers lose nothing.
void FightOtherDefender(sLandBattle& battle, bool weaker, int lossPercent) {
  LogLine(Text("air_unit_defense_check"));
  float loss = 0.0f;
  if (weaker) {
    LogLine(Text("attack_was_weaker_than_1:1!_no_effect!"));
  } else {
    loss = static_cast<float>(lossPercent) * kAirDefenceShare / 100.0f;
    if (kAirDefenceShare - loss < kDestroyedBelow) {
      battle.result.SetFlag(kFlagDefenderDestroyed);
      battle.KillDefender();
    }
  }
  battle.result.defenderLosses += loss;
  battle.ToBoth(plat::Format(Text("report_looses_land_combat"), loss));
}

// An attack from two sides or more uses up the attackers and the defender
// for this impulse; the undo goes, the reports are filed, and each side's
// whole account becomes the record's details.
void EndBattle(sLandBattle& battle) {
  if (battle.sides >= 2) {
    if (battle.attack.defender) battle.attack.defender->wasAttacked = true;
    for (cJednostka* unit : battle.attack.attackers) {
      if (unit) unit->attacked = true;
    }
  }
  LogLine(L"===BATTLE END===");
  battle.world.turnState.undo.Clear();
  LogLine(L"===UNDO WYCZYSZCZONE===");
  FileReport(battle.world, kReportLandAttack, battle.attackerCountry, battle.attackerReport);
  FileReport(battle.world, kReportLandDefence, battle.defenderCountry, battle.defenderReport);
  LogLine(L"===REPORTS ADDED===");
  battle.result.attackerText2 = battle.attackerReport;
  battle.result.defenderText2 = battle.defenderReport;
}

}  // namespace

bool cLandAttack::Resolve(cWorld& world, sBombardmentResult& result) {
  if (!defender || CountAttackingSides() == 0) return false;
  if (defender->visible) PlayCombatSound();
  GainCommanderExperience(world);

  sLandBattle battle(world, *this, result);
  BeginBattle(battle);
  const sStrengths strengths = OpenReports(battle);
  const sDice dice = RollDice(battle);
  const sOdds odds = OddsOf(strengths);
  if (odds.overrun) Overrun(battle, odds.ratio);
  const sTableResult table = ReadTables(battle, dice, odds.column);
  if (!odds.overrun) {
    if (defender->category == kCategoryLand) {
      FightLandDefender(battle, odds, table);
    } else {
      FightOtherDefender(battle, odds.weaker, table.lossPercent);
    }
  }
  EndBattle(battle);
  return true;
}
