// The map screen's side of the fleets dialog: a selected sea hex or port
// where the current country has fleets opens the dialog, and the click that completes
// a pick the dialog asked for (the fleets' destination, the carrier's air
// strike or reconnaissance, the shore bombardment) gives the order through
// the rules and hands the dialog back its turn (OnReactivate). Any click
// ends such a pick, so the hidden dialog always comes back.
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/fleets_dialog.h"
#include "rules/fleet_management.h"
#include "rules/fleet_orders.h"
#include "screens/map_screen.h"
#include "screens/screen_helpers.h"
#include "world/combat_result.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kReachMark = 0x8000u;
constexpr std::uint32_t kTargetMark = 0x200u;
// Every mark but the selection (bit 0) and the sea zone's (0x4000).

// The fleets dialog when it is the active dialog (shown or hidden).
cDialogFlot* ActiveFleetsDialog() { return dynamic_cast<cDialogFlot*>(g_pActiveDialog); }

void LogRefusal(const char* key) {
  if (key != nullptr) LogLine(L"%s", g_StringBase.GetText(key));
}

const char* ShipRefusalLogKey(eShipOrderRefusal refusal) {
  switch (refusal) {
    case eShipOrderRefusal::kNone: return nullptr;
    case eShipOrderRefusal::kNotCarrier:
    case eShipOrderRefusal::kNoCarrierGiven: return "fleets_attack_hex_hint_not_a_carrier_unit";
    case eShipOrderRefusal::kHitPointsTooLow: return "fleets_attack_hex_hint_hp_to_low";
    case eShipOrderRefusal::kPlanesUsed: return "fleets_attack_hex_hint_already_attacked_using_planes";
    case eShipOrderRefusal::kAllReconDone: return "fleets_recon_hint_all_selected_aircraft_carriers_already_used_recon";
    default: return "fleets_recon_hint_no_target_hexes_in_range";
  }
}

// The carrier that flies the reconnaissance: the first selected carrier that
// has not flown one this turn, else the first selected ship (refused then).
cJednostkaMorska* ReconShip(const cDialogFlot& dialog) {
  for (int i = 0; i < dialog.SelectedShipCount(); ++i) {
    cJednostkaMorska* ship = dialog.GetSelectedUnitAt(i);
    if (ship->type == kUnitAircraftCarrier && !ship->reconDone) return ship;
  }
  return dialog.GetSelectedUnitAt(0);
}

}  // namespace

void cMapScreen::OpenFleetsDialogAt(int column, int row, int mode) { OpenFleetsDialogAtHex(world_, column, row, mode); }

bool cMapScreen::ClickFleetOrder(int mode, int column, int row, bool marked) {
  cDialogFlot* dialog = ActiveFleetsDialog();
  if (dialog == nullptr) return false;
  dialog->DropLostShips();
  // The unloading pick is the transport's order.
  if (mode == kModeUnload) return false;
  cMap& map = world_.GetMap();
  cTurnState& turn = world_.turnState;
  if (mode != kModeFleetMove && mode != kModeBombardment &&
      mode != kModeRecon && mode != kModeShoreBombardment) {
    // The pick was replaced by a key (Tab selects a unit): the click ends
    // it all the same, or the hidden dialog would never come back.
    map.ClearHexMarks(kOrderMarksKeepZone, true);
    dialog->OnReactivate();
    RefreshSelection();
    return true;
  }
  const sHex& hex = map.GetHex(column, row);
  bool resultShown = false;
  switch (mode) {
    case kModeFleetMove: {
      if (marked && hex.seaNode != 0) {
        // The selection is copied first: a move changes what the dialog
        // lists, never what it selected.
        std::vector<cFleet*> fleets;
        for (int i = 0; i < dialog->SelectedFleetCount(); ++i) fleets.push_back(dialog->GetSelectedFleetAt(i));
        for (cFleet* fleet : fleets) {
          LogLine(L"Player action: Fleet move / %s from %i to %i", fleet->name, fleet->seaNode,
                  static_cast<int>(hex.seaNode));
          LogRefusal(FleetOrderRefusalKey(MoveFleet(world_, *fleet, hex.seaNode)));
        }
        map.ClearHexMarks(kReachMark, true);
      }
      break;
    }
    case kModeBombardment: {
      map.ClearHexMarks(kOrderMarksKeepZone, true);
      cJednostkaMorska* ship = dialog->SelectedShipCount() == 1 ? dialog->GetSelectedUnitAt(0) : nullptr;
      if (marked && ship != nullptr) {
        sBombardmentResult result;
        const eShipOrderRefusal refusal = CarrierStrike(world_, *ship, column, row, result);
        LogRefusal(ShipRefusalLogKey(refusal));
        if (refusal == eShipOrderRefusal::kNone) resultShown = ShowCombatResult(result);
      }
      break;
    }
    case kModeRecon: {
      map.ClearHexMarks(kOrderMarksKeepZone, true);
      cJednostkaMorska* ship = ReconShip(*dialog);
      if (marked && ship != nullptr) {
        sBombardmentResult result;
        const eShipOrderRefusal refusal = ShipRecon(world_, *ship, column, row, result);
        LogRefusal(ShipRefusalLogKey(refusal));
        if (refusal == eShipOrderRefusal::kNone) resultShown = ShowCombatResult(result);
      }
      break;
    }
    default: {  // shore bombardment
      cFleet* fleet = dialog->GetSelectedFleetAt(0);
      if (marked && hex.IsLand() && fleet != nullptr) {
        map.ClearHexMarks(kTargetMark, true);
        LogLine(L"Player action: Shore bombardment / %s on (%i, %i)", fleet->name, column, row);
        sBombardmentResult result;
        if (ShoreBombard(world_, *fleet, column, row, result) == eFleetOrderRefusal::kNone) {
          resultShown = ShowCombatResult(result);
        } else {
          ShowMessage(g_StringBase.GetText("shore_bombardment_result_message_no_unit_or_missed"),
                      g_StringBase.GetText("shore_bombardment_result_title"));
          resultShown = true;
        }
      }
      break;
    }
  }
  // A report on top gives the dialog back its turn when it closes.
  if (!resultShown) dialog->OnReactivate();
  if (mode == kModeFleetMove || mode == kModeShoreBombardment) turn.Deselect(world_);
  RefreshSelection();
  return true;
}
