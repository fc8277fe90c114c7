// The end of a human country's turn, on the main thread: the world goes to
// phase 3, the log restarts, the game is saved as the autosave, the country
// is marked finished and the turn passes on: to the computer players (phase
// 9), to the next human country on this machine (phase 7, the new-turn
// greeting), or, in a play-by-e-mail game whose next human country belongs
// to another player, to that player (the game is saved for him and the
// phase stays 3).
#pragma once

#include <string>

class cWorld;

// What the end of a turn did, for the caller and the tests.
enum class eTurnHandOver {
  kComputerPhase,   // phase 9: the worker plays the computer countries
  kNextHuman,       // phase 7 for the next human country on this machine
  kEventsOnly,      // the next country's turn is the events check only
  kPbemHandOver,    // the game went to another play-by-e-mail player
};

// Ends the turn of the world's current country (main thread). A world
// without a next country (a scenario without its dummy country) logs the
// text of "error:_end_of_turn_from_main_thread._no_dummy_country?" and ends
// the process with code 1.
eTurnHandOver EndHumanTurn(cWorld& world);

// Saves the world quietly as the autosave (the localized text of "autosave"
// as the folder name under "data\save\") through the save transaction, so
// that a failed write leaves the previous autosave whole. False when the
// save failed (logged).
bool Autosave(const cWorld& world);

// Developer check of the map's unit occupancy: a unit on a sea hex, or a
// unit whose own position differs from the hex that records it, is logged
// ("DBGINF: ...") and shown in a warning box. Changes nothing; returns the
// number of faults found.
int CheckHexOccupancy(const cWorld& world);

// The end-turn request of the events check in a play-by-e-mail game (set by
// the worker, run by the main thread's frame move).
void RequestEndOfTurn();
// True once per request (clears it).
bool TakeEndOfTurnRequest();
