#include "files/save_check.h"

#include <filesystem>
#include <system_error>

#include "app/file_text.h"
#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_folders.h"
#include "platform/paths.h"

std::optional<sSaveDamage> FindSaveDamage(const std::wstring& folder, const cIniFile& header) {
  sSaveDamage damage;
  if (!header.IsLoaded()) return damage;
  if (!NamesScenarioFolder(header)) {
    damage.kind = eSaveDamage::kNoScenarioName;
    return damage;
  }
  const std::optional<std::vector<sMarkedFile>> marked = ReadSaveMarker(folder);
  if (!marked) return std::nullopt;
  const std::optional<sMarkedFile> wrong = FirstFileNotAsMarked(folder, *marked);
  if (!wrong) return std::nullopt;
  damage.file = wrong->name;
  std::error_code ec;
  const std::filesystem::path path(plat::ResolvePath(files::JoinPath(folder, wrong->name)));
  if (!std::filesystem::is_regular_file(path, ec)) {
    damage.kind = eSaveDamage::kFileMissing;
    return damage;
  }
  damage.kind = eSaveDamage::kFileSize;
  damage.savedSize = wrong->size;
  damage.foundSize = std::filesystem::file_size(path, ec);
  return damage;
}
