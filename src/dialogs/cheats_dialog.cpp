#include "dialogs/cheats_dialog.h"

#include <climits>
#include <cwchar>
#include <string>

#include "app/gui_layout.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_element.h"
#include "gui/dxut_listbox.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/turn_state.h"
#include "world/world.h"
#include "world/world_view.h"

int CheatEventId = 0;

int CheatIntValue(std::wstring_view text) {
  const std::wstring copy(text);
  const long long value = std::wcstoll(copy.c_str(), nullptr, 10);
  if (value < INT_MIN) return INT_MIN;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

cDialogCheatow::cDialogCheatow(cWorld& world)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d), world_(world) {
  dialog_.AddButtonFromLayout(kCloseId, L"Close", L"Close this dialog");
  dialog_.AddButtonFromLayout(kFireId, L"Fire", L"Fire event with given ID");
  dialog_.AddListBoxFromLayout(kCountriesId, 0, &list_);
  dialog_.AddEditBoxFromLayout(kProductionId, L"", L"Production points");
  dialog_.AddEditBoxFromLayout(kDiplomacyId, L"", L"Diplomacy points");
  dialog_.AddEditBoxFromLayout(kEventId, L"", L"Event ID to fire");
  dialog_.AddRadioButtonFromLayout(kAiId, 1, L"AI", L"AI controlled", true);
  dialog_.AddRadioButtonFromLayout(kHumanId, 1, L"Human", L"Human controlled", false);

  const cCountry* current = world.turnState.currentCountry;
  int selected = 0;
  if (list_ != nullptr) {
    for (const auto& country : world.Countries()) {
      if (!country || !country->active || country->politicalStrength < 0) continue;
      if (country.get() == current) selected = list_->GetSize();
      list_->AddItem(country->name.c_str(), country.get());
    }
    if (list_->GetSize() > 0) {
      list_->SelectItem(selected, false);
      country_ = static_cast<cCountry*>(list_->GetItem(selected)->pData);
    }
  }
  Refresh();
  dialog_.SetVisible(true);
}

CDXUTEditBox* cDialogCheatow::Edit(int id) const {
  return dynamic_cast<CDXUTEditBox*>(dialog_.GetControl(id));
}

void cDialogCheatow::Refresh() {
  if (auto* human = dynamic_cast<CDXUTRadioButton*>(dialog_.GetControl(kHumanId))) {
    human->SetChecked(country_ != nullptr && country_->human);
  }
  if (auto* ai = dynamic_cast<CDXUTRadioButton*>(dialog_.GetControl(kAiId))) {
    ai->SetChecked(country_ == nullptr || !country_->human);
  }
  const auto show = [this](int id, long long value) {
    if (CDXUTEditBox* edit = Edit(id)) edit->SetText(std::to_wstring(value).c_str());
  };
  if (country_ != nullptr) {
    show(kProductionId, static_cast<long long>(country_->productionPoints));
    show(kDiplomacyId, country_->diplomaticPoints);
  }
  show(kEventId, CheatEventId);
}

void cDialogCheatow::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  // The countries' points and flags are the worker's while the computer
  // plays: the dialog changes nothing outside the human turn.
  if (world_.GetGameState() != kPhaseHumanTurn && controlId != kCloseId) return;
  switch (controlId) {
    case kCountriesId:
      if (event != EVENT_LISTBOX_SELECTION || list_ == nullptr) return;
      if (const DXUTListBoxItem* item = list_->GetSelectedItem()) {
        country_ = static_cast<cCountry*>(item->pData);
        Refresh();
      }
      return;
    case kAiId:
    case kHumanId:
      if (country_ != nullptr) country_->human = controlId == kHumanId;
      return;
    case kProductionId:
    case kDiplomacyId: {
      if (country_ == nullptr) return;
      const CDXUTEditBox* production = Edit(kProductionId);
      const CDXUTEditBox* diplomacy = Edit(kDiplomacyId);
      if (production != nullptr) country_->productionPoints = CheatIntValue(production->GetText());
      if (diplomacy != nullptr) country_->diplomaticPoints = CheatIntValue(diplomacy->GetText());
      if (cWorldView* view = world_.View()) view->RefreshCounters();
      return;
    }
    case kEventId:
      if (const CDXUTEditBox* edit = Edit(kEventId)) CheatEventId = CheatIntValue(edit->GetText());
      return;
    case kFireId:
      // The manager logs the search and keeps the event found as the one
      // fired last.
      if (event == EVENT_BUTTON_CLICKED) world_.eventManager.ForceFireEvent(CheatEventId);
      return;
    case kCloseId:
      if (event == EVENT_BUTTON_CLICKED) PopDialogs(1);
      return;
    default:
      return;
  }
}
