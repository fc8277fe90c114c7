#include "files/save_check.h"

#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_folders.h"

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
    switch (MarkedFileState(folder, file)) {
      case eMarkedFileState::kMissing:
        if (!check.damage) check.damage = sSaveDamage{eSaveDamage::kFileMissing, file.name};
        break;
      case eMarkedFileState::kChanged: check.changedFiles.push_back(file.name); break;
      case eMarkedFileState::kAsMarked: break;
    }
  }
  return check;
}
