// A computer country's diplomacy: its alliance entry policy, the pressure it
// exerts on the countries its data lists, and its declarations of war on the
// holders of its offensive's target hexes. The checks and actions are the
// diplomacy panel's; each action is one locked step, and its text is shown
// after the lock is released.
#include <string>

#include "ai/ai_economy.h"
#include "app/console_log.h"
#include "platform/format.h"
#include "rules/diplomacy.h"
#include "rules/worker_messages.h"
#include "world/ai_orders.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// The pause after a declaration of war, so the player can read it (none
// when no human plays).
constexpr int kDeclarationPauseMs = 2000;
// The alliance entry from which delaying it is worth the points.
constexpr int kDelayFromEntry = 21;
// The entry from which a country of another orientation is worth pressing.
constexpr int kPressFromEntry = 30;
constexpr double kReadinessToDeclare = 0.7;

void Show(cWorld& world, const cCountry& country, const std::wstring& text) {
  LogLine(L"[AI]: %s - %s", country.name.c_str(), text.c_str());
  ShowTextAndWait(world, text, country.name);
}

}  // namespace

void MakeDiplomacyDecisions(cWorld& world, cCountry& country) {
  const sCountryAiData& data = country.aiData;
  std::wstring text;
  if (data.allianceEntryPolicy == 1 && CanHastenAllianceEntry(world, country.id, text)) {
    LockedStep([&] { HastenAllianceEntry(world, country.id, text); });
    Show(world, country, text);
  } else if (data.allianceEntryPolicy == 0 && country.allianceEntry >= kDelayFromEntry &&
             CanDelayAllianceEntry(world, country.id, text)) {
    LockedStep([&] { DelayAllianceEntry(world, country.id, text); });
    Show(world, country, text);
  }
  for (const int targetId : data.countriesToPress) {
    const cCountry* target = world.GetCountry(targetId);
    if (target == nullptr || !CanExertPressure(world, country.id, targetId, text)) continue;
    if (!target->SharesOrientationWith(country) && target->allianceEntry < kPressFromEntry) continue;
    LockedStep([&] { ExertPressure(world, country.id, targetId, text); });
    Show(world, country, text);
  }
}

float OffensiveReadiness(cWorld& world, const cCountry& country) {
  int gathering = 0;
  int ready = 0;
  for (const cJednostkaLadowa* unit : CollectOwnUnits(world, country.id).land) {
    if (unit->aiOrder == kAiBuildUp) ++gathering;
    if (unit->aiOrder == kAiBuildUpStuck) ++ready;
  }
  if (gathering + ready == 0) return 0.0f;
  return static_cast<float>(ready) / static_cast<float>(gathering + ready);
}

int DeclareWarOnTargets(cWorld& world, cCountry& country) {
  const sCountryAiData& data = country.aiData;
  if (data.currentTargets.empty()) return 0;
  if (static_cast<double>(OffensiveReadiness(world, country)) <= kReadinessToDeclare) return 0;
  int declared = 0;
  for (const sAiTarget& target : data.currentTargets) {
    if (!world.GetMap().IsInside(target.a, target.b)) continue;
    const int holderId = world.GetMap().GetHex(target.a, target.b).controller;
    const cCountry* holder = world.GetCountry(holderId);
    std::wstring text;
    if (holder == nullptr || holderId == country.id || !CanDeclareWar(world, country.id, holderId, text)) continue;
    LockedStep([&] { DeclareWar(world, country.id, holderId, true); });
    ++declared;
    const std::wstring line = plat::Format(L"[AI]: %s DECLARED WAR ON %s!!", country.name.c_str(), holder->name.c_str());
    LogLine(line);
    ShowStatusText(line);
    if (world.HasActiveHumanCountry()) StoppableDelay(world, kDeclarationPauseMs, __FILE__, __LINE__);
  }
  return declared;
}

}  // namespace ai
