// The changes of a cell that keep the map's own records right: a new owner
// or controller refreshes the border bits around it, and a mark keeps the
// map's list of marked cells.
#pragma once

#include <cstdint>

class cMap;
struct sHex;

// Ownership changes: the new id, then fresh border bits on the cell and on
// its neighbours in directions 0, 4 and 5 (whose sides 3, 1 and 2 face it).
void SetHexOwner(cMap& map, sHex& hex, int countryId);
void SetHexController(cMap& map, sHex& hex, int countryId);

// Marks: a cell without marks joins the map's marked-hex list (once), then
// gains the bits and takes the value.
void SetHexMark(cMap& map, sHex& hex, std::uint32_t bits, int value);
// With removeFromList the cell leaves the marked-hex list first (even when
// other bits remain); then the bits are cleared and the value becomes -1.
void ClearHexMark(cMap& map, sHex& hex, std::uint32_t bits, bool removeFromList);

// Land beside a sea zone.
bool IsHexCoastal(const sHex& hex);
