#include "world/hex_changes.h"

#include <algorithm>

#include "world/hex.h"
#include "world/map.h"

void SetHexOwner(cMap& map, sHex& hex, int countryId) {
  hex.owner = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexController(cMap& map, sHex& hex, int countryId) {
  hex.controller = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexMark(cMap& map, sHex& hex, std::uint32_t bits, int value) {
  // A cell whose bits were cleared without leaving the list is still in it;
  // listing it again would make later passes visit it twice.
  if (!hex.markListed) {
    map.MarkedHexes().push_back(&hex);
    hex.markListed = 1;
  }
  hex.markBits |= bits;
  hex.markValue = value;
}

void ClearHexMark(cMap& map, sHex& hex, std::uint32_t bits, bool removeFromList) {
  if (removeFromList && hex.markListed) {
    auto& list = map.MarkedHexes();
    list.erase(std::remove(list.begin(), list.end(), &hex), list.end());
    hex.markListed = 0;
  }
  hex.markBits &= ~bits;
  hex.markValue = -1;
}

bool IsHexCoastal(const sHex& hex) { return hex.IsLand() && hex.seaZone != 0; }
