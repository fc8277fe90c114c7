#include "files/save_check.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "app/file_text.h"
#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_folders.h"
#include "platform/paths.h"

sSaveCheck CheckSavedGame(const std::wstring& folder, const cIniFile& header) {
  sSaveCheck check;
  if (!header.IsLoaded()) {
    check.damage = sSaveDamage{eSaveDamage::kNoHeader, {}};
    return check;
  }
  if (!NamesScenarioFolder(header)) {
    check.damage = sSaveDamage{eSaveDamage::kNoScenarioName, {}};
    return check;
  }
  const std::optional<std::vector<sMarkedFile>> marked = ReadSaveMarker(folder);
  if (!marked) return check;
  for (const sMarkedFile& file : *marked) {
    std::error_code ec;
    const std::filesystem::path path(plat::ResolvePath(files::JoinPath(folder, file.name)));
    const bool present = std::filesystem::is_regular_file(path, ec);
    const std::uintmax_t size = present ? std::filesystem::file_size(path, ec) : 0;
    // A file whose size cannot be read is as good as gone.
    if (!present || ec) {
      if (!check.damage) check.damage = sSaveDamage{eSaveDamage::kFileMissing, file.name};
      continue;
    }
    if (size != file.size) check.changedFiles.push_back(file.name);
  }
  return check;
}
