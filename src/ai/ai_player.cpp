#include "ai/ai_player.h"

void cAiPlayer::PlayTurn(cWorld&) {
  // The country passes: no unit moves, nothing is bought, no diplomacy.
}

std::unique_ptr<cComputerPlayer> MakeAiPlayer(int countryId) { return std::make_unique<cAiPlayer>(countryId); }
