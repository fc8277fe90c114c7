// The eye candies of a map skin: decorative sprites drawn on map hexes,
// listed in "<skin folder>/eyecandies.csv", one hex per line: x; y; depth;
// then three sprite cells as column and row pairs.
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
