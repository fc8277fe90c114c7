// The purchases dialog: the current country buys new land, air and naval
// units and strategic movement, sea transport and amphibious invasion
// points with its production points (rules/purchases.h). Four tabs list
// the items with their build times and prices; the level buttons choose
// the level of a land or air unit up to the country's technology; the
// preview shows the unit as it will be bought. Bought units wait in the
// reserve pools. Prices are read afresh after every purchase, since those
// of points rise with each one.
#pragma once

#include <memory>

#include "dialogs/dialog.h"

class cUnit;
class cWorld;
class CDXUTButton;
class CDXUTListBox;
class CDXUTRadioButton;
class CDXUTTabFrame;

class cDialogZakupow : public cDialog {
 public:
  static constexpr int kId = 740;
  static constexpr int kTitleId = 741;
  static constexpr int kTabsId = 743;
  static constexpr int kListLabelId = 744;
  static constexpr int kListId = 745;
  static constexpr int kFirstLevelId = 746;  // levels 1-5: 746-750
  static constexpr int kCostLabelId = 751;
  static constexpr int kCostId = 752;
  static constexpr int kAvailableLabelId = 753;
  static constexpr int kAvailableId = 754;
  static constexpr int kPreviewId = 755;
  static constexpr int kBuyId = 756;
  static constexpr int kExitId = 757;
  // The tabs, in their order.
  enum eTab : int { kTabLand = 0, kTabAir = 1, kTabSea = 2, kTabOthers = 3, kTabCount = 4 };

  // The dialog of the world's current country, on the land tab with its
  // first row selected, level 1 chosen (or the highest the technology
  // allows).
  explicit cDialogZakupow(cWorld& world);
  ~cDialogZakupow() override;

  void OnRender(float elapsed) override;
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  // Fills the list with the rows of the selected tab at today's prices; the
  // row of the selected item stays selected.
  void FillList();
  // The preview of the selected item made afresh, the price, the two
  // values, the level buttons and the buy button.
  void RefreshSelection();
  // Shows (highest level above -1) or hides the level buttons, enables
  // those up to the highest level and lowers the chosen level to it.
  void SetLevelButtons(int highestLevel);

  int SelectedItem() const { return item_; }
  int ChosenLevel() const { return level_; }
  float CurrentPrice() const { return price_; }
  int CountryId() const { return country_id_; }
  // The unit a purchase of the selected item makes; null for points.
  const cUnit* Preview() const { return preview_.get(); }
  CDXUTListBox* List() const { return list_; }

 private:
  // The first item code of a tab and the number of its items.
  static int FirstItemOfTab(int tab);
  static int ItemsOfTab(int tab);
  int SelectedTab() const;
  // The list row of an item of the selected tab.
  std::wstring RowText(int item) const;
  void SelectRow(int row);
  void Buy();

  cWorld& world_;
  int country_id_ = 0;
  int item_ = -1;
  int level_ = 1;
  float price_ = 0.0f;
  std::unique_ptr<cUnit> preview_;
  CDXUTTabFrame* tabs_ = nullptr;
  CDXUTListBox* list_ = nullptr;
  CDXUTRadioButton* levels_[5] = {};
  CDXUTButton* buy_ = nullptr;
};
