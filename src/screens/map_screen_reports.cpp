// The map screen's reports button (and the R key): the reports and
// statistics dialog opened over the map, or closed again.
#include "screens/map_screen.h"

#include "app/console_log.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/reports_dialog.h"
#include "world/game_phase.h"
#include "world/world.h"

void cMapScreen::ToggleReportsDialog() {
  if (FindDialogById(cDialogStatystyk::kId) != nullptr) {
    CloseDialogsDownTo(cDialogStatystyk::kId);
    return;
  }
  // The lists show the current country and its allies: only a human
  // country's turn opens them, never a computer player's.
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  LogLine(L"Player action: Reports and statistics dialog");
  PushDialog(new cDialogStatystyk(world_));
}
