#include "dialogs/save_game_dialog.h"

#include <cwctype>
#include <utility>

#include "app/gui_layout.h"
#include "app/ini_file.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "files/save_folders.h"
#include "files/save_game.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_element.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"

namespace {

// Where the saves are kept, and the title of the save's messages.
constexpr const wchar_t* kSaveRoot = L"data\\save";
constexpr const wchar_t* kMessageTitle = L"Save game";

}  // namespace

std::vector<sSaveListRow> ListSaveRows(const std::wstring& root, std::string_view languageCode) {
  std::string nameKey = "General_";
  nameKey += languageCode;
  nameKey += "/Name";
  std::vector<sSaveListRow> rows;
  for (const std::wstring& folder : ListSaveFolders(root)) {
    cIniFile ini;
    // Folder names are joined into paths, never used as formats.
    ini.Load(root + L"\\" + folder + L"\\Info.ini");
    sSaveListRow row;
    row.folderName = folder;
    row.text = plat::Format(L"%s;%s;%i;%s", folder, ini.GetString(nameKey, L"Unknown name"),
                            ini.GetInt("Save/Turn", 1), ini.GetString("Save/Date", L"--.--.-- --:--"));
    rows.push_back(std::move(row));
  }
  return rows;
}

const char* SaveNameRefusal(std::wstring_view typedName) {
  std::size_t begin = 0, end = typedName.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(typedName[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(typedName[end - 1]))) --end;
  const std::wstring_view name = typedName.substr(begin, end - begin);
  if (name.size() > kMaxSaveNameLength) return "save_game_name_too_long_%i";
  if (IsValidSaveName(name)) return nullptr;
  // A name refused only because the lists could not show it: its folder
  // would be hidden, or its row split into the wrong cells.
  std::wstring listable(name);
  if (!listable.empty() && listable.front() == L'.') listable.front() = L'_';
  for (wchar_t& c : listable) {
    if (c == L';' || c == L'|') c = L'_';
  }
  const bool climbs = name.find(L"..") != std::wstring_view::npos;
  return listable != name && !climbs && IsValidSaveName(listable) ? "save_game_name_not_listable"
                                                                  : "save_game_invalid_name";
}

cDialogZapisuGry::cDialogZapisuGry(const cWorld& world, std::function<void()> onClose)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      on_close_(std::move(onClose)) {
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("save_game_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  dialog_.AddStaticFromLayout(kListLabelId, Text("save_game_list"));
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  if (list_ != nullptr) list_->SetColumns(4, Text("save_list_saved_game_columns"), 35, 40, 5, 20);
  dialog_.AddStaticFromLayout(kNameLabelId, Text("save_game_new_name"));
  dialog_.AddEditBoxFromLayout(kNameId, Text("save_game_default_name"), Text("save_game_new_name_hint"), &name_);
  dialog_.AddButtonFromLayout(kSaveId, Text("save_game_save"), Text("save_game_save_hint"));
  dialog_.AddButtonFromLayout(kExitId, Text("save_game_exit"), Text("save_game_exit_hint"));
  FillList();
  dialog_.SetVisible(true);
}

void cDialogZapisuGry::FillList() {
  if (list_ == nullptr) return;
  const int selected = list_->GetSelectedIndex();
  list_->RemoveAllItems();
  folders_.clear();
  const std::vector<sSaveListRow> rows = ListSaveRows(kSaveRoot, g_StringBase.GetLanguageCode());
  folders_.reserve(rows.size());
  for (const sSaveListRow& row : rows) folders_.push_back(row.folderName);
  // The rows point at the folder names, which stay put until the next fill.
  for (std::size_t i = 0; i < rows.size(); ++i) list_->AddItem(rows[i].text.c_str(), &folders_[i]);
  if (selected >= 0 && selected < list_->GetSize()) list_->SelectItem(selected, false);
}

void cDialogZapisuGry::ShowText(const std::wstring& text, const wchar_t* title) {
  PushDialog(new cDialogTekstowy(text.c_str(), title, kMessageLayoutEntry));
}

void cDialogZapisuGry::SaveNow(const std::wstring& name) {
  const sSaveResult result = SaveGame(world_, name, false);
  FillList();
  if (result.ok) {
    ShowText(Text("save_game_successfull"), kMessageTitle);
  } else {
    // A failed save is told as such; the previous save of the name is whole.
    ShowText(plat::Format(Text("save_game_failed_%s"), result.error), kMessageTitle);
  }
}

void cDialogZapisuGry::SaveUnderTypedName() {
  if (name_ == nullptr) return;
  // The name as the save will be called: the existence test and the
  // question use it, so " Alpha" finds and overwrites "Alpha".
  if (const char* refusal = SaveNameRefusal(name_->GetText())) {
    const bool tooLong = std::string_view(refusal) == "save_game_name_too_long_%i";
    ShowText(tooLong ? plat::Format(Text(refusal), static_cast<int>(kMaxSaveNameLength)) : std::wstring(Text(refusal)),
             kMessageTitle);
    return;
  }
  const std::wstring name = CleanSaveName(name_->GetText());
  name_->SetText(name.c_str());
  if (!SaveFolderExists(name)) {
    SaveNow(name);
    return;
  }
  pending_name_ = name;
  save_pending_ = 1;
  const std::wstring question = plat::Format(Text("save_overwrite_question_%s"), name);
  PushDialog(new cDialogPotwierdzenia(Text("save_overwrite_title"), question.c_str(), Text("save_overwrite_yes"),
                                      Text("save_overwrite_yes_hint"), Text("save_overwrite_no"),
                                      Text("save_overwrite_no_hint")));
}

void cDialogZapisuGry::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kListId:
      if (event != EVENT_LISTBOX_SELECTION || list_ == nullptr || name_ == nullptr) return;
      if (const DXUTListBoxItem* item = list_->GetSelectedItem()) {
        if (item->pData != nullptr) name_->SetText(static_cast<const std::wstring*>(item->pData)->c_str());
      }
      return;
    case kSaveId:
      if (event == EVENT_BUTTON_CLICKED) SaveUnderTypedName();
      return;
    case kExitId: {
      if (event != EVENT_BUTTON_CLICKED) return;
      std::function<void()> onClose = std::move(on_close_);
      PopDialogs(1);
      if (onClose) onClose();
      return;
    }
    default:
      return;
  }
}

void cDialogZapisuGry::OnReactivate() {
  const bool pending = save_pending_ != 0;
  save_pending_ = 0;
  if (pending && ConfirmAnswer) SaveNow(pending_name_);
}
