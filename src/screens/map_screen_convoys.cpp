// The map screen's part in convoys: the convoys dialog opened from the
// information bar or the C key and closed again the same way, the two
// clicks on the map that pick a new convoy's ports while the dialog waits
// hidden, and the convoy results the end of an impulse shows.
#include "screens/map_screen.h"

#include "app/console_log.h"
#include "dialogs/convoy_result_dialog.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog_stack.h"
#include "world/convoy.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/land_movement.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kConvoyPortMark = 0x8000u;

cDialogKonwojow* ConvoysDialog() { return dynamic_cast<cDialogKonwojow*>(FindDialogById(cDialogKonwojow::kId)); }

}  // namespace

void cMapScreen::ToggleConvoysDialog() {
  if (cDialogKonwojow* open = ConvoysDialog()) {
    // A dialog in sight closes, with everything above it.
    if (open->Dialog().GetVisible()) {
      CloseDialogsDownTo(cDialogKonwojow::kId);
      return;
    }
    // A pick of ports that another order ended (Tab selects a unit) left the
    // dialog hidden: it comes back without the pick.
    if (world_.GetGameState() != kPhaseHumanTurn) return;
    cTurnState& turn = world_.turnState;
    if (turn.mode == kModeConvoyDeparture || turn.mode == kModeConvoyDestination) turn.mode = 0;
    ClearMapMarks(world_.GetMap(), kConvoyPortMark, true);
    open->Dialog().SetVisible(true);
    open->FillConvoyList(-1);
    open->RefreshControls();
    return;
  }
  // The convoys are the player's orders: only in the human turn.
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  const int countryId = world_.turnState.CurrentCountryId();
  if (world_.GetCountry(countryId) == nullptr) return;
  LogLine(L"Player action: Convoys dialog");
  PushDialog(new cDialogKonwojow(world_, countryId));
}

bool cMapScreen::ClickConvoyPort(int mode, const sHex& hex, bool marked) {
  if (mode != kModeConvoyDeparture && mode != kModeConvoyDestination) return false;
  cDialogKonwojow* dialog = ConvoysDialog();
  cTurnState& turn = world_.turnState;
  if (dialog == nullptr) {
    // The dialog has gone meanwhile: the pick ends with nothing made.
    ClearMapMarks(world_.GetMap(), kConvoyPortMark, true);
    turn.mode = 0;
    return true;
  }
  // The marks were read before the click's selection cleared them; the
  // node must be one the marks offer.
  const int countryId = dialog->CountryId();
  if (mode == kModeConvoyDeparture) {
    if (marked && cConvoyStore::IsDeparturePort(world_, countryId, hex.seaNode)) {
      dialog->SetDepartureNode(hex.seaNode);
      cConvoyStore::MarkDestinationPorts(world_, dialog->CountryId(), hex.seaNode);
    } else {
      ClearMapMarks(world_.GetMap(), kConvoyPortMark, true);
    }
    turn.mode = kModeConvoyDestination;
    return true;
  }
  ClearMapMarks(world_.GetMap(), kConvoyPortMark, true);
  dialog->Dialog().SetVisible(true);
  if (marked && dialog->DepartureNode() >= 1 &&
      cConvoyStore::IsDestinationPort(world_, countryId, dialog->DepartureNode(), hex.seaNode)) {
    dialog->SetDestinationNode(hex.seaNode);
    dialog->AddPickedConvoy();
  } else {
    dialog->FillConvoyList(-1);
    dialog->RefreshControls();
  }
  turn.Deselect(world_);
  turn.mode = 0;
  return true;
}

bool cMapScreen::ShowConvoyResults(int countryId) {
  if (world_.GetCountry(countryId) == nullptr) return false;
  PushDialog(new cDialogWynikuKonwojow(world_, countryId));
  return true;
}

bool cMapScreen::ConvoyResultsOpen() const { return FindDialogById(cDialogWynikuKonwojow::kId) != nullptr; }
