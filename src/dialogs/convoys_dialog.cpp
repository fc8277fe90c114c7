#include "dialogs/convoys_dialog.h"

#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/control_groups.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

constexpr unsigned kTypeGroup = 1;
// The convoy picture: the bottom-right square of the interface sheet.
constexpr int kPictureLeft = 1898, kPictureTop = 1898, kPictureRight = 2048, kPictureBottom = 2048;
// The slider as it is built, before a convoy gives it its range.
constexpr int kSliderStartMax = 300;
constexpr int kSliderStartValue = 150;


void SetEnabledWithHint(CDXUTControl* control, bool enabled, const char* hintKey) {
  if (control == nullptr) return;
  control->SetEnabled(enabled);
  control->SetHint(Text(hintKey));
}

}  // namespace

cDialogKonwojow::cDialogKonwojow(cWorld& world, int countryId)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      country_id_(countryId) {
  // The picture sits in the largest square of its entry, at its bottom
  // right.
  sLayoutRect picture = Layout(kPictureId);
  FitSquareInRect(picture, 2, 2);
  dialog_.AddImage(kPictureId, dialog_.GetTexture(0), kPictureLeft, kPictureTop, kPictureRight, kPictureBottom,
                   picture.a, picture.b, picture.c, picture.d);
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("convoys_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  dialog_.AddStaticFromLayout(kListLabelId, Text("convoys_list"));
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  if (list_ != nullptr) list_->SetColumns(4, Text("convoys_list_columns"), 30, 30, 30, 10);
  dialog_.AddButtonFromLayout(kNewId, Text("convoys_new"), Text("convoys_new_hint"));
  dialog_.AddButtonFromLayout(kDeleteId, Text("convoys_delete"), Text("convoys_delete_hint_no_selection"), 0, &delete_);
  dialog_.AddButtonFromLayout(kUpId, Text("convoys_moveup"), Text("convoys_moveup_hint_no_selection"), 0, &up_);
  dialog_.AddButtonFromLayout(kDownId, Text("convoys_movedown"), Text("convoys_movedown_hint_no_selection"), 0,
                              &down_);
  dialog_.AddStaticFromLayout(kTypeLabelId, Text("convoys_type"));
  dialog_.AddRadioButtonFromLayout(kTypeProductionId, kTypeGroup, Text("convoys_type_pp"), Text("convoys_type_pp_hint"),
                                   false, &production_);
  dialog_.AddRadioButtonFromLayout(kTypeSuppliesId, kTypeGroup, Text("convoys_type_supply"),
                                   Text("convoys_type_supply_hint"), false, &supplies_);
  dialog_.AddSliderFromLayout(kSliderId, 0, kSliderStartMax, kSliderStartValue, &slider_);
  const std::wstring value = plat::Format(std::wstring(Text("convoys_value_%i")), kSliderStartValue);
  dialog_.AddStaticFromLayout(kValueTextId, value.c_str(), &value_text_);
  dialog_.AddButtonFromLayout(kExitId, Text("convoys_exit"), Text("convoys_exit_hint"));
  FillConvoyList(-1);
  RefreshControls();
}

std::vector<cConvoy>* cDialogKonwojow::Convoys() const { return world_.Units().convoys.ConvoysOf(country_id_); }

cConvoy* cDialogKonwojow::SelectedConvoy() const {
  std::vector<cConvoy>* convoys = Convoys();
  if (convoys == nullptr || selected_ < 0 || selected_ >= static_cast<int>(convoys->size())) return nullptr;
  return &(*convoys)[static_cast<std::size_t>(selected_)];
}

int cDialogKonwojow::ValueLimit(const cConvoy& convoy, int type) const {
  const sScenarioConstants& k = world_.constants;
  return convoy.departurePortSize * (type == kConvoyProduction ? k.convoyValueStep : k.convoyValueLimit);
}

void cDialogKonwojow::FillConvoyList(int convoyId) {
  selected_ = -1;
  if (list_ == nullptr) return;
  list_->RemoveAllItems();
  std::vector<cConvoy>* convoys = Convoys();
  if (convoys == nullptr) return;
  int found = -1;
  for (std::size_t i = 0; i < convoys->size(); ++i) {
    const cConvoy& convoy = (*convoys)[i];
    const std::wstring row = plat::Format(
        std::wstring(L"%s;%s;%s;%i"), convoy.departure ? convoy.departure->GetName() : std::wstring(),
        convoy.destination ? convoy.destination->GetName() : std::wstring(),
        std::wstring(Text(convoy.type == kConvoyProduction ? "convoys_type_production" : "convoys_type_supply")),
        convoy.value);
    // The row knows its convoy by position only: the list is refilled
    // whenever the convoys change.
    list_->AddItem(row.c_str(), nullptr);
    if (convoy.id == convoyId && found < 0) found = static_cast<int>(i);
  }
  if (convoyId != -1 && !convoys->empty()) {
    Select(found < 0 ? 0 : found);
  }
}

void cDialogKonwojow::Select(int index) {
  if (list_ == nullptr) return;
  list_->SelectItem(index, false);
  selected_ = list_->GetSelectedIndex();
  RefreshControls();
}

void cDialogKonwojow::RefreshControls() {
  const cConvoy* convoy = SelectedConvoy();
  if (convoy == nullptr) {
    SetEnabledWithHint(delete_, false, "convoys_delete_hint_no_selection");
    for (CDXUTRadioButton* radio : {production_, supplies_}) {
      if (radio == nullptr) continue;
      radio->SetEnabled(false);
      radio->SetCheckedInternal(false, false, false, false);
    }
    if (slider_ != nullptr) slider_->SetEnabled(false);
    if (value_text_ != nullptr) value_text_->SetVisible(false);
    SetEnabledWithHint(up_, false, "convoys_moveup_hint_no_selection");
    SetEnabledWithHint(down_, false, "convoys_movedown_hint_no_selection");
    return;
  }
  SetEnabledWithHint(delete_, true, "convoys_delete_hint");
  const bool production = convoy->type == kConvoyProduction;
  if (production_ != nullptr) {
    production_->SetEnabled(true);
    production_->SetCheckedInternal(production, false, false, false);
  }
  if (supplies_ != nullptr) {
    supplies_->SetEnabled(true);
    supplies_->SetCheckedInternal(!production, false, false, false);
  }
  if (slider_ != nullptr) {
    slider_->SetEnabled(true);
    slider_->SetRange(0, ValueLimit(*convoy, convoy->type));
    slider_->SetValueInternal(convoy->value, false, false);
  }
  if (value_text_ != nullptr) {
    const std::wstring value = plat::Format(std::wstring(Text("convoys_value_%i")), convoy->value);
    value_text_->SetText(value.c_str());
    value_text_->SetVisible(true);
  }
  const int last = static_cast<int>(Convoys()->size()) - 1;
  if (selected_ >= 1) {
    SetEnabledWithHint(up_, true, "convoys_moveup_hint");
  } else {
    SetEnabledWithHint(up_, false, "convoys_moveup_hint_is_topmost");
  }
  if (selected_ < last) {
    SetEnabledWithHint(down_, true, "convoys_movedown_hint");
  } else {
    SetEnabledWithHint(down_, false, "convoys_movedown_hint_is_bottommost");
  }
}

int cDialogKonwojow::AddPickedConvoy() {
  if (departure_node_ < 1 || destination_node_ < 1) return -1;
  const int id = world_.Units().convoys.AddConvoyBetweenSeaNodes(world_, departure_node_, destination_node_,
                                                                 country_id_);
  if (id >= 0) LogLine(L"Player action: New convoy ID=%i", id);
  FillConvoyList(id);
  RefreshControls();
  return id;
}

void cDialogKonwojow::MoveSelected(int step) {
  std::vector<cConvoy>* convoys = Convoys();
  const cConvoy* convoy = SelectedConvoy();
  const int target = selected_ + step;
  if (convoy == nullptr || target < 0 || target >= static_cast<int>(convoys->size())) return;
  const cConvoy moved = *convoy;
  convoys->erase(convoys->begin() + selected_);
  convoys->insert(convoys->begin() + target, moved);
  FillConvoyList(moved.id);
}

void cDialogKonwojow::SetSelectedType(int type) {
  cConvoy* convoy = SelectedConvoy();
  if (convoy == nullptr) return;
  // A new cargo starts at the top of its range.
  convoy->type = type;
  convoy->value = ValueLimit(*convoy, type);
  FillConvoyList(convoy->id);
  RefreshControls();
}

void cDialogKonwojow::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kListId:
      if (event == EVENT_LISTBOX_SELECTION && list_ != nullptr) {
        selected_ = list_->GetSelectedIndex();
        RefreshControls();
      }
      return;
    case kNewId:
      if (event != EVENT_BUTTON_CLICKED) return;
      departure_node_ = 0;
      destination_node_ = 0;
      LogLine(L"Player action: Convoy ports");
      dialog_.SetVisible(false);
      cConvoyStore::MarkDeparturePorts(world_, country_id_);
      world_.turnState.mode = kModeConvoyDeparture;
      return;
    case kDeleteId: {
      std::vector<cConvoy>* convoys = Convoys();
      if (event != EVENT_BUTTON_CLICKED || SelectedConvoy() == nullptr) return;
      LogLine(L"Player action: Convoy ID=%i deleted", (*convoys)[static_cast<std::size_t>(selected_)].id);
      convoys->erase(convoys->begin() + selected_);
      FillConvoyList(-1);
      RefreshControls();
      return;
    }
    case kUpId:
      if (event == EVENT_BUTTON_CLICKED && selected_ > 0) MoveSelected(-1);
      return;
    case kDownId:
      if (event == EVENT_BUTTON_CLICKED) MoveSelected(1);
      return;
    case kTypeProductionId:
      if (event == EVENT_RADIOBUTTON_CHANGED) SetSelectedType(kConvoyProduction);
      return;
    case kTypeSuppliesId:
      if (event == EVENT_RADIOBUTTON_CHANGED) SetSelectedType(kConvoySupplies);
      return;
    case kSliderId:
      if (event == EVENT_SLIDER_VALUE_CHANGED && slider_ != nullptr) {
        if (cConvoy* convoy = SelectedConvoy()) {
          convoy->value = slider_->GetValue();
          FillConvoyList(convoy->id);
          RefreshControls();
        }
      }
      return;
    case kExitId:
      if (event == EVENT_BUTTON_CLICKED) PopDialogs(1);
      return;
    default: return;
  }
}
