#include "files/save_game.h"

#include <unistd.h>

#include <cwctype>
#include <exception>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "app/console_log.h"
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
#include "files/unit_files.h"
#include "platform/paths.h"
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

// For the scope of a save, the scenario files' fatal exit becomes a throw.
class cSaveFatalGuard {
 public:
  cSaveFatalGuard() : previous_(SetFatalExitHook([](int) { throw sSaveWriteAborted{}; })) {}
  ~cSaveFatalGuard() { SetFatalExitHook(std::move(previous_)); }
  cSaveFatalGuard(const cSaveFatalGuard&) = delete;
  cSaveFatalGuard& operator=(const cSaveFatalGuard&) = delete;

 private:
  FatalExitHook previous_;
};

fs::path DiskPath(const std::wstring& path) { return fs::path(plat::ResolvePath(path)); }

bool IsFolder(const std::wstring& path) {
  std::error_code ec;
  return fs::is_directory(DiskPath(path), ec);
}

bool Exists(const std::wstring& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(DiskPath(path), ec));
}

void RemoveTree(const std::wstring& path) {
  std::error_code ec;
  fs::remove_all(DiskPath(path), ec);
}

// Runs one step; false when it reported a failure, ended by a fatal write
// error or threw.
bool RunStep(const sSaveStep& step, const std::wstring& folder) {
  try {
    if (const SaveStepHook hook = CurrentStepHook()) hook(step.fileName, folder);
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
  if (cleanedName.empty() || cleanedName == L"." || cleanedName == L"..") return false;
  for (const wchar_t c : cleanedName) {
    if (c == L'\\' || c == L'/' || c == L'\0') return false;
  }
  return true;
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

  const std::wstring pid = std::to_wstring(static_cast<long long>(::getpid()));
  const std::wstring temp = target + L".tmp-" + pid;
  const std::wstring backup = target + L".old-" + pid;

  std::error_code ec;
  fs::create_directories(DiskPath(root), ec);
  if (!IsFolder(root)) return Fail(std::move(result), L"cannot create folder " + root);
  RemoveTree(temp);
  fs::create_directory(DiskPath(temp), ec);
  if (ec || !IsFolder(temp)) return Fail(std::move(result), L"cannot create folder " + temp);

  {
    cSaveFatalGuard guard;
    for (const sSaveStep& step : steps) {
      if (!RunStep(step, temp)) {
        RemoveTree(temp);
        return Fail(std::move(result), L"cannot write " + step.fileName + L" into " + target);
      }
    }
  }

  // Swap: the old save steps aside, the new one takes its name, and only
  // then is the old one removed. A failure on the way puts the old one back.
  const bool hadTarget = Exists(target);
  const fs::path targetPath = DiskPath(target);
  if (hadTarget) {
    RemoveTree(backup);
    fs::rename(targetPath, DiskPath(backup), ec);
    if (ec) {
      RemoveTree(temp);
      return Fail(std::move(result), L"cannot replace " + target);
    }
  }
  fs::rename(DiskPath(temp), targetPath, ec);
  if (ec) {
    if (hadTarget) {
      std::error_code back;
      fs::rename(DiskPath(backup), targetPath, back);
    }
    RemoveTree(temp);
    return Fail(std::move(result), L"cannot replace " + target);
  }
  if (hadTarget) RemoveTree(backup);
  result.ok = true;
  return result;
}

SaveStepHook SetSaveStepHook(SaveStepHook hook) {
  std::lock_guard<std::mutex> lock(g_stepHookMutex);
  std::swap(g_stepHook, hook);
  return hook;
}
