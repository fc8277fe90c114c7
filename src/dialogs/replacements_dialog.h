// The replacements dialog: a slider chooses how many strength points a land
// or air unit of the current country buys; the dialog shows the strength
// afterwards, the price and the production points at hand, and OK gives the
// order (rules/replacements.h). The price of a point and the most points the
// unit may buy are fixed when the dialog opens.
#pragma once

#include "dialogs/dialog.h"

class cJednostka;
class cWorld;
class CDXUTSlider;

class cDialogUzupelnien : public cDialog {
 public:
  static constexpr int kId = 840;
  static constexpr int kTitleId = 842;
  static constexpr int kStrengthAfterId = 844;
  static constexpr int kPriceId = 846;
  static constexpr int kAvailableId = 848;
  static constexpr int kSliderId = 849;
  static constexpr int kMaxId = 850;
  static constexpr int kOkId = 851;
  static constexpr int kCancelId = 852;

  cDialogUzupelnien(cWorld& world, cJednostka& unit);

  // Writes the three values for the slider's position.
  void RefreshValues();
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  int Maximum() const { return maximum_; }
  CDXUTSlider* Slider() const { return slider_; }

 private:
  cWorld& world_;
  cJednostka& unit_;
  float price_ = 0.0f;
  int maximum_ = 0;
  CDXUTSlider* slider_ = nullptr;
};
