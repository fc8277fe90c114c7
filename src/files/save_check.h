// What can be told of a saved game's folder without loading it: the header
// it needs to load at all, and, when the save left its marker
// ("save_complete.txt"), each file it wrote at the size it wrote. The
// scenario menu lists a save that fails as damaged and refuses to start it.
//
// A folder without a marker (a save of a version of the game that wrote
// none) is judged by its header alone: the loader decides the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class cIniFile;

enum class eSaveDamage {
  // "Info.ini" is missing or cannot be read.
  kNoHeader,
  // "Info.ini" has no "Save/ScenarioName", or one that names no scenario
  // folder (empty, a path).
  kNoScenarioName,
  // A file the marker names is not in the folder.
  kFileMissing,
  // A file the marker names is not of the size the save wrote.
  kFileSize,
};

struct sSaveDamage {
  eSaveDamage kind = eSaveDamage::kNoHeader;
  // kFileMissing, kFileSize: the file's name.
  std::wstring file;
  // kFileSize: the size the save wrote and the size found.
  std::uintmax_t savedSize = 0;
  std::uintmax_t foundSize = 0;
};

// The first damage of the saved game in folder, whose "Info.ini" the caller
// has loaded into header (not loaded: kNoHeader); nothing when it may load.
std::optional<sSaveDamage> FindSaveDamage(const std::wstring& folder, const cIniFile& header);
