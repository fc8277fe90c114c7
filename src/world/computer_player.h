// A computer-controlled country's player as the world keeps it (one per
// country, index id - 1). The computer opponent implements it; whoever
// builds a world hands the loading a maker for them.
#pragma once

#include <functional>
#include <memory>

class cComputerPlayer {
 public:
  virtual ~cComputerPlayer() = default;
  // Plays the country's turn on the worker thread.
  virtual void PlayTurn() = 0;
};

using ComputerPlayerMaker = std::function<std::unique_ptr<cComputerPlayer>(int countryId)>;
