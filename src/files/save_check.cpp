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
  const std::optional<sSaveMarker> marker = ReadSaveMarkerLines(folder);
  if (!marker) {
    // A marker there whose bytes cannot be read says nothing of the files:
    // the save may have changed in any of them.
    if (HasSaveMarker(folder)) check.changedFiles.push_back(kSaveCompleteMarker);
    return check;
  }
  // A marker that does not read whole is a change itself, and says nothing
  // of the files it no longer names; each of its lines that reads still
  // tells how its own file stands, but a file it names that is gone is left
  // to the loader, since the line may be what changed.
  if (!marker->whole) check.changedFiles.push_back(kSaveCompleteMarker);
  for (const sMarkedFile& file : marker->files) {
    switch (MarkedFileState(folder, file)) {
      case eMarkedFileState::kMissing:
        if (marker->whole && !check.damage) check.damage = sSaveDamage{eSaveDamage::kFileMissing, file.name};
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
