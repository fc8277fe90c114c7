// The world's side of the turn flow: its computer players and the steps the
// worker thread calls at the end of an impulse.
#include "ai/ai_player.h"
#include "world/gra.h"

void cWorld::CreateAiPlayers() {
  aiPlayers.clear();
  aiPlayers.reserve(countries_.size());
  for (std::size_t i = 0; i < countries_.size(); ++i) {
    aiPlayers.push_back(std::make_unique<cAiPlayer>(static_cast<int>(i) + 1));
  }
}

// Interim: the settling of the world after an impulse (weather, supply,
// production, sieges, the date) is not built yet, so an impulse ends with
// the world unchanged.
void cWorld::EndImpulse(bool) {}

// Interim: the scenario's events are not read yet, so there is nothing to
// check.
void cWorld::CheckEvents() {}
