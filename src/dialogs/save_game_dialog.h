// The save-game dialog: the saved games of "data\save" with their scenario,
// turn and date, a name box with the default name, and the save button,
// which asks before a save of the same name is overwritten. Saving goes
// through the save transaction (files/save_game.h) and leaves the dialog
// open; its exit button closes it and hands the map back to the opener.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog.h"

class CDXUTEditBox;
class CDXUTListBox;
class cWorld;

// One row of the list: "<folder>;<scenario name>;<turn>;<date>" and the
// folder's name.
struct sSaveListRow {
  std::wstring text;
  std::wstring folderName;
};

// The rows for the saved games under root (the saves as the scenario menu
// lists them, copies of a running save left out); the scenario name is read
// from "General_<language>/Name" of each save's "Info.ini". A save without
// a readable "Info.ini" gets "Unknown name", turn 1 and "--.--.-- --:--".
std::vector<sSaveListRow> ListSaveRows(const std::wstring& root, std::string_view languageCode);

// Why the typed name cannot name a save, as the key of the text that tells
// the player; null for a name the save takes (after its blanks are cut).
// Names longer than a save name may be are refused, never cut.
const char* SaveNameRefusal(std::wstring_view typedName);

class cDialogZapisuGry : public cDialog {
 public:
  static constexpr int kId = 252;
  static constexpr int kTitleId = 250;
  static constexpr int kListLabelId = 253;
  static constexpr int kListId = 254;
  static constexpr int kNameLabelId = 255;
  static constexpr int kNameId = 256;
  static constexpr int kExitId = 257;
  static constexpr int kSaveId = 258;

  // onClose runs once the exit button has closed the dialog (the map takes
  // its input back).
  cDialogZapisuGry(const cWorld& world, std::function<void()> onClose);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnReactivate() override;

  CDXUTListBox* List() const { return list_; }
  CDXUTEditBox* NameBox() const { return name_; }
  bool SavePending() const { return save_pending_ != 0; }

 private:
  void FillList();
  // The name box's text trimmed and cut as the save will be named; refused
  // names get a message, existing saves the overwrite question.
  void SaveUnderTypedName();
  void SaveNow(const std::wstring& name);
  void ShowText(const std::wstring& text, const wchar_t* title);

  const cWorld& world_;
  std::function<void()> on_close_;
  CDXUTListBox* list_ = nullptr;
  CDXUTEditBox* name_ = nullptr;
  std::vector<std::wstring> folders_;
  std::wstring pending_name_;
  int save_pending_ = 0;
};
