#include "dialogs/orientation_choice_dialog.h"

#include <string>

#include "app/gui_layout.h"
#include "app/random.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "world/country.h"

int OrientationChoice = cDialogWyborow::kCancelled;

namespace {

constexpr int kChoiceLayoutIds[3] = {934, 935, 936};
constexpr int kRandomLayoutId = 937;



struct sChoice {
  int orientation;
  const char* key;
};

// The three choices of a country of orientation 3, 4 or 5: the regime of its
// own side first, then the other two sides.
const sChoice* ChoicesFor(int orientation) {
  static constexpr sChoice kProAllied[3] = {
      {0, "diplomacy_elections_democracy"}, {4, "diplomacy_elections_pro_axis"}, {5, "diplomacy_elections_pro_communist"}};
  static constexpr sChoice kProAxis[3] = {{1, "diplomacy_elections_nationalist_regime"},
                                          {3, "diplomacy_elections_pro_allied"},
                                          {5, "diplomacy_elections_pro_communist"}};
  static constexpr sChoice kProCommunist[3] = {{2, "diplomacy_elections_communist_regime"},
                                               {4, "diplomacy_elections_pro_axis"},
                                               {3, "diplomacy_elections_pro_allied"}};
  switch (orientation) {
    case 3: return kProAllied;
    case 4: return kProAxis;
    case 5: return kProCommunist;
    default: return nullptr;
  }
}

void AddButtonAt(CDXUTDialog& dialog, int id, int layoutId, const wchar_t* text, CDXUTButton** created) {
  const sLayoutRect& r = Layout(layoutId);
  dialog.AddButton(id, text, r.a, r.b, r.c, r.d, 0, false, created);
}

}  // namespace

cDialogWyborow::cDialogWyborow(const cCountry& country, bool elections)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  OrientationChoice = kCancelled;
  const std::wstring title = plat::Format(
      Text(elections ? "diplomacy_elections_in_country_title" : "diplomacy_change_orientation_of_country_title"),
      country.name);
  const std::wstring message = plat::Format(
      Text(elections ? "diplomacy_elections_in_country" : "diplomacy_change_orientation_of_country"), country.name);
  CDXUTStatic* titleLabel = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, title.c_str(), &titleLabel);
  if (titleLabel != nullptr) {
    titleLabel->m_TextElement = 1;
    titleLabel->SetTextFormat(kFormatCentred);
  }
  dialog_.AddStaticFromLayout(kMessageId, message.c_str());
  dialog_.AddButtonFromLayout(
      kCancelId, Text(elections ? "diplomacy_elections_cancel" : "diplomacy_change_orientation_cancel"),
      Text(elections ? "diplomacy_elections_cancel_hint" : "diplomacy_change_orientation_cancel_hint"));
  const sChoice* choices = ChoicesFor(country.orientation);
  if (choices == nullptr) return;
  for (std::size_t k = 0; k < 3; ++k) {
    AddButtonAt(dialog_, choices[k].orientation, kChoiceLayoutIds[k], Text(choices[k].key), &choice_buttons_[k]);
  }
  AddButtonAt(dialog_, kRandomId, kRandomLayoutId, Text("diplomacy_elections_random"), nullptr);
}

void cDialogWyborow::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (controlId >= 0 && controlId <= 5) {
    OrientationChoice = controlId;
  } else if (controlId == kCancelId) {
    OrientationChoice = kCancelled;
  } else if (controlId == kRandomId) {
    // Each of the three choices with the same odds; the choice then arrives
    // here as that button's click and closes the dialog.
    CDXUTButton* button = choice_buttons_[static_cast<std::size_t>(RandomIndex(3))];
    if (button != nullptr) OnGUIEvent(EVENT_BUTTON_CLICKED, button->GetID(), button);
    return;
  } else {
    return;
  }
  NotifyListener(event, controlId, control);
  PopDialogs(1);
}
