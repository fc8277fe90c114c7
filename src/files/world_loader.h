// Starting a game: the world is built from a scenario folder (a new game) or
// from a save or play-by-e-mail folder (a game going on), in the fixed order
// of its readers, with the loading screen's progress on the way.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "world/computer_player.h"

class cWorld;
class cWorldView;

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

// What the layers above the files add to a world while it loads: its
// computer players, its view (the map screen, made at 60 per cent) and the
// end of an impulse that a new scenario runs once. Each may be empty.
struct sWorldLoadHooks {
  ComputerPlayerMaker makeComputerPlayer;
  std::function<std::unique_ptr<cWorldView>(cWorld&)> makeView;
  std::function<void(cWorld&)> endImpulse;
};

// Deletes the loaded game (if any), builds the new one into g_pWorld (it is
// the loaded game from the first reader on, so the readers reach it there),
// reads the folder in the fixed order with the loading screen's progress,
// runs the second loading pass, the first pass of a new scenario or the
// set-up of a saved game, logs "-- Loading new scenario done!" and sets
// game state 1. Bad data ends the process (FatalExit) after its log lines;
// when a test's fatal hook throws instead, no half-built world is left
// behind (g_pWorld is null).
void LoadWorld(const sGameStartSettings& settings, const sWorldLoadHooks& hooks = {});

// A scenario copied into a folder of its own that still names the original
// in its header's Save/ScenarioName or in a line of its event list: the
// ERROR line with which its loading would end the program, found before
// anything is read, so that a game start can refuse it and go on. None for
// a scenario that names its own folder throughout, and for a header that
// names no folder at all (its loading ends on that).
std::optional<std::wstring> CopiedScenarioRefusal(std::wstring_view folderPattern);

// The loading screen's bar: receives the per-cent steps of the loading (and
// renders a frame). Set by the loading screen; unset, the steps go nowhere.
extern std::function<void(int percent)> g_OnWorldLoadingProgress;

// The second loading pass: links the loaded records and builds the tables
// no file stores (graphs, convoys, id counters, computer data).
void FinishLoading(cWorld& world);
// The linking passes of the second pass, in their order there.
void MoveReserveShipsToPool(cWorld& world);
void PlaceShipsInFleets(cWorld& world);
void LinkLandUnitsToTransports(cWorld& world);
void MoveReserveUnitsToPool(cWorld& world);
// A new scenario: for each event the option of greatest chance (the first
// of equal ones, at least 0) becomes its automatic choice.
void SeedAutoEventsFromEvents(cWorld& world, const std::vector<sEventOptionChances>& events);
