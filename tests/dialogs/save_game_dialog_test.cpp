// The save-game dialog: the names it refuses, the trimmed name it saves
// under and asks about, the overwrite question answered both ways, the list
// of saves, a failed save told as such; and the hotkeys list.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ini_file.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/hotkeys_dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "dialogs/save_game_dialog.h"
#include "files/save_game.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/messages.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/map.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

class SaveGameDialog : public ::testing::Test {
 protected:
  SaveGameDialog() {
    cMap& map = world_.GetMap();
    map.SetWidth(4);
    map.SetHeight(3);
    map.CreateHexes();
    world_.scenarioName = L"Alpha";
    world_.turnNumber = 3;
  }
  ~SaveGameDialog() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  cDialogZapisuGry& Open() {
    auto* d = new cDialogZapisuGry(world_, [this] { ++closed_; });
    PushDialog(d);
    return *d;
  }
  static void Click(cDialog& d, int id) { d.OnGUIEvent(EVENT_BUTTON_CLICKED, id, nullptr); }
  void SaveAs(cDialogZapisuGry& d, const wchar_t* name) {
    d.NameBox()->SetText(name);
    Click(d, cDialogZapisuGry::kSaveId);
  }
  // The text of the static of the id on the top dialog.
  static std::wstring TopText(int id) {
    const auto* label = dynamic_cast<const CDXUTStatic*>(g_pActiveDialog->Dialog().GetControl(id));
    return label != nullptr ? label->GetText() : L"<none>";
  }
  static int SavedTurn(const char* name) {
    cIniFile ini;
    ini.Load(std::wstring(L"data\\save\\") + std::wstring(name, name + std::char_traits<char>::length(name)) +
             L"\\Info.ini");
    return ini.GetInt("Save/Turn", -1);
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
  int closed_ = 0;
};

TEST_F(SaveGameDialog, EmptyNamesAndNamesThatLeaveTheFolderAreRefusedWithAMessage) {
  cDialogZapisuGry& d = Open();
  // Without a language base the text of a key is the key.
  EXPECT_EQ(std::wstring(d.NameBox()->GetText()), L"save_game_default_name");
  for (const wchar_t* bad : {L"", L"   ", L"..", L"a/b", L"a\\b", L"x..y", L"c:x", L"50%s"}) {
    SaveAs(d, bad);
    ASSERT_EQ(g_DialogStack.size(), 2u) << plat::NarrowBytes(bad);
    EXPECT_EQ(TopText(684 + 3), L"save_game_invalid_name");
    PopDialogs(1);
    EXPECT_FALSE(d.SavePending());
  }
  EXPECT_FALSE(fs::exists("data/save") && !fs::is_empty("data/save"));
  EXPECT_FALSE(fs::exists("data/a"));
}

// Names the lists could not show, and names longer than a save name may be,
// are refused with a message that says why, before anything is written.
TEST_F(SaveGameDialog, NamesTheListsCannotShowAndOverlongNamesAreRefusedBeforeAnythingIsWritten) {
  cDialogZapisuGry& d = Open();
  const std::wstring longest(kMaxSaveNameLength, L'n');
  const struct { std::wstring name; std::wstring text; } cases[] = {
      {L".hidden", L"save_game_name_not_listable"},
      {L" .hidden", L"save_game_name_not_listable"},
      {L"Plan;B|C", L"save_game_name_not_listable"},
      {L"a|b", L"save_game_name_not_listable"},
      {L"a;b/c", L"save_game_invalid_name"},
      // No language base: the key is the text, formatted with the limit.
      {longest + L"x", L"save_game_name_too_long_" + std::to_wstring(kMaxSaveNameLength)},
  };
  for (const auto& c : cases) {
    SaveAs(d, c.name.c_str());
    ASSERT_EQ(g_DialogStack.size(), 2u) << plat::NarrowBytes(c.name);
    EXPECT_EQ(TopText(684 + 3), c.text) << plat::NarrowBytes(c.name);
    PopDialogs(1);
  }
  EXPECT_FALSE(fs::exists("data/save") && !fs::is_empty("data/save"));
  EXPECT_FALSE(SaveGame(world_, L"Plan;B", false).ok);
  EXPECT_FALSE(fs::exists("data/save") && !fs::is_empty("data/save"));
  // The longest name is taken whole, blanks around it aside, and listed.
  SaveAs(d, (L" " + longest + L" ").c_str());
  EXPECT_EQ(TopText(684 + 3), L"save_game_successfull");
  EXPECT_EQ(ListSaveRows(L"data\\save", "ENG").at(0).folderName, longest);
}

TEST_F(SaveGameDialog, TrimmedNamesAreOneSaveAndTheQuestionNamesItAnsweredNoThenYes) {
  cDialogZapisuGry& d = Open();
  SaveAs(d, L"  Alpha ");
  // A new save: written at once, no question, the success message.
  ASSERT_EQ(g_DialogStack.size(), 2u);
  EXPECT_EQ(TopText(684 + 3), L"save_game_successfull");
  EXPECT_EQ(SavedTurn("Alpha"), 3);
  EXPECT_EQ(std::wstring(d.NameBox()->GetText()), L"Alpha");
  PopDialogs(1);
  ASSERT_EQ(d.List()->GetSize(), 1);
  EXPECT_EQ(std::wstring(d.List()->GetItem(0)->strText).substr(0, 6), L"Alpha;");

  // " Alpha" is the same save: asked about under the name it has.
  world_.turnNumber = 4;
  SaveAs(d, L" Alpha");
  ASSERT_EQ(g_pActiveDialog->GetId(), cDialogPotwierdzenia::kId);
  EXPECT_TRUE(d.SavePending());
  EXPECT_EQ(TopText(704), L"save_overwrite_question_Alpha");
  g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kNoId, nullptr);
  // No: the old save stays, the dialog is open and no longer waiting.
  EXPECT_EQ(g_pActiveDialog, &d);
  EXPECT_FALSE(d.SavePending());
  EXPECT_EQ(SavedTurn("Alpha"), 3);

  SaveAs(d, L"Alpha ");
  ASSERT_EQ(g_pActiveDialog->GetId(), cDialogPotwierdzenia::kId);
  g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  EXPECT_EQ(TopText(684 + 3), L"save_game_successfull");
  EXPECT_EQ(SavedTurn("Alpha"), 4);
  PopDialogs(1);
  EXPECT_FALSE(fs::exists("data/save/ Alpha"));
  EXPECT_FALSE(fs::exists("data/save/Alpha "));
  EXPECT_EQ(d.List()->GetSize(), 1);

  // Closing hands the map back once.
  Click(d, cDialogZapisuGry::kExitId);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(closed_, 1);
}

TEST_F(SaveGameDialog, ListsEverySaveWithDefaultsAndARowClickFillsTheName) {
  fs::create_directories("data/save/Bare");
  fs::create_directories("data/save/Full");
  std::ofstream("data/save/Full/Info.ini", std::ios::binary)
      << "[General_ENG]\r\nName=Europe\r\n[Save]\r\nTurn=7\r\nDate=01.02.03 04:05\r\n";
  EXPECT_EQ(ListSaveRows(L"data\\save", "ENG").size(), 2u);
  EXPECT_EQ(ListSaveRows(L"data\\save", "ENG")[1].text, L"Full;Europe;7;01.02.03 04:05");
  // Another language's name is not this language's.
  EXPECT_EQ(ListSaveRows(L"data\\save", "POL")[1].text, L"Full;Unknown name;7;01.02.03 04:05");

  cDialogZapisuGry& d = Open();
  ASSERT_EQ(d.List()->GetSize(), 2);
  EXPECT_EQ(std::wstring(d.List()->GetItem(0)->strText), L"Bare;Unknown name;1;--.--.-- --:--");
  d.List()->SelectItem(1, false);
  d.OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogZapisuGry::kListId, nullptr);
  EXPECT_EQ(std::wstring(d.NameBox()->GetText()), L"Full");
  // Saving keeps the selected row selected.
  Click(d, cDialogZapisuGry::kSaveId);
  ASSERT_EQ(g_pActiveDialog->GetId(), cDialogPotwierdzenia::kId);
  g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  PopDialogs(1);
  EXPECT_EQ(d.List()->GetSelectedIndex(), 1);
  // The row now reads the new save's turn.
  const std::wstring row = d.List()->GetItem(1)->strText;
  EXPECT_EQ(row.substr(0, 5), L"Full;");
  EXPECT_NE(row.find(L";3;"), std::wstring::npos) << plat::NarrowBytes(row);
}

TEST_F(SaveGameDialog, AFailedSaveIsToldAsAFailureAndLeavesTheOldSave) {
  cDialogZapisuGry& d = Open();
  SaveAs(d, L"Keep");
  PopDialogs(1);
  world_.turnNumber = 9;
  SaveStepHook previous = SetSaveStepHook([](eSaveStage stage, const std::wstring& file, const std::wstring&) {
    return stage == eSaveStage::kWriteFile && file == L"countries.csv" ? EIO : 0;
  });
  SaveAs(d, L"Keep");
  g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  SetSaveStepHook(std::move(previous));
  EXPECT_EQ(TopText(684 + 3).rfind(L"save_game_failed_", 0), 0u);
  EXPECT_EQ(SavedTurn("Keep"), 3);
}

// The hotkeys list: the nineteen fixed rows in their order, whatever the
// language; Enter or Escape close it (I closes it on the map screen's side),
// and the toggle opens and closes it.
TEST_F(SaveGameDialog, HotkeysListAndItsToggle) {
  ToggleHotkeysDialog();
  auto* hotkeys = dynamic_cast<cDialogSkrotowKlawiszowych*>(g_pActiveDialog);
  ASSERT_NE(hotkeys, nullptr);
  ASSERT_EQ(hotkeys->List()->GetSize(), 19);
  EXPECT_EQ(std::wstring(hotkeys->List()->GetItem(0)->strText), L"F1|Preferences");
  EXPECT_EQ(std::wstring(hotkeys->List()->GetItem(7)->strText), L"Esc|Save/Menu Options");
  EXPECT_EQ(std::wstring(hotkeys->List()->GetItem(18)->strText), L"Tab|Show next active unit");
  EXPECT_EQ(TopText(cDialogSkrotowKlawiszowych::kTitleId), L"Hotkeys");
  ToggleHotkeysDialog();
  EXPECT_TRUE(g_DialogStack.empty());

  for (unsigned key : {unsigned{plat::kVkReturn}, unsigned{plat::kVkEscape}}) {
    ToggleHotkeysDialog();
    ASSERT_EQ(g_DialogStack.size(), 1u);
    g_pActiveDialog->OnKeyboard(key, false, false);  // a key-up does nothing
    EXPECT_EQ(g_DialogStack.size(), 1u);
    g_pActiveDialog->OnKeyboard(key, true, false);
    EXPECT_TRUE(g_DialogStack.empty()) << key;
  }
}

}  // namespace
