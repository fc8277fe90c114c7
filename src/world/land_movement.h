// The movement range of a land unit: which hexes it can reach with its
// action points, paying per hex by terrain, enemy zones of control and
// weather, and the map marks that show the range (4 points to spare, 8 few
// points left, 16 none left).
//
// The search works on a square grid of cells centred on the unit, sized from
// the action points. It reuses one scratch buffer per thread, so after the
// first queries of a size it allocates nothing; the range is used both by
// the main thread (unit panel, map input) and by the worker thread
// (computer opponent).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class cMap;
class cJednostka;
class cJednostkaLadowa;

// Mark bits of the range and of deploy hexes.
constexpr std::uint32_t kMarkMoveSpare = 4;
constexpr std::uint32_t kMarkMoveFew = 8;
constexpr std::uint32_t kMarkMoveNone = 16;
constexpr std::uint32_t kMarkMoveAll = kMarkMoveSpare | kMarkMoveFew | kMarkMoveNone;
constexpr std::uint32_t kMarkDeploy = 64;

// The scenario constants the land movement reads.
struct sLandMoveRules {
  // Terrains 1..7, then one value for every other terrain (water included).
  std::array<int, 8> terrainCost{1, 1, 1, 1, 1, 1, 1, 1};
  int zoneOfControlCost = 0;
  float winterFactor = 0.0f;  // percent
  float mudFactor = 0.0f;     // percent
  // Remaining points at or below which a hex is marked 8, by land warfare
  // doctrine level 0..5.
  std::array<int, 6> fewPointsThreshold{};
};

// How the moving unit's country stands towards every other country, by id.
// Built once per query from the world; reuses its storage.
class cLandMoveRelations {
 public:
  // Index 0 is "no controller": passable, at war with nobody.
  void Resize(int countryCount);
  void Set(int countryId, bool passable, bool atWar);
  // Ids outside the table are neither passable nor at war.
  bool IsPassable(int controller) const {
    return controller >= 0 && controller < static_cast<int>(passable_.size()) && passable_[controller];
  }
  bool IsAtWar(int countryId) const {
    return countryId >= 0 && countryId < static_cast<int>(at_war_.size()) && at_war_[countryId];
  }

 private:
  std::vector<std::uint8_t> passable_;
  std::vector<std::uint8_t> at_war_;
};

// What the search needs of a unit standing on a hex.
struct sHexOccupant {
  int country = 0;
  bool visible = false;  // spotted by the country whose view is shown
};
using HexOccupantFn = sHexOccupant (*)(const cJednostka* unit);

// The moving unit, reduced to what the search reads.
struct sLandMover {
  const cJednostkaLadowa* unit = nullptr;  // written into every entry
  int x = 0, y = 0;
  int actionPoints = 0;
  int startingActionPoints = 0;
  int freezeTime = 0;
  bool movedOrDeployed = false;
  bool harbour = false;
  int doctrineLevel = 0;
  float winterMovePercent = 0.0f;
  float mudMovePercent = 0.0f;
};

// One reachable hex: the unit, the hex, the direction back towards the hex
// it is reached from (or, for the one-step moves, from the unit to it) and
// the action points it costs.
struct sLandMoveEntry {
  const cJednostkaLadowa* unit = nullptr;
  int x = 0, y = 0;
  int direction = 0;
  int cost = 0;
};

// Clears the bits on every listed marked cell (the value stays), drops the
// cells left without marks from the list and, with clearAll, clears bit 24
// on every cell of the map.
void ClearMapMarks(cMap& map, std::uint32_t bits, bool clearAll);

// Computes the range into out (emptied first) and returns the number of
// entries. Unless countOnly the range is also marked on the map; with
// countOnly every enemy unit counts as seen.
int ComputeLandMoveRange(cMap& map, const sLandMover& mover, const sLandMoveRules& rules,
                         const cLandMoveRelations& relations, HexOccupantFn occupant,
                         bool countOnly, std::vector<sLandMoveEntry>& out);

