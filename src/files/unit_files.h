// "land_units.csv", "air_units.csv" and "naval_units.csv": the units of a
// scenario or save folder, their entry into the hexes of the map, and their
// writing into a save folder.
#pragma once

#include <string_view>

class cWorld;

// Each reader empties its list (destroying its units) and appends one unit
// per record of its column count (33, 19, 14; empty fields are dropped,
// comments passed over). A shorter row is skipped with a WARNING naming the
// file and line, a longer one warned about; a field that is not a number,
// or an id, type, country id, coordinate or level out of range, ends the
// load as a fatal data error; strength, supply and hit points out of range
// are brought into range with a WARNING. A unit id given twice is warned
// about and both units are kept: the one the id goes on meaning (the
// first of the file; of ships the first not in reserve) keeps it, the other
// takes a free id (above every id in use; once the greatest int is in use,
// the lowest free one) named in a second WARNING; a land or air unit keeps
// the row's id as its scenario id (cJednostka::IdInScenario, by which the
// scenario's events name it). A scenario's row is read from the table's
// columns (33, 19, 14): the fields past them are ignored with a WARNING. A
// saved game's land or air row may hold one column more, the scenario id
// the game saved with the unit; a row without it (a save of an earlier
// game) gives the row's own id. A file without its rows is warned about
// too: one empty or cut inside its header (a land file holding its header
// alone, in either layout, is a table of none, warned about in a saved game
// too). In a saved game (world.savedGame) each of these WARNINGs is an
// ERROR that ends the load (files::eRowLoss). A unit whose commander exists
// becomes that commander's unit, so "commanders.csv" must be read first. A saved game's air or ship file whose rows stop before
// the "#In reserve" line its writer puts after them was cut: its load ends.
// A file that cannot be opened logs
// "Blad otwarcia pliku! (nie istnieje?)" and ends the process (exit 1).
// folderFormat holds one "%s" for the file name.
void LoadLandUnits(cWorld& world, std::wstring_view folderFormat);
// Invalid rows (in reserve but on a hex, or on no hex but not in reserve)
// are logged, listed at the end and announced once in a message box.
void LoadAirUnits(cWorld& world, std::wstring_view folderFormat);
// Fills the ship list; each ship keeps its fleet id for PlaceShipsInFleets (files/world_loader.h).
void LoadNavalUnits(cWorld& world, std::wstring_view folderFormat);

// The placement checks after the land and the air file: every unit of the
// land list (then of the air list) with a position other than -1 is entered
// into its hex. A unit on an occupied hex, or on a hex outside the map, is
// logged and not entered; after the whole list any such unit ends the
// process (exit 1). Needs the map.
void PlaceLoadedLandUnits(cWorld& world);
void PlaceLoadedAirUnits(cWorld& world);

// The columns the land and air files are written with: a scenario's are the
// table's own; a save's rows end with one more, the id the unit's scenario
// gave it (IdInScenario), so that a unit the game gave a free id goes on
// answering to its scenario's events in the saved game.
enum class eUnitFileLayout { kScenario, kSave };

// "<folder>\land_units.csv": the map, transport and amphibious lists, then
// the land units of the reserve pool.
void WriteLandUnits(const cWorld& world, std::wstring_view folder, eUnitFileLayout layout = eUnitFileLayout::kSave);
// "<folder>\air_units.csv": the air list under "#On map", the reserve
// pool's air units under "#In reserve".
void WriteAirUnits(const cWorld& world, std::wstring_view folder, eUnitFileLayout layout = eUnitFileLayout::kSave);
// "<folder>\naval_units.csv": the ship list, then the ship reserve pool
// (fleet id -1; a reserve ship keeps its commander).
void WriteNavalUnits(const cWorld& world, std::wstring_view folder);
