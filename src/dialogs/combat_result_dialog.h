// The report of one fight (land battle, air fight or strike, nuclear strike,
// reconnaissance, interception, shore bombardment, carrier strike): the two
// sides' flags and texts, an icon for each outcome, and a countdown after
// which the report closes by itself, which the player can pause.
#pragma once

#include <string>

#include "dialogs/dialog.h"

class cWorld;
struct sBombardmentResult;

class cDialogWynikuWalki : public cDialog {
 public:
  static constexpr int kId = 900;
  static constexpr int kTitleId = 902;
  static constexpr int kAttackerFlagId = 903;
  static constexpr int kAttackerTextId = 907;
  static constexpr int kDefenderFlagId = 910;
  static constexpr int kDefenderTextId = 914;
  static constexpr int kCountdownId = 917;
  static constexpr int kPauseId = 918;
  static constexpr int kCloseId = 919;
  // The outcome icons: attacker destroyed, defender destroyed, surrenders,
  // retreats, city hit, port hit, naval defence destroyed.
  static constexpr int kFirstIconId = 7500;
  static constexpr int kIconCount = 7;
  static constexpr int kIconSize = 40;

  // Reads the record (it need not outlive the constructor). Display time in
  // milliseconds: 0 or more closes the report after that time unless the
  // player pauses it; below 0 it stays until the player closes it. A flag
  // is shown only for a country the world has.
  cDialogWynikuWalki(const cWorld& world, const sBombardmentResult& result, float displayMs);

  // Enter or Escape closes, Space pauses or resumes.
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  // A click outside the buttons, icons and texts closes.
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
               int y) override;
  // 918 pauses or resumes, 919 closes.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // The countdown line shows the seconds left.
  void OnTimerTick(float elapsed) override;

  void TogglePause();

  // The title key of a result kind ("combatresult_unknown_battle_title"
  // for a kind the game does not know).
  static const char* TitleKey(int kind);
};
