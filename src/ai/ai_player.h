// The computer opponent of one country. The world keeps one per country
// (index = country id - 1); the worker thread asks the current country's
// player to play its turn.
#pragma once

#include <memory>

#include "world/computer_player.h"

class cAiPlayer : public cComputerPlayer {
 public:
  explicit cAiPlayer(int countryId) : country_id_(countryId) {}
  cAiPlayer(const cAiPlayer&) = delete;
  cAiPlayer& operator=(const cAiPlayer&) = delete;

  int CountryId() const { return country_id_; }

  // Plays the country's turn on the worker thread; a move it orders is
  // stepped by the main thread (phase 10) before the worker goes on. The
  // turn does not call the computer's operations yet (ai_economy.h,
  // ai_fronts.h, ai_attacks.h, ai_air.h): the country passes, changing
  // nothing.
  void PlayTurn(cWorld& world) override;

 private:
  int country_id_;
};

// The maker the loading takes for a game's computer players.
std::unique_ptr<cComputerPlayer> MakeAiPlayer(int countryId);
