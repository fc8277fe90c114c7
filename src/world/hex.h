// One cell of the hex map and the geometry of the offset-column grid.
//
// Cells sit in columns x and rows y. A column is 83 map pixels wide and a row
// 98 high; every even column is drawn half a row (49 pixels) lower than the
// odd columns beside it, which fixes the neighbour rule below.
#pragma once

#include <cstdint>

class cCity;
class cJednostka;
class cMap;

// Terrain codes; 0 is water, every other value is land.
enum eTerrain : std::uint8_t {
  kTerrainWater = 0,
  kTerrainPlain = 1,
  kTerrainForest = 2,
  kTerrainRough = 3,
  kTerrainSwamp = 4,
  kTerrainHill = 5,
  kTerrainMountain = 6,
  kTerrainDesert = 7,
};

// Sides, clockwise from the top.
enum eHexDirection : int {
  kDirNorth = 0,
  kDirNorthEast = 1,
  kDirSouthEast = 2,
  kDirSouth = 3,
  kDirSouthWest = 4,
  kDirNorthWest = 5,
};

constexpr int kHexColumnWidth = 83;
constexpr int kHexRowHeight = 98;
constexpr int kHexEvenColumnDrop = 49;

// Bit 6 of a water hex's river mask: the side bits were added as river
// mouths, so the hex never reads as having a river itself.
constexpr std::uint8_t kRiverMouthBit = 64;
// Sea-zone border bits of borderFlags for sides 1, 2 and 3.
constexpr std::uint16_t kSeaBorderSide1 = 64;
constexpr std::uint16_t kSeaBorderSide2 = 128;
constexpr std::uint16_t kSeaBorderSide3 = 256;

struct sHex {
  std::int16_t x = -1;
  std::int16_t y = -1;
  std::uint8_t terrain = 0;
  std::uint8_t riverMask = 0;
  std::uint16_t borderFlags = 0;
  std::uint8_t tileVariant = 0;
  std::uint8_t controller = 0;
  std::uint8_t owner = 0;
  std::uint8_t originalOwner = 0;
  cCity* city = nullptr;
  std::uint8_t extra = 0;  // carried unchanged between the map file and the cell
  std::uint16_t seaZone = 0;
  std::uint8_t coastal = 0;
  std::uint16_t seaNode = 0;
  std::uint8_t fortification = 0;
  std::uint32_t weather = 0;  // 0 good, 1 snow, 2 mud
  std::uint32_t markBits = 0;
  std::int32_t markValue = -1;
  // The land or air unit standing on the cell (ships never stand on a hex).
  cJednostka* unit = nullptr;
  std::uint8_t mudChance[12] = {};
  std::uint8_t winterChance[12] = {};
  std::uint8_t hasWeather = 1;
  // Set while the cell is in its map's marked-cell list, so that listing
  // stays a constant-time test (kept by SetHexMark, ClearHexMark and
  // ClearMapMarks).
  std::uint8_t markListed = 0;

  bool IsWater() const { return terrain == kTerrainWater; }
  bool IsLand() const { return terrain != kTerrainWater; }
  bool HasNoMarks() const { return markBits == 0; }

  // The river sides: entry d is set for each river bit d; a mask of 0 or
  // above 63 (a water hex with mouth marks) gives all false.
  void ZwrocWektorRzek(bool out[6]) const;
  // Bit side of riverMask; false for a mask above 63 or a side above 5.
  bool HasRiverOnSide(int side) const;
  // Land cells only: for each of sides 1, 2, 3 whose neighbour exists, sets
  // the owner bit when the neighbour is land with another owner (else clears
  // it) and the controller bit likewise; sides without a neighbour keep
  // their bits.
  void UpdateBorderFlags(const cMap& map);
};

// Column parity as a signed remainder: a negative odd column counts as odd.
inline bool IsOddColumn(int x) { return x % 2 != 0; }

// Coordinates of the neighbour of (x, y) in direction dir (0..5), with no
// bounds test. Returns false, leaving nx and ny untouched, for another dir.
bool HexNeighbourCoords(int x, int y, int dir, int& nx, int& ny);

// Number of steps between two hexes on an unbounded grid.
int HexDistance(int x1, int y1, int x2, int y2);
