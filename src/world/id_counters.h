// The ids the game hands to the records it makes: land units, air units,
// ships, fleets and convoys count up from the greatest id in use, and no
// count goes past the greatest int. A file may hold any positive id, the
// greatest int too: the ids above it are then used up, and each new id is
// the lowest free one instead.
#pragma once

#include <unordered_set>

class cWorld;

// The kinds of record whose ids the game counts up.
enum class eIdKind : int { kConvoy, kFleet, kShip, kLandUnit, kAirUnit };

// The lowest id from `from` up, then (past the greatest int) from 1 up,
// that `used` does not hold; ids are positive. 0 only when `used` holds
// every positive int.
int LowestFreeId(const std::unordered_set<int>& used, int from = 1);
// The id a new record takes beside records holding `used`: one above the
// greatest of them, or, when that is the greatest int, the lowest free id.
int NewIdBeside(const std::unordered_set<int>& used);
// The ids the world's records of the kind hold: the reserve pools count,
// so do the land units aboard ships.
std::unordered_set<int> IdsInUse(cWorld& world, eIdKind kind);

// The ids that the next new record of each kind receives; recomputed from
// the loaded records at the end of a load.
struct sIdCounters {
  int nextConvoyId = 1;
  int nextFleetId = 1;
  int nextShipId = 1;
  int nextLandUnitId = 1;
  int nextAirUnitId = 1;
  // The kinds (bit 1 << kind) whose count has reached the greatest int:
  // their counter then says where the search for the next free id begins.
  unsigned usedUp = 0;

  // Sorts the world's fleet and ship lists by id, then derives every
  // counter from the greatest id in use.
  void Recompute(cWorld& world);
  // The id of a new record of the kind. While every id from the counter up
  // is free, the counter's, and the counter counts on; once the greatest
  // int is given, the lowest id from the counter up (then from 1 up) that
  // no record of the kind in the world holds, the counter going on past
  // it, so that records made before any joins the world's lists never
  // share one. Every positive id in use at once ends the process (exit 1).
  int Take(cWorld& world, eIdKind kind);
};
