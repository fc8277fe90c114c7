#include "screens/map_screen.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <list>
#include <memory>

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/main_thread_queue.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/hotkeys_dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "dialogs/purchases_dialog.h"
#include "dialogs/reports_dialog.h"
#include "dialogs/research_dialog.h"
#include "dialogs/turn_dialogs.h"
#include "dialogs/units_manager_dialog.h"
#include "gui/control_groups.h"
#include "gui/dxut_dialog.h"
#include "gui/hint_text.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/framework.h"
#include "platform/input_state.h"
#include "platform/messages.h"
#include "rules/end_human_turn.h"
#include "rules/worker_thread.h"
#include "screens/attack_panel.h"
#include "screens/diplomacy_panel.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/menu.h"
#include "screens/minimap_panel.h"
#include "screens/pause_menu.h"
#include "screens/preferences_screens.h"
#include "screens/screen_helpers.h"
#include "screens/sea_battle_menu.h"
#include "screens/unit_panel.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/unit.h"
#include "world/units_visibility.h"
#include "world/world.h"

namespace {

// An arrow key's bit among the held scroll keys: left, up, right and down,
// the keys' own order, are bits 0 to 3.
constexpr std::uint32_t ScrollKeyBit(unsigned arrowKey) { return 1u << (arrowKey - plat::kVkLeft); }

constexpr int kFlagLayoutEntry = 331;
// The texture-table slot of the pause wallpaper, loaded as a game starts
// and released with the world.
constexpr int kPauseWallpaperSlot = 10;
// An opaque white patch of the interface sheet: tinted black it paints the
// black areas of the scene.
constexpr plat::RectI kOpaquePatch{400, 620, 404, 624};

// Pixels the pointer must travel with the button held before the map drags;
// a shorter press is a click.
constexpr int kDragStart = 3;
// How close to the screen border the pointer scrolls the map.
constexpr int kScrollEdge = 4;

// Layout ids of the frames of the panels the controls' drag moves.
constexpr int kUnitPanelLayoutId = 350;
constexpr int kHexPanelLayoutId = 400;
constexpr int kAttackPanelLayoutId = 450;
constexpr int kDiplomacyPanelLayoutId = 600;

void FillBlack(const plat::RectI& edges) {
  plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  const plat::Texture* sheet = g_Textures[kGuiSheetSlot].Get();
  if (renderer == nullptr || sheet == nullptr || edges.right <= edges.left || edges.bottom <= edges.top) return;
  renderer->DrawRect(*sheet, kOpaquePatch, static_cast<float>(edges.left), static_cast<float>(edges.top),
                     static_cast<float>(edges.right), static_cast<float>(edges.bottom), 0xFF000000u, 1.0f);
}

// The command keys: each clicks its icon of the information bar; the icons
// of the dialogs open their dialog and close it again (0: no dialog).
struct sCommandKey {
  unsigned key;
  int command;
  int dialogId;
};
constexpr sCommandKey kCommandKeys[] = {
    {'C', kCmdConvoys, cDialogKonwojow::kId},      {'I', kCmdHotkeys, cDialogSkrotowKlawiszowych::kId},
    {'P', kCmdPurchases, cDialogZakupow::kId},     {'Q', kCmdEndTurn, 0},
    {'R', kCmdReports, cDialogStatystyk::kId},     {'T', kCmdResearch, cDialogResearchu::kId},
    {'U', kCmdUnits, cDialogJednostek::kId}};

const sCommandKey* FindCommandKey(unsigned key) {
  for (const sCommandKey& entry : kCommandKeys) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

bool VisibleDialogActive() {
  return g_pActiveDialog != nullptr && g_pActiveDialog->Dialog().GetVisible() &&
         g_pActiveDialog->Dialog().GetMouseInput();
}

void OpenPauseMenu() {
  new cPauseMenu();  // becomes the current menu; it stops the map input
}

void ToggleMinimized(cPanel* panel) {
  if (panel != nullptr) SetPanelMinimized(panel, !panel->Dialog().GetMinimized());
}

void CycleSetting(int& value, int count, const char* path) {
  if (value < 0 || value >= count) return;  // a hand-edited value stays
  value = (value + 1) % count;
  g_SettingsIni.SetInt(path, value);
}

}  // namespace

cMapScreen::cMapScreen(cWorld& world) : world_(world) {
  if (auto& loop = g_Sounds[SND_MAIN_MENU_MUSIC_LOOP]) loop->Stop();
  // The map screen shows the land units on their hexes.
  InstallLandUnitDrawHook();
  InstallSelectionDrawHook();
  panels_[kInfo] = new cInfoPanel();
  panels_[kDiplomacy] = new cDiplomacyPanel(world);
  SetPanelMinimized(panels_[kDiplomacy], true);
  panels_[kUnit] = new cUnitPanel(world);
  SetPanelMinimized(panels_[kUnit], true);
  panels_[kAttack] = new cAttackPanel(world);
  SetPanelMinimized(panels_[kAttack], true);
  panels_[kHex] = new cHexPanel();
  SetPanelMinimized(panels_[kHex], true);
  panels_[kMinimap] = new cMinimapPanel();
  InstallHooks();
}

cMapScreen::cMapScreen(cWorld& world, const Panels& panels) : world_(world), panels_(panels) { InstallHooks(); }

void cMapScreen::InstallHooks() {
  // The map hands the fitted picture rectangle to the panel.
  g_OnMinimapRect = [this](const sMinimapRect& r) {
    if (cMinimapPanel* minimap = MinimapPanel()) minimap->SetMinimapRect(r.x, r.y, r.width, r.height);
  };
  const sMinimapRect& r = world_.GetMap().minimapRect;
  if (cMinimapPanel* minimap = MinimapPanel(); minimap != nullptr && r.width > 0 && r.height > 0) {
    minimap->SetMinimapRect(r.x, r.y, r.width, r.height);
  }
  g_OnMapEmptyClick = [this] {
    world_.turnState.Deselect(world_);
    RefreshSelection();
    if (g_pActiveDialog != nullptr) g_pActiveDialog->OnReactivate();
  };
  SetPanelMover([this](int layoutId, int dx, int dy) { MovePanel(layoutId, dx, dy); });
  // The worker may be waiting for one of the dialogs this screen opened.
  SetDialogsClosedHook([this] { world_.DialogCloses().Notify(); });
}

cMapScreen::~cMapScreen() {
  // The game's dialogs (greeting, reports, questions) name the world that
  // goes with this screen: none stays open after it (and a worker waiting
  // for one of them is told).
  if (!g_DialogStack.empty()) PopDialogs(-1);
  SetDialogsClosedHook(nullptr);
  // The hover box is the screen's, and shows a node of the world's sea graph.
  HoverHex(nullptr);
  g_HintText.SetAnchor(nullptr);
  SetPanelMover(nullptr);
  g_OnMinimapRect = nullptr;
  g_OnMapEmptyClick = nullptr;
  for (cPanel*& panel : panels_) {
    delete panel;
    panel = nullptr;
  }
}

cInfoPanel* cMapScreen::InfoPanel() const { return dynamic_cast<cInfoPanel*>(panels_[kInfo]); }
cHexPanel* cMapScreen::HexPanel() const { return dynamic_cast<cHexPanel*>(panels_[kHex]); }
cMinimapPanel* cMapScreen::MinimapPanel() const { return dynamic_cast<cMinimapPanel*>(panels_[kMinimap]); }

void cMapScreen::RefreshCounters() {
  if (cInfoPanel* bar = InfoPanel()) bar->RefreshCounters();
}

void cMapScreen::ShowStatusText(std::wstring_view text) {
  if (cInfoPanel* bar = InfoPanel()) bar->SetStatusText(text);
}

void cMapScreen::RefreshSelection() {
  if (auto* unit = dynamic_cast<cUnitPanel*>(panels_[kUnit])) unit->Refresh();
  ShowAttackPanel();
  if (cHexPanel* hex = HexPanel()) hex->Refresh();
  if (auto* diplomacy = dynamic_cast<cDiplomacyPanel*>(panels_[kDiplomacy])) diplomacy->Refresh();
}

void cMapScreen::RefreshDateLine() {
  if (cMinimapPanel* minimap = MinimapPanel()) minimap->RefreshDate();
}

void cMapScreen::RefreshMinimapOwnership() { world_.GetMap().UpdateMinimapOwnershipLayer(world_); }

void cMapScreen::EnterComputerPhase() {
  if (cInfoPanel* bar = InfoPanel()) {
    bar->RefreshCounters();
    bar->LockForComputerPhase();
  }
  RefreshDateLine();
  for (cPanel* panel : {panels_[kUnit], panels_[kHex], panels_[kAttack], panels_[kDiplomacy]}) {
    if (panel == nullptr) continue;
    panel->savedMinimized = panel->Dialog().GetMinimized();
    SetPanelMinimized(panel, true);
  }
  if (g_pActiveDialog != nullptr) PopDialogs(-1);
  world_.SetGameState(kPhaseComputerPlayers);
}

void cMapScreen::LeaveComputerPhase() {
  if (cInfoPanel* bar = InfoPanel()) {
    bar->RefreshCounters();
    bar->UnlockAfterComputerPhase();
  }
  RefreshDateLine();
  for (cPanel* panel : {panels_[kUnit], panels_[kHex], panels_[kAttack], panels_[kDiplomacy]}) {
    if (panel != nullptr) SetPanelMinimized(panel, panel->savedMinimized);
  }
  // Last: the human turn begins with everything in place.
  world_.SetGameState(kPhaseHumanTurn);
  // The status line told what the computer or the end of the impulse was
  // doing; from now on it tells the player's pending order, also while the
  // mouse rests on a panel and the frame's hint does not run.
  UpdateStatusBarHint();
  hint_mode_ = world_.turnState.mode;
}

void cMapScreen::FollowHex(int x, int y) { world_.GetMap().CenterAtHex(x, y); }

void cMapScreen::GlideToCountryView(const cCountry& country) {
  float x = 0.0f, y = 0.0f, zoom = 0.0f;
  country.GetMapView(x, y, zoom);
  if (zoom >= 0.0f) {
    world_.GetMap().ScrollViewTo(sMapPointF{x, y}, true);
  } else if (world_.turnState.currentCountry == &country) {
    world_.turnState.CenterOnCurrentCountry(world_, true);
  } else if (const cCity* city = country.FindMainCity(world_)) {
    world_.GetMap().CenterAtHex(city->x, city->y);
    world_.SetGameState(kPhaseViewGlide);
  }
}

void cMapScreen::GreetHumanTurn(int countryId) { PushDialog(new cDialogNowejTury(world_, countryId)); }

void cMapScreen::ShowMessage(std::wstring_view text, std::wstring_view title) {
  const std::wstring message(text), caption(title);
  auto* dialog = new cDialogTekstowy(message.c_str(), caption.c_str(), kMessageLayoutEntry);
  last_message_ = dialog->Serial();
  PushDialog(dialog);
}

bool cMapScreen::IsMessageOpen() const {
  return last_message_ != plat::kNoScreen && IsOnDialogStack(last_message_);
}

void cMapScreen::ShowSeaBattle(cSeaBattle& battle) { OpenSeaBattleScreen(world_, battle); }

void cMapScreen::StartGame() {
  cWorld& world = world_;
  cTurnState& turnState = world.turnState;
  g_Textures[kPauseWallpaperSlot].Load(L"data\\gfx\\wallpaper_pause.png", cTexture::kFromFile, 1);
  LogLine(L"============== Starting game ==============");
  if (const cCountry* next = turnState.FindNextHumanCountry(world.Countries())) RecalculateUnitsVisibility(world, *next);
  // The map was loaded fitted to the screen, too small to read a counter:
  // it opens at the zoom the player keeps in the settings, taken at once so
  // that the view's bounds let it centre on the country that plays.
  world.GetMap().ZoomToScale(static_cast<float>(g_SettingsIni.GetInt("MapDisplay/Zoom", 100)) / 100.0f);
  g_Settings.MapZoom = g_MapTargetScale;
  world.GetMap().ApplyCurrentZoom();
  LogLine(L"Updating units appearance");
  SelectUnitFontsForZoom();
  LogLine(L"Updating cities appearance");
  SelectMapFontForZoom();
  LogLine(L"Updating minimapr 2nd layer");
  world.GetMap().UpdateMinimapOwnershipLayer(world);
  turnState.Deselect(world);
  LogLine(L"Initializing music");
  world.StartMusicForHumans();
  LogLine(L"Closing menu, setting callbacks");
  // The loading screen's handler is still running: it is freed at the end
  // of the frame.
  RetireCurrentMenu();
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(WorldOnMouseThunk, true);
  framework.SetCallbackKeyboard(WorldOnKeyboardThunk);
  framework.SetCallbackFrameMove(WorldOnFrameMoveThunk);
  LogLine(L"============== Enjoy your game :)");
  SelectUnitFontsForZoom();
  SelectMapFontForZoom();

  cCountry* current = turnState.currentCountry;
  const auto requestOrCentre = [&turnState, &world](const cCountry* country) {
    if (country != nullptr && country->specialFlags == 1) {
      RequestEventsCheck();
    } else {
      turnState.CenterOnCurrentCountry(world, false);
    }
  };
  if (current != nullptr && current->human) {
    turnState.viewCountry = current;
    LeaveComputerPhase();
    SelectUnitFontsForZoom();
    SelectMapFontForZoom();
    requestOrCentre(current);
    return;
  }
  requestOrCentre(current);
  if (turnState.viewCountry == nullptr) {
    for (const auto& country : world.Countries()) {
      if (country->human) {
        turnState.viewCountry = country.get();
        break;
      }
    }
  }
  if (turnState.viewCountry != nullptr) RecalculateUnitsVisibility(world, *turnState.viewCountry);
  EnterComputerPhase();
}

void cMapScreen::EnterMenuState() {
  world_.SetGameState(kPhasePaused);
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(MenuOnMouseThunk, true);
  framework.SetCallbackKeyboard(MenuOnKeyboardThunk);
  framework.SetCallbackFrameMove(nullptr);
}

void cMapScreen::EnterMapState() {
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(WorldOnMouseThunk, true);
  framework.SetCallbackKeyboard(WorldOnKeyboardThunk);
  framework.SetCallbackFrameMove(WorldOnFrameMoveThunk);
  world_.SetGameState(kPhaseHumanTurn);
}

void cMapScreen::Render(float elapsed) {
  if (plat::SpriteBatch* sprite = g_pSprite) {
    sprite->Begin();
    world_.GetMap().Render(*sprite);
    sprite->End();
  }
  // The panels' corners of the map are painted black; the panels lie on top.
  FillBlack(g_MinimapFrameRect);
  const sLayoutRect& flag = g_GuiLayout[kFlagLayoutEntry];
  FillBlack({flag.a, flag.b, flag.a + flag.c, flag.b + flag.d});
  // Each pointer is read when its turn comes.
  for (ePanel which : {kMinimap, kHex, kUnit, kAttack, kDiplomacy, kInfo}) {
    if (cPanel* panel = panels_[which]) panel->OnRender(elapsed);
  }
}

void cMapScreen::HoverHex(sHex* hex) {
  if (hex == hovered_hex_) return;
  hovered_hex_ = hex;
  const sWezelGrafuMorz* node =
      hex != nullptr && hex->seaNode != 0 ? world_.GetSeaGraph().GetNode(hex->seaNode) : nullptr;
  hover_box_.SetNode(node);
  g_HintText.SetAnchor(node != nullptr ? &hover_box_ : nullptr);
}

bool cMapScreen::IsOverPanel() const {
  for (cPanel* panel : panels_) {
    if (panel != nullptr && !panel->Dialog().GetMinimized() && panel->Dialog().GetMouseOverControl() != nullptr) {
      return true;
    }
  }
  return false;
}

void cMapScreen::ClickInfoBarButton(int id) {
  if (panels_[kInfo] == nullptr) return;
  CDXUTDialog& dialog = panels_[kInfo]->Dialog();
  CDXUTControl* control = dialog.GetControl(id, DXUT_CONTROL_ICON);
  if (control == nullptr) return;
  dialog.EnableNonUserEvents(true);
  dialog.SendEvent(EVENT_BUTTON_CLICKED, false, control, true);
  dialog.EnableNonUserEvents(false);
}

// Tab: the next land unit of the current country with action points left,
// after the selected one, wrapping round (the selected one itself is never
// taken). With no own land unit selected the walk starts at the head of the
// list, so the first eligible unit is taken.
void cMapScreen::SelectNextUnit() {
  std::list<cJednostkaLadowa*>& units = world_.Units().landUnits;
  if (units.empty()) return;
  const int countryId = world_.turnState.CurrentCountryId();
  const auto eligible = [countryId](const cJednostkaLadowa* unit) {
    return unit->countryId == countryId && unit->actionPoints > 0;
  };
  auto found = units.end();
  const sHex* selected = world_.turnState.selectedHex;
  auto* land = selected != nullptr ? dynamic_cast<cJednostkaLadowa*>(selected->unit) : nullptr;
  if (land != nullptr && land->countryId == countryId) {
    const auto start = std::find(units.begin(), units.end(), land);
    if (start == units.end()) {
      LogLine(L"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem");
      return;
    }
    for (auto it = std::next(start);; ++it) {
      if (it == units.end()) it = units.begin();
      if (it == start) return;
      if (eligible(*it)) {
        found = it;
        break;
      }
    }
  } else {
    found = std::find_if(units.begin(), units.end(), eligible);
    if (found == units.end()) return;
  }
  cJednostkaLadowa* unit = *found;
  cMap& map = world_.GetMap();
  if (!map.IsInside(unit->x, unit->y)) return;
  map.CenterAtHex(unit->x, unit->y);
  world_.turnState.SelectHex(world_, unit->x, unit->y);
  unit->ComputeMoveRange(false);
  world_.turnState.mode = 4;
}

// The status line's hint for the pending order.
void cMapScreen::UpdateStatusBarHint() {
  static const char* const kHints[] = {
      "statusbar_hint_no_action",
      "statusbar_hint_deploy_land_air_destination_hex",
      "statusbar_hint_deploy_land_air_destination_hex",
      "statusbar_hint_deploy_naval_destination_port",
      "statusbar_hint_move_destination_hex",
      "statusbar_hint_strategic_move_destination_hex",
      "statusbar_hint_paradrop_target_hex",
      "statusbar_hint_planning_attack",
      "statusbar_hint_bombardment_target_hex",
      "statusbar_hint_air_fight_target_hex",
      "statusbar_hint_nuclear_bombardment_target_hex",
      "statusbar_hint_recon_hex",
      "statusbar_hint_rebase_destination_hex",
      "statusbar_hint_fleet_move_destination_hex",
      "statusbar_hint_convoy_source_port",
      "statusbar_hint_convoy_destination_port",
      "statusbar_hint_invasion_target_port",
      "statusbar_hint_shore_bombardment_hex",
      "statusbar_hint_recon_from_sea_hex",
  };
  const int mode = world_.turnState.mode;
  const bool known = mode >= 1 && mode < static_cast<int>(std::size(kHints));
  // A pending order's hint replaces a notice.
  if (mode != 0) status_notice_.clear();
  if (!status_notice_.empty()) {
    ::ShowStatusText(status_notice_);
    return;
  }
  ::ShowStatusText(g_StringBase.GetText(kHints[known ? mode : 0]));
}

void cMapScreen::ShowStatusNotice(std::wstring_view text) {
  status_notice_ = text;
  ::ShowStatusText(status_notice_);
}

void cMapScreen::MovePanel(int layoutId, int dx, int dy) {
  cPanel* panel = nullptr;
  switch (layoutId) {
    case kUnitPanelLayoutId: panel = panels_[kUnit]; break;
    case kHexPanelLayoutId: panel = panels_[kHex]; break;
    case kAttackPanelLayoutId: panel = panels_[kAttack]; break;
    case kDiplomacyPanelLayoutId: panel = panels_[kDiplomacy]; break;
    default: break;
  }
  if (panel != nullptr) panel->MoveBy(dx, dy);
}

void cMapScreen::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (key >= plat::kVkLeft && key <= plat::kVkDown) {
    const std::uint32_t bit = ScrollKeyBit(key);
    scroll_keys_ = keyDown ? (scroll_keys_ | bit) : (scroll_keys_ & ~bit);
    return;
  }
  if (!keyDown) return;
  cMap& map = world_.GetMap();
  const int phase = world_.GetGameState();
  // Selection and orders belong to the human turn: while the computer
  // players move, the keys below only view.
  const bool humanTurn = phase == kPhaseHumanTurn;
  switch (key) {
    case plat::kVkTab:
      if (humanTurn) SelectNextUnit();
      return;
    case plat::kVkF1:
      if (humanTurn && g_pActiveDialog == nullptr) OpenPreferencesOverGame(world_);
      return;
    case plat::kVkEscape:
      // A unit being stepped is off the map until its move ends: the menu
      // waits for that.
      if (phase == kPhaseHumanTurn) {
        OpenPauseMenu();
      } else if (phase == kPhaseHumanMove) {
        pause_after_move_ = true;
      }
      return;
    case 'C':
    case 'I':
    case 'P':
    case 'Q':
    case 'R':
    case 'T':
    case 'U':
      if (humanTurn) ClickInfoBarButton(FindCommandKey(key)->command);
      return;
    case plat::kVkAdd: map.Zoom(1, 0, 0); return;
    case plat::kVkSubtract: map.Zoom(-1, 0, 0); return;
    case plat::kVkF2: g_Settings.ShowGrid = !g_Settings.ShowGrid; return;
    case plat::kVkF3: g_Settings.ShowWeather = !g_Settings.ShowWeather; return;
    case plat::kVkF4: g_Settings.ShowCityName = !g_Settings.ShowCityName; return;
    case plat::kVkF5: g_Settings.ShowAPLeft = !g_Settings.ShowAPLeft; return;
    case plat::kVkF6: CycleSetting(g_Settings.BorderMode, 3, "Border/Mode"); return;
    case plat::kVkF7: CycleSetting(g_Settings.MapOwnershipMode, 4, "MapDisplay/OwnershipMode"); return;
    case plat::kVkF12:
      // The developer dialog writes the countries' points: never while the
      // worker plays the computer's countries.
      if (humanTurn && FindDialogById(cDialogCheatow::kId) == nullptr) PushDialog(new cDialogCheatow(world_));
      return;
    default: return;
  }
}

bool PickHexAtScreen(const cMap& map, int x, int y, int screenWidth, int screenHeight, int& column, int& row) {
  const float zoom = g_Settings.MapZoom;
  if (zoom <= 0.0f) return false;
  const int px = static_cast<int>(static_cast<float>(x - screenWidth / 2) / zoom + map.viewX - 30.0f);
  int py = static_cast<int>(static_cast<float>(y - screenHeight / 2) / zoom + map.viewY - 36.0f);
  // Rounded down, so that a point left of or above the grid gives -1 rather
  // than truncating onto the first column or row.
  column = FloorDiv(px, kHexColumnWidth);
  if (column % 2 == 0) py -= kHexEvenColumnDrop;
  row = FloorDiv(py, kHexRowHeight);
  const float fx = static_cast<float>(px - kHexColumnWidth * column);
  const float fy = static_cast<float>(py - kHexRowHeight * row);
  constexpr float kSlope = 2.0416667f;
  if (fx < 24.0f) {
    // fx 0 counts as steep.
    if (fy < 49.0f && (fx <= 0.0f || (49.0f - fy) / fx > kSlope)) {
      if (column % 2 != 0) --row;
      --column;
    } else if (fy > 49.0f && (fx <= 0.0f || (fy - 49.0f) / fx > kSlope)) {
      if (column % 2 == 0) ++row;
      --column;
    }
  }
  return column >= 0 && row >= 0 && column < map.GetWidth() && row < map.GetHeight();
}

void cMapScreen::OnMouse(bool left, bool, bool, bool, bool, int wheelDelta, int x, int y) {
  cMap& map = world_.GetMap();
  int width = 0, height = 0;
  GetScreenSize(width, height);
  const bool overControl = g_HintText.GetControl() != nullptr || IsOverPanel();
  if (wheelDelta != 0 && !overControl) map.Zoom(wheelDelta / 120, x - width / 2, y - height / 2);

  int column = -1, row = -1;
  const bool valid = !overControl && PickHexAtScreen(map, x, y, width, height, column, row);
  HoverHex(valid ? &map.GetHex(column, row) : nullptr);

  // Dragging the map with the left button; a press that hardly moves is a
  // click.
  const bool pressed = left && !mouse_.leftDown;
  const bool released = !left && mouse_.leftDown;
  mouse_.x = x;
  mouse_.y = y;
  mouse_.leftDown = left;
  if (pressed) {
    mouse_.pressOnMap = !overControl;
    mouse_.pressX = x;
    mouse_.pressY = y;
  }
  if (left && mouse_.pressOnMap) {
    const int dx = x - mouse_.pressX, dy = y - mouse_.pressY;
    if (g_MapDrag.dragging || std::abs(dx) >= kDragStart || std::abs(dy) >= kDragStart) {
      g_MapDrag.dragging = true;
      g_MapDrag.dx = dx;
      g_MapDrag.dy = dy;
    }
  }
  if (!released) return;
  const bool wasDragging = g_MapDrag.dragging;
  mouse_.pressOnMap = false;
  if (wasDragging) {
    g_MapDrag.dragging = false;
    g_MapDrag.released = true;
    return;
  }
  // A click: in the human turn, the player's order.
  if (world_.GetGameState() != kPhaseHumanTurn || !valid) return;
  OnMapClick(column, row);
  if (world_.turnState.mode == 0) {
    g_HintText.ClearLeftReleased();
    CDXUTDialog::ResetDrag();
  }
}

void cMapScreen::DropMousePress() {
  if (g_MapDrag.dragging) return;
  mouse_.leftDown = false;
  mouse_.pressOnMap = false;
}

void cMapScreen::OnGUIEvent(unsigned, int controlId, CDXUTControl*) {
  cMap& map = world_.GetMap();
  switch (controlId) {
    case kMinimapPictureId:
      if (cMinimapPanel* minimap = MinimapPanel()) minimap->CenterMapAt(g_HintText.GetMouseX(), g_HintText.GetMouseY());
      return;
    case kMinimapZoomInId: map.Zoom(1, 0, 0); return;
    case kMinimapZoomOutId: map.Zoom(-1, 0, 0); return;
    case kMinimapBorderModeId: CycleSetting(g_Settings.BorderMode, 3, "Border/Mode"); return;
    case kMinimapOwnershipModeId:
      CycleSetting(g_Settings.MapOwnershipMode, 4, "MapDisplay/OwnershipMode");
      return;
    case kMinimapMapModeId:
      if (g_Settings.MapMode == 0 || g_Settings.MapMode == 2) {
        g_Settings.MapMode = 2 - g_Settings.MapMode;
        g_SettingsIni.SetInt("MapDisplay/Mode", g_Settings.MapMode);
      }
      return;
    case kCmdOptions: OpenPauseMenu(); return;
    case kCmdConvoys: ToggleConvoysDialog(); return;
    case kCmdPurchases: TogglePurchasesDialog(); return;
    case kCmdUnits: ToggleUnitsManager(); return;
    case kCmdResearch: ToggleResearchDialog(); return;
    case kCmdHotkeys: ToggleHotkeysDialog(); return;
    case kCmdReports: ToggleReportsDialog(); return;
    case kCmdEndTurn:
      // Ending the turn is an order: only in the human turn.
      if (world_.GetGameState() == kPhaseHumanTurn) RequestEndOfHumanTurn(world_);
      return;
    case kInfoUnitHandleId: ToggleMinimized(panels_[kUnit]); return;
    case kInfoHexHandleId: ToggleMinimized(panels_[kHex]); return;
    case kInfoAttackHandleId: ToggleMinimized(panels_[kAttack]); return;
    case kInfoDiplomacyHandleId: ToggleMinimized(panels_[kDiplomacy]); return;
    default:
      // The game's dialogs behind the other command icons come with their
      // own work.
      return;
  }
}

void cMapScreen::OnFrameMove(double time, float elapsed) {
  if (last_scroll_time_ < 0.0 || time < last_scroll_time_) last_scroll_time_ = time;
  if (world_.musicPlayer) world_.musicPlayer->Update();
  cMap& map = world_.GetMap();
  const int phase = world_.GetGameState();
  // The player's own turn scrolls only while the game has the focus; a move
  // being stepped scrolls regardless.
  const bool foreground = plat::GetInputState().HasFocus();
  if (((foreground && phase == kPhaseHumanTurn) || phase == kPhaseHumanMove) && !VisibleDialogActive() &&
      !IsOverPanel() && !g_MapDrag.dragging) {
    int width = 0, height = 0;
    GetScreenSize(width, height);
    const int x = mouse_.x, y = mouse_.y;
    // The edges and the arrow keys scroll only with the mouse over the map's
    // window: keys held while the player works in another window stay put.
    const bool inside =
        plat::GetInputState().IsMouseInWindow() && x >= 0 && x < width && y >= 0 && y < height;
    if (inside) {
      const float zoom = g_Settings.MapZoom > 0.0f ? g_Settings.MapZoom : 1.0f;
      const float step = static_cast<float>((time - last_scroll_time_) * 1000.0) / zoom;
      float dx = 0.0f, dy = 0.0f;
      if (x >= width - kScrollEdge || (scroll_keys_ & ScrollKeyBit(plat::kVkRight)) != 0) {
        dx = step;
      } else if (x < kScrollEdge || (scroll_keys_ & ScrollKeyBit(plat::kVkLeft)) != 0) {
        dx = -step;
      }
      if (y >= height - kScrollEdge || (scroll_keys_ & ScrollKeyBit(plat::kVkDown)) != 0) {
        dy = step;
      } else if (y < kScrollEdge || (scroll_keys_ & ScrollKeyBit(plat::kVkUp)) != 0) {
        dy = -step;
      }
      if (dx == 0.0f && dy == 0.0f) {
        // Only a scroll of the edges or keys stops here: a glide to a hex
        // (Tab, the minimap) must reach its hex.
        if (edge_scrolling_) map.StopScrolling();
        edge_scrolling_ = false;
      } else {
        map.ScrollView(dx, dy, 1.0f);
        edge_scrolling_ = true;
      }
    }
    UpdateStatusBarHint();
    hint_mode_ = world_.turnState.mode;
  } else if ((phase == kPhaseHumanTurn || phase == kPhaseHumanMove) && world_.turnState.mode != hint_mode_) {
    // An order begun or ended while the mouse rests on a panel or a dialog
    // (a panel's icon, a report over the map) is told at once: the status
    // line never names an order that is no longer pending.
    UpdateStatusBarHint();
    hint_mode_ = world_.turnState.mode;
  }
  last_scroll_time_ = time;
  map.UpdateView(elapsed);
  moving_clock_.Step(world_, plat::GetTickCount());
  if (pause_after_move_ && world_.GetGameState() != kPhaseHumanMove) {
    pause_after_move_ = false;
    if (world_.GetGameState() == kPhaseHumanTurn) OpenPauseMenu();
  }
  if (g_pActiveDialog != nullptr) g_pActiveDialog->UpdateTimer(elapsed);
  // The map under an open dialog has no hover: the box of a sea node the
  // mouse was over before the dialog came back would lie over the dialog.
  if (VisibleActiveDialog() != nullptr) HoverHex(nullptr);
  if (TakeEndOfTurnRequest()) EndHumanTurn(world_);
}

bool cMapScreen::OfferMessageToPanels(const plat::Message& message) {
  // The keys belong to the map screen: a panel would take Tab and the arrow
  // keys for moving its focus, and Tab even with no control focused.
  switch (message.msg) {
    case plat::kWmKeyDown:
    case plat::kWmKeyUp:
    case plat::kWmSysKeyDown:
    case plat::kWmSysKeyUp:
      return false;
    default:
      break;
  }
  for (ePanel which : {kDiplomacy, kHex, kUnit, kAttack, kMinimap, kInfo}) {
    if (cPanel* panel = panels_[which]; panel != nullptr && panel->Dialog().MsgProc(message)) return true;
  }
  return false;
}

void cMapScreen::ForgetPanelMouseOver() {
  for (cPanel* panel : panels_) {
    if (panel != nullptr) panel->Dialog().ForgetMouseOver();
  }
}

void cMapScreen::OnPanelEvent(unsigned event, int controlId, CDXUTControl* control) {
  // Each pointer is read when its turn comes: a handler may remove a panel.
  for (ePanel which : {kUnit, kHex, kAttack, kDiplomacy}) {
    if (cPanel* panel = panels_[which]) panel->OnGUIEvent(event, controlId, control);
  }
}

cMapScreen* LoadedMapScreen() {
  return g_pWorld != nullptr ? dynamic_cast<cMapScreen*>(g_pWorld->View()) : nullptr;
}

std::unique_ptr<cWorldView> MakeMapScreen(cWorld& world) { return std::make_unique<cMapScreen>(world); }

void WorldOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (cMapScreen* screen = LoadedMapScreen()) screen->OnGUIEvent(event, controlId, control);
}

bool cMapScreen::ClosesOpenDialog(unsigned key, bool keyDown) const {
  if (!keyDown || world_.GetGameState() != kPhaseHumanTurn) return false;
  const sCommandKey* entry = FindCommandKey(key);
  return entry != nullptr && entry->dialogId != 0 && FindDialogById(entry->dialogId) != nullptr;
}

void WorldOnKeyboardThunk(unsigned key, bool keyDown, bool altDown) {
  cMapScreen* screen = LoadedMapScreen();
  cDialog* dialog = VisibleActiveDialog();
  // The hotkey of an open dialog passes over the dialogs to the map screen,
  // whose click on the bar's icon closes it as a second click would.
  if (dialog != nullptr && (screen == nullptr || !screen->ClosesOpenDialog(key, keyDown))) {
    dialog->OnKeyboard(key, keyDown, altDown);
  } else if (screen != nullptr) {
    screen->OnKeyboard(key, keyDown, altDown);
  }
}

void WorldOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y) {
  g_HintText.UpdateMouse(left, right, x, y);
  if (cDialog* dialog = VisibleActiveDialog()) {
    if (cMapScreen* screen = LoadedMapScreen()) screen->DropMousePress();
    dialog->OnMouse(left, right, middle, side1, side2, wheelDelta, x, y);
  } else if (cMapScreen* screen = LoadedMapScreen()) {
    screen->OnMouse(left, right, middle, side1, side2, wheelDelta, x, y);
  }
}

void WorldOnFrameMoveThunk(double time, float elapsed) {
  // What the worker thread asked of the main thread (dialogs, screens).
  DrainMainThreadRequests();
  if (cMapScreen* screen = LoadedMapScreen()) screen->OnFrameMove(time, elapsed);
}
