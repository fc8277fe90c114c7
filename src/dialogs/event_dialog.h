// A scripted event fired for a human country: its title, text, picture and
// the country's flag, with one button per option. The click on an option
// records the choice in the world's report list, applies the option's
// effects and closes the dialog. In a play-by-e-mail game one more button
// saves the game for the next player and asks the events check to show no
// further event. The events check opens it and waits until it has closed.
#pragma once

#include <string>

#include "app/texture.h"
#include "dialogs/dialog.h"

class cWorld;
struct sEvent;

// Whether a picture name names a file inside the events' picture folder:
// not empty, not absolute, no ".." step and no drive or stream colon.
bool IsEventPictureName(const std::wstring& name);

class cDialogEventu : public cDialog {
 public:
  static constexpr int kId = 780;
  static constexpr int kTitleId = 781;
  static constexpr int kFlagId = 782;
  static constexpr int kTextId = 783;
  static constexpr int kPictureId = 784;
  // The first option button's place (x, y, width, height); each further
  // row lies kRowId's height lower.
  static constexpr int kFirstOptionId = 785;
  static constexpr int kRowId = 786;
  // Option n (1-based) is button kOptionBaseId + n; the save-and-exit
  // button of a play-by-e-mail game follows the last option.
  static constexpr int kOptionBaseId = 4000;
  // The source square of an event picture.
  static constexpr int kPictureSource = 512;

  // The event is not copied: it must outlive the dialog.
  cDialogEventu(cWorld& world, const sEvent& event);

  // A click on option n: the report of the choice, the option's effects,
  // closed. The save-and-exit button: the game saved for the next player and
  // the events check told to stop, closed (a failed save is told and the
  // dialog stays open, so that the player can choose an option).
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // No keyboard handling: the player must click an option.

  int OptionCount() const { return option_count_; }
  // The id of the save-and-exit button, or 0 when the game is not played by
  // e-mail.
  int SaveAndExitId() const { return save_and_exit_id_; }
  // The vertical offset of every control from its layout entry, and the
  // frame's height.
  int OffsetY() const { return offset_y_; }
  int TotalHeight() const { return total_height_; }
  bool HasPicture() const { return picture_.Get() != nullptr; }

 private:
  void ChooseOption(int number);
  void SaveAndExit();

  cWorld& world_;
  const sEvent& event_;
  int option_count_ = 0;
  int save_and_exit_id_ = 0;
  int offset_y_ = 0;
  int total_height_ = 0;
  cTexture picture_;
};
