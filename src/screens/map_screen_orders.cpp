// The map screen's left click in the human turn: the player's orders. The
// order mode of the turn state and the target marks that an order put on
// the map decide what a click means; every order is carried out by the
// rules (rules/land_move.h, rules/land_attack.h, rules/strategic_move.h), which check it first.
#include "screens/map_screen.h"

#include <memory>

#include "app/console_log.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_stack.h"
#include "platform/format.h"
#include "rules/land_attack.h"
#include "rules/land_move.h"
#include "rules/strategic_move.h"
#include "screens/attack_panel.h"
#include "screens/screen_helpers.h"
#include "world/combat_result.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/land_attack_plan.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

// The mark bits of the targets an order offers on the map.
constexpr std::uint32_t kTargetMarks = 0x0001FFFCu;
// Every mark but the selection (bit 0).

cJednostkaLadowa* AsLandUnit(cJednostka* unit) {
  return unit != nullptr && unit->category == kCategoryLand ? dynamic_cast<cJednostkaLadowa*>(unit) : nullptr;
}

}  // namespace

void cMapScreen::ShowAttackPanel() {
  if (auto* panel = dynamic_cast<cAttackPanel*>(panels_[kAttack])) panel->ShowAttack();
}

bool cMapScreen::ShowCombatResult(const sBombardmentResult& result) {
  const float delay = g_Delays[kDelayHumanCombatResult].load();
  if (delay == 0.0f) return false;
  PushDialog(new cDialogWynikuWalki(world_, result, delay));
  return true;
}

cMapScreen::eClick cMapScreen::ClickAssaultPlan(cJednostka* clicked, int column, int row) {
  cTurnState& turn = world_.turnState;
  cLandAttack& plan = *turn.attack;
  if (clicked != nullptr && clicked == plan.defender) {
    LogLine(L"Player action: Executing assault ");
    sBombardmentResult result;
    if (ExecuteAttack(world_, result) != eAttackRefusal::kNone) {
      // The plan could not be fought (its units changed since it was made):
      // it is dropped and the game goes on.
      LogLine(L"ERROR: while executing assault! no pointer to att. or_def.?");
      turn.ClearAttack();
      ShowAttackPanel();
      return eClick::kEnds;
    }
    turn.ClearAttack();
    ShowAttackPanel();
    ShowCombatResult(result);
    RefreshSelection();
    return eClick::kEnds;
  }
  const int currentId = turn.CurrentCountryId();
  const int side = world_.GetMap().GetNeighbourDirection(plan.defenderX, plan.defenderY, column, row);
  eAttackRefusal refusal = eAttackRefusal::kNone;
  if (side != 0 && clicked != nullptr && clicked->countryId == currentId && clicked->category == kCategoryLand) {
    if (plan.HasAttacker(clicked)) {
      RemoveAttacker(world_, *clicked);
      if (turn.attack == nullptr || turn.attack->CountAttackingSides() == 0) {
        LogLine(L"Player action: Last unit removed from assault plan / assault plan canceled");
        turn.ClearAttack();
        ShowAttackPanel();
        ShowStatusNotice(g_StringBase.GetText("statusbar_assault_canceled"));
        return eClick::kEnds;
      }
      LogLine(L"Player action: Unit removed from assault");
      ShowAttackPanel();
      return eClick::kStays;
    }
    refusal = CheckAddAttacker(world_, *clicked);
    if (refusal == eAttackRefusal::kNone) {
      AddAttacker(world_, *clicked);
      LogLine(L"Player action: Unit added to assault plan");
      ShowAttackPanel();
      // A plan the rules dropped (a second side against a defender already
      // attacked) ends the click, with a word to the player.
      if (turn.attack != nullptr) return eClick::kStays;
      ShowStatusNotice(g_StringBase.GetText("statusbar_assault_canceled"));
      return eClick::kEnds;
    }
  }
  LogLine(L"Player action: assault plan canceled");
  turn.ClearAttack();
  ShowAttackPanel();
  // The player is told why: an own unit next to the target that cannot
  // join, or a click elsewhere.
  if (refusal == eAttackRefusal::kAlreadyAttacked) {
    const wchar_t* text = g_StringBase.GetText("statusbar_assault_canceled_already_attacked_%s");
    ShowStatusNotice(plat::Format(text, clicked->name));
  } else if (refusal == eAttackRefusal::kNoActionPoints) {
    const wchar_t* text = g_StringBase.GetText("statusbar_assault_canceled_no_action_points_%s");
    ShowStatusNotice(plat::Format(text, clicked->name));
  } else {
    ShowStatusNotice(g_StringBase.GetText("statusbar_assault_canceled"));
  }
  return eClick::kEnds;
}

void cMapScreen::OnMapClick(int column, int row) {
  cTurnState& turn = world_.turnState;
  // A notice stands until the next click.
  status_notice_.clear();
  cMap& map = world_.GetMap();
  const int currentId = turn.CurrentCountryId();
  // The unit selected before this click acts.
  cJednostka* acting = nullptr;
  if (turn.selectedHex != nullptr) acting = turn.selectedHex->unit;
  // The target marks are read before the selection of the clicked hex
  // clears them.
  sHex& hex = map.GetHex(column, row);
  const bool marked = (hex.markBits & kTargetMarks) != 0;
  // A sea hex or a port selected while no dialog is open shows the fleets
  // there.
  const bool noDialog = g_DialogStack.empty() && g_pActiveDialog == nullptr;
  turn.SelectHex(world_, column, row);
  cJednostka* clicked = hex.unit;
  const int mode = turn.mode;

  eClick click = eClick::kEnds;
  if (ClickDeploy(mode, column, row, marked)) {
    // A deploy ends with this click, done or not.
  } else if (ClickConvoyPort(mode, hex, marked)) {
    // The departure pick leads to the destination pick; that one ends.
    if (turn.mode != kModeNone) return;
  } else if (ClickFleetOrder(mode, column, row, marked)) {
    // A pick of the fleets dialog ends with this click, done or not.
  } else if (ClickAirOrder(mode, acting, column, row, marked)) {
    // An air order ends with this click, done or not.
  } else if (ClickLandingOrder(mode, acting, column, row, marked)) {
    // A drop or an unloading ends with this click.
  } else if (mode == kModeStrategicMove && marked && acting != nullptr) {
    if (CheckStrategicMove(world_, *acting, column, row) == eStrategicMoveRefusal::kNone) {
      LogLine(L"Player action: Strategic move / %s from (%i, %i) to (%i, %i)", acting->name, acting->x, acting->y,
              column, row);
      OrderStrategicMove(world_, *acting, column, row);
      turn.undo.Clear();
    }
    ClearMapMarks(map, kOrderMarks, true);
    RefreshSelection();
  } else if (cJednostkaLadowa* mover = AsLandUnit(acting);
             mode == kModeMove && marked && turn.attack == nullptr && mover != nullptr) {
    const int fromX = mover->x, fromY = mover->y;
    eLandMoveRefusal refusal = CheckLandMove(world_, *mover, column, row);
    if (refusal == eLandMoveRefusal::kNone) {
      LogLine(L"Player action: Move / %s from (%i, %i) to (%i, %i)", mover->name, fromX, fromY, column, row);
      refusal = OrderLandMove(world_, *mover, column, row, true);
    }
    // A move refused on a marked hex says why until the next click.
    if (refusal != eLandMoveRefusal::kNone) ShowStatusNotice(g_StringBase.GetText(LandMoveRefusalKey(refusal)));
  } else if (mode == kModeAssault && turn.attack != nullptr) {
    click = ClickAssaultPlan(clicked, column, row);
  } else if (acting != nullptr && turn.attack == nullptr && clicked != nullptr && acting != clicked &&
             acting->countryId != currentId &&
             CheckNewAttack(world_, *acting, *clicked, true) == eAttackRefusal::kNone) {
    // An enemy was selected and an own unit next to it clicked.
    LogLine(L"Player action: new assault plan created");
    NewAttack(world_, *acting, *clicked, true);
    ShowAttackPanel();
    turn.mode = kModeAssault;
    click = eClick::kStays;
  } else if (acting != nullptr && turn.attack == nullptr && clicked != nullptr && acting != clicked &&
             acting->countryId == currentId &&
             CheckNewAttack(world_, *clicked, *acting, false) == eAttackRefusal::kNone) {
    // An own unit was selected and an enemy next to it clicked.
    LogLine(L"Player action: new assault plan created");
    NewAttack(world_, *clicked, *acting, false);
    ShowAttackPanel();
    turn.mode = kModeAssault;
    click = eClick::kStays;
  } else if (clicked != nullptr && turn.attack == nullptr && (mode == kModeNone || !marked)) {
    if (clicked->countryId == currentId) {
      const int reach = clicked->ComputeMoveRange(false);
      // An air unit that cannot rebase now (its action points spent by a
      // mission, or nowhere to go) is only selected: no pick is pending.
      if (clicked->category == kCategoryLand || reach > 0) {
        turn.mode = clicked->category == kCategoryLand ? kModeMove : kModeRebase;
        click = eClick::kStays;
      }
    } else {
      clicked->reachableHexes.clear();
    }
  }
  if (click == eClick::kEnds) turn.mode = kModeNone;
  if (noDialog) OpenFleetsDialogAt(column, row, mode);
}
