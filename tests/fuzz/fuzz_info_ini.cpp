// Reads arbitrary bytes as the "Info.ini" header of a saved game, checks the
// limits the reader promises, writes the header into a save folder and reads
// that back: the saved numbers must come back as they were. A header the
// game refuses (a fatal data error) ends the input quietly through the
// throwing hook; the header written from an accepted one must be accepted.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/info_ini_file.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

std::filesystem::path ScratchFolder() {
  const auto folder = std::filesystem::temp_directory_path() / ("tw_fuzz_info_ini_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "in");
  std::filesystem::create_directories(folder / "out");
  return folder;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = ScratchFolder();
  static const std::wstring inPattern = plat::FromUtf8((folder / "in").string()) + L"\\%s";
  static const std::wstring outFolder = plat::FromUtf8((folder / "out").string());
  static const std::wstring outPattern = outFolder + L"\\%s";
  g_ConsoleLog.SetEnabled(false);  // millions of runs would fill the log
  if (!plat::WriteFileBytes((folder / "in" / "Info.ini").string(),
                            std::string_view(reinterpret_cast<const char*>(data), size))) {
    return 0;
  }

  cScopedThrowingFatalHook hook;
  sInfoHeader header;
  try {
    header = LoadInfoHeader(inPattern);
  } catch (const sFatalExitError&) {
    return 0;
  }
  Check(header.gameMonth >= 1 && header.gameMonth <= 12 && header.gameYear >= 1 && header.gameYear <= 9999);
  Check(header.gameDay >= 1 && header.gameDay <= 31 && header.turn >= 0 && header.impulse >= 0);
  Check(header.displayedDay >= 1 && header.displayedDay <= 31);
  Check(header.displayedMonth >= 1 && header.displayedMonth <= 12);
  Check(header.displayedYear >= 1 && header.displayedYear <= 9999);
  Check(header.smallUnitsSize >= 0 && header.smallUnitsSize <= 5);
  Check(header.largeUnitsSize >= 1 && header.largeUnitsSize <= 5);
  Check(header.pbemPlayers.size() <= 8);
  Check(header.playByEmail || header.pbemPlayers.empty());
  for (std::size_t i = 0; i < header.pbemPlayers.size(); ++i) {
    Check(header.pbemPlayers[i].number == static_cast<int>(i) + 1);
  }

  if (!WriteInfoIni(outFolder, header)) return 0;
  const sInfoHeader again = LoadInfoHeader(outPattern);
  Check(again.turn == header.turn);
  Check(again.impulse == header.impulse);
  Check(again.gameDay == header.gameDay);
  Check(again.gameMonth == header.gameMonth);
  Check(again.gameYear == header.gameYear);
  Check(again.displayedDay == header.displayedDay && again.displayedMonth == header.displayedMonth &&
        again.displayedYear == header.displayedYear);
  Check(again.playByEmail == header.playByEmail);
  return 0;
}
