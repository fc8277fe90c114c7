// What can be told of a saved game's folder without loading it: the header
// it needs to load at all, and, when the save left its marker
// ("save_complete.txt"), whether each file it wrote is still there with the
// size and the checksum it wrote. A missing header or file is damage: the
// scenario menu lists such a save as damaged and refuses to start it. A file
// of another size or checksum is a change (a hand edit, say), which the
// loader may well take: the menu names the changed files and asks before it
// loads the save. A changed table that holds fewer rows than the save wrote
// lost rows: the menu says which file lost how many before it asks. The
// loader itself refuses a saved game whose rows do not all read
// (files::eRowLoss), changed or not.
//
// A marker of an older version keeps sizes (and checksums) only: its files
// are judged by them, without rows. A marker that does not read whole
// (garbled, cut short, leaving out a file of the save) is itself a change:
// the save is asked about, never taken as unchecked, and each of its lines
// that reads still tells whether its own file changed or lost rows. A folder
// without a marker (a save of a version of the game that wrote none) is
// judged by its header alone: the loader decides the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class cIniFile;

enum class eSaveDamage {
  // "Info.ini" is missing or cannot be read.
  kNoHeader,
  // "Info.ini" has no "Save/ScenarioName", or one that names no scenario
  // folder (empty, a path).
  kNoScenarioName,
  // A file the marker names is not in the folder.
  kFileMissing,
};

struct sSaveDamage {
  eSaveDamage kind = eSaveDamage::kNoHeader;
  // kFileMissing: the file's name.
  std::wstring file;
};

// A changed table of fewer rows than the save wrote.
struct sLostRows {
  std::wstring file;
  std::uint32_t rows = 0;       // the rows it holds now
  std::uint32_t savedRows = 0;  // the rows the save wrote
  bool operator==(const sLostRows&) const = default;
};

struct sSaveCheck {
  // The first damage found; the save cannot load.
  std::optional<sSaveDamage> damage;
  // The files the marker names that are there at another size or checksum
  // than the save wrote, in the marker's order; first the marker itself
  // when it does not read whole.
  std::vector<std::wstring> changedFiles;
  // The changed files that lost rows, in the same order.
  std::vector<sLostRows> lostRows;
};

// The check of the saved game in folder, whose "Info.ini" the caller has
// loaded into header (not loaded: kNoHeader).
sSaveCheck CheckSavedGame(const std::wstring& folder, const cIniFile& header);
