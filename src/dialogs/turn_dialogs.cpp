#include "dialogs/turn_dialogs.h"

#include <string>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_static.h"
#include "gui/hint_text.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/end_human_turn.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// The part of a flag texture that holds the flag.



bool IsKey(unsigned key, bool keyDown, unsigned wanted) { return keyDown && key == wanted; }

}  // namespace

// ---- New turn ----------------------------------------------------------

cDialogNowejTury::cDialogNowejTury(const cWorld& world, int countryId)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  const cCountry* country = world.GetCountry(countryId);
  const std::wstring title =
      country != nullptr ? plat::Format(Text("new_turn_title_country%s"), country->name) : std::wstring();
  CDXUTStatic* label = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, title.c_str(), &label);
  if (label != nullptr) {
    label->m_TextElement = 1;
    label->SetTextFormat(kFormatCentred);
  }
  if (country != nullptr) {
    dialog_.AddImageFromLayout(kFlagId, country->GetFlagTexture(), 0, 0, kFlagWidth, kFlagHeight, country->name.c_str(),
                               0xFFFFFFFFu);
  }
  if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);
  // An empty slot (sound not loaded) plays nothing.
  PlaySoundEffect(SND_DRUM_ROLL);
}

void cDialogNowejTury::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKey(key, keyDown, plat::kVkReturn) || IsKey(key, keyDown, plat::kVkEscape)) PopDialogs(1);
}

void cDialogNowejTury::OnMouse(bool, bool, bool, bool, bool, int, int, int) {
  // A click anywhere, on the dialog or beside it.
  if (g_HintText.LeftReleasedNow()) PopDialogs(1);
}

// ---- End-turn confirmation ---------------------------------------------

cDialogPotwKoncaTury::cDialogPotwKoncaTury(cWorld& world)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world) {
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("end_turn_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  dialog_.AddStaticFromLayout(kQuestionId, Text("ent_turn_confirm_question"));
  dialog_.AddButtonFromLayout(kYesId, Text("end_turn_yes"), Text("end_turn_yes_hint"));
  dialog_.AddButtonFromLayout(kNoId, Text("end_turn_no"), Text("end_turn_no_hint"));
  dialog_.AddCheckBoxFromLayout(kDontAskId, Text("end_turn_dont_ask"), Text("end_turn_dont_ask_hint"), false);
}

void cDialogPotwKoncaTury::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  if (controlId == kNoId) {
    PopDialogs(1);
    return;
  }
  if (controlId != kYesId) return;
  const auto* box = dynamic_cast<const CDXUTCheckBox*>(dialog_.GetControl(kDontAskId));
  const bool dontAsk = box != nullptr && box->GetChecked();
  SetEndTurnConfirmation(!dontAsk);
  // The turn ends with the dialog stack as it was before the question.
  cWorld& world = world_;
  PopDialogs(1);
  EndHumanTurn(world);
}

void cDialogPotwKoncaTury::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKey(key, keyDown, plat::kVkReturn)) ClickButton(kYesId);
  else if (IsKey(key, keyDown, plat::kVkEscape)) ClickButton(kNoId);
}

void RequestEndOfHumanTurn(cWorld& world) {
  if (g_Settings.SkipEndTurnConfirmation) {
    EndHumanTurn(world);
    return;
  }
  PushDialog(new cDialogPotwKoncaTury(world));
}
