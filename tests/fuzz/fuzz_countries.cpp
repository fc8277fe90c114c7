// Reads arbitrary bytes as a countries file into an empty world. Fatal data
// errors end the input quietly through the throwing hook; a file that loads
// has ids 1, 2, 3, ... and writes a text that loads back the same.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/console_log.h"
#include "files/countries_file.h"
#include "app/fatal_exit.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/country.h"
#include "world/world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tw_fuzz_countries_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    g_ConsoleLog.SetEnabled(false);
    return dir;
  }();
  const std::string file = (folder / "countries.csv").string();
  if (!plat::WriteFileBytes(file, std::string(reinterpret_cast<const char*>(data), size))) return 0;
  const std::wstring pattern = plat::WidenAnsi(folder.string()) + L"/%s";
  cScopedThrowingFatalHook hook;
  try {
    cWorld world;
    LoadCountries(world, pattern);
    for (int i = 0; i < world.GetCountryCount(); ++i) {
      if (world.Countries()[static_cast<std::size_t>(i)]->id != i + 1) __builtin_trap();
    }
    const std::string text = FormatCountriesText(world.Countries());
    plat::WriteFileBytes(file, text);
    cWorld again;
    LoadCountries(again, pattern);
    if (again.GetCountryCount() != world.GetCountryCount()) __builtin_trap();
    if (FormatCountriesText(again.Countries()) != text) __builtin_trap();
  } catch (const sFatalExitError&) {
  }
  return 0;
}
