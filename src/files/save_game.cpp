#include "files/save_game.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwctype>
#include <exception>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "app/console_log.h"
#include "app/file_text.h"
#include "files/ai_data_file.h"
#include "files/air_reports_file.h"
#include "files/auto_events_file.h"
#include "files/cities_file.h"
#include "files/city_rows_file.h"
#include "files/countries_file.h"
#include "files/fleet_files.h"
#include "app/fatal_exit.h"
#include "files/matrices_file.h"
#include "files/reports_file.h"
#include "files/save_folders.h"
#include "files/unit_files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_stepHookMutex;
SaveStepHook g_stepHook;

SaveStepHook CurrentStepHook() {
  std::lock_guard<std::mutex> lock(g_stepHookMutex);
  return g_stepHook;
}

// Thrown by the fatal-exit hook while a save runs: a writer that would end
// the process on a failed write ends only its step.
struct sSaveWriteAborted {};

fs::path SaveDiskPath(const std::wstring& path) { return fs::path(plat::ResolvePath(path)); }

bool IsFolder(const std::wstring& path) {
  std::error_code ec;
  return fs::is_directory(SaveDiskPath(path), ec);
}

bool Exists(const std::wstring& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(SaveDiskPath(path), ec));
}

void RemoveTree(const std::wstring& path) {
  std::error_code ec;
  fs::remove_all(SaveDiskPath(path), ec);
}

// The hook's answer for a stage: 0 lets it run.
int Stage(eSaveStage stage, const std::wstring& fileName, const std::wstring& folder) {
  const SaveStepHook hook = CurrentStepHook();
  return hook ? hook(stage, fileName, folder) : 0;
}

// The regular files of a folder, sorted by name.
std::vector<std::wstring> FilesOf(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code error;
  fs::directory_iterator it(SaveDiskPath(folder), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && !typeError) names.push_back(plat::FromUtf8(it->path().filename().string()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Two folders exchange their names in one step: 0 or the error number.
int ExchangeFolders(const fs::path& a, const fs::path& b) {
  return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0 ? 0 : errno;
}

// The errors with which a kernel or file system says it cannot exchange.
bool ExchangeUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }

// Runs one step; false when it reported a failure, ended by a fatal write
// error or threw.
bool RunStep(const sSaveStep& step, const std::wstring& folder) {
  try {
    if (Stage(eSaveStage::kWriteFile, step.fileName, folder) != 0) return false;
    return step.write && step.write(folder);
  } catch (const sSaveWriteAborted&) {
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

sSaveResult Fail(sSaveResult result, std::wstring error) {
  result.ok = false;
  result.error = std::move(error);
  g_ConsoleLog.WriteLine(L"Saving game failed: " + result.error);
  return result;
}

// A writer that reports nothing itself: its failures come through the
// fatal exit, which the transaction turns into a failed step.
template <typename Fn>
sSaveStep Step(const wchar_t* fileName, Fn fn) {
  return sSaveStep{fileName, [fn](const std::wstring& folder) {
                     fn(folder);
                     return true;
                   }};
}

}  // namespace

std::wstring CleanSaveName(std::wstring_view typedName) {
  std::size_t begin = 0, end = typedName.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(typedName[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(typedName[end - 1]))) --end;
  std::wstring name(typedName.substr(begin, end - begin));
  if (name.size() > kMaxSaveNameLength) name.resize(kMaxSaveNameLength);
  return name;
}

bool IsValidSaveName(std::wstring_view cleanedName) {
  if (cleanedName.empty() || cleanedName == L".") return false;
  // ".." anywhere could climb out of the save folder once joined into a
  // path; ":" and "%" would be read as a drive or a format elsewhere.
  if (cleanedName.find(L"..") != std::wstring_view::npos) return false;
  // A hidden folder is never listed; ";" and "|" split a list row.
  if (cleanedName.front() == L'.') return false;
  for (const wchar_t c : cleanedName) {
    if (c == L'\\' || c == L'/' || c == L'\0' || c == L':' || c == L'%' || c == L';' || c == L'|') return false;
  }
  // "<name>.tmp-<pid>" and "<name>.old-<pid>" are the transaction's own.
  return !ParseSaveCopyName(cleanedName).has_value();
}

bool SaveFolderExists(std::wstring_view typedName) {
  const std::wstring name = CleanSaveName(typedName);
  if (!IsValidSaveName(name)) return false;
  return IsFolder(L"data\\save\\" + name);
}

std::vector<sSaveStep> StandardSaveSteps(const cWorld& world) {
  const cWorld* w = &world;
  std::vector<sSaveStep> steps;
  steps.push_back(Step(L"ai_data.csv", [w](const std::wstring& f) { WriteAiData(*w, f); }));
  steps.push_back(Step(L"air_units.csv", [w](const std::wstring& f) { WriteAirUnits(*w, f); }));
  steps.push_back(Step(L"cities.csv", [w](const std::wstring& f) { WriteCities(*w, f); }));
  steps.push_back(Step(L"sea_nodes.csv", [w](const std::wstring& f) { WriteSeaNodes(*w, f); }));
  steps.push_back(Step(L"cities_supply_info.csv", [w](const std::wstring& f) { WriteCitiesSupplyInfo(*w, f); }));
  steps.push_back(Step(L"cities_convoy_info.csv", [w](const std::wstring& f) { WriteCitiesConvoyInfo(*w, f); }));
  steps.push_back(Step(L"commanders.csv", [w](const std::wstring& f) { WriteCommanders(*w, f); }));
  // The convoy writer reads the store through a non-const look-up only.
  steps.push_back(Step(L"convoys.csv", [w](const std::wstring& f) { WriteConvoys(const_cast<cWorld&>(*w), f); }));
  steps.push_back(Step(L"countries.csv", [w](const std::wstring& f) { WriteCountries(*w, f); }));
  steps.push_back(Step(L"flags.txt", [w](const std::wstring& f) { WriteFlags(f, w->eventFlags); }));
  steps.push_back(Step(L"fleets.csv", [w](const std::wstring& f) { WriteFleets(*w, f); }));
  steps.push_back(Step(L"land_units.csv", [w](const std::wstring& f) { WriteLandUnits(*w, f); }));
  steps.push_back(Step(L"losses.csv", [w](const std::wstring& f) { WriteLosses(*w, f); }));
  // The map writer reports its failure itself. It changes nothing in the
  // map but is not declared const.
  steps.push_back(sSaveStep{L"map.tdw", [w](const std::wstring& f) {
                              return const_cast<cMap&>(w->GetMap()).SaveMapFile(f);
                            }});
  sInfoHeader header = HeaderFromWorld(world, world.turnNumber, world.turnsLeft, world.pbemPlayers);
  steps.push_back(sSaveStep{L"Info.ini", [header](const std::wstring& f) { return WriteInfoIni(f, header); }});
  steps.push_back(Step(L"naval_units.csv", [w](const std::wstring& f) { WriteNavalUnits(*w, f); }));
  steps.push_back(Step(L"relations.csv", [w](const std::wstring& f) { WriteRelations(*w, f); }));
  steps.push_back(Step(L"topography.csv", [w](const std::wstring& f) { WriteTopography(*w, w->topographies, f); }));
  steps.push_back(Step(L"unit_names.csv", [w](const std::wstring& f) { WriteUnitNames(f, w->unitNamesBytes); }));
  steps.push_back(Step(L"airship_attacks.csv", [w](const std::wstring& f) { WriteAirshipAttacks(*w, f); }));
  steps.push_back(Step(L"airrecon_units.csv", [w](const std::wstring& f) { WriteAirReconUnits(*w, f); }));
  steps.push_back(Step(L"reports.dat", [w](const std::wstring& f) { SaveReports(w->reports, f); }));
  steps.push_back(Step(L"auto_events.csv", [w](const std::wstring& f) { SaveAutoEvents(w->autoEvents, f); }));
  return steps;
}

sSaveResult SaveGame(const cWorld& world, std::wstring_view name, bool pbem) {
  return SaveGameSteps(name, pbem, StandardSaveSteps(world));
}

sSaveResult SaveGameSteps(std::wstring_view typedName, bool pbem, const std::vector<sSaveStep>& steps) {
  sSaveResult result;
  const std::wstring name = CleanSaveName(typedName);
  if (!IsValidSaveName(name)) return Fail(std::move(result), L"invalid save name");

  const std::wstring root = pbem ? L"data\\pbem" : L"data\\save";
  const std::wstring target = root + L"\\" + name;
  result.folder = target;
  if (pbem) g_ConsoleLog.WriteLine(L"Zapisuej gre PBEM to katalogu " + target);

  const std::wstring temp = root + L"\\" + SaveCopyName(name, true);
  const std::wstring backup = root + L"\\" + SaveCopyName(name, false);

  std::error_code ec;
  fs::create_directories(SaveDiskPath(root), ec);
  if (!IsFolder(root)) return Fail(std::move(result), L"cannot create folder " + root);
  // What earlier saves of this name left behind when their process died:
  // a missing save comes back from its complete copy, the rest goes.
  TidySaveCopies(root, eLeftoverAction::kRecoverAndRemove, name);
  RemoveTree(temp);
  RemoveTree(backup);
  fs::create_directory(SaveDiskPath(temp), ec);
  if (ec || !IsFolder(temp)) return Fail(std::move(result), L"cannot create folder " + temp);

  const auto failAndClean = [&](std::wstring error) {
    RemoveTree(temp);
    return Fail(std::move(result), std::move(error));
  };
  {
    // For the scope of a save, the scenario files' fatal exit becomes a throw.
    cScopedFatalExitHook guard([](int) { throw sSaveWriteAborted{}; });
    for (const sSaveStep& step : steps) {
      if (!RunStep(step, temp)) return failAndClean(L"cannot write " + step.fileName + L" into " + target);
    }
  }
  // Every file reaches the disk before the marker that says so, and the
  // marker before the folder is swapped in. One flush of the file system
  // takes all the files at once (a flush per file costs a journal commit
  // each: ten times as long for a save's two dozen files).
  if (Stage(eSaveStage::kFlushFile, L"", temp) != 0 || FlushFileSystemOf(temp) != 0) {
    return failAndClean(L"cannot flush the files of " + target + L" to the disk");
  }
  // The marker keeps each file's size and checksum, read back as the disk
  // holds it.
  std::string marker;
  for (const std::wstring& file : FilesOf(temp)) {
    std::string bytes;
    if (!files::ReadBytes(files::JoinPath(temp, file), bytes)) {
      return failAndClean(L"cannot read " + file + L" of " + target + L" back");
    }
    marker += SaveMarkerLine(file, bytes);
  }
  const std::wstring markerPath = files::JoinPath(temp, kSaveCompleteMarker);
  if (Stage(eSaveStage::kWriteMarker, kSaveCompleteMarker, temp) != 0 || !files::WriteBytes(markerPath, marker)) {
    return failAndClean(L"cannot write the marker of " + target);
  }
  if (Stage(eSaveStage::kFlushFolder, L"", temp) != 0 || FlushFileSystemOf(temp) != 0) {
    return failAndClean(L"cannot flush " + temp + L" to the disk");
  }

  // The swap. Where the old save stays under the name until the new one
  // takes it in the same step, the name is never empty; otherwise a copy
  // with its marker is there for the loader to take back.
  const fs::path targetPath = SaveDiskPath(target);
  std::wstring old;  // the folder that holds the old save after the swap
  if (Exists(target)) {
    int error = Stage(eSaveStage::kExchange, L"", root);
    if (error == 0) error = ExchangeFolders(SaveDiskPath(temp), targetPath);
    if (error == 0) {
      old = temp;
    } else if (!ExchangeUnsupported(error)) {
      return failAndClean(L"cannot replace " + target);
    } else {
      error = Stage(eSaveStage::kStepAside, L"", root);
      if (error == 0) fs::rename(targetPath, SaveDiskPath(backup), ec);
      if (error != 0 || ec) return failAndClean(L"cannot replace " + target);
      old = backup;
      error = Stage(eSaveStage::kRenameIn, L"", root);
      if (error == 0) fs::rename(SaveDiskPath(temp), targetPath, ec);
      if (error != 0 || ec) {
        std::error_code back;
        fs::rename(SaveDiskPath(backup), targetPath, back);
        return failAndClean(L"cannot replace " + target);
      }
    }
  } else {
    const int error = Stage(eSaveStage::kRenameIn, L"", root);
    if (error == 0) fs::rename(SaveDiskPath(temp), targetPath, ec);
    if (error != 0 || ec) return failAndClean(L"cannot rename " + temp + L" to " + target);
  }
  // The new save holds the name; a failed flush of the name means a power
  // cut could still bring the old one back, which the caller is told.
  const bool flushed = Stage(eSaveStage::kFlushParent, L"", root) == 0 && FlushToDisk(root) == 0;
  if (!old.empty()) {
    if (Stage(eSaveStage::kRemoveOld, L"", old) == 0) RemoveTree(old);
    // What is left is removed by the next save of the name or the next start.
    if (Exists(old)) g_ConsoleLog.WriteLine(L"WARNING: cannot remove the previous save " + old);
  }
  if (!flushed) return Fail(std::move(result), L"cannot flush " + root + L" to the disk after saving " + target);
  result.ok = true;
  return result;
}

SaveStepHook SetSaveStepHook(SaveStepHook hook) {
  std::lock_guard<std::mutex> lock(g_stepHookMutex);
  std::swap(g_stepHook, hook);
  return hook;
}
