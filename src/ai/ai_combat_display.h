// How the player sees a computer player's fight: the view centres on the
// attacked hex, which carries the attack mark while the fight lasts, with the
// pauses of the computer's combat delays, and the combat report when the
// computer's result delay is not 0. Worker thread, outside the lock.
#pragma once

#include <cstdint>

class cWorld;
struct sBombardmentResult;

namespace ai {

// The mark of a hex under attack.
constexpr std::uint32_t kMarkAttacked = 2;

// The view follows (x, y), "Delay/AICombatBefore", the attack mark on the
// hex, "Delay/AICombatBefore" again.
void ShowCombatTarget(cWorld& world, int x, int y);
// Takes the attack mark off (x, y).
void ClearCombatTarget(cWorld& world, int x, int y);
// When "Delay/AICombatResult" is not 0: "Delay/AICombatAfter", then the
// combat report, waited for until it closes. Nothing otherwise.
void ReportCombatResult(cWorld& world, const sBombardmentResult& result);

// A shown fight on one hex from start to end: the target shown on
// construction, the mark taken off on destruction (on every way out of the
// action). Does nothing when not shown.
class cShownCombat {
 public:
  cShownCombat(cWorld& world, int x, int y, bool shown);
  ~cShownCombat();
  cShownCombat(const cShownCombat&) = delete;
  cShownCombat& operator=(const cShownCombat&) = delete;

  // The report of the fight, when shown.
  void Report(const sBombardmentResult& result);

 private:
  cWorld& world_;
  int x_, y_;
  bool shown_;
};

}  // namespace ai
