// Loads arbitrary bytes as an INI file, asks for a few keys, saves and loads
// the saved file again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/console_log.h"
#include "app/ini_file.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

std::string ScratchFile() {
  return (std::filesystem::temp_directory_path() / ("tw_fuzz_ini_" + std::to_string(::getpid()) + ".ini")).string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = ScratchFile();
  static const std::wstring name = plat::FromUtf8(path);
  g_ConsoleLog.SetEnabled(false);  // millions of runs would fill the log
  if (!plat::WriteFileBytes(path, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;

  cIniFile ini;
  ini.Load(name);
  if (!ini.IsLoaded()) __builtin_trap();
  ini.GetInt("Main/ResolutionX", 1024);
  ini.GetBool("Main/Fullscreen", false);
  ini.GetString("Info/Name", L"none");
  ini.GetString("Solo", L"bare");
  ini.GetInt("/", 1);
  ini.SetString("Main/Name", L"Tidewrack");
  ini.Save();

  // Reading the saved file back must not fail either. Its values are not
  // compared: a key read from garbage (one that starts with '[' after a
  // control character, say) cannot always be written so that it reads back
  // the same; the unit tests check the round trip of well-formed files.
  cIniFile again;
  again.Load(name);
  again.GetString("Main/Name", L"");
  return 0;
}
