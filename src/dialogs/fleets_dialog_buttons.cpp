// The fleets dialog's ship buttons: each is enabled or disabled by its
// order's check (rules/fleet_management.h), and its hint names the reason.
#include "app/string_base.h"
#include "dialogs/fleets_dialog.h"
#include "gui/dxut_control.h"
#include "rules/fleet_management.h"

namespace {

// The reason's key in the hint of the button.
const char* RefusalHint(int id, eShipOrderRefusal refusal) {
  switch (refusal) {
    case eShipOrderRefusal::kFleetAlreadyMoved: return "fleets_move_group_hint_fleet_already_moved";
    case eShipOrderRefusal::kNoDestinationFleet: return "fleets_move_group_hint_no_possible_destination_fleets";
    case eShipOrderRefusal::kNotInPort: return "fleets_repair_group_hint_move_to_port";
    case eShipOrderRefusal::kFullHitPoints: return "fleets_repair_group_hint_full_hp";
    case eShipOrderRefusal::kAlreadyRepaired: return "fleets_repair_group_hint_already_repaired";
    case eShipOrderRefusal::kNotEnoughPoints: return "fleets_repair_group_hint_not_enough_pp";
    case eShipOrderRefusal::kPortTooSmall: return "fleets_repair_group_hint_port_to_small";
    case eShipOrderRefusal::kNotTransport: return "fleets_unload_hint_not_a_transport_unit";
    case eShipOrderRefusal::kNoCargo: return "fleets_unload_hint_no_cargo";
    case eShipOrderRefusal::kMoveToSeaZone: return "fleets_unload_hint_move_to_sea_zone";
    case eShipOrderRefusal::kMoveToPort: return "fleets_unload_hint_move_to_port";
    case eShipOrderRefusal::kNoLandingHex: return "fleets_unload_hint_no_hex_available";
    case eShipOrderRefusal::kNotCarrier: return "fleets_attack_hex_hint_not_a_carrier_unit";
    case eShipOrderRefusal::kHitPointsTooLow: return "fleets_attack_hex_hint_hp_to_low";
    case eShipOrderRefusal::kPlanesUsed: return "fleets_attack_hex_hint_already_attacked_using_planes";
    case eShipOrderRefusal::kNoBombardingShip:
      return "fleets_shorebombardment_hint_no_battleship_or_cruiser_selected";
    case eShipOrderRefusal::kAllBombarded:
      return "fleets_shorebombardment_hint_all_selected_battleships_and_cruisers_already_bombed";
    case eShipOrderRefusal::kNoCarrierGiven: return "fleets_recon_hint_no_aircraft_carrier_selected";
    case eShipOrderRefusal::kAllReconDone:
      return "fleets_recon_hint_all_selected_aircraft_carriers_already_used_recon";
    case eShipOrderRefusal::kNoTargets:
      if (id == cDialogFlot::kAirStrikeId) return "fleets_attack_hex_hint_no_target_hexes_in_range";
      if (id == cDialogFlot::kShoreBombardmentId) return "fleets_shorebombardment_hint_no_target_hexes_in_range";
      return "fleets_recon_hint_no_target_hexes_in_range";
    case eShipOrderRefusal::kMultipleSelection:
      switch (id) {
        case cDialogFlot::kRenameShipId: return "fleets_rename_group_hint_multiple_selection";
        case cDialogFlot::kCommanderId: return "fleets_group_commander_hint_multiple_selection";
        case cDialogFlot::kRepairId: return "fleets_repair_group_hint_multiple_selection";
        case cDialogFlot::kUnloadId: return "fleets_unload_hint_multiple_selection";
        default: return "fleets_attack_hex_hint_multiple_selection";
      }
    default: return "fleets_no_unit_selected";
  }
}

}  // namespace

void cDialogFlot::RefreshShipButtons() {
  struct sButton {
    int id;
    const char* enabledHint;
  };
  static constexpr sButton kButtons[] = {
      {kCreateFleetId, "fleets_create_fleet_hint"},
      {kMoveShipsId, "fleets_move_group_hint"},
      {kRenameShipId, "fleets_rename_group_hint"},
      {kCommanderId, "fleets_group_commander_hint"},
      {kRepairId, "fleets_repair_group_hint"},
      {kDisbandId, "fleets_disband_group_hint"},
      {kUnloadId, "fleets_unload_hint"},
      {kAirStrikeId, "fleets_attack_hex_hint"},
      {kShoreBombardmentId, "fleets_shorebombardment_hint"},
      {kReconId, "fleets_recon_hint"},
  };
  const ShipGroup& ships = ships_;
  for (const sButton& button : kButtons) {
    eShipOrderRefusal refusal = eShipOrderRefusal::kNoShipSelected;
    if (!ships.empty() && fleets_.size() == 1) {
      const std::size_t s = ships.size();
      switch (button.id) {
        case kMoveShipsId: refusal = CheckMoveShips(world_, *fleets_.front(), ships); break;
        case kRenameShipId:
        case kCommanderId:
          refusal = s > 1 ? eShipOrderRefusal::kMultipleSelection : eShipOrderRefusal::kNone;
          break;
        case kRepairId: refusal = CheckRepairShip(world_, ships); break;
        case kUnloadId: refusal = CheckUnloadOrder(world_, ships); break;
        case kAirStrikeId: refusal = CheckCarrierStrikeOrder(world_, ships); break;
        case kShoreBombardmentId: refusal = CheckShoreBombardmentOrder(world_, ships); break;
        case kReconId: refusal = CheckReconOrder(world_, ships); break;
        default: refusal = eShipOrderRefusal::kNone; break;  // new fleet, disband
      }
    }
    CDXUTControl* control = dialog_.GetControl(button.id);
    if (control == nullptr) continue;
    const bool enabled = refusal == eShipOrderRefusal::kNone;
    control->SetEnabled(enabled);
    control->SetHint(g_StringBase.GetText(enabled ? button.enabledHint : RefusalHint(button.id, refusal)));
  }
}
