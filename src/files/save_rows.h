// The rows of a saved game's files, as the record of the save's files
// (save_complete.txt) keeps them beside each file's size and checksum: a
// file that reads whole but holds fewer rows than the save wrote lost rows,
// which the saved-games list tells before the game is loaded.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The rows of a save's file of these bytes: for a ';'-separated table
// (".csv", "flags.txt") its whole records, comments and empty lines not
// counted, nor a last record cut short (one that stops before the end the
// game gives its rows, or of fewer fields than the rows of its kind before
// it); for "reports.dat" the reports it holds whole. Nothing for a file that is
// no table ("Info.ini", the map).
std::optional<std::uint32_t> SaveFileRows(std::wstring_view file, std::string_view bytes);
// True for the files whose rows SaveFileRows counts.
bool IsRowCountedFile(std::wstring_view file);
