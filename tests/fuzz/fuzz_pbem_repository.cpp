// Reads arbitrary bytes as the play-by-e-mail repository "repo.dat": looking
// a game up must never read past a record, and a value stored for a game
// must be the value read back for it afterwards, whatever the file held.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/console_log.h"
#include "files/pbem_repository.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tw_fuzz_repo_" + std::to_string(::getpid()) + ".dat");
  static const bool pointed = [] {
    SetPbemRepositoryPath(plat::FromUtf8(file.string()));
    return true;
  }();
  (void)pointed;
  g_ConsoleLog.SetEnabled(false);  // millions of runs would fill the log
  if (!plat::WriteFileBytes(file.string(), std::string_view(reinterpret_cast<const char*>(data), size))) return 0;

  // The first bytes also name the game looked up, so names that the file
  // holds are found as often as names it does not.
  const std::size_t nameLength = size < 8 ? size : 8;
  std::wstring name;
  for (std::size_t i = 0; i < nameLength; ++i) name += static_cast<wchar_t>(L'a' + data[i] % 26);
  if (name.empty()) name = L"game";

  const std::uint32_t found = GetPbemRepositoryValue(name, [] { return 7u; });
  Check(GetPbemRepositoryValue(name, [] { return 9u; }) == found);
  UpdatePbemRepository(found + 1, name);
  Check(GetPbemRepositoryValue(name, [] { return 9u; }) == found + 1);
  return 0;
}
