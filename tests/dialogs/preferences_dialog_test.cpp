// The preferences: the conversions between what "Settings.ini" stores and
// what the dialog shows, the border colours, the screen sizes offered (only
// those with a layout file), and the dialog itself: changes applied at once
// and kept in the settings file by OK, read back by the next start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/preferences_values.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

TEST(PreferenceValues, VolumeStepsStoreAndReopen) {
  for (int p = 0; p <= kVolumeSteps; ++p) {
    const int expected = p == 3 ? 16 : p == 6 ? 31 : p == 12 ? 61 : 5 * p;
    EXPECT_EQ(VolumeToPercent(VolumeFromSlider(p)), expected) << "position " << p;
  }
  // What a position stores opens at that position again.
  for (int p = 0; p <= kVolumeSteps; ++p) {
    EXPECT_EQ(VolumeToSlider(static_cast<float>(VolumeToPercent(VolumeFromSlider(p)) / 100.0)), p) << p;
  }
  // A hand-written 35 per cent: the step below or at it, never a step lower.
  EXPECT_EQ(VolumeToSlider(static_cast<float>(35 / 100.0)), 7);
  EXPECT_EQ(VolumeToSlider(static_cast<float>(37 / 100.0)), 7);
  EXPECT_EQ(VolumeToSlider(1.0f), kVolumeSteps);
  EXPECT_EQ(VolumeToSlider(0.0f), 0);
}

TEST(PreferenceValues, DelaySlidersAndLabels) {
  EXPECT_EQ(DelayToSlider(1500.0f), 1);
  EXPECT_EQ(DelayToSlider(-1000.0f), -1);
  EXPECT_EQ(DelaySliderMinimum(0), 0);
  EXPECT_EQ(DelaySliderMinimum(1), -1);
  EXPECT_EQ(DelaySliderMinimum(2), -1);
  EXPECT_EQ(DelaySliderMinimum(5), 0);
  // Without a language base the texts are their keys; the seconds format
  // is the key used as a format.
  EXPECT_EQ(DelayLabel(3, 1500.0f), plat::Format(g_StringBase.GetText("pref_delay_%.1f"), 1.5));
  EXPECT_EQ(DelayLabel(5, 0.0f), plat::Format(g_StringBase.GetText("pref_delay_%.1f"), 0.0));
  EXPECT_EQ(DelayLabel(0, 0.0f), g_StringBase.GetText("pref_delay_immediately"));
  EXPECT_EQ(DelayLabel(1, 0.0f), g_StringBase.GetText("pref_delay_dont_show"));
  EXPECT_EQ(DelayLabel(2, 0.0f), g_StringBase.GetText("pref_delay_dont_show"));
  EXPECT_EQ(DelayLabel(1, -1000.0f), g_StringBase.GetText("pref_delay_wait_for_click"));
  EXPECT_EQ(DelayLabel(5, 0.0f), DelayLabel(6, 0.0f));
  EXPECT_NE(DelayLabel(5, 0.0f), DelayLabel(0, 0.0f));
  EXPECT_EQ(VisibilityLabel(0), g_StringBase.GetText("pref_visibility_disabled"));
  EXPECT_NE(VisibilityLabel(7), VisibilityLabel(0));
  EXPECT_NE(VisibilityLabel(7).find(L'7'), std::wstring::npos);
  EXPECT_EQ(VisibilityLabel(1), g_StringBase.GetText("pref_visibility_1_hex")) << "one hex, not \"1 hexes\"";
}

TEST(PreferenceValues, BorderColoursAndTheirChoice) {
  const auto& colours = BorderColours();
  ASSERT_EQ(colours.size(), static_cast<std::size_t>(kBorderColourCount));
  EXPECT_EQ(colours[0].name, L"Default");
  EXPECT_EQ(colours[0].colour, 0xFFF5A52Cu);
  EXPECT_EQ(colours[1].name, L"AliceBlue ");
  EXPECT_EQ(colours.back().name, L"YellowGreen ");
  int indianRed = -1, mediumPurple = -1, aqua = -1, cyan = -1;
  for (int i = 0; i < kBorderColourCount; ++i) {
    const std::wstring& n = colours[static_cast<std::size_t>(i)].name;
    if (n == L"IndianRed  ") indianRed = i;
    if (n == L"MediumPurple ") mediumPurple = i;
    if (n == L"Aqua ") aqua = i;
    if (n == L"Cyan ") cyan = i;
  }
  ASSERT_GT(indianRed, 0);
  EXPECT_EQ(colours[static_cast<std::size_t>(indianRed + 1)].name, L"Indigo  ");
  ASSERT_GT(mediumPurple, 0);
  EXPECT_EQ(colours[static_cast<std::size_t>(mediumPurple)].colour, 0xFF9370D8u);
  // Aqua and Cyan share a value: the later one is chosen.
  ASSERT_GT(cyan, aqua);
  EXPECT_EQ(BorderColourIndex(0xFF00FFFFu), cyan);
  EXPECT_EQ(BorderColourIndex(0xFF123456u), 0);  // a hand-written colour
  EXPECT_EQ(BorderColourIndex(0xFFF5A52Cu), 0);
}

TEST(PreferenceValues, ResolutionsOnlyWithALayoutOnceEachSorted) {
  const std::vector<plat::DisplayMode> modes = {
      {1920, 1080}, {1024, 768}, {1280, 1024}, {1920, 1080}, {800, 600}, {1280, 720}, {1024, 768}};
  auto hasLayout = [](int w, int h) { return !(w == 800 && h == 600); };
  const std::vector<sResolution> list = BuildResolutionList(modes, hasLayout);
  ASSERT_EQ(list.size(), 4u);
  const int expected[][2] = {{1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list[static_cast<std::size_t>(i)].index, i);
    EXPECT_EQ(list[static_cast<std::size_t>(i)].width, expected[i][0]);
    EXPECT_EQ(list[static_cast<std::size_t>(i)].height, expected[i][1]);
  }
  EXPECT_TRUE(BuildResolutionList(modes, [](int, int) { return false; }).empty());
  EXPECT_EQ(FrameIntervalForLimit(40), 25);
  EXPECT_EQ(FrameIntervalForLimit(0), 0);
  EXPECT_EQ(FrameIntervalForLimit(-5), 0);
}

// A working folder with the game's data linked in and no settings file.
class PreferencesDialog : public ::testing::Test {
 protected:
  PreferencesDialog() {
    const fs::path data = twtest::FindSourceRoot("data/GUI_1024x768.csv") / "data";
    fs::create_directory_symlink(data, folder_.Path() / "data");
    framework_.displayModes = {{1024, 768}, {1920, 1080}, {1000, 700}};
    LoadSettingsFrom(L"Settings.ini");  // missing: every default
    EXPECT_TRUE(LoadGuiLayoutFile(L"data\\GUI_1024x768.csv"));
  }
  ~PreferencesDialog() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }

  cDialogUstawien& Open() {
    auto* dialog = new cDialogUstawien(nullptr, [this] { ++closed_; });
    PushDialog(dialog);
    return *dialog;
  }
  template <class T>
  T* Control(cDialogUstawien& d, int id) {
    return dynamic_cast<T*>(d.Dialog().GetControl(id));
  }
  // What a player's change does: the control's new value, then its event.
  void Slide(cDialogUstawien& d, int id, int value) {
    auto* slider = Control<CDXUTSlider>(d, id);
    ASSERT_NE(slider, nullptr) << id;
    slider->SetValue(value);
    d.OnGUIEvent(0, id, slider);
  }
  void Check(cDialogUstawien& d, int id, bool checked) {
    auto* box = Control<CDXUTCheckBox>(d, id);
    ASSERT_NE(box, nullptr) << id;
    box->SetChecked(checked);
    d.OnGUIEvent(0, id, box);
  }
  void Choose(cDialogUstawien& d, int id, int index) {
    auto* combo = Control<CDXUTComboBox>(d, id);
    ASSERT_NE(combo, nullptr) << id;
    combo->SetSelectedByIndex(index);
    d.OnGUIEvent(0, id, combo);
  }
  std::wstring Label(cDialogUstawien& d, int id) {
    auto* label = Control<CDXUTStatic>(d, id);
    return label != nullptr ? std::wstring(label->GetText()) : L"<none>";
  }
  std::string SettingsFile() {
    std::ifstream in(folder_.File("Settings.ini"), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  twtest::TempWorkingFolder folder_;
  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  int closed_ = 0;
};

TEST_F(PreferencesDialog, OffersOnlyScreenSizesWithALayout) {
  cDialogUstawien& d = Open();
  // 1000x700 has no layout file; in a window the layout sizes up to the
  // largest display mode are offered too.
  bool has1920 = false, has1280x720 = false;
  for (const sResolution& r : d.Resolutions()) {
    EXPECT_TRUE(LayoutFileExists(r.width, r.height)) << r.width << "x" << r.height;
    EXPECT_FALSE(r.width == 1000 && r.height == 700);
    EXPECT_LE(r.width, 1920);
    has1920 = has1920 || (r.width == 1920 && r.height == 1080);
    has1280x720 = has1280x720 || (r.width == 1280 && r.height == 720);
  }
  EXPECT_TRUE(has1920);
  EXPECT_TRUE(has1280x720);
  auto* combo = Control<CDXUTComboBox>(d, cDialogUstawien::kResolutionId);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetNumItems(), static_cast<int>(d.Resolutions().size()));
  ASSERT_NE(combo->GetSelectedItem(), nullptr);
  EXPECT_EQ(combo->GetSelectedItem()->strText, L"1024x768");
}

TEST_F(PreferencesDialog, ChangesAreAppliedAtOnceKeptByOkAndReadBack) {
  cDialogUstawien& d = Open();
  EXPECT_EQ(Label(d, cDialogUstawien::kMusicValueId), L"100%");

  Slide(d, cDialogUstawien::kMusicId, 6);
  Slide(d, cDialogUstawien::kSfxId, 3);
  EXPECT_FLOAT_EQ(g_Settings.MusicVolume, 0.3f);
  EXPECT_EQ(Label(d, cDialogUstawien::kMusicValueId), L"30%");
  Slide(d, g_DelayKeys[kDelayAICombatResult].controlId, -1);
  Slide(d, g_DelayKeys[kDelayAIMoveBefore].controlId, 3);
  EXPECT_EQ(g_Delays[kDelayAICombatResult].load(), -1000.0f);
  EXPECT_EQ(Label(d, g_DelayKeys[kDelayAICombatResult].controlId - 1),
            g_StringBase.GetText("pref_delay_wait_for_click"));
  Slide(d, cDialogUstawien::kVisibilityId, 7);
  Slide(d, cDialogUstawien::kSeaBattleId, 5);
  EXPECT_EQ(Label(d, cDialogUstawien::kSeaBattleValueId), L"5.0 sec");
  Check(d, cDialogUstawien::kShowGridId, false);
  EXPECT_FALSE(g_Settings.ShowGrid);
  Check(d, cDialogUstawien::kConfirmEndTurnId, false);
  EXPECT_TRUE(g_Settings.SkipEndTurnConfirmation);
  Check(d, cDialogUstawien::kWindowedId, false);
  int cyan = 0;
  while (BorderColours()[static_cast<std::size_t>(cyan)].name != L"Cyan ") ++cyan;
  Choose(d, cDialogUstawien::kBorderColourId, cyan);
  EXPECT_EQ(g_Settings.BorderColor, 0xFF00FFFFu);
  Choose(d, cDialogUstawien::kFpsId, 2);  // 30
  EXPECT_EQ(g_Settings.FrameIntervalMs, 33);
  EXPECT_EQ(framework_.frameInterval, 33);
  int big = -1;
  for (const sResolution& r : d.Resolutions()) {
    if (r.width == 1920 && r.height == 1080) big = r.index;
  }
  ASSERT_GE(big, 0);
  Choose(d, cDialogUstawien::kResolutionId, big);
  // The screen size is the frame's to change: the settings keep running.
  EXPECT_EQ(g_Settings.ResolutionX, 1024);

  // Nothing reaches the disk before OK, and OK makes the missing file.
  EXPECT_FALSE(fs::exists(folder_.Path() / "Settings.ini"));
  d.OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUstawien::kOkId, d.Dialog().GetControl(cDialogUstawien::kOkId));
  EXPECT_EQ(closed_, 1);
  EXPECT_TRUE(g_DialogStack.empty());
  const std::string file = SettingsFile();
  EXPECT_NE(file.find("MusicVolume = 31"), std::string::npos) << file;
  EXPECT_NE(file.find("SFXVolume = 16"), std::string::npos) << file;

  // The next start reads what the dialog kept.
  g_Settings = sSettings{};
  g_Settings.ShowGrid = true;
  for (auto& delay : g_Delays) delay = 0.0f;
  LoadSettingsFrom(L"Settings.ini");
  EXPECT_EQ(g_SettingsIni.GetInt("Audio/MusicVolume", 0), 31);
  EXPECT_EQ(g_SettingsIni.GetInt("Audio/SFXVolume", 0), 16);
  EXPECT_FLOAT_EQ(g_Settings.MusicVolume, 0.31f);
  EXPECT_EQ(g_Delays[kDelayAICombatResult].load(), -1000.0f);
  EXPECT_EQ(g_Delays[kDelayAIMoveBefore].load(), 3000.0f);
  EXPECT_EQ(g_Delays[kDelayAIMoveAfter].load(), 1000.0f);
  EXPECT_EQ(g_Settings.FogOfWar, 7);
  EXPECT_EQ(g_Settings.SeaBattleTimeout, 5);
  EXPECT_FALSE(g_Settings.ShowGrid);
  EXPECT_TRUE(g_Settings.SkipEndTurnConfirmation);
  EXPECT_FALSE(g_Settings.Windowed);
  EXPECT_EQ(g_Settings.BorderColor, 0xFF00FFFFu);
  EXPECT_EQ(g_Settings.FrameIntervalMs, 33);
  EXPECT_EQ(g_Settings.ResolutionX, 1920);
  EXPECT_EQ(g_Settings.ResolutionY, 1080);

  // Reopened, the dialog shows the kept values: Cyan (not Aqua), the
  // music slider at 6 with its label at the stored 31 per cent.
  cDialogUstawien& again = Open();
  auto* colour = Control<CDXUTComboBox>(again, cDialogUstawien::kBorderColourId);
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour->GetSelectedIndex(), cyan);
  EXPECT_EQ(Control<CDXUTSlider>(again, cDialogUstawien::kMusicId)->GetValue(), 6);
  EXPECT_EQ(Label(again, cDialogUstawien::kMusicValueId), L"31%");
  EXPECT_EQ(Control<CDXUTSlider>(again, g_DelayKeys[kDelayAICombatResult].controlId)->GetValue(), -1);
}

TEST_F(PreferencesDialog, AFileThatCannotBeReadIsNotOverwritten) {
  // A folder in the way of the file: the settings cannot be read, and the
  // preferences do not replace it.
  fs::create_directory(folder_.Path() / "Settings.ini");
  LoadSettingsFrom(L"Settings.ini");
  cDialogUstawien& d = Open();
  Slide(d, cDialogUstawien::kMusicId, 2);
  d.OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUstawien::kOkId, nullptr);
  EXPECT_EQ(closed_, 1);
  EXPECT_TRUE(fs::is_directory(folder_.Path() / "Settings.ini"));
}

}  // namespace
