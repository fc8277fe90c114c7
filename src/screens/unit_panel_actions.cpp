// The unit panel's icons and the answers of the prompts it opens. Every
// order acts on the unit the panel shows only while that unit still stands
// on the selected hex; one prompt at a time belongs to the panel.
#include <string>

#include "app/console_log.h"
#include "app/string_base.h"
#include "dialogs/commanders_dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "dialogs/replacements_dialog.h"
#include "gui/dxut_control.h"
#include "platform/format.h"
#include "rules/land_move.h"
#include "rules/disband.h"
#include "rules/sea_transport.h"
#include "rules/unit_upgrade.h"
#include "screens/map_screen.h"
#include "screens/screen_helpers.h"
#include "screens/unit_panel.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/landings.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/sea_graph.h"
#include "world/strategic_movement.h"
#include "world/units_visibility.h"
#include "world/world.h"

namespace {


// The marks an order leaves on the map: every bit but the selection's.

// The order modes of the turn state the air icons set.
// The move marks the loading clears before the unit leaves the map.
constexpr std::uint32_t kLoadingClearMarks = 0x1Cu;

void PushWithListener(cDialog* dialog, cDialog* listener) {
  PushDialog(dialog, 0);
  dialog->SetListener(listener);
}

}  // namespace

void cUnitPanel::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case cDialogPobraniaTekstu::kOkId:
    case cDialogPobraniaTekstu::kCancelId:
    case cDialogPotwierdzenia::kYesId:
    case cDialogPotwierdzenia::kNoId:
    case cDialogUzupelnien::kOkId:
    case cDialogUzupelnien::kCancelId:
    case cDialogDowodcow::kExitId:
      OnAnswer(controlId);
      return;
    default:
      break;
  }
  // The icons are orders: only in the human turn, and only for the unit
  // that is still there.
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  if (!dialog_.GetControlEnabled(controlId)) return;
  cJednostka* unit = LiveShownUnit();
  if (unit == nullptr) return;
  const bool free = pending_ == kPendingNone;
  switch (controlId) {
    case kUnitRenameIconId:
      if (free) OpenRename(*unit);
      return;
    case kUnitUpgradeIconId:
      if (CheckUpgradeToCorps(world_, *unit) == eUpgradeRefusal::kNone) {
        LogLine(L"Player action: Upgrade to corps / %s", unit->name);
        UpgradeToCorps(world_, *unit);
      }
      Refresh();
      return;
    case kUnitLevelUpIconId:
      if (CheckLevelUp(world_, *unit) == eUpgradeRefusal::kNone) {
        LogLine(L"Player action: Level up / %s to level %i", unit->name, unit->level + 1);
        LevelUp(world_, *unit);
      }
      Refresh();
      return;
    case kUnitSupplyIconId:
      if (sHex* hex = supply_hex_) {
        const int x = hex->x, y = hex->y;
        world_.GetMap().CenterAtHex(x, y);
        world_.turnState.SelectHex(world_, x, y);
      }
      return;
    case kUnitCommanderIconId:
      if (!free) return;
      pending_ = kPendingCommanders;
      PushWithListener(new cDialogDowodcow(world_, *unit), this);
      return;
    case kUnitReplacementsIconId:
      if (!free || !unit->CanReplenish(nullptr)) return;
      pending_ = kPendingReplacements;
      PushWithListener(new cDialogUzupelnien(world_, *unit), this);
      return;
    case kUnitDisbandIconId:
      if (free) OpenDisband(*unit);
      return;
    case kUnitUndoIconId:
      if (UndoLandMove(world_, dynamic_cast<cJednostkaLadowa*>(unit)) != eUndoRefusal::kNone) return;
      if (const cCountry* current = world_.turnState.currentCountry) RecalculateUnitsVisibility(world_, *current);
      Refresh();
      return;
    case kUnitAirborneIconId:
      if (free) StartParadrop(*unit);
      return;
    case kUnitSeaTransportIconId:
    case kUnitAmphibiousIconId:
      if (free) LoadOntoShip(*unit, controlId == kUnitSeaTransportIconId ? kUnitCargoShip : kUnitAmphibiousShip);
      return;
    case kUnitStrategicMoveIconId:
      // The destinations are marked; a click on one moves the unit.
      world_.GetMap().ClearHexMarks(kOrderMarks, true);
      world_.turnState.mode = kModeStrategicMove;
      cStrategicMovement(world_).MarkStrategicMoveTargets(*unit);
      return;
    default:
      if (free) StartMapOrder(*unit, controlId);
      return;
  }
}

void cUnitPanel::StartParadrop(cJednostka& unit) {
  auto* land = dynamic_cast<cJednostkaLadowa*>(&unit);
  if (land == nullptr || !land->CanAirborneAssault(nullptr)) return;
  world_.GetMap().ClearHexMarks(kOrderMarks, true);
  world_.turnState.mode = kModeParadrop;
  MarkParadropHexes(world_, *land);
}

void cUnitPanel::LoadOntoShip(cJednostka& unit, int shipType) {
  auto* land = dynamic_cast<cJednostkaLadowa*>(&unit);
  if (land == nullptr) return;
  world_.GetMap().ClearHexMarks(kLoadingClearMarks, true);
  const std::wstring name = land->name;
  const eTransportRefusal refusal = ::LoadOntoShip(world_, *land, shipType);
  if (refusal != eTransportRefusal::kNone) {
    if (const char* key = TransportRefusalKey(refusal)) LogLine(L"%s", Text(key));
    Refresh();
    return;
  }
  LogLine(L"Player action: Load onto %s / %s", shipType == kUnitCargoShip ? L"transport" : L"amphibious ship", name);
  world_.turnState.Deselect(world_);
  // The move the unit's selection offered is over: from now on the unit
  // goes where its ship sails, which the port's fleets dialog commands.
  world_.turnState.mode = kModeNone;
  const cJednostkaMorska* ship = land->transport;
  const sWezelGrafuMorz* port = ship != nullptr && ship->fleet != nullptr ? ship->fleet->GetSeaNode(world_) : nullptr;
  cMapScreen* screen = LoadedMapScreen();
  if (port != nullptr && screen != nullptr) {
    screen->ShowStatusNotice(plat::Format(Text("statusbar_aboard_%s_click_%s_to_sail_it"), ship->name, port->name));
  }
  Refresh();
}

void cUnitPanel::StartMapOrder(cJednostka& unit, int controlId) {
  auto* air = dynamic_cast<cJednostkaLotnicza*>(&unit);
  if (air == nullptr) return;
  int mode = kModeNone;
  switch (controlId) {
    case kUnitAirFightIconId: mode = kModeAirFight; break;
    case kUnitBombardIconId: mode = kModeBombardment; break;
    case kUnitNuclearIconId: mode = kModeNuclear; break;
    case kUnitReconIconId: mode = kModeRecon; break;
    default: return;
  }
  world_.GetMap().ClearHexMarks(kOrderMarks, true);
  world_.turnState.mode = mode;
  switch (mode) {
    case kModeAirFight: air->MarkAirFightTargets(world_, true); break;
    case kModeBombardment: air->MarkBombardmentTargets(world_, true); break;
    case kModeNuclear: air->MarkNuclearTargets(world_, true); break;
    default: air->MarkReconHexes(world_, true); break;
  }
}

void cUnitPanel::OpenRename(cJednostka& unit) {
  pending_ = kPendingRename;
  const std::wstring prompt = plat::Format(Text("rename_label_%s"), unit.name);
  PushWithListener(new cDialogPobraniaTekstu(Text("rename_title"), prompt.c_str(), unit.name.c_str()), this);
}

void cUnitPanel::OpenDisband(cJednostka& unit) {
  const std::wstring question = plat::Format(Text("disband_question_%s"), unit.name);
  pending_ = kPendingDisband;
  PushWithListener(new cDialogPotwierdzenia(Text("disband_title"), question.c_str(), Text("disband_yes"),
                                            Text("disband_yes_hint"), Text("disband_no"), Text("disband_no_hint")),
                   this);
}

void cUnitPanel::Disband() {
  cJednostka* unit = LiveShownUnit();
  if (unit == nullptr) return;
  LogLine(L"Player action: Disband / %s for %.2f PP", unit->name, DisbandRefund(world_, *unit));
  DisbandUnit(world_, *unit);
  Refresh();
}

void cUnitPanel::OnAnswer(int controlId) {
  const int pending = pending_;
  switch (controlId) {
    case cDialogPobraniaTekstu::kOkId:
      if (pending != kPendingRename) return;
      pending_ = kPendingNone;
      if (cJednostka* unit = LiveShownUnit()) {
        LogLine(L"Player action: Rename / %s to %s", unit->name, PromptTextResult);
        unit->SetName(PromptTextResult);
      }
      Refresh();
      return;
    case cDialogPobraniaTekstu::kCancelId:
    case cDialogPotwierdzenia::kNoId:
      pending_ = kPendingNone;
      return;
    case cDialogPotwierdzenia::kYesId:
      if (pending != kPendingDisband) return;
      pending_ = kPendingNone;
      Disband();
      return;
    case cDialogUzupelnien::kOkId:
      if (pending != kPendingReplacements) return;
      pending_ = kPendingNone;
      world_.turnState.mode = kModeNone;
      world_.GetMap().ClearHexMarks(kOrderMarks, true);
      Refresh();
      return;
    case cDialogUzupelnien::kCancelId:
      if (pending != kPendingReplacements) return;
      pending_ = kPendingNone;
      Refresh();
      return;
    case cDialogDowodcow::kExitId:
      if (pending != kPendingCommanders) return;
      pending_ = kPendingNone;
      Refresh();
      return;
    default:
      return;
  }
}
