// The eye candies of a scenario: decorative sprites of the map skin's
// picture drawn on map hexes, listed in "<folder>/eyecandies.csv", one hex
// per line: x; y; depth; then three sprite cells as column and row pairs.
#pragma once

#include <string_view>
#include <vector>

#include "world/map.h"

// Fills the per-hex records (row-major, width x height; the caller has reset
// them and checked that the skin has an eye-candy picture). A file that
// cannot be opened is logged and leaves the records as they are; a line of
// fewer than five fields, a field that is no whole number, a missing field
// or a hex outside the grid is logged and skipped. A later line for the
// same hex replaces the earlier one.
void LoadEyeCandies(std::vector<sEyeCandy>& records, int width, int height, std::wstring_view folder);

// The map's eye candies for a map skin: every record of the map is reset;
// then, when the skin has its eye-candy picture, the table of the folder
// (the loaded scenario's, "data\scenarios\<name>") is read into them.
void LoadMapEyeCandies(cMap& map, bool skinHasPicture, std::wstring_view folder);
