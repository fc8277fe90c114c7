#include "dialogs/hotkeys_dialog.h"

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_element.h"
#include "gui/dxut_listbox.h"
#include "platform/messages.h"

cDialogSkrotowKlawiszowych::cDialogSkrotowKlawiszowych()
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  dialog_.AddStaticFromLayout(kTitleId, L"Hotkeys");
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  if (list_ != nullptr) {
    list_->SetColumns(2, L"Hotkey|Description", 20, 80);
    list_->RemoveAllItems();
    for (const wchar_t* row : kHotkeyRows) list_->AddItem(row, nullptr);
  }
  dialog_.AddButtonFromLayout(kCloseId, g_StringBase.GetText("exit"), g_StringBase.GetText("return_to_map"));
  dialog_.SetVisible(true);
}

void cDialogSkrotowKlawiszowych::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event == EVENT_BUTTON_CLICKED && controlId == kCloseId) PopDialogs(1);
}

void cDialogSkrotowKlawiszowych::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn || key == plat::kVkEscape) ClickButton(kCloseId);
}

void ToggleHotkeysDialog() {
  if (FindDialogById(cDialogSkrotowKlawiszowych::kId) != nullptr) {
    CloseDialogsDownTo(cDialogSkrotowKlawiszowych::kId);
  } else {
    PushDialog(new cDialogSkrotowKlawiszowych());
  }
}
