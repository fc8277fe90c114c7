// The smaller files of a scenario or save folder: "fleets.csv",
// "commanders.csv", "unit_names.csv", "flags.txt" and "convoys.csv".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/data_rows.h"
#include "world/event_records.h"  // kEventFlagCount

class cWorld;

// Frees the world's fleets, then appends one fleet per record of at least
// 11 non-empty fields; a shorter row is skipped with a WARNING, or in a
// saved game (world.savedGame) ends the load as damaged (files::eRowLoss).
// A missing file ends the process (exit 1).
void LoadFleets(cWorld& world, std::wstring_view folderFormat);
// Frees the world's commanders, then appends one per record of at least 7
// non-empty fields, leading no unit yet; a shorter row as for the fleets.
// A missing file ends the process.
void LoadCommanders(cWorld& world, std::wstring_view folderFormat);
// Sets the countries' unit-name patterns (needs the countries): each row
// sets the pattern of every country its columns name, so a later row of a
// slot changes only the countries of its own columns (logged with both
// lines). Keeps the whole file in keptBytes for the save, byte for byte but
// for a last line without a line end, which gains one. A slot number
// outside 1..17 or a header country id outside the countries is logged and
// passed over. In a saved game's copy a last line without its line end (a
// row cut inside its text) ends the load as damaged. A missing file ends
// the process.
void LoadUnitNameTemplates(cWorld& world, std::wstring_view folderFormat, std::string& keptBytes);
// flags becomes kEventFlagCount zeros with the values of the file; a flag
// number outside 0..39999 is logged and its line passed over, and a flag
// given twice is warned about with both lines and takes the later value
// (in a saved game's file, loss kRefuse, either ends the load as a row that
// does not read does, and so does a last line without its line end). A
// missing file ends the process.
void LoadFlags(std::wstring_view folderFormat, std::vector<int>& flags, files::eRowLoss loss);
// Appends the convoys of the file to the world's convoy store (sized to the
// countries first). Needs the countries, the map with its cities and the sea
// graph: each port id becomes the city on the main hex of that sea node. A
// row whose owner is no country, or whose port id names no node or a node
// without a city, is logged and passed over. A convoy id given twice is
// warned about with both lines and the later convoy takes a free id (in a
// saved game the load ends as damaged). A missing file ends the process.
void LoadConvoys(cWorld& world, std::wstring_view folderFormat);

// The writers, each into "<folder>\<file>".
void WriteFleets(const cWorld& world, std::wstring_view folder);
void WriteCommanders(const cWorld& world, std::wstring_view folder);
// The kept bytes unchanged.
void WriteUnitNames(std::wstring_view folder, std::string_view keptBytes);
// "# flag no;flag value" and a line per non-zero flag, each line ended by
// CR LF.
void WriteFlags(std::wstring_view folder, const std::vector<int>& flags);
void WriteConvoys(cWorld& world, std::wstring_view folder);
