// "cities.csv": the cities of the map, required in every scenario and save
// folder. Eight columns: name, hex x, hex y, type, victory points,
// production points (a decimal number), supply, production points lost to
// strategic bombing.
#pragma once

#include <string_view>

class cWorld;

// Frees the world's cities, then appends one city per record of at least
// eight non-empty fields (empty fields are dropped, comments passed over;
// a shorter row is skipped with a WARNING naming file and line), each
// entered into the hex at its position. A hex outside the map, a second
// city on one hex, an unknown city type or a field that is not a number
// ends the load as a fatal data error; points and supply out of range are
// clamped with a WARNING. A file that cannot be opened logs
// "Blad otwarcia pliku! (nie istnieje?)" and ends the process (exit 1).
// folderFormat holds one "%s" for the file name.
void LoadCities(cWorld& world, std::wstring_view folderFormat);

// "<folder>\cities.csv": the header and one row per city in list order.
void WriteCities(const cWorld& world, std::wstring_view folder);
