// The two dialogs that frame a human player's turn: the greeting of the
// country whose turn begins (its name and flag, with a drum roll; any click,
// Enter or Escape dismisses it) and the question before the turn ends,
// which can be told never to ask again.
#pragma once

#include "dialogs/dialog.h"

class cWorld;

class cDialogNowejTury : public cDialog {
 public:
  static constexpr int kId = 730;
  static constexpr int kFlagId = 732;
  static constexpr int kTitleId = 733;

  // Greets the country of the id in the world (a country the world does not
  // have gets an empty title and no flag).
  cDialogNowejTury(const cWorld& world, int countryId);

  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
               int y) override;
};

class cDialogPotwKoncaTury : public cDialog {
 public:
  static constexpr int kId = 701;
  static constexpr int kTitleId = 702;
  static constexpr int kQuestionId = 704;
  static constexpr int kYesId = 705;
  static constexpr int kNoId = 706;
  static constexpr int kDontAskId = 707;

  // Asks about the turn of the world's current country.
  explicit cDialogPotwKoncaTury(cWorld& world);

  // Yes: the answer to "don't ask again" becomes the setting (and is saved
  // with the map zoom), the dialog closes, then the turn ends. No: the
  // dialog closes and nothing changes.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // Enter answers yes, Escape no.
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

 private:
  cWorld& world_;
};

// The end-turn command of the map screen (button, key Q): ends the turn at
// once when the player asked not to be asked, else asks.
void RequestEndOfHumanTurn(cWorld& world);
