// The scenario menu: the player picks a new game from "data\scenarios", a
// saved game from "data\save" or a play-by-e-mail game from "data\pbem" (one
// tab each), sees the entry's description, objectives and picture from its
// "Info.ini" and "image.png", and starts it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/save_check.h"
#include "screens/menu.h"

class CDXUTListBox;
class CDXUTImage;
class CDXUTTabFrame;
class cDialog;
class cIniFile;

// Tabs.
constexpr int kScenarioTabNewGame = 0;
constexpr int kScenarioTabSavedGame = 1;
constexpr int kScenarioTabPbemGame = 2;

// Control ids.
constexpr int kScenarioTitleId = 175;
constexpr int kScenarioTabsId = 178;
constexpr int kScenarioListId = 179;
constexpr int kScenarioAuthorId = 182;
constexpr int kScenarioVersionId = 184;
constexpr int kScenarioDurationId = 186;
constexpr int kScenarioSaveDateId = 188;
constexpr int kScenarioSaveTurnId = 190;
constexpr int kScenarioDescriptionId = 192;
constexpr int kScenarioObjectivesId = 194;
constexpr int kScenarioMapSizeId = 198;
constexpr int kScenarioPictureId = 199;
constexpr int kScenarioStartId = 200;
constexpr int kScenarioBackId = 201;
// Layout entry of the framed box behind the controls.
constexpr int kScenarioBoxLayoutId = 177;

// Texture-table slot of the chosen entry's picture (the wallpaper uses the
// menus' wallpaper slot).
constexpr int kScenarioPictureSlot = 4;
// Description and objectives show at most this many lines.
constexpr int kScenarioMemoMaxLines = 99;

// One listed folder.
struct sScenarioEntry {
  std::wstring folderName;  // as found on disk
  std::wstring folder;      // "data\scenarios\<folder name>\"
  std::wstring name;        // "General_<language>/Name"
  std::wstring row;         // the list row text
  // A saved game that cannot load (files/save_check.h): listed, so that it
  // does not vanish without a word, but not started.
  bool damaged = false;
  // Why, in the player's words.
  std::wstring damage;
  // A saved game whose files are not all as it wrote them (a hand edit):
  // listed with the files named, and the rows each changed table lost;
  // Start asks before it loads it.
  std::vector<std::wstring> changedFiles;
  std::vector<sLostRows> lostRows;
};

// The listed folder of a tab ("data\scenarios", ...); empty for another tab.
const wchar_t* ScenarioTabFolder(int tab);

// Whether a text fits the list's scenario column.
using ScenarioCellFits = std::function<bool(const std::wstring& text)>;

// The entries of a tab: the sub-folders of its folder that are not hidden
// and have a loadable "Info.ini", sorted by folder name; on the tabs of
// saved games also those without one, and each save that cannot load,
// marked damaged with the reason. A missing folder gives none. A save whose
// files changed names them in its row's scenario cell, each table that lost
// rows with its rows; where that does not fit (fits), the tables that lost
// rows come first (with their rows, else by name), then the number of
// files.
std::vector<sScenarioEntry> ListScenarioEntries(int tab, std::string_view languageCode,
                                                const ScenarioCellFits& fits = {});

// A save's damage in the player's words ("map.tdw is missing."), and the
// text that refuses a save damaged so.
std::wstring SaveDamageText(const sSaveDamage& damage);
std::wstring DamagedSaveText(const std::wstring& damage);
// The changed files of a save, each table that lost rows with its rows
// ("Info.ini, land_units.csv: 85 of 176 rows").
std::wstring ChangedFilesText(const std::vector<std::wstring>& files, const std::vector<sLostRows>& lostRows);
// The note on a save whose files changed since it was saved, naming them.
std::wstring ChangedSaveText(const std::vector<std::wstring>& files, const std::vector<sLostRows>& lostRows);
// The question before a changed save loads; one whose tables lost rows
// names each with its rows, a line each.
std::wstring ChangedSaveQuestion(const std::vector<sLostRows>& lostRows);

// The key path of line `line` of a description-like key ("DescriptionLine").
// Text of up to kScenarioMemoMaxLines lines "General_<language>/<key><n>",
// each ended by a line break, stopping at the first missing line.
std::wstring ReadScenarioLines(cIniFile& ini, std::string_view languageCode, std::string_view key);

// Back from a scenario or saved game whose loading failed: the scenario
// menu on the tab with the entry selected, and over it the message that
// says why.
void ReturnToScenarioMenu(int tab, std::wstring_view folderName, const std::wstring& reason);

// The display name of the scenario chosen last; its row is preselected.
extern std::wstring g_RememberedScenarioName;

class cScenarioMenu : public cMenu {
 public:
  cScenarioMenu();
  ~cScenarioMenu() override;

  // Lists the entries of the current tab, selects the remembered one (or
  // the first) and enables start only when there are entries.
  void FillList();
  // Shows the tab with its list, the entry of the folder name selected when
  // it is listed.
  void ShowTab(int tab, std::wstring_view folderName);
  // A message over the menu: the text, titled that the game cannot start.
  void Refuse(const std::wstring& text);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  // Acts on the answer to the question of a changed save once the question
  // has closed: the save loads ("load it") or the player stays on it.
  void OnFrameMove(double time, float elapsed) override;
  void OnRender(float elapsed) override;

  int GetTab() const { return tab_; }
  const std::vector<sScenarioEntry>& Entries() const { return entries_; }

 private:
  // Shows the selected entry's "Info.ini" in the fields.
  void ShowSelectedEntry();
  void ClearFields();
  // Starts the selected entry (fromList: the list's double click).
  void Start(bool fromList);
  // Starts the entry of the folder on the tab. A saved game is checked
  // again first: a damaged one is refused, and one whose files changed
  // since it was saved is loaded only once the player has said so
  // (askWhenChanged: the question is asked, and nothing else is done). A
  // scenario copied from another that still names the original's folder
  // is refused (CopiedScenarioRefusal).
  void StartFolder(int tab, const std::wstring& folderName, bool fromList, bool askWhenChanged);
  // Selects the row of the folder, when it is listed, and shows it.
  void SelectFolder(std::wstring_view folderName);

  void BackToMainMenu();
  void LoadWallpaper();
  const sScenarioEntry* SelectedEntry() const;

  int tab_ = kScenarioTabNewGame;
  std::vector<sScenarioEntry> entries_;
  CDXUTListBox* list_ = nullptr;
  CDXUTImage* picture_ = nullptr;
  CDXUTTabFrame* tabs_ = nullptr;

  // The save the question of a changed save asks about, while it is asked.
  struct sAskedStart {
    int tab = kScenarioTabSavedGame;
    std::wstring folderName;
    bool fromList = false;
    // The player's answer, once given.
    std::optional<bool> load;
  };
  std::optional<sAskedStart> asked_;
  // Told the question's answer (the menu is no dialog itself).
  std::unique_ptr<cDialog> answer_listener_;
};
