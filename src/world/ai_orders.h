// The computer opponent's orders: the code a land unit carries in aiOrder
// (with its target and ultimate target hexes) and the code of a fleet. The
// orders are saved with the units and fleets and stay from turn to turn;
// the computer's planning gives them and its moves carry them out.
#pragma once

// Land unit orders.
enum eAiLandOrder : int {
  kAiIdle = 0,                // no order
  kAiGarrison = 1,            // garrison the target city (the kind it asks for)
  kAiGarrisonStopGap = 2,     // garrison the target city, second choice
  kAiReserve = 3,             // reserve, no target
  kAiApproach = 4,            // approach the target (front city, follow-up)
  kAiToLine = 5,              // support a friendly front city: onto the line of defence
  kAiToFront = 6,             // move toward the nearest front city
  kAiTookCity = 7,            // took a city by an obvious move
  kAiAgainstCity = 8,         // move against an attackable enemy city
  kAiHold = 9,                // hold at all costs
  kAiToTransportPort = 10,    // go to an embarkation port for sea transport to a front
  kAiAwaitTransport = 11,     // at the port, waiting to embark
  kAiBuildUp = 12,            // build up forces at a staging city
  kAiBuildUpStuck = 13,       // the build-up move is impossible: ready
  kAiToInvasionPort = 14,     // go to an embarkation port for the sea invasion
  kAiAwaitInvasionShip = 15,  // at the port, waiting for an amphibious ship
};

// Fleet orders.
enum eAiFleetOrder : int {
  kAiFleetIdle = 0,
  kAiFleetMoved = 1,      // sent to its destination; lands its cargo there like an invasion fleet
  kAiFleetInvasion = 2,
  kAiFleetTransport = 3,
  kAiFleetEscort = 4,
  kAiFleetPatrol = 5,
};
