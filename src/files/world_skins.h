// The map and unit skins of a loaded game: the skin's pictures and tables
// (app/skins.h) and what the world takes from them, the decorations of the
// scenario placed for the map skin and every country's unit sheet.
#pragma once

#include <string_view>

class cWorld;

void LoadWorldMapSkin(cWorld& world, std::wstring_view name);
void LoadWorldUnitsSkin(cWorld& world, std::wstring_view name);
