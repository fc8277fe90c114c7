// The commanders dialog: gives one unit a commander of the current country
// or calls its commander back. The country's commanders of the unit's kind
// (land, air or naval) are listed by skill, the free ones in one list and
// the others in a second; the orders are those of
// rules/commander_assignment.h.
#pragma once

#include "dialogs/dialog.h"

class cCommander;
class cUnit;
class cWorld;
class CDXUTListBox;

class cDialogDowodcow : public cDialog {
 public:
  static constexpr int kId = 860;
  static constexpr int kTitleId = 862;
  static constexpr int kUnitCommanderId = 864;
  static constexpr int kRecallId = 865;
  static constexpr int kFreeListId = 867;
  static constexpr int kOtherListId = 869;
  static constexpr int kAssignId = 870;
  static constexpr int kExitId = 871;

  cDialogDowodcow(cWorld& world, cUnit& unit);

  // Refills both lists with the current country's commanders of the unit's
  // kind in the rules' order (CommandersForUnit), the free ones in the first
  // list; the first free one is selected.
  void FillCommanderLists();
  // The unit's commander, the buttons' states and the lists.
  void RefreshCommanderView();
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  CDXUTListBox* FreeList() const { return free_; }
  CDXUTListBox* OtherList() const { return other_; }

 private:
  cWorld& world_;
  cUnit& unit_;
  CDXUTListBox* free_ = nullptr;
  CDXUTListBox* other_ = nullptr;
};
