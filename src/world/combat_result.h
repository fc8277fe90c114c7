// The result record of one fight: a land battle, an air fight or strike, a
// bombardment, a reconnaissance, an interception. The code that resolves the
// fight fills it; the combat result dialog shows it and keeps no pointer to
// it.
#pragma once

#include <array>
#include <string>

// What kind of fight the record holds (it picks the dialog's title).
enum eCombatKind : int {
  kCombatLandBattle = 0,
  kCombatAirFight = 1,
  kCombatAirStrikeLand = 2,  // also the bombardment of a land unit
  kCombatAirStrikeSea = 3,
  kCombatNuclear = 4,
  kCombatRecon = 5,
  kCombatInterception = 6,
  kCombatShoreBombardment = 7,
  kCombatNavalStrikeLand = 8,
  kCombatNavalStrikeSea = 9,
};

// The outcome flags, in the record's order.
enum eCombatFlag : int {
  kFlagAttackerDestroyed = 0,
  kFlagDefenderDestroyed = 1,
  kFlagDefenderSurrendered = 2,
  kFlagDefenderRetreated = 3,
  kFlagCityAffected = 4,
  kFlagPortAffected = 5,
  kFlagNavalDefenceDestroyed = 6,
  kFlagIntercepted = 7,
  kFlagStoppedByInterception = 8,
  kCombatFlagCount = 9,
};

struct sBombardmentResult {
  sBombardmentResult() { Reset(); }
  // Kind 0, both sums 0, the texts empty, both ids -1, every flag clear.
  void Reset();

  int kind = kCombatLandBattle;
  float attackerLosses = 0.0f;  // running sum
  float defenderLosses = 0.0f;  // running sum
  // The attacker's loss lines, the defender's loss lines, the attacker's
  // details, the defender's details.
  std::wstring attackerText1;
  std::wstring defenderText1;
  std::wstring attackerText2;
  std::wstring defenderText2;
  int attackerCountry = -1;
  int defenderCountry = -1;
  std::array<bool, kCombatFlagCount> flags{};

  bool Flag(eCombatFlag flag) const { return flags[static_cast<std::size_t>(flag)]; }
  void SetFlag(eCombatFlag flag) { flags[static_cast<std::size_t>(flag)] = true; }
};
