#include "dialogs/preferences_dialog.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "files/world_skins.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "gui/hint_text.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/units_visibility.h"
#include "world/world.h"

namespace {


constexpr unsigned kValueFormat = plat::kTextRight | plat::kTextVCenter;
constexpr int kColourDropHeight = 300;

// The parts of the map skin's "others.png" the six samples show.
struct sSampleSource {
  int id;
  int left, top, right, bottom;
};
constexpr sSampleSource kSamples[] = {
    {105, 1, 669, 167, 835},   {106, 1, 669, 167, 835},   {107, 167, 669, 333, 835},
    {108, 333, 669, 499, 835}, {109, 333, 669, 499, 835}, {110, 333, 669, 499, 835},
};

// The folders of data\gfx whose names begin with prefix, the prefix cut off,
// sorted by name.
std::vector<std::wstring> SkinFolders(const std::wstring& prefix) {
  std::vector<std::wstring> names;
  std::error_code error;
  std::filesystem::directory_iterator it(plat::ResolvePath(std::string_view("data\\gfx")), error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (!it->is_directory(typeError) || typeError) continue;
    const std::wstring name = plat::FromUtf8(it->path().filename().string());
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
      names.push_back(name.substr(prefix.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct sTab {
  const char* key;
  int first, last;
};
constexpr sTab kTabs[] = {
    {"pref_tab_general", 84, 88},   {"pref_tab_gameplay", 111, 147},  {"pref_tab_units", 90, 95},
    {"pref_tab_map", 96, 110},      {"pref_tab_interface", 154, 169}, {"pref_tab_audio", 148, 153},
};

}  // namespace

cDialogUstawien::cDialogUstawien(cWorld* world, ClosedAction onClosed)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      on_closed_(std::move(onClosed)) {
  DetectResolutions();
  // Inside the settings menu the dialog stays where the menu shows it.
  if (world_ == nullptr) {
    if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);
  }
  const sSettings& s = g_Settings;
  CDXUTTabFrame* tabs = nullptr;
  dialog_.AddTabFrameFromLayout(kTabsId, &tabs);

  // General.
  dialog_.AddStaticFromLayout(kResolutionLabelId, Text("pref_resolution"));
  CDXUTComboBox* resolution = nullptr;
  dialog_.AddComboBoxFromLayout(kResolutionId, Text("pref_resolution_hint"), &resolution);
  dialog_.AddCheckBoxFromLayout(kWindowedId, Text("pref_windowed"), Text("pref_windowed_hint"), s.Windowed);
  dialog_.AddStaticFromLayout(kFpsLabelId, Text("pref_fps_limit"));
  CDXUTComboBox* fps = nullptr;
  if (SUCCEEDED(dialog_.AddComboBoxFromLayout(kFpsId, Text("pref_fps_limit_hint"), &fps)) && fps != nullptr) {
    const char* keys[] = {"fps_no_limit", "fps_25", "fps_30", "fps_60"};
    for (int i = 0; i < 4; ++i) {
      fps->AddItem(Text(keys[i]), const_cast<int*>(&kFrameRateLimits[i]));
    }
    // The box shows the limit in force (the first item when the interval
    // matches none).
    for (int i = 0; i < 4; ++i) {
      if (FrameIntervalForLimit(kFrameRateLimits[i]) == s.FrameIntervalMs) {
        fps->SetSelectedByIndex(i);
        break;
      }
    }
  }

  // Audio and sea battles.
  AddSliderRow(kSfxId, "pref_sound_volume", 0, kVolumeSteps, VolumeToSlider(s.SfxVolume));
  AddSliderRow(kMusicId, "pref_music_volume", 0, kVolumeSteps, VolumeToSlider(s.MusicVolume));
  AddSliderRow(kSeaBattleId, "pref_seabattle_delay", 0, kSeaBattleTimeoutMaxS, s.SeaBattleTimeout);
  RefreshSeaBattleTimeoutLabel();
  dialog_.AddCheckBoxFromLayout(kAlliesActionsId, Text("pref_units_show_allies_actions"),
                                Text("pref_units_show_allies_actions_hint"), s.ShowAlliesActions);

  // Units.
  dialog_.AddStaticFromLayout(kUnitsSkinLabelId, Text("pref_units_skin"));
  CDXUTListBox* unitsSkins = nullptr;
  if (SUCCEEDED(dialog_.AddListBoxFromLayout(kUnitsSkinId, 0, &unitsSkins))) {
    FillSkinList(unitsSkins, L"[UnitsSkin]", s.UnitsSkin);
  }
  dialog_.AddCheckBoxFromLayout(kDynamicAppearanceId, Text("pref_units_dynamic_display"), L"",
                                s.DynamicAppearance);
  dialog_.AddCheckBoxFromLayout(kShowUnitNameId, Text("pref_show_unit_name"), L"", s.ShowUnitName);

  // Gameplay: visibility and the delays.
  AddSliderRow(kVisibilityId, "pref_visibility_range", 0, 20, s.FogOfWar);
  for (int row = 0; row < kDelayCount; ++row) {
    const sDelayKey& key = g_DelayKeys[row];
    AddSliderRow(key.controlId, std::string(key.textKey).c_str(), DelaySliderMinimum(row), kDelaySteps,
                 DelayToSlider(g_Delays[row].load()));
    if (CDXUTControl* slider = dialog_.GetControl(key.controlId)) slider->SetUserTag(row);
  }
  dialog_.AddCheckBoxFromLayout(kConfirmEndTurnId, Text("pref_show_end_turn_confirm"), L"",
                                !s.SkipEndTurnConfirmation);

  // Map.
  dialog_.AddStaticFromLayout(kMapSkinLabelId, Text("pref_map_skin"));
  CDXUTListBox* mapSkins = nullptr;
  if (SUCCEEDED(dialog_.AddListBoxFromLayout(kMapSkinId, 0, &mapSkins))) {
    FillSkinList(mapSkins, L"[MapSkin]", s.MapSkin);
  }
  dialog_.AddCheckBoxFromLayout(kShowGridId, Text("pref_show_grid"), L"", s.ShowGrid);
  dialog_.AddStaticFromLayout(kBorderColourLabelId, Text("pref_border_color"));
  dialog_.AddComboBoxFromLayout(kBorderColourId, L"");
  for (const sSampleSource& sample : kSamples) {
    dialog_.AddImageFromLayout(sample.id, g_Textures[kSlotOthers].Get(), sample.left, sample.top, sample.right,
                               sample.bottom, nullptr, s.BorderColor);
  }
  dialog_.AddCheckBoxFromLayout(kShowCityNameId, Text("pref_show_city_names"), L"", s.ShowCityName);
  dialog_.AddCheckBoxFromLayout(kShowSeaZoneNameId, Text("pref_show_sea_zones_names"), L"", s.ShowSeaZoneName);
  dialog_.AddCheckBoxFromLayout(kShowAPLeftId, Text("pref_show_ap_left"), L"", s.ShowAPLeft);
  dialog_.AddCheckBoxFromLayout(kShowWeatherId, Text("pref_show_weather"), L"", s.ShowWeather);
  dialog_.AddButtonFromLayout(kOkId, Text("pref_ok"), Text("pref_ok_hint"));

  FillResolutionCombo(resolution);
  FillBorderColourCombo();
  RefreshDelayLabels();
  RefreshVisibilityLabel();
  RefreshVolumeLabels();

  if (tabs != nullptr) {
    for (const sTab& tab : kTabs) tabs->AddTab(Text(tab.key), 0, tab.first, tab.last);
    tabs->SelectTab(0, false);
  }
  dialog_.SetVisible(true);
}

void cDialogUstawien::AddSliderRow(int sliderId, const char* labelKey, int minimum, int maximum, int value) {
  dialog_.AddStaticFromLayout(sliderId - 2, Text(labelKey));
  dialog_.AddSliderFromLayout(sliderId, minimum, maximum, value);
  CDXUTStatic* valueLabel = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(sliderId - 1, L"", &valueLabel)) && valueLabel != nullptr) {
    valueLabel->SetTextFormat(kValueFormat);
  }
}

void cDialogUstawien::FillSkinList(CDXUTListBox* list, const wchar_t* prefix, const std::wstring& current) {
  if (list == nullptr) return;
  for (const std::wstring& name : SkinFolders(prefix)) list->AddItem(name.c_str(), nullptr);
  int selected = 0;
  for (int i = 0; i < list->GetSize(); ++i) {
    if (list->GetItem(i)->strText == current) {
      selected = i;
      break;
    }
  }
  // Selected without an event: the dialog is not on the stack yet, and the
  // current skin needs no loading.
  if (list->GetSize() > 0) list->SelectItem(selected, false);
}

void cDialogUstawien::DetectResolutions() {
  LogLine(L"Detecting resolutions...");
  plat::Framework& frame = plat::GetFramework();
  std::vector<plat::DisplayMode> modes = frame.GetDisplayModes();
  // In a window every size up to the largest the display offers can be
  // played.
  if (frame.IsWindowed() && !modes.empty()) {
    int maxWidth = 0, maxHeight = 0;
    for (const plat::DisplayMode& m : modes) {
      maxWidth = std::max(maxWidth, m.width);
      maxHeight = std::max(maxHeight, m.height);
    }
    for (const plat::DisplayMode& m : LayoutSizes()) {
      if (m.width <= maxWidth && m.height <= maxHeight) modes.push_back(m);
    }
  }
  // The size in use stays on the list.
  modes.push_back({g_Settings.ResolutionX, g_Settings.ResolutionY});
  resolutions_ = BuildResolutionList(modes, LayoutFileExists);
}

void cDialogUstawien::FillResolutionCombo(CDXUTComboBox* combo) {
  if (combo == nullptr) return;
  int selected = 0;
  for (sResolution& r : resolutions_) {
    combo->AddItem(plat::Format(L"%ix%i", r.width, r.height).c_str(), &r);
    if (r.width == g_Settings.ResolutionX && r.height == g_Settings.ResolutionY) selected = r.index;
  }
  if (!resolutions_.empty()) combo->SetSelectedByIndex(selected);
}

void cDialogUstawien::FillBorderColourCombo() {
  auto* combo = dynamic_cast<CDXUTComboBox*>(dialog_.GetControl(kBorderColourId));
  if (combo == nullptr) return;
  for (const sBorderColour& colour : BorderColours()) {
    combo->AddItem(colour.name.c_str(), const_cast<sBorderColour*>(&colour));
  }
  combo->SetSelectedByIndex(BorderColourIndex(g_Settings.BorderColor));
  combo->SetDropHeight(kColourDropHeight);
}

void cDialogUstawien::SetValueText(int id, const std::wstring& text) {
  if (auto* label = dynamic_cast<CDXUTStatic*>(dialog_.GetControl(id))) label->SetText(text.c_str());
}

void cDialogUstawien::RefreshDelayLabels() {
  for (int row = 0; row < kDelayCount; ++row) {
    SetValueText(g_DelayKeys[row].controlId - 1, DelayLabel(row, g_Delays[row].load()));
  }
}

void cDialogUstawien::RefreshVisibilityLabel() { SetValueText(kVisibilityValueId, VisibilityLabel(g_Settings.FogOfWar)); }

void cDialogUstawien::RefreshVolumeLabels() {
  SetValueText(kSfxValueId, plat::Format(L"%.0f%%", static_cast<double>(g_Settings.SfxVolume) * 100.0));
  SetValueText(kMusicValueId, plat::Format(L"%.0f%%", static_cast<double>(g_Settings.MusicVolume) * 100.0));
}

void cDialogUstawien::RefreshSeaBattleTimeoutLabel() {
  SetValueText(kSeaBattleValueId, plat::Format(L"%.1f sec", static_cast<double>(g_Settings.SeaBattleTimeout)));
}

void cDialogUstawien::TintSamples() {
  for (const sSampleSource& sample : kSamples) {
    if (auto* image = dynamic_cast<CDXUTImage*>(dialog_.GetControl(sample.id))) {
      image->m_Color = g_Settings.BorderColor;
      image->m_pTexture = g_Textures[kSlotOthers].Get();
    }
  }
}

void cDialogUstawien::ApplyDelay(CDXUTControl* control) {
  auto* slider = dynamic_cast<CDXUTSlider*>(control);
  if (slider == nullptr) return;
  const int row = slider->GetUserTag();
  if (row < 0 || row >= kDelayCount) return;
  const int ms = slider->GetValue() * kDelayMsPerStep;
  g_Delays[row] = static_cast<float>(ms);
  g_HintText.SetDelay(static_cast<int>(g_Delays[kDelayControlHint].load()));
  g_SettingsIni.SetInt(g_DelayKeys[row].key, ms);
  RefreshDelayLabels();
}

void cDialogUstawien::ApplyVolumes() {
  auto* sfx = dynamic_cast<CDXUTSlider*>(dialog_.GetControl(kSfxId));
  auto* music = dynamic_cast<CDXUTSlider*>(dialog_.GetControl(kMusicId));
  if (sfx == nullptr || music == nullptr) return;
  g_Settings.SfxVolume = VolumeFromSlider(sfx->GetValue());
  g_Settings.MusicVolume = VolumeFromSlider(music->GetValue());
  if (world_ != nullptr && g_pMusicPlayer != nullptr) g_pMusicPlayer->SetVolume(g_Settings.MusicVolume);
  g_SettingsIni.SetInt("Audio/SFXVolume", VolumeToPercent(g_Settings.SfxVolume));
  g_SettingsIni.SetInt("Audio/MusicVolume", VolumeToPercent(g_Settings.MusicVolume));
  RefreshVolumeLabels();
}

void cDialogUstawien::ApplyMapSkin(CDXUTListBox* list) {
  const DXUTListBoxItem* item = list->GetSelectedItem();
  if (item == nullptr) return;
  // The worker and the frame render draw with the map's textures.
  cFrameworkLockGuard lock;
  if (item->strText != g_Settings.MapSkin) {
    g_Settings.MapSkin = item->strText;
    if (world_ != nullptr) LoadWorldMapSkin(*world_, g_Settings.MapSkin);
    else LoadMapSkin(g_Settings.MapSkin);
    g_SettingsIni.SetString("MapDisplay/Skin", g_Settings.MapSkin);
  }
  TintSamples();
}

void cDialogUstawien::OnGUIEvent(unsigned, int controlId, CDXUTControl* control) {
  sSettings& s = g_Settings;
  auto checked = [control] {
    auto* box = dynamic_cast<CDXUTCheckBox*>(control);
    return box != nullptr && box->GetChecked();
  };
  auto sliderValue = [control](int fallback) {
    auto* slider = dynamic_cast<CDXUTSlider*>(control);
    return slider != nullptr ? slider->GetValue() : fallback;
  };
  auto setFlag = [&](bool& flag, const char* key) {
    flag = checked();
    g_SettingsIni.SetBool(key, flag);
  };

  for (const sDelayKey& key : g_DelayKeys) {
    if (controlId == key.controlId) {
      ApplyDelay(control);
      return;
    }
  }
  switch (controlId) {
    case kResolutionId: {
      auto* combo = dynamic_cast<CDXUTComboBox*>(control);
      const auto* r = combo != nullptr ? static_cast<const sResolution*>(combo->GetSelectedData()) : nullptr;
      if (r == nullptr) return;
      g_SettingsIni.SetInt("Main/ResolutionX", r->width);
      g_SettingsIni.SetInt("Main/ResolutionY", r->height);
      return;
    }
    case kWindowedId:
      g_SettingsIni.SetBool("Main/Fullscreen", !checked());
      return;
    case kFpsId: {
      auto* combo = dynamic_cast<CDXUTComboBox*>(control);
      const auto* limit = combo != nullptr ? static_cast<const int*>(combo->GetSelectedData()) : nullptr;
      if (limit == nullptr) return;
      s.FrameIntervalMs = FrameIntervalForLimit(*limit);
      plat::GetFramework().SetFrameInterval(s.FrameIntervalMs);
      g_SettingsIni.SetInt("Main/FPSLimit", *limit);
      return;
    }
    case kUnitsSkinId: {
      auto* list = dynamic_cast<CDXUTListBox*>(control);
      const DXUTListBoxItem* item = list != nullptr ? list->GetSelectedItem() : nullptr;
      if (item == nullptr || item->strText == s.UnitsSkin) return;
      s.UnitsSkin = item->strText;
      {
        cFrameworkLockGuard lock;
        if (world_ != nullptr) LoadWorldUnitsSkin(*world_, s.UnitsSkin);
        else LoadUnitsSkin(s.UnitsSkin);
      }
      g_SettingsIni.SetString("UnitsDisplay/Skin", s.UnitsSkin);
      return;
    }
    case kDynamicAppearanceId: setFlag(s.DynamicAppearance, "UnitsDisplay/DynamicAppearance"); return;
    case kShowUnitNameId: setFlag(s.ShowUnitName, "UnitsDisplay/ShowName"); return;
    case kMapSkinId:
      if (auto* list = dynamic_cast<CDXUTListBox*>(control)) ApplyMapSkin(list);
      return;
    case kShowGridId: setFlag(s.ShowGrid, "MapDisplay/ShowGrid"); return;
    case kShowWeatherId: setFlag(s.ShowWeather, "MapDisplay/ShowWeather"); return;
    case kShowCityNameId: setFlag(s.ShowCityName, "MapDisplay/ShowCityName"); return;
    case kShowSeaZoneNameId: setFlag(s.ShowSeaZoneName, "MapDisplay/ShowSeaZoneName"); return;
    case kShowAPLeftId: setFlag(s.ShowAPLeft, "MapDisplay/ShowAPLeft"); return;
    case kBorderColourId: {
      auto* combo = dynamic_cast<CDXUTComboBox*>(control);
      const auto* colour = combo != nullptr ? static_cast<const sBorderColour*>(combo->GetSelectedData()) : nullptr;
      if (colour == nullptr) return;
      s.BorderColor = colour->colour;
      TintSamples();
      g_SettingsIni.SetInt("Border/ColorA", static_cast<int>(colour->colour >> 24 & 255u));
      g_SettingsIni.SetInt("Border/ColorR", static_cast<int>(colour->colour >> 16 & 255u));
      g_SettingsIni.SetInt("Border/ColorG", static_cast<int>(colour->colour >> 8 & 255u));
      g_SettingsIni.SetInt("Border/ColorB", static_cast<int>(colour->colour & 255u));
      return;
    }
    case kVisibilityId:
      s.FogOfWar = sliderValue(s.FogOfWar);
      g_SettingsIni.SetInt("Gameplay/FogOfWar", s.FogOfWar);
      RefreshVisibilityLabel();
      return;
    case kSeaBattleId:
      s.SeaBattleTimeout = sliderValue(s.SeaBattleTimeout);
      g_SettingsIni.SetInt("InterfaceSettings/SeaBattleTimeout", s.SeaBattleTimeout);
      RefreshSeaBattleTimeoutLabel();
      return;
    case kAlliesActionsId: setFlag(s.ShowAlliesActions, "Gameplay/ShowAlliesActions"); return;
    case kSfxId:
    case kMusicId:
      ApplyVolumes();
      return;
    case kConfirmEndTurnId:
      s.SkipEndTurnConfirmation = !checked();
      g_SettingsIni.SetBool("InterfaceSettings/ConfirmEndTurn", checked());
      return;
    case kOkId:
      Finish();
      return;
    default:
      return;
  }
}

void cDialogUstawien::Finish() {
  SavePreferences();
  LogLine(L"Preferences saved");
  // Taken before the dialog is closed: closing retires this object.
  cWorld* world = world_;
  ClosedAction onClosed = std::move(on_closed_);
  PopDialogs(1);
  if (world != nullptr && world->turnState.currentCountry != nullptr) {
    RecalculateUnitsVisibility(*world, *world->turnState.currentCountry);
  }
  if (onClosed) onClosed();
}
