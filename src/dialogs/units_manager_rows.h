// What the units manager lists: the units of one country in one category
// (land, air, naval), either those on the map (land units aboard ships
// included, after those on the map) or those waiting in the reserve pools,
// filtered by type, each with the text of its list row; and the census of
// the filter captions. Reads the world only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cUnit;
class cWorld;

// The dialog's view that outlives one opening: kept by the map screen for
// the whole game.
struct sUnitsManagerView {
  // Bit n: type n (land), 20 + n (air), 40 + n (naval) is listed. A type
  // passes its category's filter when bit (type mod 20) is set, so the
  // artificial harbour (60) follows land type 0.
  std::uint32_t landFilter = 0xFFFFFFFFu;
  std::uint32_t airFilter = 0xFFFFFFFFu;
  std::uint32_t navalFilter = 0xFFFFFFFFu;
  bool autoCentre = true;
  int listMode = 0;  // 0 on the map, 1 to deploy
  // The unit picked in the list; the map screen deploys it after a deploy
  // order. Null when none.
  cUnit* selectedUnit = nullptr;
};

constexpr int kUnitsListOnMap = 0;
constexpr int kUnitsListToDeploy = 1;

struct sUnitsManagerRow {
  cUnit* unit = nullptr;
  std::wstring text;  // cells separated by ';'
};

// Sets or clears one bit of a mask (bits outside 0..31 change nothing).
void SetMaskBit(std::uint32_t* mask, int bit, bool set);
// The mask of the category (0 land, 1 air, 2 naval).
std::uint32_t& CategoryFilter(sUnitsManagerView& view, int category);
// Whether the type passes the mask.
bool PassesFilter(std::uint32_t mask, int type);

// The rows of the list, in the world's order.
std::vector<sUnitsManagerRow> UnitsManagerRows(cWorld& world, int countryId, int category, int listMode,
                                               std::uint32_t filter);

// The number of the country's units of the type on the map (aboard ships
// included) and in the reserve pools.
void CountUnitsOfType(const cWorld& world, int countryId, int type, int& onMap, int& inReserve);

// The hex the map centres on for the unit: a land or air unit's own hex, a
// carried unit's ship's, a ship's fleet's sea node (its main hex for a
// port, else the hex where the player's ships of the node are drawn).
// False when there is none.
bool UnitsManagerHex(const cWorld& world, const cUnit& unit, int& x, int& y);
