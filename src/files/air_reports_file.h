// The two optional per-country files of a scenario or save folder:
// "airrecon_units.csv", the hexes where each country has spotted enemy units
// from the air, and "airship_attacks.csv", the air-attack reports each
// country has not yet been shown. Every save writes both; a folder without
// them loads with empty lists.
#pragma once

#include <functional>
#include <string_view>

class cUnit;
class cWorld;

// The unit standing on a hex, or null. The loader supplies it (the hex
// record names its land unit by the land-unit class).
using UnitAtHexFn = std::function<cUnit*(int x, int y)>;

// Reads "airrecon_units.csv" through the folder pattern (one "%s"). A
// "Country;<id>;" line selects the country; a "<x>;<y>;" line appends the
// unit standing there to that country's spotted units. A missing file is
// logged and leaves every list as it is; a line that does not convert, an
// unknown country id, or a hex before any country line is logged and
// skipped.
void LoadAirReconHexes(cWorld& world, std::wstring_view folderFormat, const UnitAtHexFn& unitAt);
// The same with the land unit standing on the world map's hex.
void LoadAirReconHexes(cWorld& world, std::wstring_view folderFormat);

// Reads "airship_attacks.csv" (UTF-16LE, LF line ends): "<country id>;<text>"
// lines append the text to that country's report list. A missing file is
// logged; a line without a valid country id is logged and skipped.
void LoadAirshipAttackReports(cWorld& world, std::wstring_view folderFormat);

// "<folder>\airrecon_units.csv": each spotted unit at its current hex.
void WriteAirReconUnits(const cWorld& world, std::wstring_view folder);
// "<folder>\airship_attacks.csv": every country's reports in id order.
void WriteAirshipAttacks(const cWorld& world, std::wstring_view folder);
