#include "dialogs/fleets_dialog.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "dialogs/commanders_dialog.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "rules/fleet_management.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/naval_spotting.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

constexpr unsigned kFormationGroup = 1;
constexpr const wchar_t* kDefaultPicture = L"data\\gfx\\Units images\\default.png";


// Rows carry the id of their fleet or ship, looked up again when read: a
// row never holds a pointer that a deletion could leave dangling.
void* IdData(int id) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(id)); }
int DataId(const DXUTListBoxItem* item) {
  return item != nullptr ? static_cast<int>(reinterpret_cast<std::intptr_t>(item->pData)) : 0;
}

}  // namespace

cDialogFlot::cDialogFlot(cWorld& world, int seaNodeId)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      node_id_(seaNodeId) {
  world_.SetFleetWatcher(this);
  watching_ = true;
  const sWezelGrafuMorz* node = world_.GetSeaGraph().GetNode(seaNodeId);
  const std::wstring title = plat::Format(Text("fleets_title"), node != nullptr ? node->name : std::wstring());
  CDXUTStatic* titleLabel = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(kTitleId, title.c_str(), &titleLabel)) && titleLabel != nullptr) {
    titleLabel->m_TextElement = 1;
    titleLabel->SetTextFormat(kFormatCentred);
  }
  dialog_.AddStaticFromLayout(553, Text("fleets_fleets_list"));
  if (SUCCEEDED(dialog_.AddListBoxFromLayout(kFleetListId, 0, &fleet_list_)) && fleet_list_ != nullptr) {
    fleet_list_->SetColumns(6, Text("fleets_list_fleets_columns"), 30, 5, 20, 15, 15, 15);
  }
  dialog_.AddButtonFromLayout(kRenameFleetId, Text("fleets_rename_fleet"), Text("fleets_rename_fleet_hint"));
  dialog_.AddButtonFromLayout(kMoveFleetId, Text("fleets_move_fleet"), Text("fleets_move_fleet_hint"));
  dialog_.AddCheckBoxFromLayout(kActiveId, Text("fleets_active"), Text("fleets_active_hint"), false);
  dialog_.AddStaticFromLayout(559, Text("fleets_formation"));
  dialog_.AddRadioButtonFromLayout(kRegularId, kFormationGroup, Text("fleets_regular"), nullptr, false);
  dialog_.AddRadioButtonFromLayout(kRaidersId, kFormationGroup, Text("fleets_raiders"), nullptr, false);
  if (picture_.Load(kDefaultPicture, cTexture::kFromFile, 1) >= 0 && picture_.Get() != nullptr) {
    picture_file_ = kDefaultPicture;
  }
  CDXUTImage* image = nullptr;
  dialog_.AddImageFromLayout(kPictureId, picture_.Get(), 0, 0, 256, 128, nullptr, 0xFFFFFFFF, &image);
  if (image != nullptr) image->SetEnabled(true);
  dialog_.AddStaticFromLayout(562, Text("fleets_units_list"));
  dialog_.AddStaticFromLayout(563, Text("fleets_units_list_hint"));
  if (SUCCEEDED(dialog_.AddListBoxFromLayout(kShipListId, MULTISELECTION, &ship_list_)) && ship_list_ != nullptr) {
    ship_list_->SetColumns(4, Text("fleets_list_units_columns"), 40, 20, 15, 25);
  }
  dialog_.AddButtonFromLayout(kCreateFleetId, Text("fleets_create_fleet"), Text("fleets_create_fleet_hint"));
  dialog_.AddButtonFromLayout(kMoveShipsId, Text("fleets_move_group"), Text("fleets_move_group_hint"));
  dialog_.AddButtonFromLayout(kRenameShipId, Text("fleets_rename_group"), Text("fleets_rename_group_hint"));
  dialog_.AddButtonFromLayout(kCommanderId, Text("fleets_group_commander"), Text("fleets_group_commander_hint"));
  dialog_.AddButtonFromLayout(kRepairId, Text("fleets_repair_group"), Text("fleets_repair_group_hint"));
  dialog_.AddButtonFromLayout(kDisbandId, Text("fleets_disband_group"), Text("fleets_disband_group_hint"));
  dialog_.AddButtonFromLayout(kUnloadId, Text("fleets_unload"), Text("fleets_unload_group_hint"));
  dialog_.AddButtonFromLayout(kAirStrikeId, Text("fleets_attack_hex"), Text("fleets_attack_hex_hint"));
  dialog_.AddButtonFromLayout(kShoreBombardmentId, Text("fleets_shore_bombardment"),
                              Text("fleets_shore_bombardment_hint"));
  dialog_.AddButtonFromLayout(kReconId, Text("fleets_recon"), Text("fleets_recon_hint"));
  dialog_.AddStaticFromLayout(576, Text("fleets_transported"));
  dialog_.AddStaticFromLayout(kTransportedId, Text("fleets_transported_none"));
  dialog_.AddButtonFromLayout(kCloseId, Text("fleets_close"), Text("fleets_close_hint"));
  FillFleetList();
}

cDialogFlot::~cDialogFlot() { StopWatching(); }

void cDialogFlot::Close() {
  // Closed, the dialog hears of no more fleets. It is freed later, maybe
  // after the world: it never reaches the world again.
  StopWatching();
  cDialog::Close();
}

void cDialogFlot::StopWatching() {
  if (!watching_) return;
  watching_ = false;
  if (world_.FleetWatcher() == this) world_.SetFleetWatcher(nullptr);
}

void cDialogFlot::RemoveFleet(const cFleet* fleet) {
  // The ships shown were that fleet's: they have gone with it or elsewhere.
  if (std::erase(fleets_, fleet) != 0) ships_.clear();
}

cFleet* cDialogFlot::GetSelectedFleetAt(int index) const {
  if (fleets_.empty()) return nullptr;
  return fleets_[static_cast<std::size_t>(std::clamp(index, 0, SelectedFleetCount() - 1))];
}

cJednostkaMorska* cDialogFlot::GetSelectedUnitAt(int index) const {
  if (ships_.empty()) return nullptr;
  return ships_[static_cast<std::size_t>(std::clamp(index, 0, SelectedShipCount() - 1))];
}

cJednostkaMorska* cDialogFlot::GetSingleSelectedShip() {
  DropLostShips();
  return GetSelectedUnitAt(0);
}

// --- the lists ---

int cDialogFlot::FillFleetList() {
  if (fleet_list_ == nullptr) return 0;
  updating_ = true;
  fleet_list_->RemoveAllItems();
  const int countryId = world_.turnState.CurrentCountryId();
  for (cFleet* fleet : FleetsAtNode(world_, node_id_, countryId)) {
    fleet->ClearShipMarks();
    const int hp = fleet->SumHpAndClearZoneAssignments();
    const int maxHp = fleet->GetTotalMaxHp();
    const std::wstring row = plat::Format(
        L"%s;%i;%i%% (%i/%i);%.1f;%s;%s", fleet->name, fleet->GetShipCount(), FleetConditionPercent(hp, maxHp), hp,
        maxHp, static_cast<double>(fleet->GetCombatValue(world_)), Text(fleet->active ? "active" : "passive"),
        Text(fleet->formation == kFormationRaiders ? "raider" : "regular"));
    fleet_list_->AddItem(row.c_str(), IdData(fleet->id));
    if (std::find(fleets_.begin(), fleets_.end(), fleet) != fleets_.end()) {
      fleet_list_->SelectItem(fleet_list_->GetSize() - 1, false);
    }
  }
  updating_ = false;
  UpdateFleetSelection();
  return fleet_list_->GetSize();
}

void cDialogFlot::UpdateFleetSelection() {
  for (cFleet* fleet : fleets_) fleet->ClearShipMarks();
  fleets_.clear();
  const int countryId = world_.turnState.CurrentCountryId();
  const std::vector<cFleet*> here = FleetsAtNode(world_, node_id_, countryId);
  auto take = [&](int row) {
    const int id = DataId(fleet_list_->GetItem(row));
    auto found = std::find_if(here.begin(), here.end(), [id](const cFleet* f) { return f->id == id; });
    if (found != here.end()) fleets_.push_back(*found);
  };
  for (int row = fleet_list_->GetSelectedIndex(-1); row >= 0; row = fleet_list_->GetSelectedIndex(row)) {
    take(row);
    if ((fleet_list_->GetStyle() & MULTISELECTION) == 0) break;
  }
  if (fleets_.empty() && fleet_list_->GetSize() > 0) {
    updating_ = true;
    fleet_list_->SelectItem(0, false);
    updating_ = false;
    take(0);
  }

  auto* active = dynamic_cast<CDXUTCheckBox*>(dialog_.GetControl(kActiveId));
  auto* regular = dynamic_cast<CDXUTRadioButton*>(dialog_.GetControl(kRegularId));
  auto* raiders = dynamic_cast<CDXUTRadioButton*>(dialog_.GetControl(kRaidersId));
  CDXUTControl* move = dialog_.GetControl(kMoveFleetId);
  CDXUTControl* rename = dialog_.GetControl(kRenameFleetId);
  updating_ = true;
  if (fleets_.empty()) {
    for (CDXUTRadioButton* radio : {regular, raiders}) {
      if (radio == nullptr) continue;
      radio->SetChecked(false, false);
      radio->SetEnabled(false);
    }
    if (active != nullptr) {
      active->SetChecked(false);
      active->SetEnabled(false);
    }
    for (CDXUTControl* button : {move, rename}) {
      if (button == nullptr) continue;
      button->SetEnabled(false);
      button->SetHint(Text("fleets_no_selection"));
    }
  } else {
    // Formation: the matching radio button when all agree; readiness from
    // the regular fleets (raiders are never ready).
    bool anyRegular = false, allRegular = true, allRaiders = true, allReady = true;
    for (const cFleet* fleet : fleets_) {
      const bool raider = fleet->formation == kFormationRaiders;
      allRegular = allRegular && !raider;
      allRaiders = allRaiders && raider;
      if (!raider) {
        anyRegular = true;
        allReady = allReady && fleet->active;
      }
    }
    if (regular != nullptr) {
      regular->SetEnabled(true);
      regular->SetChecked(allRegular, false);
    }
    if (raiders != nullptr) {
      raiders->SetEnabled(true);
      raiders->SetChecked(allRaiders, false);
    }
    if (active != nullptr) {
      const bool checked = anyRegular && allReady;
      active->SetEnabled(anyRegular);
      active->SetChecked(checked);
      active->SetHint(Text(checked ? "fleets_active_hint" : "fleets_passive_hint"));
    }
    if (move != nullptr) {
      const bool moved = std::any_of(fleets_.begin(), fleets_.end(), [](const cFleet* f) { return f->moved; });
      const char* hint = "fleets_move_fleet_hint";
      if (moved) {
        hint = "fleets_move_fleet_hint_already_moved";
      } else if (CommonDestinations(world_, fleets_).empty()) {
        hint = "fleets_move_fleet_hint_no_destination_available";
      }
      move->SetEnabled(std::string_view(hint) == "fleets_move_fleet_hint");
      move->SetHint(Text(hint));
    }
    if (rename != nullptr) {
      const bool one = fleets_.size() == 1;
      rename->SetEnabled(one);
      rename->SetHint(Text(one ? "fleets_rename_fleet_hint" : "fleets_rename_fleet_hint_multiple_selection"));
    }
  }
  updating_ = false;
  FillShipList();
}

void cDialogFlot::FillShipList() {
  if (ship_list_ == nullptr) return;
  updating_ = true;
  const std::vector<cJednostkaMorska*> kept = ships_;
  ship_list_->RemoveAllItems();
  if (fleets_.size() == 1) {
    for (cJednostkaMorska* ship : fleets_.front()->ships) {
      const std::wstring row =
          plat::Format(L"%s;%i%% (%i/%i);%.1f;%s", ship->name, ship->GetHitPointPercent(), ship->hitPoints,
                       ship->maxHitPoints, static_cast<double>(ship->GetCombatValue(world_)),
                       cUnit::GetSubtypeText(&world_, ship->type));
      ship_list_->AddItem(row.c_str(), IdData(ship->id));
      // A ship still there stays selected.
      if (std::find(kept.begin(), kept.end(), ship) != kept.end()) {
        ship_list_->GetItem(ship_list_->GetSize() - 1)->bSelected = true;
      }
    }
  }
  updating_ = false;
  RefreshShipControls();
}

void cDialogFlot::RefreshShipControls() {
  ships_.clear();
  if (fleets_.size() == 1 && ship_list_ != nullptr) {
    const cFleet& fleet = *fleets_.front();
    auto take = [&](int row) {
      const int id = DataId(ship_list_->GetItem(row));
      for (cJednostkaMorska* ship : fleet.ships) {
        if (ship->id == id) ships_.push_back(ship);
      }
    };
    for (int row = ship_list_->GetSelectedIndex(-1); row >= 0; row = ship_list_->GetSelectedIndex(row)) take(row);
    if (ships_.empty() && ship_list_->GetSize() > 0) {
      updating_ = true;
      ship_list_->SelectItem(0, false);
      updating_ = false;
      take(0);
    }
  }
  ShowShipPicture();
  ShowTransported();
  RefreshShipButtons();
}

void cDialogFlot::ShowShipPicture() {
  CDXUTControl* control = dialog_.GetControl(kPictureId);
  auto* image = dynamic_cast<CDXUTImage*>(control);
  if (ships_.size() != 1) {
    if (control != nullptr) control->SetVisible(false);
    return;
  }
  const cJednostkaMorska& ship = *ships_.front();
  const std::wstring candidates[] = {
      plat::Format(L"data\\gfx\\Units images\\%i_1_%i.png", ship.type, ship.countryId),
      plat::Format(L"data\\gfx\\Units images\\%i_1.png", ship.type),
      plat::Format(L"data\\gfx\\Units images\\%i.png", ship.type),
      kDefaultPicture,
  };
  // The first picture that exists and loads; the one shown already is kept.
  bool found = false;
  for (const std::wstring& file : candidates) {
    if (!plat::FileExists(plat::ResolvePath(file))) continue;
    if (file == picture_file_ && picture_.Get() != nullptr) {
      found = true;
      break;
    }
    if (picture_.Load(file.c_str(), cTexture::kFromFile, 1) >= 0 && picture_.Get() != nullptr) {
      picture_file_ = file;
      found = true;
      break;
    }
  }
  if (!found) {
    picture_.Release();
    picture_file_.clear();
  }
  if (image != nullptr) {
    image->m_pTexture = picture_.Get();
    if (picture_.Get() != nullptr) image->m_rcSource = {0, 0, picture_.Get()->Width(), picture_.Get()->Height()};
    image->SetVisible(true);
  }
}

void cDialogFlot::ShowTransported() {
  auto* label = dynamic_cast<CDXUTStatic*>(dialog_.GetControl(kTransportedId));
  if (label == nullptr) return;
  std::wstring text = Text("fleets_transported_none");
  if (ships_.size() == 1) {
    const cJednostkaMorska& ship = *ships_.front();
    if ((ship.type == kUnitCargoShip || ship.type == kUnitAmphibiousShip) && ship.carriedUnit != nullptr) {
      cJednostkaLadowa& unit = *ship.carriedUnit;
      const std::wstring commander = unit.ownCommander != nullptr
                                         ? plat::Format(Text("commander:_%s"), unit.ownCommander->name)
                                         : std::wstring(Text("no_commander"));
      text = plat::Format(Text("%s_(strength:_%.2f,_level_%d,_%s)"), unit.name,
                          static_cast<double>(unit.GetCombatStrength()), unit.level, commander);
    }
  }
  label->SetText(text.c_str());
}

// --- GUI events ---

void cDialogFlot::BeginMapPick(int pending, int mode) {
  dialog_.SetVisible(false);
  pending_ = pending;
  world_.turnState.mode = mode;
}

void cDialogFlot::AskMoveShips() {
  pending_ = kPendingMoveShips;
  auto* prompt = new cDialogPobraniaListy(Text("fleets_move_group_title"), Text("fleets_move_group_list"));
  if (CDXUTListBox* list = prompt->List()) {
    // The prompt answers with a whole number: the fleet's id.
    for (const cFleet* other : DestinationFleets(world_, *fleets_.front())) {
      list->AddItem(other->name.c_str(), IdData(other->id));
    }
    if (list->GetSize() > 0) list->SelectItem(0, false);
  }
  PushDialog(prompt);
}

void cDialogFlot::AskDisband() {
  const std::wstring question = ships_.size() == 1
                                    ? plat::Format(Text("disband_question_%s"), ships_.front()->name)
                                    : std::wstring(Text("disband_question_multiple_units"));
  auto* prompt = new cDialogPotwierdzenia(Text("disband_title"), question.c_str(), Text("disband_yes"),
                                          Text("disband_yes_hint"), Text("disband_no"), Text("disband_no_hint"));
  prompt->SetListener(this);
  PushDialog(prompt);
}

void cDialogFlot::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (updating_) return;
  const std::size_t n = fleets_.size();
  const std::size_t s = ships_.size();
  switch (controlId) {
    case kFleetListId:
      if (event == EVENT_LISTBOX_SELECTION) UpdateFleetSelection();
      return;
    case kShipListId:
      if (event == EVENT_LISTBOX_SELECTION) RefreshShipControls();
      return;
    case kActiveId:
      if (auto* box = dynamic_cast<CDXUTCheckBox*>(control);
          event == EVENT_CHECKBOX_CHANGED && box != nullptr && n >= 1) {
        SetFleetReadiness(fleets_, box->GetChecked());
        FillFleetList();
      }
      return;
    case kRegularId:
    case kRaidersId:
      // The group's clearing reports the buttons it unchecks: only the
      // button that became checked counts.
      if (auto* radio = dynamic_cast<CDXUTRadioButton*>(control);
          event == EVENT_RADIOBUTTON_CHANGED && radio != nullptr && radio->GetChecked() && n >= 1) {
        SetFleetFormation(fleets_, controlId == kRaidersId ? kFormationRaiders : kFormationRegular);
        FillFleetList();
      }
      return;
    default:
      break;
  }
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case kRenameFleetId:
      if (n == 1) {
        pending_ = kPendingRenameFleet;
        PushDialog(new cDialogPobraniaTekstu(Text("fleet_rename_title"), Text("fleet_rename_name"),
                                             fleets_.front()->name.c_str()));
      }
      return;
    case kMoveFleetId:
      if (n >= 1) {
        fleets_.front()->MarkReachableNodes(world_, true);
        BeginMapPick(kPendingNone, kModeFleetMove);
      }
      return;
    case kCreateFleetId:
      if (n == 1 && s >= 1) {
        // Split off every ship and the old fleet goes: the dialog's own
        // selection is dropped on the way, so the order gets a copy.
        const std::vector<cJednostkaMorska*> leaving = ships_;
        SplitFleet(world_, *fleets_.front(), leaving);
        FillFleetList();
      }
      return;
    case kMoveShipsId:
      if (n == 1 && s >= 1 && CheckMoveShips(world_, *fleets_.front(), ships_) == eShipOrderRefusal::kNone) {
        AskMoveShips();
      }
      return;
    case kRenameShipId:
      if (n == 1 && s == 1) {
        pending_ = kPendingRenameShip;
        PushDialog(new cDialogPobraniaTekstu(Text("fleets_rename_group_title"), Text("fleets_rename_group_name"),
                                             ships_.front()->name.c_str()));
      }
      return;
    case kCommanderId:
      if (s == 1) {
        dialog_.SetVisible(false);
        pending_ = kPendingCommander;
        PushDialog(new cDialogDowodcow(world_, *ships_.front()));
      }
      return;
    case kRepairId:
      if (s == 1) {
        RepairShip(world_, *ships_.front());
        FillFleetList();
      }
      return;
    case kDisbandId:
      if (n == 1 && s >= 1) AskDisband();
      return;
    case kDisbandYesId:
      if (s >= 1) {
        // The ships and possibly their fleet go: the selection is dropped
        // before anything is read again.
        const std::vector<cJednostkaMorska*> doomed = ships_;
        ships_.clear();
        DisbandShips(world_, doomed);
        FillFleetList();
      }
      return;
    case kUnloadId:
      if (n == 1 && s >= 1) {
        ships_.front()->MarkUnloadHexes(true);
        BeginMapPick(kPendingUnload, kModeUnload);
      }
      return;
    case kReconId:
      if (n == 1 && s >= 1) {
        fleets_.front()->MarkReconHexes(world_, true);
        BeginMapPick(kPendingRecon, kModeRecon);
      }
      return;
    case kAirStrikeId:
      if (n == 1 && s == 1) {
        fleets_.front()->MarkAttackHexTargets(world_, true);
        BeginMapPick(kPendingAirStrike, kModeBombardment);
      }
      return;
    case kShoreBombardmentId:
      if (n == 1 && s >= 1) {
        fleets_.front()->MarkShoreBombardmentTargets(world_, true);
        BeginMapPick(kPendingShoreBombardment, kModeShoreBombardment);
      }
      return;
    case kCloseId:
      CloseDialogsDownTo(kId);
      return;
    default:
      return;
  }
}

void cDialogFlot::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (keyDown && (key == plat::kVkReturn || key == plat::kVkEscape)) ClickButton(kCloseId);
}

// --- coming back ---

void cDialogFlot::DropLostShips() {
  // Compared by address only: a ship that has gone is never read.
  if (fleets_.size() == 1) {
    const auto& ships = fleets_.front()->ships;
    std::erase_if(ships_, [&](cJednostkaMorska* ship) {
      return std::find(ships.begin(), ships.end(), ship) == ships.end();
    });
  } else {
    ships_.clear();
  }
}

void cDialogFlot::FinishPending() {
  // Only ships still in the selected fleet are acted on.
  DropLostShips();
  switch (pending_) {
    case kPendingRenameFleet:
      if (fleets_.size() == 1) RenameFleet(*fleets_.front(), PromptTextResult);
      break;
    case kPendingRenameShip:
      if (!ships_.empty()) RenameShip(*ships_.front(), PromptTextResult);
      break;
    case kPendingMoveShips:
      if (fleets_.size() == 1 && !ships_.empty() && !PromptListResult.empty()) {
        const std::vector<cJednostkaMorska*> moving = ships_;
        MoveShipsToFleet(world_, *fleets_.front(), moving, PromptListResult.front());
      }
      break;
    case kPendingCommander:
      if (!ships_.empty()) {
        if (const sWezelGrafuMorz* node = world_.GetSeaGraph().GetNode(node_id_)) {
          PropagateFleetCommanders(world_, *node, ships_.front()->countryId);
        }
      }
      break;
    default:
      break;
  }
  pending_ = kPendingNone;
}

void cDialogFlot::OnReactivate() {
  FinishPending();
  if (FillFleetList() == 0) {
    CloseDialogsDownTo(kId);
    return;
  }
  StartCountdown(g_Delays[kDelayHumanReconAfter].load() / 1000.0f, kExpiryShow);
}

int FleetsNodeOfHex(const cWorld& world, const sHex& hex) {
  if (hex.IsWater()) return hex.seaZone != 0 ? hex.seaZone : hex.seaNode;
  const sWezelGrafuMorz* node = hex.seaNode != 0 ? world.GetSeaGraph().GetNode(hex.seaNode) : nullptr;
  return node != nullptr && !node->IsSeaZone() ? node->id : 0;
}

bool OpenFleetsDialogAtHex(cWorld& world, int x, int y, int mode) {
  if (mode == kModeBombardment || !g_DialogStack.empty() || g_pActiveDialog != nullptr) return false;
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  const int node = FleetsNodeOfHex(world, map.GetHex(x, y));
  if (node == 0 || FleetsAtNode(world, node, world.turnState.CurrentCountryId()).empty()) return false;
  PushDialog(new cDialogFlot(world, node));
  return true;
}
