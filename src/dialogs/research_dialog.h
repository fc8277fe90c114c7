// The research dialog: the current country's investment in six
// technologies (every slot but the land warfare doctrine). Each row shows
// the technology's level, its progress towards the next level, an icon of
// the investment bought (0 to 3), the price of the next investment and the
// button that buys it. The prices and the check come from rules/research.h,
// the figures the monthly research step uses.
#pragma once

#include <array>

#include "dialogs/dialog.h"

class cWorld;
class CDXUTButton;
class CDXUTEditBox;
class CDXUTImage;

class cDialogResearchu : public cDialog {
 public:
  static constexpr int kId = 790;
  static constexpr int kTitleId = 792;
  // Column entries of the rows (row k sits k x (height + 10) below).
  static constexpr int kNameColumnId = 794;
  static constexpr int kLevelColumnId = 795;
  static constexpr int kIconColumnId = 796;
  static constexpr int kProgressColumnId = 797;
  static constexpr int kPriceColumnId = 798;
  static constexpr int kInvestColumnId = 799;
  static constexpr int kCloseId = 800;
  // The icon strip: four investment levels one under another.
  static constexpr int kIconStripId = 13;
  static constexpr int kNameId = 1000;
  static constexpr int kLevelId = 1010;
  static constexpr int kIconId = 1020;
  static constexpr int kProgressId = 1030;
  static constexpr int kPriceId = 1040;
  static constexpr int kInvestId = 1050;
  static constexpr int kRows = 6;

  // The technology shown in row r (slot 2, the doctrine, is skipped).
  static constexpr int TechOfRow(int row) { return row < 2 ? row : row + 1; }

  // The dialog of the turn state's current country.
  explicit cDialogResearchu(cWorld& world);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  // Recomputes the prices and every row from the country.
  void Refresh();
  int CountryId() const { return country_id_; }
  float Price(int tech) const { return price_[static_cast<std::size_t>(tech)]; }

 private:
  cWorld& world_;
  int country_id_;
  std::array<float, 7> price_{};
  std::array<CDXUTEditBox*, kRows> level_{};
  std::array<CDXUTImage*, kRows> icon_{};
  std::array<CDXUTEditBox*, kRows> progress_{};
  std::array<CDXUTEditBox*, kRows> price_box_{};
  std::array<CDXUTButton*, kRows> invest_{};
};
