// The game start: builds the world of a scenario or a saved game while the
// loading screen shows its progress.
#pragma once

#include <string>

struct sGameStartParams {
  // The entry's folder with its closing backslash ("data\scenarios\Name\");
  // the files of the entry are found by appending their names.
  std::wstring folder;
  // A saved or play-by-e-mail game rather than a new one.
  bool savedGame = false;
};

// What the scenario menu chose last.
extern sGameStartParams g_GameStartParams;

// Loads the entry of params into a new world on the main thread. Returns
// false, with no world made, when the entry cannot be loaded; the caller
// stays where it is.
bool LoadScenario(const sGameStartParams& params);
