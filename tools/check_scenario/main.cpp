// check_scenario: loads a scenario folder or a saved game's folder the way
// the game does, saves it and loads the save back, for scenario authors and
// for the tests of damaged data.
//   check_scenario FOLDER [KEEP]
// The game's working-folder layout is made in a scratch folder (the folder
// linked as "data\scenarios\<name>", or as "data\save\<name>" beside the
// scenarios of its own game folder), the log goes to ConsoleOut.txt in the
// current folder. Standard output gets one line
//   countries=N cities=N land=N air=N naval=N fleets=N commanders=N seanodes=N
// for the loaded game, then every WARNING and ERROR line of the load, then
// the warnings of the data check (a rule the constants keep from taking
// effect, a port cut off from the open sea, a target of the computer's
// orders without a route: common/data_check.h), then the WARNING and ERROR
// lines of loading the saved copy back, marked "reloaded: ". Exit code 0 when
// it loaded, 1 on a fatal data error (after the log's last lines), 2 on a
// usage error. With KEEP (a folder that does not exist yet) the saved copy
// is kept there, a saved game to check in its turn.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/string_base.h"
#include "common/data_check.h"
#include "common/log_lines.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kCopyName = L"check_scenario_copy";

// The log's lines as written so far (UTF-16LE after a byte-order mark, each
// ended by CR LF).
bool IsReported(const std::wstring& line) {
  return line.find(L"WARNING") != std::wstring::npos || line.find(L"ERROR") != std::wstring::npos;
}

void Print(const std::wstring& line) { std::printf("%s\n", plat::ToUtf8(line).c_str()); }

// Prints the WARNING and ERROR lines of lines [from, to).
void PrintReported(const std::vector<std::wstring>& lines, std::size_t from, std::size_t to, const char* mark) {
  for (std::size_t i = from; i < to && i < lines.size(); ++i) {
    if (IsReported(lines[i])) {
      std::printf("%s", mark);
      Print(lines[i]);
    }
  }
}

std::string Counts(const cWorld& world) {
  const sUnitLists& units = world.Units();
  std::size_t land = units.landUnits.size() + units.carriedUnitsA.size() + units.carriedUnitsB.size();
  std::size_t air = units.airUnits.size();
  for (const cJednostka* unit : units.reservePool) {
    if (dynamic_cast<const cJednostkaLadowa*>(unit)) ++land;
    if (dynamic_cast<const cJednostkaLotnicza*>(unit)) ++air;
  }
  char text[256];
  std::snprintf(text, sizeof text,
                "countries=%d cities=%zu land=%zu air=%zu naval=%zu fleets=%zu "
                "commanders=%zu seanodes=%d",
                world.GetCountryCount(), world.Cities().size(), land, air,
                units.navalUnits.size() + units.navalReservePool.size(), units.fleets.size(), units.commanders.size(),
                world.GetSeaGraph().GetNodeCount());
  return text;
}

// The scratch working folder with the game's layout; removed (the links,
// never what they point to) when the check ends, also by a fatal exit.
class cScratchGame {
 public:
  cScratchGame(const fs::path& folder, bool savedGame) {
    char pattern[] = "/tmp/check_scenario_XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw fs::filesystem_error("no scratch folder", std::error_code());
    root_ = pattern;
    previous_ = fs::current_path();
    const fs::path source = fs::absolute(folder).lexically_normal();
    name_ = source.filename().string();
    if (name_.empty()) name_ = source.parent_path().filename().string();
    const fs::path gameData = (source.filename().empty() ? source.parent_path() : source).parent_path().parent_path();
    fs::create_directories(root_ / "data/save");
    if (savedGame) {
      fs::create_directory_symlink(source, root_ / "data/save" / name_);
      if (fs::is_directory(gameData / "scenarios")) {
        fs::create_directory_symlink(gameData / "scenarios", root_ / "data/scenarios");
      }
    } else {
      fs::create_directories(root_ / "data/scenarios");
      fs::create_directory_symlink(source, root_ / "data/scenarios" / name_);
    }
    fs::path gfx = gameData / "gfx";
    if (!fs::is_directory(gfx)) gfx = fs::path(TW_DATA_DIR) / "gfx";
    if (fs::is_directory(gfx)) fs::create_directory_symlink(gfx, root_ / "data/gfx");
    fs::current_path(root_);
  }
  ~cScratchGame() { Remove(); }
  cScratchGame(const cScratchGame&) = delete;
  cScratchGame& operator=(const cScratchGame&) = delete;

  void Remove() {
    if (root_.empty()) return;
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(root_, ec);
    root_.clear();
  }
  std::wstring Pattern(bool savedGame) const {
    return plat::FromUtf8((savedGame ? "data\\save\\" : "data\\scenarios\\") + name_ + "\\%s");
  }

 private:
  fs::path root_, previous_;
  std::string name_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || argv[1][0] == '-' || !fs::is_directory(argv[1]) || (argc == 3 && fs::exists(argv[2]))) {
    std::fprintf(stderr,
                 "usage: check_scenario FOLDER [KEEP]\n"
                 "  FOLDER: a scenario folder or a saved game's folder\n"
                 "  KEEP: a new folder to keep the saved copy in\n");
    return 2;
  }
  const fs::path folder = argv[1];
  const fs::path keep = argc == 3 ? fs::absolute(argv[2]) : fs::path();
  const std::string logPath = fs::absolute("ConsoleOut.txt").string();
  g_ConsoleLog.RedirectTo(logPath);
  // The readers log some lines by their language keys, as the game does.
  g_StringBase.Load(TW_LANG_DB, true);
  // A saved game stands in the game's "save" or "pbem" folder and keeps the
  // state a scenario does not have.
  fs::path normal = fs::absolute(folder).lexically_normal();
  if (normal.filename().empty()) normal = normal.parent_path();  // "X/" is "X"
  const std::string parent = normal.parent_path().filename().string();
  const bool savedGame = parent == "save" || parent == "pbem" || fs::exists(folder / "reports.dat") ||
                         fs::exists(folder / "auto_events.csv");

  std::size_t firstLoadEnd = 0;
  const char* mark = "";
  cScratchGame* scratch = nullptr;
  // A fatal data error ends the process as it ends the game: the lines of
  // the load so far, the log's last lines (the file it could not use), then
  // exit 1.
  SetFatalExitHook([&](int) {
    std::vector<std::wstring> lines = ReadLogLines(logPath);
    // The line the load ended with is an error whatever its text calls it.
    if (!lines.empty() && lines.back().rfind(L"WARNING", 0) == 0) lines.back() = L"ERROR" + lines.back().substr(7);
    PrintReported(lines, firstLoadEnd, lines.size(), mark);
    // The last lines name the file where the fatal line does not (the
    // path, then "cannot open" and the like).
    for (std::size_t i = lines.size() >= 2 ? lines.size() - 2 : 0; i < lines.size(); ++i) {
      if (IsReported(lines[i])) continue;
      std::printf("%slog: ", mark);
      Print(lines[i]);
    }
    std::fflush(stdout);
    if (scratch) scratch->Remove();
  });

  try {
    cScratchGame game(folder, savedGame);
    scratch = &game;
    LoadWorld(sGameStartSettings{game.Pattern(savedGame), savedGame ? 1 : 0});
    const std::string counts = Counts(*g_pWorld);
    firstLoadEnd = ReadLogLines(logPath).size();
    std::printf("%s\n", counts.c_str());
    PrintReported(ReadLogLines(logPath), 0, firstLoadEnd, "");
    // A saved game reads its constants from its scenario's folder.
    const fs::path constsPath = savedGame
                                    ? fs::path("data/scenarios") / plat::ToUtf8(g_pWorld->scenarioName) / "consts.csv"
                                    : normal / "consts.csv";
    std::string constsText;
    plat::ReadFileBytes(constsPath.string(), constsText);
    const std::vector<int> constsLines = ConstsFileLines(constsText);
    sDataCheckFiles files;
    files.constsFileLine = [&constsLines](int line) {
      return line > 0 && line < static_cast<int>(constsLines.size()) ? constsLines[static_cast<std::size_t>(line)] : 0;
    };
    for (const std::string& warning : CheckScenarioData(*g_pWorld, files)) std::printf("%s\n", warning.c_str());
    std::fflush(stdout);

    mark = "reloaded: ";
    const sSaveResult saved = SaveGame(*g_pWorld, kCopyName, false);
    if (!saved.ok) {
      Print(L"ERROR: the loaded game could not be saved: " + saved.error);
      return 1;
    }
    if (!keep.empty()) fs::copy(fs::path("data/save") / plat::ToUtf8(kCopyName), keep, fs::copy_options::recursive);
    LoadWorld(sGameStartSettings{std::wstring(L"data\\save\\") + kCopyName + L"\\%s", 1});
    const std::string again = Counts(*g_pWorld);
    PrintReported(ReadLogLines(logPath), firstLoadEnd, SIZE_MAX, mark);
    delete g_pWorld;
    g_pWorld = nullptr;
    if (again != counts) {
      std::printf("ERROR: the saved copy loads back with %s\n", again.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "check_scenario: %s\n", e.what());
    return 2;
  }
  return 0;
}
