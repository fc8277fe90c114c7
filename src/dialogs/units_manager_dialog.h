// The units manager: the units of one country by category (land, air,
// naval) and list mode (on the map, to deploy), filtered by type. From it
// the player centres the map on a unit and selects it, or picks a reserve
// unit and puts the map into deploy mode for it; the map screen then
// deploys it on the clicked marked hex and hands control back through
// OnReactivate. The filters, the auto-centre flag, the list mode and the
// selected unit live in the view the map screen keeps.
#pragma once

#include <array>

#include "dialogs/dialog.h"
#include "dialogs/units_manager_rows.h"

class cWorld;
class CDXUTButton;
class CDXUTCheckBox;
class CDXUTListBox;
class CDXUTTabFrame;

class cDialogJednostek : public cDialog {
 public:
  static constexpr int kId = 480;
  static constexpr int kTitleId = 481;
  static constexpr int kCategoryTabsId = 483;
  static constexpr int kFirstLandFilterId = 484;  // 484..490, land types 0..6
  static constexpr int kFirstAirFilterId = 491;   // 491..493, air types 20..22
  static constexpr int kFirstNavalFilterId = 494;  // 494..499, naval types 40..45
  static constexpr int kListId = 501;
  static constexpr int kActId = 502;
  static constexpr int kAutoCentreId = 503;
  static constexpr int kListModeTabsId = 504;
  static constexpr int kCloseId = 505;
  // The turn state's modes of a deploy order and of a selected unit.
  static constexpr int kModeDeployLand = 1;
  static constexpr int kModeDeployAir = 2;
  static constexpr int kModeDeployNaval = 3;
  static constexpr int kModeMoveLand = 4;
  static constexpr int kModeMoveAir = 12;

  cDialogJednostek(cWorld& world, sUnitsManagerView& view, int countryId);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  // After the map screen deployed the selected unit: the list again, and
  // the dialog shows itself once the deploy delay has run.
  void OnReactivate() override;

  // Refills the list, its columns, the act button and the filter captions
  // for the category tab and list mode, then selects the unit with that id
  // (below 1: the first row).
  void FillUnitList(int unitId);
  // Selects the row of the unit with that id (below 1: the first row)
  // without a selection event, remembers its unit and sets the act button.
  void SelectUnitInList(int unitId);

  int CountryId() const { return country_id_; }
  int Category() const;
  CDXUTListBox* List() const { return list_; }

 private:
  // The first filter id and the number of filters of a category.
  static int FirstFilterId(int category);
  static int FilterCount(int category);
  // The map on the unit: its hex selected in the turn state.
  void CentreOn(const cUnit& unit);
  void SetActButton(bool enabled, const char* hintKey);
  void Act();
  void SetFilterBoxes(bool checked);
  void ToggleFilterBox(int index);
  void SetCategoryTab(int index);
  void SetListModeTab(int index);

  cWorld& world_;
  sUnitsManagerView& view_;
  int country_id_;
  CDXUTTabFrame* categories_ = nullptr;
  CDXUTTabFrame* modes_ = nullptr;
  std::array<CDXUTCheckBox*, 16> filters_{};
  CDXUTListBox* list_ = nullptr;
  CDXUTButton* act_ = nullptr;
  CDXUTCheckBox* auto_centre_ = nullptr;
};
