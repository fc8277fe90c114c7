// Saving a game as one transaction: every file of the save is written into
// a fresh folder beside the target ("<name>.tmp-<pid>"), flushed to the disk
// with a marker written last, and only then swapped in: the two folders
// exchange their names in one step where the file system can, otherwise the
// old save steps aside ("<name>.old-<pid>") and the new one takes its name.
// A failed write (disk full, no permission, a broken path) leaves the
// previous save exactly as it was and comes back to the caller as a failed
// result instead of ending the process; a process killed at any moment
// leaves the old save or the new one under the name, or a complete copy that
// the loader and the saved-game list take back (files/save_folders.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/info_ini_file.h"
#include "files/topography_file.h"

class cWorld;

// A save folder name holds at most this many characters, so that
// "data\save\" and the name make at most 64.
constexpr std::size_t kMaxSaveNameLength = 54;

// One file (or group of files) of a save: writes into the folder given and
// returns false when it could not. A writer that ends the process on a
// failed write is caught by the transaction and counts as false.
struct sSaveStep {
  std::wstring fileName;
  std::function<bool(const std::wstring& folder)> write;
};

struct sSaveResult {
  bool ok = false;
  // "data\save\<name>" or "data\pbem\<name>" (empty for a refused name).
  std::wstring folder;
  // Why the save failed, for the save dialog or the log.
  std::wstring error;
};

// The typed name as it is saved: blanks cut from both ends, then cut to
// kMaxSaveNameLength characters. The save-game dialog uses it before the
// existence test and the overwrite question.
std::wstring CleanSaveName(std::wstring_view typedName);
// True for a cleaned name that stays one folder below the save folder (not
// empty, not ".", no "..", no path separator, ":" or "%"), that the lists
// of saved games can show (no leading dot, which hides a folder; no ";" or
// "|", which part a list row into cells) and that is not the name of a copy
// a save makes while it runs.
bool IsValidSaveName(std::wstring_view cleanedName);
// True when "data\save\<cleaned name>" exists and is a folder.
bool SaveFolderExists(std::wstring_view typedName);

// The writers of a save in their order, over the world (every file a
// loaded game needs, the world's report list and automatic events included).
std::vector<sSaveStep> StandardSaveSteps(const cWorld& world);

// Saves the world under the typed name into "data\save\" (pbem: into
// "data\pbem\").
sSaveResult SaveGame(const cWorld& world, std::wstring_view name, bool pbem);
// The transaction itself over any list of steps.
sSaveResult SaveGameSteps(std::wstring_view name, bool pbem, const std::vector<sSaveStep>& steps);

// The steps of the transaction at which a test can inject a fault.
enum class eSaveStage {
  kWriteFile,    // before each file (group) is written; fileName is the step's
  kFlushFile,    // before the written files are flushed (all in one go)
  kWriteMarker,  // before the marker is written
  kFlushFolder,  // before the marker and the new folder are flushed
  kExchange,     // before the two folders exchange names
  kStepAside,    // before the old save is renamed to its ".old-" copy
  kRenameIn,     // before the new folder is renamed to the save's name
  kFlushParent,  // before the save folder is flushed after the swap
  kRemoveOld,    // before the old save is removed
};

// For tests: called before every step of the transaction with the stage,
// the file name (empty where there is none) and the folder it works in.
// Returns 0 to let the step run, or an error number the step then fails
// with as if the system had reported it (EINVAL at kExchange: the file
// system cannot exchange). Returns the previous hook; an empty hook removes
// it.
using SaveStepHook = std::function<int(eSaveStage stage, const std::wstring& fileName, const std::wstring& folder)>;
SaveStepHook SetSaveStepHook(SaveStepHook hook);
