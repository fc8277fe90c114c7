// The map screen's part in purchases: the purchases dialog opened from the
// information bar or the P key, and closed again the same way.
#include "app/console_log.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/purchases_dialog.h"
#include "screens/map_screen.h"
#include "world/game_phase.h"
#include "world/world.h"

void cMapScreen::TogglePurchasesDialog() {
  if (FindDialogById(cDialogZakupow::kId) != nullptr) {
    CloseDialogsDownTo(cDialogZakupow::kId);
    return;
  }
  // Buying is the player's order: only in the human turn.
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  if (world_.GetCountry(world_.turnState.CurrentCountryId()) == nullptr) return;
  LogLine(L"Player action: Purchases dialog");
  PushDialog(new cDialogZakupow(world_));
}
