// The results of one country's convoys at the end of an impulse: one row
// per convoy, the selected convoy's details below.
#pragma once

#include "dialogs/dialog.h"

class cWorld;
class CDXUTListBox;
class CDXUTMemo;

class cDialogWynikuKonwojow : public cDialog {
 public:
  static constexpr int kId = 960;
  static constexpr int kTitleId = 962;
  static constexpr int kFlagId = 963;
  static constexpr int kListLabelId = 964;
  static constexpr int kListId = 965;
  static constexpr int kDetailsLabelId = 966;
  static constexpr int kDetailsId = 967;
  static constexpr int kCloseId = 968;

  // Lists the country's convoy results; with at least one, the first is
  // selected and its details shown.
  cDialogWynikuKonwojow(cWorld& world, int countryId);

  // A new selection shows its details; 968 closes.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // Enter or Escape closes.
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  CDXUTListBox* List() const { return list_; }
  CDXUTMemo* Details() const { return details_; }

 private:
  void ShowDetailsOfSelection();

  CDXUTListBox* list_ = nullptr;
  CDXUTMemo* details_ = nullptr;
};
