// Reads arbitrary bytes as the marker of a saved game's folder
// ("save_complete.txt", the list of its files, their sizes, checksums and
// rows that makes a copy complete) beside two files of known sizes. A marker
// accepted as complete names only files of that folder, as does every line
// that reads of one that does not read whole.
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/console_log.h"
#include "files/save_folders.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

std::filesystem::path ScratchFolder() {
  const auto folder =
      std::filesystem::temp_directory_path() / ("tw_fuzz_save_marker_" + std::to_string(::getpid())) / "save";
  std::filesystem::create_directories(folder);
  plat::WriteFileBytes((folder / "a.csv").string(), "text");
  plat::WriteFileBytes((folder / "b.csv").string(), "bb");
  plat::WriteFileBytes((folder.parent_path() / "outside.csv").string(), "text");
  return folder;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool NamesOnlyTheFolder(const std::string& marker) {
  // A byte-order mark before the marker is passed over.
  std::size_t at = marker.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (at < marker.size()) {
    std::size_t end = marker.find('\n', at);
    if (end == std::string::npos) end = marker.size();
    std::string line = marker.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    // A line of the marker's present form ends in its checksum's field, a
    // table's then in its rows.
    const std::size_t rows = line.rfind(";rows=");
    if (rows != std::string::npos && line.find_first_not_of("0123456789", rows + 6) == std::string::npos) {
      line.resize(rows);
    }
    const std::size_t checksum = line.rfind(";fnv1a64=");
    if (checksum != std::string::npos && line.size() == checksum + 9 + 16) line.resize(checksum);
    // Names are looked up without regard to case, as the game's paths are.
    std::string name = line.substr(0, line.rfind(';'));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name != "a.csv" && name != "b.csv") return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = ScratchFolder();
  static const std::wstring folderName = plat::FromUtf8(folder.string());
  g_ConsoleLog.SetEnabled(false);
  const std::string marker(reinterpret_cast<const char*>(data), size);
  if (!plat::WriteFileBytes((folder / "save_complete.txt").string(), marker)) return 0;
  if (IsCompleteSaveCopy(folderName)) Check(NamesOnlyTheFolder(marker));
  // The lines that read of a marker that does not read whole still name
  // files of the folder only; a whole one ends with its line end.
  if (const std::optional<sSaveMarker> read = ReadSaveMarkerLines(folderName)) {
    for (const sMarkedFile& file : read->files) Check(file.name.find_first_of(L"/\\") == std::wstring::npos);
    Check(!read->whole || marker.back() == '\n');
  }
  return 0;
}
