// "cities_supply_info.csv" and "cities_convoy_info.csv" of a saved game: per
// city, its row of the supply matrix (one value per country) and its row of
// convoy flags, each line starting with the city's hex.
#pragma once

#include <string_view>

class cWorld;

// Reads the supply file, then the convoy file, through the folder pattern
// (one "%s"). A value fills an entry the city's row already has; rows are
// never grown and surplus values are ignored. A line naming a hex without a
// city logs one line per value and is otherwise ignored. A missing file is
// logged and ends the process (exit code 1).
void LoadCitiesSupplyInfo(cWorld& world, std::wstring_view folderFormat);

// "<folder>\cities_supply_info.csv" and "<folder>\cities_convoy_info.csv".
void WriteCitiesSupplyInfo(const cWorld& world, std::wstring_view folder);
void WriteCitiesConvoyInfo(const cWorld& world, std::wstring_view folder);
