// The pause menu over the running game: back to the map, save, preferences,
// abandon the game (to the scenario menu) or leave the program. The map
// stays visible behind it.
#pragma once

#include "screens/menu.h"

constexpr int kPauseMenuFrame = 270;
constexpr int kPauseResume = 272;
constexpr int kPauseSave = 273;
constexpr int kPausePreferences = 274;
constexpr int kPauseAbort = 275;
constexpr int kPauseExit = 276;

class cPauseMenu : public cMenu {
 public:
  cPauseMenu();

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnRender(float elapsed) override;
};
