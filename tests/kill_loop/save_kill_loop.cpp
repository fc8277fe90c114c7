// Run by hand, not by CI: a child process saves "Europe, September 1939"
// under one name over and over and is killed (SIGKILL) at a random moment,
// as many times as asked. After each kill the saved-game list must show the
// name once and the save must load with the same records and the same bytes
// as the first save. At the end the folders left beside the save are
// counted before and after the start-up tidying.
//
//   tw_save_kill_loop [kills] [two-renames]
//
// "two-renames" makes the file system "unable" to exchange folders, so the
// swap of a save is two renames and a kill between them leaves the name to
// be taken back from its copy. The source tree is found as the tests find
// it (TW_SOURCE_DIR or a folder above); the work happens in a temporary
// folder.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/fatal_exit.h"
#include "files/save_folders.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "support/fake_platform_framework.h"
#include "support/test_support.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

// The files of the save, the wall clock left out.
Files SaveFiles() {
  Files files;
  for (const auto& entry : fs::directory_iterator("data/save/K")) {
    const std::string name = entry.path().filename().string();
    files[name] = twtest::WithoutSaveClock(name, twtest::ReadFile(entry.path().string()));
  }
  return files;
}

std::vector<std::size_t> Counts(const cWorld& w) {
  const sUnitLists& u = w.Units();
  return {w.Countries().size(),      w.Cities().size(),
          u.landUnits.size(),        u.airUnits.size(),
          u.navalUnits.size(),       u.reservePool.size(),
          u.navalReservePool.size(), u.fleets.size(),
          u.commanders.size(),       static_cast<std::size_t>(w.GetSeaGraph().GetNodeCount())};
}

// Loads the save; false when the load ended with a fatal data error.
bool LoadSave() {
  try {
    LoadWorld(sGameStartSettings{L"data\\save\\K\\%s", 1});
    return g_pWorld != nullptr;
  } catch (const sFatalExitError&) {
    return false;
  }
}

int Leftovers() {
  int n = 0;
  for (const auto& entry : fs::directory_iterator("data/save"))
    n += ParseSaveCopyName(entry.path().filename().wstring()) ? 1 : 0;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 100;
  const bool twoRenames = argc > 2 && std::string(argv[2]) == "two-renames";
  const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  if (root.empty()) {
    std::fprintf(stderr, "source tree not found (set TW_SOURCE_DIR)\n");
    return 2;
  }
  twtest::TempDir dir;
  twtest::ScopedWorkingFolder inside(dir.Path());
  fs::create_directories("data/scenarios");
  fs::copy(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939", fs::copy_options::recursive);
  fs::create_directory_symlink(root / "data/gfx", "data/gfx");
  fs::create_directory_symlink(root / "data/Music", "data/Music");
  plat::RecordingRenderer renderer;
  twtest::FakePlatformFramework frame(&renderer);
  cScopedThrowingFatalHook fatal;
  if (twoRenames) {
    SetSaveStepHook([](eSaveStage stage, const std::wstring&, const std::wstring&) {
      return stage == eSaveStage::kExchange ? EINVAL : 0;
    });
  }

  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  const auto start = std::chrono::steady_clock::now();
  if (!SaveGame(*g_pWorld, L"K", false).ok || !LoadSave()) return 1;
  const auto saveTime = std::chrono::steady_clock::now() - start;
  const Files reference = SaveFiles();
  const std::vector<std::size_t> counts = Counts(*g_pWorld);
  const long long microseconds = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count();

  std::mt19937 random(12345);
  // A kill falls anywhere in the second to fourth save of the child.
  std::uniform_int_distribution<long long> moment(microseconds, 4 * microseconds);
  int listedOnce = 0, loadable = 0, sameCounts = 0, sameBytes = 0, maxLeftovers = 0, killedWhileSaving = 0,
      nameMissing = 0;
  for (int kill = 0; kill < kills; ++kill) {
    const pid_t child = ::fork();
    if (child < 0) return 1;
    if (child == 0) {
      for (;;) {
        if (!SaveGame(*g_pWorld, L"K", false).ok) ::_exit(3);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    killedWhileSaving += WIFSIGNALED(status) ? 1 : 0;
    // Killed between the two renames: the list and the loader take the
    // save back from its copy.
    nameMissing += fs::exists("data/save/K") ? 0 : 1;
    const int leftovers = Leftovers();
    maxLeftovers = leftovers > maxLeftovers ? leftovers : maxLeftovers;
    const std::vector<std::wstring> saves = ListSaveFolders(L"data\\save");
    listedOnce += saves == std::vector<std::wstring>{L"K"} ? 1 : 0;
    if (!LoadSave()) continue;
    ++loadable;
    sameCounts += Counts(*g_pWorld) == counts ? 1 : 0;
    const Files files = SaveFiles();
    sameBytes += files == reference ? 1 : 0;
    for (const auto& [name, bytes] : reference) {
      if (files.count(name) == 0 || files.at(name) != bytes) {
        std::fprintf(stderr, "kill %d: %s differs\n", kill, name.c_str());
      }
    }
  }
  const int leftoversAtEnd = Leftovers();
  TidySaveCopiesAtStart();
  std::printf(
      "swap=%s kills=%d killed_while_saving=%d save_ms=%.1f listed_once=%d loadable=%d same_counts=%d "
      "same_bytes=%d name_missing_after_kill=%d max_leftovers_after_a_kill=%d leftovers_at_end=%d "
      "leftovers_after_start_tidy=%d\n",
      twoRenames ? "two-renames" : "exchange", kills, killedWhileSaving, static_cast<double>(microseconds) / 1000.0,
      listedOnce, loadable, sameCounts, sameBytes, nameMissing, maxLeftovers, leftoversAtEnd, Leftovers());
  delete g_pWorld;
  g_pWorld = nullptr;
  return listedOnce == kills && loadable == kills && sameCounts == kills && sameBytes == kills ? 0 : 1;
}
