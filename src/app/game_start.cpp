#include "app/game_start.h"

sGameStartParams g_GameStartParams;

// Scenario and saved-game files cannot be read yet: nothing is loaded, so
// the start fails and the caller keeps its screen.
bool LoadScenario(const sGameStartParams&) { return false; }
