#include "screens/scenario_menu.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/console_log.h"
#include "dialogs/dialog_stack.h"
#include "screens/game_start.h"
#include "app/gui_layout.h"
#include "app/ini_file.h"
#include "gui/control_groups.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "files/save_check.h"
#include "files/save_folders.h"
#include "files/world_loader.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "screens/loading_menu.h"
#include "screens/main_menu.h"
#include "screens/screen_helpers.h"

std::wstring g_RememberedScenarioName;

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kUnknownName = L"Unknown name";
constexpr const wchar_t* kUnknownAuthor = L"unknown";
constexpr const wchar_t* kNoDate = L"--.--.-- --:--";
constexpr const wchar_t* kNothing = L"-";
// Index of the screen-title font (layout font 3).
// Texts of the message shown when a start fails.


std::string LanguageKey(std::string_view languageCode, std::string_view key) {
  std::string path = "General_";
  path += languageCode;
  path += '/';
  path += key;
  return path;
}

bool HasKey(const cIniFile& ini, std::string_view path) {
  const auto it = ini.Entries().find(path);
  return it != ini.Entries().end() && it->second.value.has_value();
}

// A label and the read-only field beside it.
struct sLabeledField {
  int labelId;
  const char* labelKey;
  int fieldId;
};
constexpr sLabeledField kFields[] = {
    {181, "scenario_author", kScenarioAuthorId},     {183, "scenario_version", kScenarioVersionId},
    {185, "scenario_duration", kScenarioDurationId}, {197, "scenario_map_size", kScenarioMapSizeId},
    {187, "scenario_save_date", kScenarioSaveDateId}, {189, "scenario_save_turn", kScenarioSaveTurnId},
};

// The file names as a list: "land_units.csv, Info.ini".
std::wstring JoinedNames(const std::vector<std::wstring>& names) {
  std::wstring joined;
  for (const std::wstring& name : names) {
    if (!joined.empty()) joined += L", ";
    joined += name;
  }
  return joined;
}

// Stands in for the menu, which is no dialog, as the listener of its
// question: hands the answer on. It is on no stack.
class cAnswerListener : public cDialog {
 public:
  explicit cAnswerListener(std::function<void(bool)> onAnswer) : cDialog(0), on_answer_(std::move(onAnswer)) {}
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl*) override {
    if (event != EVENT_BUTTON_CLICKED) return;
    if (controlId == cDialogPotwierdzenia::kYesId || controlId == cDialogPotwierdzenia::kNoId) {
      on_answer_(controlId == cDialogPotwierdzenia::kYesId);
    }
  }

 private:
  std::function<void(bool)> on_answer_;
};

}  // namespace

const wchar_t* ScenarioTabFolder(int tab) {
  switch (tab) {
    case kScenarioTabNewGame: return L"data\\scenarios";
    case kScenarioTabSavedGame: return L"data\\save";
    case kScenarioTabPbemGame: return L"data\\pbem";
    default: return L"";
  }
}

std::vector<sScenarioEntry> ListScenarioEntries(int tab, std::string_view languageCode,
                                                const ScenarioCellFits& fits) {
  std::vector<sScenarioEntry> entries;
  const std::wstring root = ScenarioTabFolder(tab);
  if (root.empty()) return entries;

  // The folder names first, so the order does not depend on the file system.
  std::vector<std::wstring> names;
  if (tab == kScenarioTabNewGame) {
    std::error_code error;
    fs::directory_iterator it(plat::ResolvePath(std::wstring_view(root)), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
      std::error_code typeError;
      if (!it->is_directory(typeError) || typeError) continue;
      const std::string name = it->path().filename().string();
      // Hidden folders, "." and ".." among them, are never entries.
      if (name.empty() || name[0] == '.') continue;
      names.push_back(plat::FromUtf8(name));
    }
    std::sort(names.begin(), names.end());
  } else {
    // Saves: without the copies a save makes while it runs; a save whose
    // folder a killed save left under a copy's name is taken back.
    names = ListSaveFolders(root);
  }

  const std::string nameKey = LanguageKey(languageCode, "Name");
  for (const std::wstring& folderName : names) {
    sScenarioEntry entry;
    entry.folderName = folderName;
    // Folder names are joined into paths, never used as formats.
    entry.folder = root + L"\\" + folderName + L"\\";
    cIniFile ini;
    ini.Load(entry.folder + L"Info.ini");
    if (tab == kScenarioTabNewGame && !ini.IsLoaded()) continue;
    if (tab != kScenarioTabNewGame) {
      sSaveCheck check = CheckSavedGame(root + L"\\" + folderName, ini);
      if (check.damage) {
        entry.damaged = true;
        entry.damage = SaveDamageText(*check.damage);
        entry.name = Text("scenario_damaged_save");
        entry.row = plat::Format(L"%s;%s;%s", folderName, entry.name, ini.GetString("Save/Date", kNoDate));
        entries.push_back(std::move(entry));
        continue;
      }
      entry.changedFiles = std::move(check.changedFiles);
      entry.lostRows = std::move(check.lostRows);
    }
    entry.name = ini.GetString(nameKey, kUnknownName);
    if (tab == kScenarioTabNewGame) {
      entry.row = plat::Format(L"%s;%i;%ix%i", entry.name, ini.GetInt("Duration/Turns", 0),
                               ini.GetInt("Map/SizeX", 0), ini.GetInt("Map/SizeY", 0));
    } else {
      // A changed save shows what changed where its scenario's name stands;
      // the description names every file.
      std::wstring shown = entry.name;
      if (!entry.changedFiles.empty()) {
        shown = plat::Format(Text("scenario_changed_save_%s"), ChangedFilesText(entry.changedFiles, entry.lostRows));
        // What does not fit gives way to the lost rows, which the player
        // must see before loading.
        if (fits && !fits(shown) && !entry.lostRows.empty()) {
          std::vector<std::wstring> lostFiles;
          for (const sLostRows& lost : entry.lostRows) lostFiles.push_back(lost.file);
          for (const std::wstring& named : {ChangedFilesText({}, entry.lostRows), JoinedNames(lostFiles)}) {
            shown = plat::Format(Text("scenario_changed_save_rows_lost_%s"), named);
            if (fits(shown)) break;
          }
          if (!fits(shown)) {
            shown = plat::Format(Text("scenario_changed_save_rows_lost_files_%i"),
                                 static_cast<int>(entry.lostRows.size()));
          }
        } else if (fits && !fits(shown)) {
          shown = plat::Format(Text("scenario_changed_save_files_%i"), static_cast<int>(entry.changedFiles.size()));
        }
      }
      entry.row = plat::Format(L"%s;%s;%s", folderName, shown, ini.GetString("Save/Date", kNoDate));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::wstring DamagedSaveText(const std::wstring& damage) {
  return plat::Format(Text("scenario_damaged_save_%s"), damage);
}

std::wstring SaveDamageText(const sSaveDamage& damage) {
  switch (damage.kind) {
    case eSaveDamage::kNoHeader: return Text("save_damage_no_header");
    case eSaveDamage::kNoScenarioName: return Text("save_damage_no_scenario_name");
    case eSaveDamage::kFileMissing: return plat::Format(Text("save_damage_%s_missing"), damage.file);
  }
  return {};
}

namespace {

std::wstring LostRowsText(const sLostRows& lost) {
  return plat::Format(Text("save_rows_lost_%s_%i_of_%i"), lost.file, static_cast<int>(lost.rows),
                      static_cast<int>(lost.savedRows));
}

}  // namespace

std::wstring ChangedFilesText(const std::vector<std::wstring>& files, const std::vector<sLostRows>& lostRows) {
  std::vector<std::wstring> names;
  for (const sLostRows& lost : lostRows) {
    if (std::find(files.begin(), files.end(), lost.file) == files.end()) names.push_back(LostRowsText(lost));
  }
  for (const std::wstring& file : files) {
    const auto lost = std::find_if(lostRows.begin(), lostRows.end(),
                                   [&file](const sLostRows& rows) { return rows.file == file; });
    names.push_back(lost == lostRows.end() ? file : LostRowsText(*lost));
  }
  return JoinedNames(names);
}

std::wstring ChangedSaveText(const std::vector<std::wstring>& files, const std::vector<sLostRows>& lostRows) {
  return plat::Format(Text("scenario_changed_save_note_%s"), ChangedFilesText(files, lostRows));
}

std::wstring ChangedSaveQuestion(const std::vector<sLostRows>& lostRows) {
  if (lostRows.empty()) return Text("scenario_changed_save_question");
  std::wstring lines;
  for (const sLostRows& lost : lostRows) lines += (lines.empty() ? L"" : L"\n") + LostRowsText(lost);
  return plat::Format(Text("scenario_changed_save_rows_question_%s"), lines);
}

std::wstring ReadScenarioLines(cIniFile& ini, std::string_view languageCode, std::string_view key) {
  std::wstring text;
  const std::string prefix = LanguageKey(languageCode, key);
  for (int line = 1; line <= kScenarioMemoMaxLines; ++line) {
    const std::string path = prefix + std::to_string(line);
    if (!HasKey(ini, path)) break;
    text += ini.GetString(path, L"");
    text += L"\n";
  }
  return text;
}

cScenarioMenu::cScenarioMenu() {
  LogLine(L"----- SinglePlayer Menu -----");
  LoadWallpaper();

  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kScenarioTitleId, Text("scenario_title"), &title);
  if (title != nullptr) {
    title->SetEnabled(true);
    if (CDXUTElement* element = title->GetElement(0)) {
      element->iFont = kTitleFont;
      element->FontColor.Init(g_GuiFonts[kTitleFont].color);
    }
  }

  // The tab frame first: the controls of the tabs stand on it.
  dialog_.AddTabFrameFromLayout(kScenarioTabsId, &tabs_);
  dialog_.AddListBoxFromLayout(kScenarioListId, 0, &list_);
  if (list_ != nullptr) list_->SetColumns(3, Text("scenarios_list_new_game_columns"), 60, 20, 20);

  for (const sLabeledField& field : kFields) {
    CDXUTStatic* label = nullptr;
    dialog_.AddStaticFromLayout(field.labelId, Text(field.labelKey), &label);
    if (label != nullptr) label->SetEnabled(true);
    dialog_.AddEditBoxFromLayout(field.fieldId, kNothing, nullptr);
  }
  CDXUTStatic* label = nullptr;
  dialog_.AddStaticFromLayout(191, Text("scenario_description"), &label);
  if (label != nullptr) label->SetEnabled(true);
  dialog_.AddMemoFromLayout(kScenarioDescriptionId, L"");
  dialog_.AddStaticFromLayout(193, Text("scenario_goals"), &label);
  if (label != nullptr) label->SetEnabled(true);
  dialog_.AddMemoFromLayout(kScenarioObjectivesId, L"");

  dialog_.AddImageFromLayout(kScenarioPictureId, nullptr, 0, 0, 512, 512, nullptr, 0xFFFFFFFFu, &picture_);
  if (picture_ != nullptr) picture_->SetVisible(false);

  dialog_.AddButtonFromLayout(kScenarioStartId, Text("scenario_new_game_start"),
                              Text("scenario_new_game_start_hint"));
  dialog_.AddButtonFromLayout(kScenarioBackId, Text("scenario_back"), Text("scenario_back_hint"));
  AddVersionLine(dialog_);

  if (tabs_ != nullptr) {
    tabs_->AddTab(Text("scenario_tab_new_game"), kScenarioTabNewGame, 0, -1);
    tabs_->AddTab(Text("scenario_tab_load_game"), kScenarioTabSavedGame, 187, 190);
    tabs_->AddTab(Text("scenario_tab_load_pbem_game"), kScenarioTabPbemGame, 187, 190);
    tabs_->SelectTab(kScenarioTabNewGame, false);
  }
  answer_listener_ = std::make_unique<cAnswerListener>([this](bool load) {
    if (asked_) asked_->load = load;
  });
  dialog_.SetVisible(true);
}

cScenarioMenu::~cScenarioMenu() {
  if (picture_ != nullptr) picture_->m_pTexture = nullptr;
  // The picture's slot belongs to the scenario menu on the screen: a new one
  // that retired this one (back from a failed start) shows its own picture
  // there.
  if (g_pCurrentMenu == this || dynamic_cast<cScenarioMenu*>(g_pCurrentMenu) == nullptr) {
    g_Textures[kScenarioPictureSlot].Release();
  }
}

void cScenarioMenu::LoadWallpaper() {
  g_Textures[kMenuWallpaperSlot].Release();
  g_Textures[kMenuWallpaperSlot].Load(L"data\\gfx\\wallpaper_scenario.png", cTexture::kFromFile, 1);
}

void cScenarioMenu::ClearFields() {
  for (const sLabeledField& field : kFields) {
    if (auto* edit = static_cast<CDXUTEditBox*>(dialog_.GetControl(field.fieldId, DXUT_CONTROL_EDITBOX))) {
      edit->SetText(kNothing);
    }
  }
  for (int id : {kScenarioDescriptionId, kScenarioObjectivesId}) {
    if (auto* memo = static_cast<CDXUTMemo*>(dialog_.GetControl(id, DXUT_CONTROL_MEMO))) memo->ClearText();
  }
  if (picture_ != nullptr) {
    picture_->SetVisible(false);
    picture_->m_pTexture = nullptr;
  }
  g_Textures[kScenarioPictureSlot].Release();
}

void cScenarioMenu::FillList() {
  ClearFields();
  if (list_ == nullptr) return;
  list_->RemoveAllItems();
  if (tab_ == kScenarioTabNewGame) {
    list_->SetColumns(3, Text("scenarios_list_new_game_columns"), 70, 15, 15);
  } else {
    list_->SetColumns(3,
                      Text(tab_ == kScenarioTabSavedGame ? "scenarios_list_saved_game_columns"
                                                         : "scenarios_list_saved_pbem_columns"),
                      40, 40, 20);
  }
  // A cell is drawn in the rows' font and cut at its column's edges.
  const ScenarioCellFits fits = [this](const std::wstring& text) {
    const auto& columns = list_->GetColumns();
    plat::RectI measured{0, 0, 0, 0};
    if (columns.size() < 2 || FAILED(dialog_.CalcTextRect(text.c_str(), list_->GetElement(9), measured))) {
      return false;
    }
    return measured.right - measured.left <= columns[1].nWidth;
  };
  entries_ = ListScenarioEntries(tab_, g_StringBase.GetLanguageCode(), fits);
  int selected = 0;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    list_->AddItem(entries_[k].row.c_str(), &entries_[k]);
    // The last row of the remembered name wins.
    if (entries_[k].name == g_RememberedScenarioName) selected = static_cast<int>(k);
  }
  dialog_.SetControlEnabled(kScenarioStartId, !entries_.empty());
  if (entries_.empty()) return;
  list_->SelectItem(selected, false);
  ShowSelectedEntry();
}

const sScenarioEntry* cScenarioMenu::SelectedEntry() const {
  if (list_ == nullptr) return nullptr;
  DXUTListBoxItem* item = list_->GetSelectedItem();
  return item != nullptr ? static_cast<const sScenarioEntry*>(item->pData) : nullptr;
}

void cScenarioMenu::ShowSelectedEntry() {
  const sScenarioEntry* entry = SelectedEntry();
  ClearFields();
  if (entry == nullptr) return;
  // A damaged save: the fields stay empty, the description says why.
  if (entry->damaged) {
    if (auto* memo = static_cast<CDXUTMemo*>(dialog_.GetControl(kScenarioDescriptionId, DXUT_CONTROL_MEMO))) {
      memo->SetText(DamagedSaveText(entry->damage).c_str());
    }
    return;
  }
  cIniFile ini;
  ini.Load(entry->folder + L"Info.ini");
  // Gone since the list was made: the fields stay empty.
  if (!ini.IsLoaded()) return;
  const std::string language = g_StringBase.GetLanguageCode();
  g_RememberedScenarioName = ini.GetString(LanguageKey(language, "Name"), kUnknownName);

  auto setField = [this](int id, const std::wstring& text) {
    if (auto* edit = static_cast<CDXUTEditBox*>(dialog_.GetControl(id, DXUT_CONTROL_EDITBOX))) {
      edit->SetText(text.c_str());
    }
  };
  setField(kScenarioAuthorId, ini.GetString("Misc/Author", kUnknownAuthor));
  setField(kScenarioVersionId, ini.GetString("Misc/Version", kNothing));
  setField(kScenarioDurationId, plat::Format(Text("scenario_duration_%s_to_%s_%i_turns"),
                                             ini.GetString("Duration/StartDate", kNoDate),
                                             ini.GetString("Duration/EndDate", kNoDate),
                                             ini.GetInt("Duration/Turns", 0)));
  setField(kScenarioMapSizeId,
           plat::Format(L"%ix%i", ini.GetInt("Map/SizeX", 0), ini.GetInt("Map/SizeY", 0)));
  if (tab_ != kScenarioTabNewGame) {
    if (HasKey(ini, "Save/Date")) setField(kScenarioSaveDateId, ini.GetString("Save/Date", kNoDate));
    if (HasKey(ini, "Save/Turn")) {
      setField(kScenarioSaveTurnId,
               plat::Format(Text("%02d.%02d.%02d_turn_%i"), ini.GetInt("Save/GameYearDisplayed", 0),
                            ini.GetInt("Save/GameMonthDisplayed", 0), ini.GetInt("Save/GameDayDisplayed", 0),
                            ini.GetInt("Save/Turn", 0)));
    }
  }
  if (auto* memo = static_cast<CDXUTMemo*>(dialog_.GetControl(kScenarioDescriptionId, DXUT_CONTROL_MEMO))) {
    // A changed save says so before its description.
    std::wstring text = entry->changedFiles.empty()
                            ? std::wstring()
                            : ChangedSaveText(entry->changedFiles, entry->lostRows) + L"\n\n";
    text += ReadScenarioLines(ini, language, "DescriptionLine");
    memo->SetText(text.c_str());
  }
  if (auto* memo = static_cast<CDXUTMemo*>(dialog_.GetControl(kScenarioObjectivesId, DXUT_CONTROL_MEMO))) {
    memo->SetText(ReadScenarioLines(ini, language, "ObjectivesLine").c_str());
  }

  // The entry's own picture, else (a saved game) its scenario's.
  cTexture& picture = g_Textures[kScenarioPictureSlot];
  if (picture.Load((entry->folder + L"image.png").c_str(), cTexture::kFromFile, 1) < 0) {
    const std::wstring scenario = ini.GetString("Save/ScenarioName", L"unknown scenario");
    picture.Load((L"data\\scenarios\\" + scenario + L"\\image.png").c_str(), cTexture::kFromFile, 1);
  }
  if (picture.Get() != nullptr && picture_ != nullptr) {
    picture_->m_pTexture = picture.Get();
    // Pictures are 512 x 512; a smaller one is shown whole rather than
    // sampled beyond its edges.
    picture_->m_rcSource = {0, 0, std::min(512, picture.Get()->Width()),
                            std::min(512, picture.Get()->Height())};
    picture_->SetVisible(true);
  }
}

void cScenarioMenu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  // The message of a failed start is modal over this screen.
  if (g_pActiveDialog != nullptr) return;
  switch (controlId) {
    case kScenarioTabsId:
      if (tabs_ != nullptr && tabs_->GetSelectedTab() >= 0 && tabs_->GetSelectedTab() <= kScenarioTabPbemGame) {
        tab_ = tabs_->GetSelectedTab();
        FillList();
      }
      return;
    case kScenarioListId:
      if (event == EVENT_LISTBOX_SELECTION) ShowSelectedEntry();
      else if (event == EVENT_LISTBOX_ITEM_DBLCLK) Start(true);
      return;
    case kScenarioStartId:
      if (event == EVENT_BUTTON_CLICKED) Start(false);
      return;
    case kScenarioBackId:
      if (event == EVENT_BUTTON_CLICKED) BackToMainMenu();
      return;
    default: return;
  }
}

void cScenarioMenu::Refuse(const std::wstring& text) {
  PushDialog(new cDialogTekstowy(text.c_str(), Text("scenario_load_failed_title"), kMessageLayoutIndex));
}

void cScenarioMenu::Start(bool fromList) {
  const sScenarioEntry* entry = SelectedEntry();
  if (entry == nullptr) return;
  StartFolder(tab_, entry->folderName, fromList, true);
}

void cScenarioMenu::StartFolder(int tab, const std::wstring& folderName, bool fromList, bool askWhenChanged) {
  const std::wstring root = ScenarioTabFolder(tab);
  const std::wstring folder = root + L"\\" + folderName;
  // What can be told before loading: the folder is still there, and its
  // name can stand in a path pattern whose only "%s" is the file name. Past
  // this point a file that cannot be used ends the loading with its line,
  // and the player is brought back here (ReturnToScenarioMenu).
  if (!plat::FolderExists(plat::ResolvePath(std::wstring_view(folder + L"\\"))) ||
      folderName.find(L'%') != std::wstring::npos) {
    Refuse(Text("scenario_load_failed"));
    return;
  }
  if (tab == kScenarioTabNewGame) {
    // A copy of another scenario that still names the original's folder
    // (in its header or its event list) would end the program at its
    // loading: refused with the line that loading writes, the player mends
    // the file it names and starts it again.
    if (const std::optional<std::wstring> refusal = CopiedScenarioRefusal(folder + L"\\%s")) {
      g_ConsoleLog.WriteLine(*refusal);
      LogLine(L"-- The scenario %s names another scenario's folder and is not loaded", folder);
      Refuse(plat::Format(Text("scenario_start_refused_%s"), *refusal));
      return;
    }
  } else {
    // A saved game is looked at again: it may have changed since the list
    // was made, or since the player was asked.
    cIniFile header;
    header.Load(folder + L"\\Info.ini");
    const sSaveCheck check = CheckSavedGame(folder, header);
    if (check.damage) {
      LogLine(L"-- The saved game %s is damaged and is not loaded", folder);
      Refuse(DamagedSaveText(SaveDamageText(*check.damage)));
      return;
    }
    if (askWhenChanged && !check.changedFiles.empty()) {
      LogLine(L"-- The saved game %s changed since it was saved (%s): asking before loading it", folder,
              ChangedFilesText(check.changedFiles, check.lostRows));
      asked_ = sAskedStart{tab, folderName, fromList, std::nullopt};
      const std::wstring asked = ChangedSaveQuestion(check.lostRows);
      auto* question = new cDialogPotwierdzenia(
          Text("scenario_changed_save_title"), asked.c_str(),
          Text("scenario_changed_save_load"), Text("scenario_changed_save_load_hint"),
          Text("scenario_changed_save_back"), Text("scenario_changed_save_back_hint"));
      PushDialog(question);
      question->SetListener(answer_listener_.get());
      return;
    }
  }
  if (!fromList) g_Textures[kMenuWallpaperSlot].Release();
  g_GameStartSettings.folderPattern = folder + L"\\%s";
  g_GameStartSettings.isSavedGame = tab != kScenarioTabNewGame ? 1 : 0;
  if (fromList) {
    g_ConsoleLog.WriteLine(plat::Format(Text("loading_scenario_from_%s"), g_GameStartSettings.folderPattern));
  }
  const sGameStartSettings settings = g_GameStartSettings;
  // The loading screen retires this menu: nothing of it is touched after.
  new cLoadingMenu();
  if (const std::optional<std::wstring> failure = LoadScenario(settings)) {
    ReturnToScenarioMenu(tab, folderName, *failure);
  }
}

void cScenarioMenu::OnFrameMove(double, float) {
  // The answer waits until the question has closed: the loading screen and
  // any message that follows do not start under it.
  if (!asked_ || g_pActiveDialog != nullptr) return;
  const sAskedStart asked = std::move(*asked_);
  asked_.reset();
  // A question closed without an answer is a "back".
  if (asked.load.value_or(false)) {
    LogLine(L"-- The player loads the changed saved game %s\\%s", ScenarioTabFolder(asked.tab), asked.folderName);
    // Checked once more: a save damaged meanwhile is refused.
    StartFolder(asked.tab, asked.folderName, asked.fromList, false);
    return;
  }
  // Back: the player stays on the save, whatever was clicked under the
  // question.
  LogLine(L"-- The changed saved game %s\\%s is not loaded: the player went back", ScenarioTabFolder(asked.tab),
          asked.folderName);
  const sScenarioEntry* selected = SelectedEntry();
  if (asked.tab == tab_ && (selected == nullptr || selected->folderName != asked.folderName)) {
    SelectFolder(asked.folderName);
  }
}

void cScenarioMenu::ShowTab(int tab, std::wstring_view folderName) {
  if (tabs_ != nullptr) tabs_->SelectTab(tab, false);
  tab_ = tab;
  FillList();
  SelectFolder(folderName);
}

void cScenarioMenu::SelectFolder(std::wstring_view folderName) {
  if (list_ == nullptr) return;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    if (entries_[k].folderName != folderName) continue;
    list_->SelectItem(static_cast<int>(k), false);
    ShowSelectedEntry();
    return;
  }
}

void ReturnToScenarioMenu(int tab, std::wstring_view folderName, const std::wstring& reason) {
  auto* menu = new cScenarioMenu();
  menu->ShowTab(tab, folderName);
  menu->Refuse(plat::Format(
      Text(tab == kScenarioTabNewGame ? "scenario_new_game_load_failed_%s" : "scenario_save_load_failed_%s"), reason));
}

void cScenarioMenu::BackToMainMenu() {
  g_Textures[kMenuWallpaperSlot].Release();
  // This menu is retired by the new one and freed after the frame.
  new cMainMenu();
}

void cScenarioMenu::OnKeyboard(unsigned key, bool keyDown, bool altDown) {
  // Keys belong to a message shown over this screen.
  if (g_pActiveDialog != nullptr) {
    if (g_pActiveDialog->Dialog().GetVisible()) g_pActiveDialog->OnKeyboard(key, keyDown, altDown);
    return;
  }
  if (keyDown && key == plat::kVkEscape) BackToMainMenu();
}

void cScenarioMenu::OnRender(float elapsed) {
  DrawMenuWallpaper(kMenuWallpaperSlot);
  const sLayoutRect& box = g_GuiLayout[kScenarioBoxLayoutId];
  DrawFramedBox(box.a, box.b, box.c, box.d, -1);
  dialog_.OnRender(elapsed);
}
