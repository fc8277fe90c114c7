#include "dialogs/convoy_result_dialog.h"

#include <cstdint>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/world.h"

cDialogWynikuKonwojow::cDialogWynikuKonwojow(cWorld& world, int countryId)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("convoys_result_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  if (const cCountry* country = world.GetCountry(countryId)) {
    dialog_.AddImageFromLayout(kFlagId, country->GetFlagTexture(), 0, 0, kFlagWidth, kFlagHeight, country->name.c_str(),
                               0xFFFFFFFFu);
  }
  dialog_.AddStaticFromLayout(kListLabelId, Text("convoys_result_list"));
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  if (list_ != nullptr) list_->SetColumns(7, Text("convoys_result_list_columns"), 20, 20, 20, 6, 7, 7, 20);
  dialog_.AddStaticFromLayout(kDetailsLabelId, Text("convoys_result_details"));
  dialog_.AddMemoFromLayout(kDetailsId, L"", &details_);
  dialog_.AddButtonFromLayout(kCloseId, Text("convoys_result_exit"), Text("convoys_result_exit_hint"));

  std::vector<sConvoyResult>* results = world.Units().convoys.ResultsOf(countryId);
  if (results == nullptr || list_ == nullptr) return;
  for (sConvoyResult& entry : *results) {
    const std::wstring row = plat::Format(L"%s;%s;%s;%i;%i;%i;%s", entry.departureName, entry.destinationName,
                                          entry.cargoText, entry.stpNeeded, entry.stpSent, entry.stpLost,
                                          entry.resultText);
    list_->AddItem(row.c_str(), &entry);
  }
  if (!results->empty()) {
    list_->SelectItem(0, false);
    ShowDetailsOfSelection();
  }
}

void cDialogWynikuKonwojow::ShowDetailsOfSelection() {
  if (list_ == nullptr || details_ == nullptr) return;
  const DXUTListBoxItem* item = list_->GetSelectedItem();
  const auto* entry = item != nullptr ? static_cast<const sConvoyResult*>(item->pData) : nullptr;
  details_->SetText(entry != nullptr ? entry->detailsText.c_str() : L"");
}

void cDialogWynikuKonwojow::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (controlId == kListId && event == EVENT_LISTBOX_SELECTION) {
    ShowDetailsOfSelection();
  } else if (controlId == kCloseId && event == EVENT_BUTTON_CLICKED) {
    PopDialogs(1);
  }
}

void cDialogWynikuKonwojow::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (keyDown && (key == plat::kVkReturn || key == plat::kVkEscape)) PopDialogs(1);
}
