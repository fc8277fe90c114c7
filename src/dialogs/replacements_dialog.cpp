#include "dialogs/replacements_dialog.h"

#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/replacements.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/replacement_prices.h"
#include "world/world.h"

cDialogUzupelnien::cDialogUzupelnien(cWorld& world, cJednostka& unit)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      unit_(unit) {
  LogLine(L"%s", Text("constructing_replacements_dialog..."));
  price_ = ReplacementPricePerPoint(world, unit);
  maximum_ = ReplacementMaximum(world, unit);

  CDXUTStatic* title = nullptr;
  const std::wstring titleText = plat::Format(Text("unit_replacement_title"), unit.name);
  if (SUCCEEDED(dialog_.AddStaticFromLayout(kTitleId, titleText.c_str(), &title)) && title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  AddValue(dialog_, 843, "unit_replacement_strength_after", kStrengthAfterId, "unit_replacement_strength_after_hint");
  AddValue(dialog_, 845, "unit_replacement_cost", kPriceId, "unit_replacement_cost_hint");
  AddValue(dialog_, 847, "unit_replacement_pp_available", kAvailableId, "unit_replacement_pp_available_hint");
  dialog_.AddSliderFromLayout(kSliderId, 0, maximum_, 0, &slider_);
  dialog_.AddButtonFromLayout(kMaxId, Text("unit_replacement_max"), Text("unit_replacement_max_hint"));
  dialog_.AddButtonFromLayout(kOkId, Text("unit_replacement_ok"), Text("unit_replacement_ok_hint"));
  dialog_.AddButtonFromLayout(kCancelId, Text("unit_replacement_cancel"), Text("unit_replacement_cancel_hint"));
  if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);
  RefreshValues();
}

void cDialogUzupelnien::RefreshValues() {
  const int v = slider_ != nullptr ? slider_->GetValue() : 0;
  if (unit_.category == kCategoryAir) {
    SetValue(dialog_, kStrengthAfterId, plat::Format(L"%i", unit_.GetStrength() + v));
  } else {
    // The added points come at the full strength of the unit's level and type.
    const float step = unit_.GetBaseStrength();
    SetValue(dialog_, kStrengthAfterId,
             plat::Format(L"%.2f (%i%%)", unit_.GetCombatStrength() + step * static_cast<float>(v) / 100.0f,
                          unit_.GetStrength() + v));
  }
  SetValue(dialog_, kPriceId, plat::Format(Text("%.2f_pp"), static_cast<double>(price_) * v));
  const cCountry* country = world_.GetCountry(unit_.countryId);
  SetValue(dialog_, kAvailableId, plat::Format(Text("%.2f_pp"), country != nullptr ? country->productionPoints : 0.0));
}

void cDialogUzupelnien::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  switch (controlId) {
    case kSliderId:
      RefreshValues();
      return;
    case kMaxId:
      if (event != EVENT_BUTTON_CLICKED) return;
      if (slider_ != nullptr) slider_->SetValue(maximum_);
      RefreshValues();
      return;
    case kOkId:
    case kCancelId: {
      if (event != EVENT_BUTTON_CLICKED) return;
      const int v = slider_ != nullptr ? slider_->GetValue() : 0;
      if (controlId == kOkId && v > 0) {
        LogLine(L"Player action: Replacements / %s +%i strength for %.2f PP", unit_.name, v,
                static_cast<double>(price_) * v);
        if (const char* key = ReplacementRefusalKey(BuyReplacements(world_, unit_, v))) {
          LogLine(L"%s", Text(key));
        }
      }
      NotifyListener(event, controlId, control);
      PopDialogs(1);
      return;
    }
    default:
      return;
  }
}

void cDialogUzupelnien::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn && dialog_.GetControlEnabled(kOkId)) ClickButton(kOkId);
  else if (key == plat::kVkEscape) ClickButton(kCancelId);
  else if (key == 'M' && dialog_.GetControlEnabled(kMaxId)) ClickButton(kMaxId);
}
