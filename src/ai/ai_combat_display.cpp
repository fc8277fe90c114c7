#include "ai/ai_combat_display.h"

#include "app/settings.h"
#include "rules/rule_helpers.h"
#include "rules/worker_messages.h"
#include "world/hex_changes.h"
#include "world/map.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {
namespace {


void SetAttackMark(cWorld& world, int x, int y, bool on) {
  LockedStep([&] {
    cMap& map = world.GetMap();
    if (!map.IsInside(x, y)) return;
    if (on) {
      SetHexMark(map, map.GetHex(x, y), kMarkAttacked, -1);
    } else {
      ClearHexMark(map, map.GetHex(x, y), kMarkAttacked, false);
    }
  });
}

}  // namespace

void ShowCombatTarget(cWorld& world, int x, int y) {
  FollowHexInView(x, y);
  StoppableDelay(world, DelayMs(kDelayAICombatBefore), __FILE__, __LINE__);
  SetAttackMark(world, x, y, true);
  StoppableDelay(world, DelayMs(kDelayAICombatBefore), __FILE__, __LINE__);
}

void ClearCombatTarget(cWorld& world, int x, int y) { SetAttackMark(world, x, y, false); }

void ReportCombatResult(cWorld& world, const sBombardmentResult& result) {
  if (g_Delays[kDelayAICombatResult].load() == 0.0f) return;
  StoppableDelay(world, DelayMs(kDelayAICombatAfter), __FILE__, __LINE__);
  ShowComputerCombatResultAndWait(world, result);
}

cShownCombat::cShownCombat(cWorld& world, int x, int y, bool shown) : world_(world), x_(x), y_(y), shown_(shown) {
  if (shown_) ShowCombatTarget(world_, x_, y_);
}

cShownCombat::~cShownCombat() {
  if (shown_) ClearCombatTarget(world_, x_, y_);
}

void cShownCombat::Report(const sBombardmentResult& result) {
  if (shown_) ReportCombatResult(world_, result);
}

}  // namespace ai
