#include "dialogs/units_manager_dialog.h"

#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/fleets_dialog.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "world/country.h"
#include "world/map.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

constexpr int kTabLand = 0, kTabAir = 1, kTabNaval = 2;
constexpr int kVkNumpad0 = 0x60;


// The first type code of a category.
int FirstType(int category) { return category == kCategoryAir ? 20 : category == kCategoryNaval ? 40 : 0; }

constexpr const char* kCategoryKeys[] = {"units_mgr_list_land_%%s_columns", "units_mgr_list_air_%%s_columns",
                                         "units_mgr_list_naval_%%s_columns"};

}  // namespace

cDialogJednostek::cDialogJednostek(cWorld& world, sUnitsManagerView& view, int countryId)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      view_(view),
      country_id_(countryId) {
  view_.selectedUnit = nullptr;
  const cCountry* country = world_.GetCountry(countryId);
  const std::wstring title = plat::Format(std::wstring(Text("units_mgr_units_list_for_country_%s")),
                                          country != nullptr ? country->name : std::wstring());
  CDXUTStatic* titleStatic = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, title.c_str(), &titleStatic);
  if (titleStatic != nullptr) {
    titleStatic->m_TextElement = 1;
    titleStatic->SetTextFormat(kFormatCentred);
  }
  // The tab frames first: their pages' controls stand on them.
  dialog_.AddTabFrameFromLayout(kCategoryTabsId, &categories_);
  dialog_.AddTabFrameFromLayout(kListModeTabsId, &modes_);
  static constexpr const char* kAirKeys[] = {"unit_type_fighters", "unit_type_tactical_bombers",
                                             "unit_type_strategic_bombers"};
  static constexpr const char* kNavalKeys[] = {"unit_type_carrier", "unit_type_battleship", "unit_type_cruiser",
                                               "unit_type_submarine", "unit_type_cargo", "unit_type_amphibious"};
  for (int category = kCategoryLand; category <= kCategoryNaval; ++category) {
    const std::uint32_t mask = CategoryFilter(view_, category);
    for (int i = 0; i < FilterCount(category); ++i) {
      const wchar_t* caption = category == kCategoryAir     ? Text(kAirKeys[i])
                               : category == kCategoryNaval ? Text(kNavalKeys[i])
                                                            : L"";
      const int id = FirstFilterId(category) + i;
      dialog_.AddCheckBoxFromLayout(id, caption, Text("units_mgr_filter_hint"), (mask & (1u << i)) != 0,
                                    &filters_[static_cast<std::size_t>(id - kFirstLandFilterId)]);
    }
  }
  if (categories_ != nullptr) {
    categories_->AddTab(Text("units_mgr_units_list_tab_land"), kTabLand, kFirstLandFilterId, kFirstAirFilterId - 1);
    categories_->AddTab(Text("units_mgr_units_list_tab_air"), kTabAir, kFirstAirFilterId, kFirstNavalFilterId - 1);
    categories_->AddTab(Text("units_mgr_units_list_tab_naval"), kTabNaval, kFirstNavalFilterId, kListId - 2);
    categories_->SelectTab(kTabLand, false);
  }
  if (modes_ != nullptr) {
    modes_->AddTab(Text("units_mgr_units_list_tab_on_map"), kUnitsListOnMap, 0, -1);
    modes_->AddTab(Text("units_mgr_units_list_tab_to_deploy"), kUnitsListToDeploy, 0, -1);
    modes_->SelectTab(view_.listMode, false);
  }
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  dialog_.AddButtonFromLayout(kActId, Text("units_mgr_select"), Text("units_mgr_select_hint"), 0, &act_);
  dialog_.AddCheckBoxFromLayout(kAutoCentreId, Text("units_mgr_auto_center_view"),
                                Text("units_mgr_auto_center_view_hint"), view_.autoCentre, &auto_centre_);
  if (auto_centre_ != nullptr) auto_centre_->SetVisible(view_.listMode == kUnitsListOnMap);
  dialog_.AddButtonFromLayout(kCloseId, Text("units_mgr_close"), Text("units_mgr_close_hint"));
  FillUnitList(-1);
}

int cDialogJednostek::FirstFilterId(int category) {
  if (category == kCategoryAir) return kFirstAirFilterId;
  if (category == kCategoryNaval) return kFirstNavalFilterId;
  return kFirstLandFilterId;
}

int cDialogJednostek::FilterCount(int category) {
  if (category == kCategoryAir) return 3;
  if (category == kCategoryNaval) return 6;
  return 7;
}

int cDialogJednostek::Category() const {
  const int tab = categories_ != nullptr ? categories_->GetSelectedTab() : kTabLand;
  return tab == kTabAir ? kCategoryAir : tab == kTabNaval ? kCategoryNaval : kCategoryLand;
}

void cDialogJednostek::FillUnitList(int unitId) {
  if (list_ == nullptr) return;
  list_->RemoveAllItems();
  const int category = Category();
  const bool toDeploy = view_.listMode == kUnitsListToDeploy;
  // "units_mgr_list_land_%%s_columns" formats to "..._%s_columns", which
  // takes the list mode's word.
  const std::string pattern = plat::FormatNarrow(kCategoryKeys[category]);
  const std::string key = plat::FormatNarrow(pattern.c_str(), toDeploy ? "todeploy" : "onmap");
  const wchar_t* captions = Text(key.c_str());
  if (toDeploy) {
    if (category == kCategoryNaval) {
      list_->SetColumns(3, captions, 30, 18, 40);
    } else {
      list_->SetColumns(4, captions, 30, 18, 3, 40);
    }
  } else {
    if (category == kCategoryNaval) {
      list_->SetColumns(5, captions, 20, 12, 18, 25, 25);
    } else {
      // The strength cell holds the per cent and both strengths, up to
      // "1710% (85.5/5.0)": it takes the room the marks leave at the right.
      list_->SetColumns(14, captions, 30, 20, 3, 8, 18, 3, 2, 2, 2, 2, 2, 2, 2, 2);
    }
    list_->SetColumnHeaders(Text((key + "_hint").c_str()));
  }
  if (act_ != nullptr) act_->SetText(Text(toDeploy ? "units_mgr_deploy" : "units_mgr_select"));

  const int first = FirstType(category);
  for (int i = 0; i < FilterCount(category); ++i) {
    CDXUTCheckBox* box = filters_[static_cast<std::size_t>(FirstFilterId(category) + i - kFirstLandFilterId)];
    if (box == nullptr) continue;
    int onMap = 0, inReserve = 0;
    CountUnitsOfType(world_, country_id_, first + i, onMap, inReserve);
    box->SetText(plat::Format(std::wstring(L"%s (%i+[%i])"), cUnit::GetSubtypeText(&world_, first + i), onMap, inReserve).c_str());
  }
  for (const sUnitsManagerRow& row :
       UnitsManagerRows(world_, country_id_, category, view_.listMode, CategoryFilter(view_, category))) {
    list_->AddItem(row.text.c_str(), row.unit);
  }
  SelectUnitInList(list_->GetSize() > 0 ? unitId : -1);
}

void cDialogJednostek::SetActButton(bool enabled, const char* hintKey) {
  if (act_ == nullptr) return;
  act_->SetEnabled(enabled);
  act_->SetHint(Text(hintKey));
}

void cDialogJednostek::SelectUnitInList(int unitId) {
  view_.selectedUnit = nullptr;
  int found = -1;
  for (int i = 0; list_ != nullptr && i < list_->GetSize(); ++i) {
    const auto* unit = static_cast<const cUnit*>(list_->GetItem(i)->pData);
    if (unitId < 1 || (unit != nullptr && unit->id == unitId)) {
      found = i;
      break;
    }
  }
  if (found < 0) {
    SetActButton(false, "units_mgr_select_hint_no_unit_selected");
    return;
  }
  list_->SelectItem(found, false);
  cUnit* unit = static_cast<cUnit*>(list_->GetItem(found)->pData);
  view_.selectedUnit = unit;
  if (view_.listMode == kUnitsListOnMap) {
    // A land unit aboard a ship has no hex to be selected on.
    if (unit->category == kCategoryLand && !unit->IsOnMap()) {
      SetActButton(false, "units_mgr_select_hint_unit_aboard");
    } else {
      SetActButton(true, "units_mgr_select_hint");
    }
  } else if (unit->availableInTurns > 0) {
    SetActButton(false, "units_mgr_deploy_hint_not_ready_to_deploy");
  } else if (unit->MarkDeployHexes(false) > 0) {
    SetActButton(true, "units_mgr_deploy_hint");
  } else {
    SetActButton(false, "units_mgr_deploy_hint_no_destination_hexes");
  }
}

void cDialogJednostek::CentreOn(const cUnit& unit) {
  int x = -1, y = -1;
  if (!UnitsManagerHex(world_, unit, x, y)) return;
  world_.GetMap().CenterAtHex(x, y);
  world_.turnState.Deselect(world_);
  world_.turnState.SelectHex(world_, x, y);
}

void cDialogJednostek::Act() {
  cUnit* unit = view_.selectedUnit;
  if (unit == nullptr) return;
  cTurnState& turn = world_.turnState;
  if (view_.listMode == kUnitsListToDeploy) {
    LogLine(L"Player action: Deploy %s", unit->name);
    turn.Deselect(world_);
    turn.mode = unit->category == kCategoryLand  ? kModeDeployLand
                : unit->category == kCategoryAir ? kModeDeployAir
                                                 : kModeDeployNaval;
    unit->MarkDeployHexes(true);
    dialog_.SetVisible(false);
    return;
  }
  int x = -1, y = -1;
  if (!UnitsManagerHex(world_, *unit, x, y)) return;
  LogLine(L"Player action: Select %s", unit->name);
  world_.GetMap().CenterAtHex(x, y);
  turn.SelectHex(world_, x, y);
  const int reach = unit->ComputeMoveRange(false);
  // An air unit with nowhere to rebase now is only selected.
  turn.mode = unit->category == kCategoryLand                ? kModeMoveLand
              : unit->category == kCategoryAir && reach > 0 ? kModeMoveAir
                                                             : 0;
  const bool ship = unit->category == kCategoryNaval;
  cWorld& world = world_;
  PopDialogs(1);
  // A ship takes its orders in its fleet's dialog: the node's fleets are
  // shown as a click on the node's hex shows them.
  if (ship) OpenFleetsDialogAtHex(world, x, y, turn.mode);
}

void cDialogJednostek::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (controlId == kCategoryTabsId) {
    FillUnitList(-1);
    return;
  }
  if (controlId >= kFirstLandFilterId && controlId < kListId - 1) {
    auto* box = dynamic_cast<CDXUTCheckBox*>(control);
    if (box == nullptr) return;
    const int category = controlId >= kFirstNavalFilterId ? kCategoryNaval
                         : controlId >= kFirstAirFilterId ? kCategoryAir
                                                          : kCategoryLand;
    SetMaskBit(&CategoryFilter(view_, category), controlId - FirstFilterId(category), box->GetChecked());
    FillUnitList(-1);
    return;
  }
  switch (controlId) {
    case kListId: {
      if (event != EVENT_LISTBOX_SELECTION || list_ == nullptr) return;
      const DXUTListBoxItem* item = list_->GetSelectedItem();
      const auto* picked = item != nullptr ? static_cast<const cUnit*>(item->pData) : nullptr;
      if (picked == nullptr) return;
      SelectUnitInList(picked->id);
      if (view_.autoCentre && view_.listMode == kUnitsListOnMap && view_.selectedUnit != nullptr) {
        CentreOn(*view_.selectedUnit);
      }
      return;
    }
    case kActId:
      if (event == EVENT_BUTTON_CLICKED) Act();
      return;
    case kAutoCentreId:
      if (auto_centre_ == nullptr) return;
      view_.autoCentre = auto_centre_->GetChecked();
      if (view_.autoCentre && view_.selectedUnit != nullptr) CentreOn(*view_.selectedUnit);
      return;
    case kListModeTabsId:
      view_.listMode = modes_ != nullptr && modes_->GetSelectedTab() == 1 ? kUnitsListToDeploy : kUnitsListOnMap;
      if (auto_centre_ != nullptr) auto_centre_->SetEnabled(view_.listMode == kUnitsListOnMap);
      FillUnitList(-1);
      return;
    case kCloseId:
      if (event == EVENT_BUTTON_CLICKED) PopDialogs(1);
      return;
    default: return;
  }
}

void cDialogJednostek::SetFilterBoxes(bool checked) {
  const int category = Category();
  for (int i = 0; i < FilterCount(category); ++i) {
    const int id = FirstFilterId(category) + i;
    CDXUTCheckBox* box = filters_[static_cast<std::size_t>(id - kFirstLandFilterId)];
    if (box == nullptr || box->GetChecked() == checked) continue;
    box->SetCheckedInternal(checked, false, false);
    OnGUIEvent(EVENT_CHECKBOX_CHANGED, id, box);
  }
}

void cDialogJednostek::ToggleFilterBox(int index) {
  const int category = Category();
  if (index < 0 || index >= FilterCount(category)) return;
  const int id = FirstFilterId(category) + index;
  CDXUTCheckBox* box = filters_[static_cast<std::size_t>(id - kFirstLandFilterId)];
  if (box == nullptr) return;
  box->SetCheckedInternal(!box->GetChecked(), false, false);
  OnGUIEvent(EVENT_CHECKBOX_CHANGED, id, box);
}

void cDialogJednostek::SetCategoryTab(int index) {
  if (categories_ == nullptr) return;
  categories_->SelectTab(index, false);
  OnGUIEvent(EVENT_TABFRAME_CHANGED, kCategoryTabsId, categories_);
}

void cDialogJednostek::SetListModeTab(int index) {
  if (modes_ == nullptr) return;
  modes_->SelectTab(index, false);
  OnGUIEvent(EVENT_TABFRAME_CHANGED, kListModeTabsId, modes_);
}

// Every key does what the click on its control does.
void cDialogJednostek::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn) {
    if (act_ != nullptr && act_->GetEnabled()) ClickButton(kActId);
  } else if (key == plat::kVkEscape) {
    ClickButton(kCloseId);
  } else if (key == plat::kVkLeft || key == plat::kVkRight) {
    if (categories_ != nullptr) SetCategoryTab(categories_->GetSelectedTab() + (key == plat::kVkLeft ? -1 : 1));
  } else if (key == plat::kVkUp || key == plat::kVkDown) {
    if (list_ == nullptr || list_->GetSize() == 0) return;
    list_->SelectItem(list_->GetSelectedIndex() + (key == plat::kVkUp ? -1 : 1), false);
    OnGUIEvent(EVENT_LISTBOX_SELECTION, kListId, list_);
  } else if (key == '0' || key == kVkNumpad0) {
    SetFilterBoxes(false);
  } else if (key == '9' || key == kVkNumpad0 + 9) {
    SetFilterBoxes(true);
  } else if (key >= '1' && key <= '7') {
    ToggleFilterBox(static_cast<int>(key - '1'));
  } else if (key >= kVkNumpad0 + 1 && key <= kVkNumpad0 + 7) {
    ToggleFilterBox(static_cast<int>(key) - kVkNumpad0 - 1);
  } else if (key == 'A') {
    if (auto_centre_ == nullptr || !auto_centre_->GetEnabled() || !auto_centre_->GetVisible()) return;
    auto_centre_->SetCheckedInternal(!auto_centre_->GetChecked(), false, false);
    OnGUIEvent(EVENT_CHECKBOX_CHANGED, kAutoCentreId, auto_centre_);
  } else if (key == 'D') {
    SetListModeTab(1);
  } else if (key == 'M') {
    SetListModeTab(0);
  }
}

void cDialogJednostek::OnReactivate() {
  FillUnitList(-1);
  StartCountdown(g_Delays[kDelayHumanDeployAfter].load() / 1000.0f, kExpiryShow);
}
