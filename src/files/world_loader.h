// Starting a game: the world is built from a scenario folder (a new game) or
// from a save or play-by-e-mail folder (a game going on), in the fixed order
// of its readers, with the loading screen's progress on the way.
#pragma once

#include <string>
#include <vector>

// What the scenario menu hands over.
struct sGameStartSettings {
  // The folder as a path pattern with one "%s" left for the file name:
  // "data\scenarios\<name>\%s", "data\save\<name>\%s" or
  // "data\pbem\<name>\%s".
  std::wstring folderPattern;
  // 0: start the scenario from its beginning; 1: continue a saved game.
  int isSavedGame = 0;
};

// One loaded event as the automatic choice sees it: its options with the
// chance that the computer takes each.
struct sEventOptionChances {
  struct sOption {
    int optionId = 0;
    int chanceAI = -1;
  };
  int eventId = 0;
  std::vector<sOption> options;
};

// Deletes the loaded game (if any), builds the new one into g_pWorld, runs
// the second loading pass, the first pass of a new scenario or the set-up
// of a saved game, logs "-- Loading new scenario done!" and sets game
// state 1. Bad data ends the process (FilesFatalExit) after its log lines;
// when a test's fatal hook throws instead, no half-built world is left
// behind (g_pWorld is null).
void LoadWorld(const sGameStartSettings& settings);
