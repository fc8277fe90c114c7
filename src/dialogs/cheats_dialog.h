// The developer dialog over the map screen (F12): any active country
// switched between human and computer control, its production and
// diplomacy points overwritten, and a scripted event fired by its id.
#pragma once

#include <string_view>

#include "dialogs/dialog.h"

class CDXUTEditBox;
class CDXUTListBox;
class cCountry;
class cWorld;

// The event id the dialog shows and fires; it outlives the dialog, so the
// next opening shows the last id used. Main thread only.
extern int CheatEventId;

// The whole number at the start of the text (decimal, optional sign); 0 for
// text that is not a number, clamped to the int range.
int CheatIntValue(std::wstring_view text);

class cDialogCheatow : public cDialog {
 public:
  static constexpr int kId = 630;
  static constexpr int kCountriesId = 632;
  static constexpr int kAiId = 634;
  static constexpr int kHumanId = 635;
  static constexpr int kProductionId = 636;
  static constexpr int kDiplomacyId = 637;
  static constexpr int kEventId = 638;
  static constexpr int kFireId = 639;
  static constexpr int kCloseId = 640;

  explicit cDialogCheatow(cWorld& world);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  cCountry* SelectedCountry() const { return country_; }
  CDXUTListBox* List() const { return list_; }
  CDXUTEditBox* Edit(int id) const;

 private:
  void Refresh();

  cWorld& world_;
  cCountry* country_ = nullptr;
  CDXUTListBox* list_ = nullptr;
};
