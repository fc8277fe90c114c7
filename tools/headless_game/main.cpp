// headless_game: plays a scenario with every country computer-controlled and
// no window, then saves the game and writes a summary.
//   headless_game SCENARIO IMPULSES SEED SAVE_NAME [--saved] [--summary FILE]
// The current folder is the game's working folder: the scenario is read
// from "data/scenarios/SCENARIO" (with --saved, the saved game
// "data/save/SCENARIO"), the game is saved as "data/save/SAVE_NAME" and
// the log goes to ConsoleOut.txt. The delays are 0, the worker's generator
// is seeded with SEED and its sleeps cost no time (the main thread's part is
// this program's loop), so the same scenario, seed and number of impulses
// give the same saved game; only the wall-clock line "Date" of the save's
// Info.ini differs. The summary goes to standard output (and to FILE).
// Exit code 0 when the impulses were played (or the game ended on the way)
// and the game saved, 1 on a fatal data error or a failed save, 2 on a usage
// error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/log_rotation.h"
#include "files/save_game.h"
#include "headless_game/headless_play.h"
#include "headless_game/headless_summary.h"
#include "platform/rand.h"
#include "platform/text.h"
#include "world/world.h"

namespace {

// The cities whose holders a summary names, where the scenario has them.
const std::vector<std::wstring> kWatchedCities = {L"Paris", L"Warsaw", L"Moscow"};

int Usage() {
  std::fprintf(stderr,
               "usage: headless_game SCENARIO IMPULSES SEED SAVE_NAME [--saved] "
               "[--summary FILE]\n"
               "  SCENARIO: a folder of data/scenarios (with --saved: of data/save)\n"
               "  IMPULSES: ends of impulses to play (1 or more)\n"
               "  SEED: the computer players' random seed (0 to 4294967295)\n"
               "  SAVE_NAME: the saved game written to data/save\n");
  return 2;
}

bool ReadNumber(const char* text, unsigned long long max, unsigned long long& out) {
  if (text == nullptr || *text == '\0' || *text == '-' || *text == '+') return false;
  char* end = nullptr;
  out = std::strtoull(text, &end, 10);
  return *end == '\0' && out <= max;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return Usage();
  unsigned long long impulses = 0, seed = 0;
  if (!ReadNumber(argv[2], 1000000, impulses) || impulses == 0 || !ReadNumber(argv[3], 0xFFFFFFFFull, seed)) {
    return Usage();
  }
  const std::wstring scenario = plat::FromUtf8(argv[1]);
  const std::wstring saveName = plat::FromUtf8(argv[4]);
  bool savedGame = false;
  std::string summaryPath;
  for (int i = 5; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--saved") {
      savedGame = true;
    } else if (option == "--summary" && i + 1 < argc) {
      summaryPath = argv[++i];
    } else {
      return Usage();
    }
  }
  if (scenario.empty() || !IsValidSaveName(CleanSaveName(saveName)) || !IsValidSaveName(scenario)) return Usage();

  const cHeadlessMainThread mainThread;
  cFastClock clock;
  // The loading's own draws (a new scenario's first end of impulse) come
  // from the main thread's generator: seeded too.
  plat::Srand(static_cast<unsigned>(seed));
  const std::wstring pattern = (savedGame ? L"data\\save\\" : L"data\\scenarios\\") + scenario + L"\\%s";
  cWorld* world = LoadHeadlessGame(pattern, savedGame);
  if (world == nullptr) {
    std::fprintf(stderr, "headless_game: %s was not loaded\n", argv[1]);
    return 1;
  }
  sHeadlessSummary summary;
  summary.scenario = scenario;
  summary.seed = static_cast<unsigned>(seed);
  summary.impulsesAsked = static_cast<int>(impulses);
  // A long game's log is rotated as it goes: each rotated part is counted
  // before the next rotation replaces it, so the figures cover the whole game.
  g_ConsoleLog.SetRotationObserver([&summary](const std::string& rotated) { CountWarLog(rotated, summary.war); });
  summary.play = PlayHeadlessImpulses(*world, static_cast<int>(impulses), static_cast<unsigned>(seed));
  LogLine(L"Headless game: %i impulses played in %.3f s", summary.play.impulses, summary.play.seconds);

  const sSaveResult saved = SaveGame(*world, saveName, false);
  SummariseWorld(*world, kWatchedCities, summary);
  // The part of the log written since the last rotation (or the start).
  CountWarLog(g_ConsoleLog.Path(), summary.war);
  g_ConsoleLog.SetRotationObserver(nullptr);
  summary.firedEvents = summary.war.firedEvents;
  {
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  const std::string text = FormatSummary(summary);
  std::fputs(text.c_str(), stdout);
  if (!summaryPath.empty()) {
    std::FILE* file = std::fopen(summaryPath.c_str(), "wb");
    bool written = file != nullptr && std::fputs(text.c_str(), file) >= 0;
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written) {
      std::fprintf(stderr, "headless_game: cannot write %s\n", summaryPath.c_str());
      return 1;
    }
  }
  if (!saved.ok) {
    std::fprintf(stderr, "headless_game: the game was not saved: %s\n", plat::ToUtf8(saved.error).c_str());
    return 1;
  }
  return 0;
}
