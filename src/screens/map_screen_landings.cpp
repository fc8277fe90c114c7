// The map screen's clicks that complete a landing: the airborne assault the
// unit panel prepared (mode 6, the drop targets marked) and the unloading of
// the ship selected in the fleets dialog (mode 16, its unload hexes marked).
// The rules (rules/paradrop.h, rules/sea_transport.h) check and carry out the
// order; this shows what came of it.
#include <algorithm>

#include "app/console_log.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "rules/paradrop.h"
#include "rules/sea_transport.h"
#include "screens/map_screen.h"
#include "screens/screen_helpers.h"
#include "world/combat_result.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {
constexpr int kFleetsDialogId = 550;

// Every mark but the selection (bit 0); the unload marks.
constexpr std::uint32_t kUnloadMarks = 0x00000040u;

void LogRefusal(eTransportRefusal refusal) {
  if (const char* key = TransportRefusalKey(refusal)) LogLine(L"%s", g_StringBase.GetText(key));
}

}  // namespace

bool cMapScreen::ClickLandingOrder(int mode, cJednostka* acting, int column, int row, bool marked) {
  cMap& map = world_.GetMap();
  if (mode == kModeParadrop) {
    auto* unit = dynamic_cast<cJednostkaLadowa*>(acting);
    if (!marked || unit == nullptr || unit->category != kCategoryLand || map.GetHex(column, row).unit != nullptr) {
      return false;
    }
    LogLine(L"Player action: Airborne assault / %s on (%i, %i)", unit->name, column, row);
    sLandingOutcome outcome;
    const eTransportRefusal refusal = Paradrop(world_, *unit, column, row, outcome);
    LogRefusal(refusal);
    RefreshSelection();
    if (refusal == eTransportRefusal::kNone) ShowMessage(outcome.text, outcome.title);
    map.ClearHexMarks(kOrderMarks, true);
    return true;
  }
  if (mode != kModeUnload) return false;
  // The fleets dialog stays the active dialog (hidden) while its order is
  // completed on the map.
  cDialog* active = g_pActiveDialog;
  cJednostkaMorska* ship = active != nullptr ? active->GetSingleSelectedShip() : nullptr;
  if (ship == nullptr) return false;
  if (marked) {
    map.ClearHexMarks(kUnloadMarks, true);
    LogLine(L"Player action: Unload / %s on (%i, %i)", ship->name, column, row);
    sLandingOutcome outcome;
    const eTransportRefusal refusal = UnloadShip(world_, *ship, column, row, outcome);
    // The selection is the main thread's: the rule, which the computer's
    // unloading reaches on the worker too, leaves it alone.
    if (refusal == eTransportRefusal::kNone) world_.turnState.Deselect(world_);
    LogRefusal(refusal);
    if (refusal == eTransportRefusal::kNone && outcome.opposed) {
      ShowCombatResult(outcome.result);
    } else if (refusal == eTransportRefusal::kNone && !outcome.text.empty()) {
      ShowMessage(outcome.text, outcome.title);
    }
  }
  if (cDialog* fleets = g_pActiveDialog; fleets != nullptr && fleets->GetId() == kFleetsDialogId) {
    fleets->OnReactivate();
  }
  world_.turnState.Deselect(world_);
  RefreshSelection();
  return true;
}

bool cMapScreen::ShowComputerCombatResult(const sBombardmentResult& result, float displayMs) {
  auto* dialog = new cDialogWynikuWalki(world_, result, displayMs);
  PushDialog(dialog);
  computer_report_ = dialog;
  return true;
}

bool cMapScreen::ComputerCombatResultOpen() const {
  return computer_report_ != nullptr &&
         std::find(g_DialogStack.begin(), g_DialogStack.end(), computer_report_) != g_DialogStack.end();
}
