#include "world/land_attack_plan.h"

#include <algorithm>
#include <cmath>

#include "app/random.h"
#include "app/sound.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// Columns of the land combat factors line (31), from 1.
constexpr int kArmourColumn = 1;
constexpr int kNotLandColumn = 2;
constexpr int kFirstDirectionsColumn = 3;  // one attacking side
constexpr int kRiverColumn = 12;
constexpr int kFortificationColumn = 13;
// Column of the city factor on the terrain line (32).
constexpr int kCityColumn = 9;

float CombatFactor(const cWorld& world, int column) {
  return world.constants.landCombatFactors[static_cast<std::size_t>(column - 1)];
}

bool IsArmour(const cJednostka* unit) {
  return unit && unit->category == kCategoryLand &&
         (unit->type == kUnitArmouredDivision || unit->type == kUnitArmouredCorps);
}

bool IsLand(const cJednostka* unit) { return unit && unit->category == kCategoryLand; }

// The weather factor of a country fighting on a hex: 1 in good weather,
// reduced by the scenario's percentage times the country's own modifier in
// winter and mud.
float WeatherFactor(const cWorld& world, const sHex& hex, const cCountry* country) {
  if (!country) return 1.0f;
  if (hex.weather == 1) return 1.0f - world.constants.winterBattleFactor / 100.0f * (country->winterBattle / 100.0f);
  if (hex.weather == 2) return 1.0f - world.constants.mudBattleFactor / 100.0f * (country->mudBattle / 100.0f);
  return 1.0f;
}

// The defender's hex, or null when the set-up's hex is off the map.
const sHex* DefenderHex(const cWorld& world, const cLandAttack& attack) {
  const cMap& map = world.GetMap();
  return map.IsInside(attack.defenderX, attack.defenderY) ? &map.GetHex(attack.defenderX, attack.defenderY) : nullptr;
}

}  // namespace

void cLandAttack::Clear() {
  defender = nullptr;
  defenderX = -1;
  defenderY = -1;
  attackers.fill(nullptr);
}

void cLandAttack::SetAttacker(int side, cJednostka* unit) {
  if (side < 0 || side >= kSides) return;
  attackers[static_cast<std::size_t>(side)] = unit;
}

void cLandAttack::ClearAttacker(int side) { SetAttacker(side, nullptr); }

bool cLandAttack::HasAttacker(const cJednostka* unit) const { return SideOf(unit) >= 0; }

int cLandAttack::SideOf(const cJednostka* unit) const {
  if (!unit) return -1;
  for (int side = 0; side < kSides; ++side) {
    if (attackers[static_cast<std::size_t>(side)] == unit) return side;
  }
  return -1;
}

int cLandAttack::CountAttackingSides() const {
  return static_cast<int>(std::count_if(attackers.begin(), attackers.end(), [](const cJednostka* u) { return u; }));
}

cCountry* cLandAttack::GetAttackerCountry(const cWorld& world) const {
  for (const cJednostka* unit : attackers) {
    if (unit) return world.GetCountry(unit->countryId);
  }
  return nullptr;
}

bool cLandAttack::Forget(const cJednostka* unit) {
  if (!unit) return false;
  bool named = false;
  if (defender == unit) {
    defender = nullptr;
    named = true;
  }
  for (cJednostka*& attacker : attackers) {
    if (attacker == unit) {
      attacker = nullptr;
      named = true;
    }
  }
  return named;
}

float cLandAttack::GetAttackersCombatStrength() const {
  float sum = 0.0f;
  for (cJednostka* unit : attackers) {
    if (unit) sum += unit->GetCombatStrength();
  }
  return sum;
}

float cLandAttack::GetAttackerStrength(const cWorld& world) const {
  const sHex* hex = DefenderHex(world, *this);
  float sum = 0.0f;
  for (int side = 0; side < kSides; ++side) {
    cJednostka* unit = attackers[static_cast<std::size_t>(side)];
    if (!unit) continue;
    float strength = unit->GetEffectiveCombatStrength();
    if (hex && hex->HasRiverOnSide(side)) strength *= CombatFactor(world, kRiverColumn);
    sum += strength;
  }
  return sum;
}

float cLandAttack::GetDefenderStrength(const cWorld& world) const {
  if (!defender) return 0.0f;
  if (IsLand(defender)) return defender->GetEffectiveCombatStrength();
  return world.constants.fixedDefenderStrength;
}

float cLandAttack::GetDirectionsFactor(const cWorld& world) const {
  const int n = CountAttackingSides();
  if (n == 0) return 1.0f;
  return CombatFactor(world, kFirstDirectionsColumn + n - 1);
}

float cLandAttack::GetArmourFactor(const cWorld& world) const {
  if (!defender) return 1.0f;
  if (IsArmour(defender) && std::none_of(attackers.begin(), attackers.end(), IsArmour)) {
    return CombatFactor(world, kArmourColumn);
  }
  if (!IsLand(defender)) return CombatFactor(world, kNotLandColumn);
  return 1.0f;
}

float cLandAttack::GetAttackerWeatherFactor(const cWorld& world) const {
  const cMap& map = world.GetMap();
  float sum = 0.0f;
  int count = 0;
  for (const cJednostka* unit : attackers) {
    if (!unit) continue;
    ++count;
    // A unit carried at sea fights in no weather.
    if (!map.IsInside(unit->x, unit->y)) {
      sum += 1.0f;
      continue;
    }
    sum += WeatherFactor(world, map.GetHex(unit->x, unit->y), world.GetCountry(unit->countryId));
  }
  return count == 0 ? 1.0f : sum / static_cast<float>(count);
}

float cLandAttack::GetFortificationFactor(const cWorld& world) const {
  const sHex* hex = DefenderHex(world, *this);
  if (!IsLand(defender) || !hex) return 1.0f;
  return 1.0f - static_cast<float>(hex->fortification) * CombatFactor(world, kFortificationColumn) / 100.0f;
}

float cLandAttack::GetAttackerFactor(const cWorld& world) const {
  return GetDirectionsFactor(world) * GetArmourFactor(world) * GetAttackerWeatherFactor(world) *
         GetFortificationFactor(world);
}

float cLandAttack::GetTerrainFactor(const cWorld& world) const {
  const sHex* hex = DefenderHex(world, *this);
  if (!hex || hex->terrain < kTerrainPlain || hex->terrain > kTerrainDesert) return 1.0f;
  return world.constants.terrainCombatFactors[hex->terrain];
}

float cLandAttack::GetCityFactor(const cWorld& world) const {
  const sHex* hex = DefenderHex(world, *this);
  if (!hex || !hex->city) return 1.0f;
  return world.constants.terrainCombatFactors[kCityColumn - 1];
}

float cLandAttack::GetDefenderWeatherFactor(const cWorld& world) const {
  const sHex* hex = DefenderHex(world, *this);
  if (!hex || !defender) return 1.0f;
  return WeatherFactor(world, *hex, world.GetCountry(defender->countryId));
}

float cLandAttack::GetEntrenchmentFactor(const cWorld& world) const {
  const auto* land = dynamic_cast<const cJednostkaLadowa*>(defender);
  if (!land || !IsLand(defender)) return 1.0f;
  return 1.0f + static_cast<float>(land->entrenchment) * world.constants.entrenchmentFactor / 100.0f;
}

float cLandAttack::GetDefenderFactor(const cWorld& world) const {
  return GetTerrainFactor(world) * GetCityFactor(world) * GetDefenderWeatherFactor(world) *
         GetEntrenchmentFactor(world);
}

float cLandAttack::GetEffectiveAttack(const cWorld& world) const {
  return GetAttackerStrength(world) * GetAttackerFactor(world);
}

float cLandAttack::GetEffectiveDefence(const cWorld& world) const {
  return GetDefenderStrength(world) * GetDefenderFactor(world);
}

int cLandAttack::EstimateOddsColumn(const cWorld& world) const {
  float defence = GetEffectiveDefence(world);
  if (!(defence >= kCombatFloor)) defence = kCombatFloor;
  const float ratio = GetEffectiveAttack(world) / defence;
  // Clamped while still a float: a huge ratio must not overflow the int.
  if (!(ratio >= 1.0f)) return 1;
  if (ratio >= 7.0f) return 7;
  return static_cast<int>(ratio);
}

void cLandAttack::PlayCombatSound() const {
  ChangeWorldView([](cWorldView&) { PlaySoundEffect(SND_LAND_COMBAT); });
}

void cLandAttack::GainCommanderExperience(cWorld& world) {
  const auto& values = world.constants.commanderExperienceValues;
  const int limit = values[0];
  auto gain = [limit](const cJednostka* unit, int chance) {
    if (!unit) return;
    cCommander* commander = unit->GetCountingCommander();
    if (!commander || commander->experience >= limit) return;
    if (RandomRange(1, 100) <= chance) ++commander->experience;
  };
  for (const cJednostka* unit : attackers) gain(unit, values[3]);
  gain(defender, values[2]);
}
