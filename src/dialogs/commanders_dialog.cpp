#include "dialogs/commanders_dialog.h"

#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/commander_assignment.h"
#include "world/commander.h"
#include "world/unit.h"
#include "world/world.h"

namespace {



const char* StateKey(int state) {
  if (state == kCommanderNotAssigned) return "commander_status_in_hq";
  if (state == kCommanderOnHisWay) return "commander_status_heading_to_hq";
  return "commander_status_assigned";
}

CDXUTListBox* AddList(CDXUTDialog& dialog, int id, const char* headerKey) {
  CDXUTListBox* list = nullptr;
  if (SUCCEEDED(dialog.AddListBoxFromLayout(id, 0, &list)) && list != nullptr) {
    list->SetColumns(4, Text(headerKey), 40, 10, 10, 40);
  }
  return list;
}

void LogRefusal(const char* key) {
  if (key != nullptr) LogLine(L"%s", Text(key));
}

}  // namespace

cDialogDowodcow::cDialogDowodcow(cWorld& world, cUnit& unit)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      unit_(unit) {
  CDXUTStatic* title = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(kTitleId, Text("commander_title"), &title)) && title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  CDXUTStatic* label = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(863, Text("commander_selected_unit_commander"), &label)) && label) {
    label->SetTextFormat(kVCentred);
  }
  CDXUTEditBox* edit = nullptr;
  if (SUCCEEDED(dialog_.AddEditBoxFromLayout(kUnitCommanderId, L"-", Text("commander_selected_unit_commander_hint"),
                                             &edit)) &&
      edit != nullptr) {
    edit->m_dwDisabledTextFormat = kFormatCentred;
    edit->SetEnabled(false);
  }
  dialog_.AddButtonFromLayout(kRecallId, Text("commander_recall"), Text("commander_recall_hint"));
  dialog_.AddStaticFromLayout(866, Text("commander_available_commanders"));
  free_ = AddList(dialog_, kFreeListId, "commander_list_available_columns");
  dialog_.AddStaticFromLayout(868, Text("commander_unavailable_commanders"));
  other_ = AddList(dialog_, kOtherListId, "commander_list_unavailable_columns");
  if (other_ != nullptr) other_->SetEnabled(false);
  dialog_.AddButtonFromLayout(kAssignId, Text("commander_assign"), Text("commander_assign_hint"));
  dialog_.AddButtonFromLayout(kExitId, Text("commander_exit"), Text("commander_exit_hint"));
  if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);
  RefreshCommanderView();
}

void cDialogDowodcow::FillCommanderLists() {
  const std::vector<cCommander*> found = CommandersForUnit(world_, unit_);
  if (free_ == nullptr || other_ == nullptr) return;
  free_->RemoveAllItems();
  other_->RemoveAllItems();
  for (cCommander* commander : found) {
    const std::wstring row =
        plat::Format(L"%s;%i;%i;%s", commander->name, commander->skill, commander->experience,
                     Text(StateKey(commander->state)));
    (commander->state == kCommanderNotAssigned ? free_ : other_)->AddItem(row.c_str(), commander);
  }
  if (free_->GetSize() > 0) free_->SelectItem(0, true);
}

void cDialogDowodcow::RefreshCommanderView() {
  std::wstring text = Text("commander_no_commander_assigned");
  if (const cCommander* own = unit_.ownCommander) {
    text = plat::Format(Text("%s_(%i_/_%i)"), own->name, own->skill, own->experience);
  }
  if (auto* edit = dynamic_cast<CDXUTEditBox*>(dialog_.GetControl(kUnitCommanderId))) edit->SetText(text.c_str());
  dialog_.SetControlEnabled(kRecallId, unit_.ownCommander != nullptr);
  FillCommanderLists();
  dialog_.SetControlEnabled(kAssignId, free_ != nullptr && free_->GetSize() > 0 && unit_.ownCommander == nullptr);
}

void cDialogDowodcow::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case kRecallId:
      if (unit_.ownCommander != nullptr) {
        LogLine(L"Player action: Commander recalled / %s from %s", unit_.ownCommander->name, unit_.name);
      }
      LogRefusal(CommanderRefusalKey(RecallCommander(world_, unit_)));
      RefreshCommanderView();
      return;
    case kAssignId:
      if (auto* chosen = static_cast<cCommander*>(free_ != nullptr ? free_->GetSelectedData() : nullptr)) {
        LogLine(L"Player action: Commander / %s to %s", chosen->name, unit_.name);
        LogRefusal(CommanderRefusalKey(AssignCommander(world_, unit_, *chosen)));
      }
      RefreshCommanderView();
      return;
    case kExitId:
      NotifyListener(event, controlId, control);
      PopDialogs(1);
      return;
    default:
      return;
  }
}

void cDialogDowodcow::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (keyDown && key == plat::kVkEscape) ClickButton(kExitId);
}
