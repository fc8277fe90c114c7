// Reads arbitrary bytes as a scenario constants file. A fatal data error
// (a checked constant out of range) ends the input quietly through the
// throwing hook; everything else must load without a fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/console_log.h"
#include "files/consts_file.h"
#include "app/fatal_exit.h"
#include "platform/lines.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("tw_fuzz_consts_" + std::to_string(::getpid()) + ".csv")).string();
  static const bool quiet = [] {
    g_ConsoleLog.SetEnabled(false);
    return true;
  }();
  (void)quiet;
  if (!plat::WriteFileBytes(path, std::string(reinterpret_cast<const char*>(data), size))) return 0;
  cScopedThrowingFatalHook hook;
  try {
    sScenarioConstants constants;
    LoadScenarioConstantsFile(constants, plat::WidenAnsi(path));
    // A loaded record keeps its divisors and bounds usable.
    for (int turns : constants.turnsPerMonth) {
      if (turns < 1) __builtin_trap();
    }
    if (constants.maxSupply < 0 || constants.maxSupply > 50) __builtin_trap();
    if (constants.navalTypeStrengthMax < 1) __builtin_trap();
    // What the writer makes reads back to the same text.
    const std::string text = FormatConstsText(constants);
    plat::WriteFileBytes(path, text);
    sScenarioConstants again;
    LoadScenarioConstantsFile(again, plat::WidenAnsi(path));
    if (FormatConstsText(again) != text) __builtin_trap();
  } catch (const sFatalExitError&) {
  }
  return 0;
}
