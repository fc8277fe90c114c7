// The map screen's part in the units manager and the research dialog: both
// opened from the information bar or their keys (U, T) in the human turn
// and closed again the same way, and the click that deploys the reserve unit the units manager picked
// while it waits hidden.
#include "screens/map_screen.h"

#include "app/console_log.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/research_dialog.h"
#include "dialogs/units_manager_dialog.h"
#include "rules/deployment.h"
#include "world/game_phase.h"
#include "world/jednostka_morska.h"
#include "world/land_movement.h"
#include "world/sea_graph.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kDeployMarks = kMarkDeploy;

cDialogJednostek* UnitsManager() {
  return dynamic_cast<cDialogJednostek*>(FindDialogById(cDialogJednostek::kId));
}

bool IsDeployMode(int mode) {
  return mode == cDialogJednostek::kModeDeployLand || mode == cDialogJednostek::kModeDeployAir ||
         mode == cDialogJednostek::kModeDeployNaval;
}

// The port whose ships are drawn on the clicked hex (or whose city it is).
int PortNodeAt(const cWorld& world, int x, int y) {
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    if (node.IsSeaZone()) continue;
    if ((node.ownShipX == x && node.ownShipY == y) || (node.x == x && node.y == y)) return node.id;
  }
  return 0;
}

bool InReservePool(const cWorld& world, const cUnit* unit) {
  const sUnitLists& units = world.Units();
  for (const cJednostka* reserve : units.reservePool) {
    if (reserve == unit) return true;
  }
  for (const cJednostkaMorska* reserve : units.navalReservePool) {
    if (reserve == unit) return true;
  }
  return false;
}

}  // namespace

void cMapScreen::ToggleUnitsManager() {
  if (cDialogJednostek* open = UnitsManager()) {
    // A deploy that another order ended left the dialog hidden: it comes
    // back without the deploy. A dialog in sight closes, with everything
    // above it.
    if (open->Dialog().GetVisible()) {
      CloseDialogsDownTo(cDialogJednostek::kId);
      return;
    }
    if (world_.GetGameState() != kPhaseHumanTurn) return;
    if (IsDeployMode(world_.turnState.mode)) world_.turnState.mode = 0;
    ClearMapMarks(world_.GetMap(), kDeployMarks, true);
    open->Dialog().SetVisible(true);
    open->FillUnitList(-1);
    return;
  }
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  const int countryId = world_.turnState.CurrentCountryId();
  if (world_.GetCountry(countryId) == nullptr) return;
  LogLine(L"Player action: Units manager");
  PushDialog(new cDialogJednostek(world_, units_view_, countryId));
}

void cMapScreen::ToggleResearchDialog() {
  if (FindDialogById(cDialogResearchu::kId) != nullptr) {
    CloseDialogsDownTo(cDialogResearchu::kId);
    return;
  }
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  if (world_.GetCountry(world_.turnState.CurrentCountryId()) == nullptr) return;
  LogLine(L"Player action: Research dialog");
  PushDialog(new cDialogResearchu(world_));
}

bool cMapScreen::ClickDeploy(int mode, int column, int row, bool marked) {
  if (!IsDeployMode(mode)) return false;
  cTurnState& turn = world_.turnState;
  cDialogJednostek* dialog = UnitsManager();
  cUnit* unit = units_view_.selectedUnit;
  ClearMapMarks(world_.GetMap(), kDeployMarks, true);
  turn.mode = 0;
  // The unit must still wait in the reserve: the dialog may have gone, or
  // the unit with it.
  if (marked && dialog != nullptr && unit != nullptr && InReservePool(world_, unit) && unit->availableInTurns < 1) {
    eDeployRefusal refusal = eDeployRefusal::kNone;
    if (mode == cDialogJednostek::kModeDeployNaval) {
      if (auto* ship = dynamic_cast<cJednostkaMorska*>(unit)) {
        const int node = PortNodeAt(world_, column, row);
        if (node > 0) {
          LogLine(L"Player action: Deploy ship %s at sea node %i", ship->name, node);
          refusal = DeployShip(world_, *ship, node);
        }
      }
    } else if (auto* placed = dynamic_cast<cJednostka*>(unit)) {
      LogLine(L"Player action: Deploy %s at (%i, %i)", placed->name, column, row);
      refusal = DeployFromReserve(world_, *placed, column, row);
    }
    if (refusal != eDeployRefusal::kNone) LogLine(g_StringBase.GetText(DeployRefusalKey(refusal)));
    turn.undo.Clear();
  }
  turn.Deselect(world_);
  if (dialog != nullptr && g_pActiveDialog == dialog) dialog->OnReactivate();
  return true;
}
