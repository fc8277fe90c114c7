// The hotkeys dialog: the map screen's keyboard shortcuts in a list of
// fixed English rows, opened and closed again by the information bar's
// hotkeys icon and the I key.
#pragma once

#include <array>

#include "dialogs/dialog.h"

class CDXUTListBox;

// The rows, "<key>|<what it does>", in the order shown.
inline constexpr std::array<const wchar_t*, 19> kHotkeyRows = {
    L"F1|Preferences",
    L"F2|Show/hide grid",
    L"F3|Show/hide weather",
    L"F4|Show/hide city names",
    L"F5|Show/hide AP left",
    L"F6|Change border draw mode",
    L"F7|Change hex ownership draw mode",
    L"Esc|Save/Menu Options",
    L"+|Zoom in",
    L"-|Zoom out",
    L"Arrows|Move view",
    L"P|Open purchase window",
    L"C|Open convoys manager",
    L"T|Open research window",
    L"R|Open reports window",
    L"U|Open unit manager",
    L"Q|End turn",
    L"I|Open hotkey window",
    L"Tab|Show next active unit",
};

class cDialogSkrotowKlawiszowych : public cDialog {
 public:
  static constexpr int kId = 667;
  static constexpr int kTitleId = 665;
  static constexpr int kListId = 672;
  static constexpr int kCloseId = 673;

  cDialogSkrotowKlawiszowych();

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // Enter and Escape close it (I, the key that opened it, closes it on the
  // map screen's side, as the other dialogs' keys do).
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  CDXUTListBox* List() const { return list_; }

 private:
  CDXUTListBox* list_ = nullptr;
};

// Closes the hotkeys dialog (and every dialog above it) when it is open,
// else opens it.
void ToggleHotkeysDialog();
