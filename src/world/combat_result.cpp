#include "world/combat_result.h"

void sBombardmentResult::Reset() {
  kind = kCombatLandBattle;
  attackerLosses = 0.0f;
  defenderLosses = 0.0f;
  attackerText1.clear();
  defenderText1.clear();
  attackerText2.clear();
  defenderText2.clear();
  attackerCountry = -1;
  defenderCountry = -1;
  flags.fill(false);
}
