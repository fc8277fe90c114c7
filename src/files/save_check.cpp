#include "files/save_check.h"

#include "app/file_text.h"
#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_folders.h"
#include "files/save_rows.h"

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
  if (!marked) {
    // A record that cannot be read says nothing of the files: the save may
    // have changed in any of them.
    if (HasSaveMarker(folder)) check.changedFiles.push_back(kSaveCompleteMarker);
    return check;
  }
  for (const sMarkedFile& file : *marked) {
    switch (MarkedFileState(folder, file)) {
      case eMarkedFileState::kMissing:
        if (!check.damage) check.damage = sSaveDamage{eSaveDamage::kFileMissing, file.name};
        break;
      case eMarkedFileState::kChanged: {
        check.changedFiles.push_back(file.name);
        std::string bytes;
        if (!file.rows || !files::ReadBytes(files::JoinPath(folder, file.name), bytes)) break;
        const std::optional<std::uint32_t> rows = SaveFileRows(file.name, bytes);
        if (rows && *rows < *file.rows) check.lostRows.push_back(sLostRows{file.name, *rows, *file.rows});
        break;
      }
      case eMarkedFileState::kAsMarked: break;
    }
  }
  return check;
}
