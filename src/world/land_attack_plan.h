// A land attack as it is planned: one defending unit on its hex and up to
// six attacking units, one per side of that hex. The set-up works out the
// strengths and the factors that multiply them; the attack panel shows them,
// the computer opponent rates attacks by the odds column, and the battle
// (cLandAttack::Resolve, rules/land_combat.cpp) fights with the same values.
//
// Every division here is guarded: a strength, sum or product that is 0 (or
// below the floor) is replaced by kCombatFloor, so no value is ever infinite
// or not a number, and values are clamped before they become whole numbers.
#pragma once

#include <array>

class cCountry;
class cJednostka;
class cWorld;
struct sBombardmentResult;

// The smallest divisor the combat arithmetic uses.
constexpr float kCombatFloor = 0.001f;

class cLandAttack {
 public:
  static constexpr int kSides = 6;

  // No defender, hex (-1, -1), no attackers.
  void Clear();

  // Sets or clears the attacker of one side (0..5); other sides are ignored.
  void SetAttacker(int side, cJednostka* unit);
  void ClearAttacker(int side);
  // Whether the unit is one of the six attackers (null never is).
  bool HasAttacker(const cJednostka* unit) const;
  // The side the unit attacks from, or -1.
  int SideOf(const cJednostka* unit) const;
  // 0 to 6.
  int CountAttackingSides() const;
  // The country of the first attacker in side order; null without one.
  cCountry* GetAttackerCountry(const cWorld& world) const;
  // Drops the unit wherever the set-up names it (defender or attacker).
  // True when it was named.
  bool Forget(const cJednostka* unit);

  // --- Strengths ---
  // Sum of the attackers' combat strengths.
  float GetAttackersCombatStrength() const;
  // Sum of the attackers' effective combat strengths, each multiplied by the
  // river factor when the defender's hex has a river on its side.
  float GetAttackerStrength(const cWorld& world) const;
  // The defender's effective combat strength when it is a land unit; the
  // fixed strength of the scenario for an air unit; 0 without a defender.
  float GetDefenderStrength(const cWorld& world) const;

  // --- Factors of the attackers ---
  float GetDirectionsFactor(const cWorld& world) const;
  float GetArmourFactor(const cWorld& world) const;
  float GetAttackerWeatherFactor(const cWorld& world) const;
  float GetFortificationFactor(const cWorld& world) const;
  // directions x armour x attacker weather x fortification.
  float GetAttackerFactor(const cWorld& world) const;

  // --- Factors of the defender ---
  float GetTerrainFactor(const cWorld& world) const;
  float GetCityFactor(const cWorld& world) const;
  float GetDefenderWeatherFactor(const cWorld& world) const;
  float GetEntrenchmentFactor(const cWorld& world) const;
  // terrain x city x defender weather x entrenchment.
  float GetDefenderFactor(const cWorld& world) const;

  // Attacker strength x attacker factor, and defender strength x defender
  // factor (the effective strengths the battle compares).
  float GetEffectiveAttack(const cWorld& world) const;
  float GetEffectiveDefence(const cWorld& world) const;
  // The whole part of effective attack / effective defence (a defence below
  // kCombatFloor counts as kCombatFloor), clamped to 1..7.
  int EstimateOddsColumn(const cWorld& world) const;

  // The land combat sound, played by the main thread (the worker plays
  // nothing): at once there, else in its next frame.
  void PlayCombatSound() const;

  // Each attacker's counting commander, then the defender's, may gain one
  // experience (random draws from the calling thread's generator).
  void GainCommanderExperience(cWorld& world);

  // Fights the battle of this set-up (rules/land_combat.cpp): the attackers
  // pay their action points, the dice and the tables give the losses, a weak
  // defender may retreat or surrender, the reports are written. A killed
  // unit leaves this set-up and everything else that named it. False, and
  // nothing happens, without a defender or without an attacker.
  bool Resolve(cWorld& world, sBombardmentResult& result);

  cJednostka* defender = nullptr;
  int defenderX = -1;
  int defenderY = -1;
  std::array<cJednostka*, kSides> attackers{};
};
