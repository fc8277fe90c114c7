// A computer-controlled country's player as the world keeps it (one per
// country, index id - 1). The computer opponent implements it; whoever
// builds a world hands the loading a maker for them.
#pragma once

#include <functional>
#include <memory>

class cWorld;

class cComputerPlayer {
 public:
  virtual ~cComputerPlayer() = default;
  // Plays the country's turn in world, on the worker thread: every change
  // in a locked step, every wait stoppable (world/worker_steps.h).
  virtual void PlayTurn(cWorld& world) = 0;
};

using ComputerPlayerMaker = std::function<std::unique_ptr<cComputerPlayer>(int countryId)>;
