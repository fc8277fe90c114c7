// "topography.csv" of a saved game: per country, the groups of cities joined
// by land as they stood at the beginning of the turn (strategic movement
// keeps them and hands them back for saving).
#pragma once

#include <string_view>
#include <vector>

#include "world/topography.h"

class cWorld;

// Reads the file through the folder pattern (one "%s") into one list of
// groups per country of the world. "Country;<id>;" selects the country,
// "New Group;" starts a group, "City;<x>;<y>;" appends the city on that hex.
// A missing file, or a line with an unknown key and a value, is logged and
// ends the process (exit code 1). A wrong country id, a group or city line
// without its country or group, and a hex without a city are logged and
// the line is skipped.
CountryTopographies LoadTopography(const cWorld& world, std::wstring_view folderFormat);

// "<folder>\topography.csv" from the per-country groups (index id - 1; a
// country beyond the vector writes no groups).
void WriteTopography(const cWorld& world, const CountryTopographies& groups, std::wstring_view folder);
