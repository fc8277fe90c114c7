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
#include "world/hex_drawing.h"
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
// Below this combat strength a unit is gone.
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

}  // namespace

bool cLandAttack::Resolve(cWorld& world, sBombardmentResult& result) {
  if (!defender || CountAttackingSides() == 0) return false;
  const sScenarioConstants& k = world.constants;
  cMap& map = world.GetMap();
  cRelationsMatrix& relations = world.GetRelations();

  if (defender->visible) PlayCombatSound();
  GainCommanderExperience(world);

  result.Reset();
  result.kind = kCombatLandBattle;
  result.defenderCountry = defender->countryId;
  int sides = 0;
  bool armour = false;
  for (cJednostka* unit : attackers) {
    if (!unit) continue;
    ++sides;
    unit->AddActionPoints(-k.attackActionPointCost[static_cast<std::size_t>(DoctrineLevel(world, unit->countryId))]);
    if (unit->actionPoints < 0) unit->SetActionPoints(0);
    result.attackerCountry = unit->countryId;
    armour = armour || unit->type == kUnitArmouredDivision || unit->type == kUnitArmouredCorps;
  }
  const int attackerCountry = result.attackerCountry;
  const int defenderCountry = result.defenderCountry;
  LogLine(L"%s is attacked. Directions=%i, Armor present in attack=%i", defender->name, sides, armour ? 1 : 0);

  // The strengths and factors, and the texts that show them.
  const float attackerStrength = GetAttackerStrength(world);
  const float defenderStrength = GetDefenderStrength(world);
  const float directions = GetDirectionsFactor(world);
  const float armourFactor = GetArmourFactor(world);
  const float attackerWeather = GetAttackerWeatherFactor(world);
  const float fortification = GetFortificationFactor(world);
  const float terrain = GetTerrainFactor(world);
  const float city = GetCityFactor(world);
  const float defenderWeather = GetDefenderWeatherFactor(world);
  const float entrenchment = GetEntrenchmentFactor(world);
  const std::wstring columnLine = plat::Format(L"\nColumn: %i\n", EstimateOddsColumn(world));
  const std::wstring attackerInfo = plat::Format(Text("combatresult_land_battle_att_info"), fortification * 100.0f,
                                      directions * 100.0f, armourFactor * 100.0f, attackerWeather * 100.0f) +
                         columnLine;
  const std::wstring defenderInfo = plat::Format(Text("combatresult_land_battle_def_info"), terrain * 100.0f, city * 100.0f,
                                      defenderWeather * 100.0f, entrenchment * 100.0f) +
                         columnLine;
  std::wstring attackerList;
  for (cJednostka* unit : attackers) {
    if (!unit) continue;
    if (!attackerList.empty()) attackerList += L", ";
    attackerList += plat::Format(L"%s [%.2f]", unit->name, unit->GetCombatStrength());
  }
  std::wstring attackerReport =
      plat::Format(L"Attacked unit %s (%s) [%.2f] on hex (%d, %d) with unit(s) %s\n\n", defender->name,
                   CountryName(world, defenderCountry), defender->GetCombatStrength(), defenderX, defenderY,
                   attackerList);
  std::wstring defenderReport =
      plat::Format(L"%s [%.2f] was attacked at hex (%i, %i) by unit(s) %s (%s)\n\n", defender->name,
                   defender->GetCombatStrength(), defenderX, defenderY, attackerList,
                   CountryName(world, attackerCountry));
  attackerReport += attackerInfo;
  defenderReport += defenderInfo;
  // Lines that go to both sides' texts.
  auto bothTexts = [&](const std::wstring& line) {
    attackerReport += line;
    defenderReport += line;
    result.attackerText1 += line;
    result.defenderText1 += line;
  };

  const float effectiveAttack = attackerStrength * directions * armourFactor * attackerWeather * fortification;
  float effectiveDefence = defenderStrength * terrain * city * defenderWeather * entrenchment;
  attackerReport += plat::Format(L"\nEff. strength: %.2f\n", effectiveAttack);
  defenderReport += plat::Format(L"\nEff. strength: %.2f\n", effectiveDefence);
  LogLine(L"\nAttacker eff. strength: %.2f\nDefender eff. strength: %.2f\n", effectiveAttack, effectiveDefence);

  // The dice; a computer side fighting a human one gets one more nine times
  // in ten.
  int attackDie = RandomRange(1, 6);
  int defenceDie = RandomRange(1, 6);
  if (RandomFraction() > 0.1f) {
    const bool attackerComputer = IsComputerSide(world, attackerCountry);
    const bool defenderComputer = IsComputerSide(world, defenderCountry);
    if (attackerComputer && !defenderComputer) ++attackDie;
    if (defenderComputer && !attackerComputer) ++defenceDie;
  }
  attackDie = std::clamp(attackDie, 1, 6);
  defenceDie = std::clamp(defenceDie, 1, 6);

  // The odds column.
  if (!(effectiveDefence >= kCombatFloor)) effectiveDefence = kCombatFloor;
  const float ratio = effectiveAttack / effectiveDefence;
  bool weaker = false;
  bool overrun = false;
  int column = 1;
  if (!(ratio >= 1.0f)) {
    weaker = true;
  } else if (ratio >= 8.0f) {
    overrun = true;
    column = 7;
  } else {
    column = std::clamp(static_cast<int>(ratio), 1, 7);
  }
  if (overrun) {
    LogLine(L"Defender destroyed by overrun!");
    result.defenderLosses += defender->GetCombatStrength();
    result.SetFlag(kFlagDefenderDestroyed);
    bothTexts(plat::Format(L"\nDefender destroyed by overrun (%.2f:1)!\n", ratio));
    cJednostka* killed = defender;
    defender = nullptr;
    KillUnit(world, killed);
  }

  const int p = k.combatResultInt[static_cast<std::size_t>(attackDie - 1)][static_cast<std::size_t>(column - 1)];
  float r = k.combatResultLoss[static_cast<std::size_t>(defenceDie - 1)][static_cast<std::size_t>(column - 1)];
  if (defender) r *= static_cast<float>(std::min(100, defender->effectiveness)) / 100.0f;

  if (!overrun && defender->category == kCategoryLand) {
    auto* land = static_cast<cJednostkaLadowa*>(defender);
    const int strength = land->GetStrength();
    const int lostPoints = std::clamp(static_cast<int>(static_cast<long long>(strength) * p / 100), 0,
                                      std::max(strength, 0));
    const float lostValue = land->GetBaseStrength() * static_cast<float>(lostPoints) / 100.0f;
    const float before = land->GetCombatStrength();
    if (weaker) {
      LogLine(Text("attack_was_weaker_than_1:1,_losses_will_be_calculated_for_defender_but_won't_be_inflicted!"));
    } else {
      relations.AddLosses(attackerCountry, defenderCountry, lostValue);
      if (land->IsHarbour()) {
        land->strength -= lostPoints;
      } else {
        land->AddStrength(static_cast<float>(-lostPoints));
      }
    }
    const float lost = before - land->GetCombatStrength();
    result.defenderLosses += lost;
    LogLine(L"Land combat: %.1f", lost);
    bothTexts(plat::Format(L"%s losses %.2f strength\n", land->name, lost));

    if (land->GetCombatStrength() < kDestroyedBelow) {
      LogLine(Text("defender_destroyed!"));
      result.SetFlag(kFlagDefenderDestroyed);
      defender = nullptr;
      KillUnit(world, land);
      land = nullptr;
    }

    if (land && !weaker && map.IsInside(land->x, land->y)) {
      const sHex& hex = map.GetHex(land->x, land->y);
      const int remaining = land->GetStrength();
      if (!hex.city && hex.fortification == 0 && remaining <= 50 && !land->IsHarbour()) {
        const float base = static_cast<float>(std::max(1, k.retreatBase - remaining));
        const float columnFactor = k.retreatOddsFactors[static_cast<std::size_t>(column - 1)];
        const float terrainFactor = k.retreatTerrainFactors[std::min<std::size_t>(hex.terrain, 7)];
        const int chance = WholePoints(base * columnFactor * terrainFactor, 1000000);
        LogLine(L"Retreat chance: Base=%.2f%% Modifiers: Column=%.2f Terrain=%.2f. CHANCE=%i%%", base, columnFactor,
                terrainFactor, chance);
        if (RandomRange(1, 100) < chance) {
          const int side = ChooseRetreatSide(world, *this, *land);
          if (side < 0) {
            LogLine(plat::Format(Text("retreat_check_passed,_but_retreat_impossible._%s_surrenders!"), land->name));
            result.SetFlag(kFlagDefenderSurrendered);
            defender = nullptr;
            KillUnit(world, land);
            land = nullptr;
          } else {
            bothTexts(plat::Format(L"\n%s retreats!\n", land->name));
            result.SetFlag(kFlagDefenderRetreated);
            Retreat(world, *land, side);
          }
        } else {
          LogLine(Text("retreat_check_failed._defender_stands_fast."));
        }
      }
    }

    // The attackers' losses: the defender's calculated loss times the loss
    // ratio, shared by combat strength.
    const float total = r * lostValue;
    float combined = GetAttackersCombatStrength();
    if (!(combined >= kCombatFloor)) combined = kCombatFloor;
    float dealt = 0.0f;
    for (cJednostka*& slot : attackers) {
      if (!slot || slot->category != kCategoryLand) continue;
      cJednostka* unit = slot;
      const float share = total * unit->GetCombatStrength() / combined;
      relations.AddLosses(defenderCountry, unit->countryId, share);
      float base = unit->GetBaseStrength();
      if (!(base >= kCombatFloor)) base = kCombatFloor;
      const int points = WholePoints(share * 100.0f / base, 1000000);
      unit->AddStrength(static_cast<float>(-points));
      const std::wstring line = plat::Format(L"%s losses %.2f strength\n", unit->name, share);
      attackerReport += line;
      result.attackerText1 += line;
      dealt += share;
      if (unit->GetCombatStrength() < kDestroyedBelow) {
        bothTexts(plat::Format(L"%s destroyed!\n", unit->name));
        LogLine(Text("attacker_destroyed!"));
        result.SetFlag(kFlagAttackerDestroyed);
        slot = nullptr;
        KillUnit(world, unit);
      }
    }
    result.attackerLosses += dealt;
  } else if (!overrun) {
    // A unit that is not a land unit (an air unit on its field) defends with
    // a fixed share; the attackers lose nothing.
    LogLine(Text("air_unit_defense_check"));
    float loss = 0.0f;
    if (weaker) {
      LogLine(Text("attack_was_weaker_than_1:1!_no_effect!"));
    } else {
      loss = static_cast<float>(p) * kAirDefenceShare / 100.0f;
      if (kAirDefenceShare - loss < kDestroyedBelow) {
        result.SetFlag(kFlagDefenderDestroyed);
        cJednostka* killed = defender;
        defender = nullptr;
        KillUnit(world, killed);
      }
    }
    result.defenderLosses += loss;
    bothTexts(plat::Format(Text("report_looses_land_combat"), loss));
  }

  if (sides >= 2) {
    if (defender) defender->wasAttacked = true;
    for (cJednostka* unit : attackers) {
      if (unit) unit->attacked = true;
    }
  }

  LogLine(L"===BATTLE END===");
  world.turnState.undo.Clear();
  LogLine(L"===UNDO WYCZYSZCZONE===");
  FileReport(world, kReportLandAttack, attackerCountry, attackerReport);
  FileReport(world, kReportLandDefence, defenderCountry, defenderReport);
  LogLine(L"===REPORTS ADDED===");
  // The details: each side's whole account of the battle.
  result.attackerText2 = attackerReport;
  result.defenderText2 = defenderReport;
  return true;
}
