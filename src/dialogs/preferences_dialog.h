// The preferences dialog: every user setting of "Settings.ini" on six tabs.
// Each change is applied at once and written into the settings table; OK
// saves the file and closes the dialog. It is opened over a game (the pause
// menu, F1 on the map) and inside the settings menu without a game.
#pragma once

#include <functional>
#include <vector>

#include "dialogs/dialog.h"
#include "dialogs/preferences_values.h"

class CDXUTComboBox;
class CDXUTListBox;
class CDXUTSlider;
class CDXUTTabFrame;
class cWorld;

class cDialogUstawien : public cDialog {
 public:
  static constexpr int kId = 82;
  static constexpr int kTabsId = 83;
  static constexpr int kResolutionLabelId = 84;
  static constexpr int kResolutionId = 85;
  static constexpr int kWindowedId = 86;
  static constexpr int kFpsLabelId = 87;
  static constexpr int kFpsId = 88;
  static constexpr int kUnitsSkinLabelId = 90;
  static constexpr int kUnitsSkinId = 91;
  static constexpr int kDynamicAppearanceId = 92;
  static constexpr int kShowUnitNameId = 95;
  static constexpr int kMapSkinLabelId = 96;
  static constexpr int kMapSkinId = 97;
  static constexpr int kShowGridId = 98;
  static constexpr int kShowWeatherId = 99;
  static constexpr int kShowCityNameId = 100;
  static constexpr int kShowSeaZoneNameId = 101;
  static constexpr int kShowAPLeftId = 102;
  static constexpr int kBorderColourLabelId = 103;
  static constexpr int kBorderColourId = 104;
  static constexpr int kFirstSampleId = 105;
  static constexpr int kLastSampleId = 110;
  static constexpr int kVisibilityValueId = 112;
  static constexpr int kVisibilityId = 113;
  static constexpr int kSeaBattleValueId = 145;
  static constexpr int kSeaBattleId = 146;
  static constexpr int kAlliesActionsId = 147;
  static constexpr int kSfxValueId = 149;
  static constexpr int kSfxId = 150;
  static constexpr int kMusicValueId = 152;
  static constexpr int kMusicId = 153;
  static constexpr int kConfirmEndTurnId = 154;
  static constexpr int kOkId = 171;

  // What OK does after the file is saved and the dialog closed: back to the
  // map over a game, a new main menu without one.
  using ClosedAction = std::function<void()>;

  // Builds the dialog with the current settings and makes it visible; the
  // caller pushes it on the dialog stack. world is the loaded game or null.
  cDialogUstawien(cWorld* world, ClosedAction onClosed);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  // The screen sizes offered, in the resolution box's order.
  const std::vector<sResolution>& Resolutions() const { return resolutions_; }

  void DetectResolutions();
  void FillBorderColourCombo();
  void RefreshDelayLabels();
  void RefreshVisibilityLabel();
  void RefreshVolumeLabels();
  void RefreshSeaBattleTimeoutLabel();

 private:
  void AddSliderRow(int sliderId, const char* labelKey, int minimum, int maximum, int value);
  void FillSkinList(CDXUTListBox* list, const wchar_t* prefix, const std::wstring& current);
  void FillResolutionCombo(CDXUTComboBox* combo);
  void TintSamples();
  void SetValueText(int id, const std::wstring& text);
  void ApplyDelay(CDXUTControl* control);
  void ApplyVolumes();
  void ApplyMapSkin(CDXUTListBox* list);
  void Finish();

  cWorld* world_;
  ClosedAction on_closed_;
  std::vector<sResolution> resolutions_;
};
