// The computer opponent of one country. The world keeps one per country
// (index = country id - 1); the worker thread asks the current country's
// player to play its turn.
#pragma once

#include <memory>
#include <vector>

#include "ai/ai_fronts.h"
#include "ai/ai_unit_lists.h"
#include "world/computer_player.h"
#include "world/map.h"

class cCountry;

class cAiPlayer : public cComputerPlayer {
 public:
  cAiPlayer() = default;
  cAiPlayer(const cAiPlayer&) = delete;
  cAiPlayer& operator=(const cAiPlayer&) = delete;

  // Plays the turn of the turn state's current country on the worker
  // thread: diplomacy, then at war the fronts, purchases, deployment, air
  // battles, attacks, the line of defence, the orders of the land units and
  // their moves, the sea invasion and transport, the naval phase and the
  // upkeep; at peace purchases, deployment, the naval phase and convoys.
  // A move it orders is stepped by the main thread (phase 10) before the
  // worker goes on; a stopping worker leaves the turn between its steps.
  void PlayTurn(cWorld& world) override;

  // What the last turn left: the unit lists, the fronts and the line of
  // defence (rebuilt by every turn before use).
  const ai::sAiUnitLists& Lists() const { return lists_; }
  const std::vector<ai::sAiFront>& Fronts() const { return fronts_; }
  const std::vector<sMapCoord>& LineOfDefence() const { return line_; }

 private:
  // The steps of a country at war and of one at peace; false when the
  // worker was asked to stop on the way.
  bool PlayWarTurn(cWorld& world, cCountry& country);
  bool PlayPeaceTurn(cWorld& world, cCountry& country);

  ai::sAiUnitLists lists_;
  std::vector<ai::sAiFront> fronts_;
  std::vector<sMapCoord> line_;
};

// The maker the loading takes for a game's computer players: one player
// plays any country, the one whose turn the turn state holds.
std::unique_ptr<cComputerPlayer> MakeAiPlayer(int countryId);
