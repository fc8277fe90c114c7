// The game start: builds the world of a scenario or a saved game while the
// loading screen shows its progress, then hands over to the scenario
// settings menu.
#pragma once

#include <optional>
#include <string>

#include "files/world_loader.h"

// What the scenario menu chose last.
extern sGameStartSettings g_GameStartSettings;

// Loads the folder of settings into a new world (g_pWorld) on the main
// thread. The loading screen is the current menu (one is made when it is
// not); it receives the progress, and at the end, under the framework lock,
// creates the next menu, and nothing is returned.
//
// A scenario or saved game whose files cannot be used (every fatal data
// error of its loading) ends only its loading: no world is left, the
// textures of the game are released, the loading screen stays current and
// the log line that ended the loading is returned (without its "Exiting..."
// tail), for the caller to tell the player. The tools that load without a
// window (LoadWorld) still end with exit code 1.
std::optional<std::wstring> LoadScenario(sGameStartSettings settings);
