#include "screens/map_screen.h"

#include "app/main_thread_queue.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <list>
#include <memory>

#include "app/console_log.h"
#include "app/device_events.h"
#include "app/dialog_stack.h"
#include "app/gui_layout.h"
#include "app/hint_text.h"
#include "app/input_routing.h"
#include "app/main_thread_queue.h"
#include "app/music_player.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"
#include "platform/audio.h"
#include "platform/framework.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/minimap_panel.h"
#include "screens/pause_menu.h"
#include "world/gra.h"
#include "rules/turn_state.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_ladowa_draw.h"
#include "units/unit.h"
#include "world/hex.h"
#include "world/game_phase.h"
#include "world/map.h"

std::uint32_t g_ScrollKeys = 0;

namespace {

constexpr int kFlagLayoutEntry = 331;
constexpr int kGuiSheetSlot = 2;
// An opaque white patch of the interface sheet: tinted black it paints the
// black areas of the scene.
constexpr plat::RectI kOpaquePatch{400, 620, 404, 624};

// Mouse state of the map screen between events.
struct sMouseState {
  int x = -1, y = -1;
  bool leftDown = false;
  bool pressOnMap = false;
  int pressX = 0, pressY = 0;
};
sMouseState g_Mouse;
double g_LastScrollTime = -1.0;
// Whether the last frame scrolled by the edges or the arrow keys.
bool g_EdgeScrolling = false;

// Pixels the pointer must travel with the button held before the map drags;
// a shorter press is a click.
constexpr int kDragStart = 3;
// How close to the screen border the pointer scrolls the map.
constexpr int kScrollEdge = 4;

cPanel* const* const kHideablePanels[] = {&g_pUnitPanel, &g_pHexPanel, &g_pAttackPanel, &g_pDiplomacyPanel};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

void FillBlack(const plat::RectI& edges) {
  plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  const plat::Texture* sheet = g_Textures[kGuiSheetSlot].Get();
  if (renderer == nullptr || sheet == nullptr || edges.right <= edges.left || edges.bottom <= edges.top) return;
  renderer->DrawRect(*sheet, kOpaquePatch, static_cast<float>(edges.left), static_cast<float>(edges.top),
                     static_cast<float>(edges.right), static_cast<float>(edges.bottom), 0xFF000000u, 1.0f);
}

bool IsOverPanel() {
  for (cPanel* panel : {g_pUnitPanel, g_pAttackPanel, g_pHexPanel, g_pInfoPanel, g_pDiplomacyPanel,
                        g_pMinimapPanel}) {
    if (panel != nullptr && !panel->Dialog().GetMinimized() && panel->Dialog().GetMouseOverControl() != nullptr) {
      return true;
    }
  }
  return false;
}

bool VisibleDialogActive() {
  return g_pActiveDialog != nullptr && g_pActiveDialog->Dialog().GetVisible() &&
         g_pActiveDialog->Dialog().GetMouseInput();
}

void RefreshHexPanel() {
  if (cHexPanel* panel = GetHexPanel()) panel->Refresh();
}

void OpenPauseMenu(cWorld&) {
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

void ClickInfoBarButton(int id) {
  cInfoPanel* bar = GetInfoPanel();
  if (bar == nullptr) return;
  CDXUTDialog& dialog = bar->Dialog();
  CDXUTControl* control = dialog.GetControl(id, DXUT_CONTROL_ICON);
  if (control == nullptr) return;
  dialog.EnableNonUserEvents(true);
  dialog.SendEvent(EVENT_BUTTON_CLICKED, false, control, true);
  dialog.EnableNonUserEvents(false);
}

// Makes the hex the selection, with the unit standing on it.
void SelectHex(cWorld& world, sHex& hex) {
  world.turnState.selectedHex = &hex;
  world.turnState.selectedUnit = hex.unit;
  RefreshHexPanel();
}

// Tab: the next land unit of the current country with action points left,
// after the selected one (or after the first of the list), wrapping round;
// the start itself is never taken.
void SelectNextUnit(cWorld& world) {
  std::list<cJednostkaLadowa*>& units = world.Units().landUnits;
  if (units.empty()) return;
  const cCountry* current = world.turnState.currentCountry;
  const int countryId = current != nullptr ? current->id : 0;
  auto start = units.begin();
  const sHex* selected = world.turnState.selectedHex;
  if (selected != nullptr) {
    auto* land = dynamic_cast<cJednostkaLadowa*>(selected->unit);
    if (land != nullptr && land->countryId == countryId) {
      start = std::find(units.begin(), units.end(), land);
      if (start == units.end()) {
        LogLine(L"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem");
        return;
      }
    }
  }
  auto it = start;
  for (;;) {
    if (++it == units.end()) it = units.begin();
    if (it == start) return;
    if ((*it)->countryId == countryId && (*it)->actionPoints > 0) break;
  }
  cJednostkaLadowa* unit = *it;
  cMap& map = world.GetMap();
  if (!map.IsInside(unit->x, unit->y)) return;
  map.CenterAtHex(unit->x, unit->y);
  SelectHex(world, map.GetHex(unit->x, unit->y));
  unit->ComputeMoveRange(false);
}

// The status line's hint for the pending order.
void UpdateStatusBarHint(const cWorld& world) {
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
  const int mode = world.turnState.mode;
  const bool known = mode >= 1 && mode < static_cast<int>(std::size(kHints));
  ShowStatusText(g_StringBase.GetText(kHints[known ? mode : 0]));
}

}  // namespace

void CreateMapScreenPanels() {
  if (auto& loop = g_Sounds[SND_MAIN_MENU_MUSIC_LOOP]) loop->Stop();
  DestroyMapScreenPanels();
  // The map screen shows the land units on their hexes.
  InstallLandUnitDrawHook();
  g_pInfoPanel = new cInfoPanel();
  // The unit, attack and diplomacy panels are made here once they exist.
  g_pHexPanel = new cHexPanel();
  SetPanelMinimized(g_pHexPanel, true);
  auto* minimap = new cMinimapPanel();
  g_pMinimapPanel = minimap;
  // The map hands the fitted picture rectangle to the panel.
  g_OnMinimapRect = [](const sMinimapRect& r) {
    if (cMinimapPanel* panel = GetMinimapPanel()) panel->SetMinimapRect(r.x, r.y, r.width, r.height);
  };
  if (g_pWorld != nullptr) {
    const sMinimapRect& r = g_pWorld->GetMap().minimapRect;
    if (r.width > 0 && r.height > 0) minimap->SetMinimapRect(r.x, r.y, r.width, r.height);
  }
  g_OnMapEmptyClick = [] {
    if (g_pWorld == nullptr) return;
    g_pWorld->turnState.Deselect();
    RefreshHexPanel();
    if (g_pActiveDialog != nullptr) g_pActiveDialog->OnReactivate();
  };
}

void DestroyMapScreenPanels() {
  // Each panel's destructor clears its global.
  for (cPanel* panel : {g_pInfoPanel, g_pUnitPanel, g_pAttackPanel, g_pDiplomacyPanel, g_pHexPanel,
                        g_pMinimapPanel}) {
    delete panel;
  }
  g_OnMinimapRect = nullptr;
  g_OnMapEmptyClick = nullptr;
}

void RenderMapScreenScene(cWorld& world, float elapsed) {
  if (plat::SpriteBatch* sprite = g_pSprite) {
    sprite->Begin();
    world.GetMap().Render(*sprite);
    sprite->End();
  }
  // The panels' corners of the map are painted black; the panels lie on top.
  FillBlack(g_MinimapFrameRect);
  const sLayoutRect& flag = g_GuiLayout[kFlagLayoutEntry];
  FillBlack({flag.a, flag.b, flag.a + flag.c, flag.b + flag.d});
  // Each pointer is read when its turn comes.
  for (cPanel* const* slot : {&g_pMinimapPanel, &g_pHexPanel, &g_pUnitPanel, &g_pAttackPanel,
                              &g_pDiplomacyPanel, &g_pInfoPanel}) {
    if (*slot != nullptr) (*slot)->OnRender(elapsed);
  }
}

// The world's map-screen entry points are the handlers of this file.
void cWorld::RenderMapScreen(float elapsed) { RenderMapScreenScene(*this, elapsed); }
void cWorld::OnKeyboard(unsigned key, bool keyDown, bool altDown) {
  MapScreenOnKeyboard(*this, key, keyDown, altDown);
}
void cWorld::OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
                     int y) {
  MapScreenOnMouse(*this, left, right, middle, side1, side2, wheelDelta, x, y);
}
void cWorld::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  MapScreenOnGUIEvent(*this, event, controlId, control);
}

void cWorld::EnterMenuState() {
  SetGameState(kPhasePaused);
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(MenuOnMouseThunk, true);
  framework.SetCallbackKeyboard(MenuOnKeyboardThunk);
  framework.SetCallbackFrameMove(nullptr);
}

void cWorld::EnterMapState() {
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(WorldOnMouseThunk, true);
  framework.SetCallbackKeyboard(WorldOnKeyboardThunk);
  framework.SetCallbackFrameMove(OnInGameFrameMove);
  SetGameState(kPhaseHumanTurn);
}

void MapScreenOnKeyboard(cWorld& world, unsigned key, bool keyDown, bool) {
  if (key >= 37 && key <= 40) {
    const std::uint32_t bit = 1u << (key - 37);
    g_ScrollKeys = keyDown ? (g_ScrollKeys | bit) : (g_ScrollKeys & ~bit);
    return;
  }
  if (!keyDown) return;
  cMap& map = world.GetMap();
  switch (key) {
    case 9: SelectNextUnit(world); return;
    case 27: {
      const int phase = world.GetGameState();
      if (phase == kPhaseHumanTurn || phase == kPhaseHumanMove) OpenPauseMenu(world);
      return;
    }
    case 'C': ClickInfoBarButton(kCmdConvoys); return;
    case 'I': ClickInfoBarButton(kCmdHotkeys); return;
    case 'P': ClickInfoBarButton(kCmdPurchases); return;
    case 'Q': ClickInfoBarButton(kCmdEndTurn); return;
    case 'R': ClickInfoBarButton(kCmdReports); return;
    case 'T': ClickInfoBarButton(kCmdResearch); return;
    case 'U': ClickInfoBarButton(kCmdUnits); return;
    case 107: map.Zoom(1, 0, 0); return;
    case 109: map.Zoom(-1, 0, 0); return;
    case 113: g_Settings.ShowGrid = !g_Settings.ShowGrid; return;
    case 114: g_Settings.ShowWeather = !g_Settings.ShowWeather; return;
    case 115: g_Settings.ShowCityName = !g_Settings.ShowCityName; return;
    case 116: g_Settings.ShowAPLeft = !g_Settings.ShowAPLeft; return;
    case 117: CycleSetting(g_Settings.BorderMode, 3, "Border/Mode"); return;
    case 118: CycleSetting(g_Settings.MapOwnershipMode, 4, "MapDisplay/OwnershipMode"); return;
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

void MapScreenOnMouse(cWorld& world, bool left, bool, bool, bool, bool, int wheelDelta, int x, int y) {
  cMap& map = world.GetMap();
  int width = 0, height = 0;
  GetScreenSize(width, height);
  const bool overControl = g_HintText.GetControl() != nullptr || IsOverPanel();
  if (wheelDelta != 0 && !overControl) map.Zoom(wheelDelta / 120, x - width / 2, y - height / 2);

  int column = -1, row = -1;
  const bool valid = !overControl && PickHexAtScreen(map, x, y, width, height, column, row);
  world.turnState.hoveredHex = valid ? &map.GetHex(column, row) : nullptr;

  // Dragging the map with the left button; a press that hardly moves is a
  // click.
  const bool pressed = left && !g_Mouse.leftDown;
  const bool released = !left && g_Mouse.leftDown;
  g_Mouse.x = x;
  g_Mouse.y = y;
  g_Mouse.leftDown = left;
  if (pressed) {
    g_Mouse.pressOnMap = !overControl;
    g_Mouse.pressX = x;
    g_Mouse.pressY = y;
  }
  if (left && g_Mouse.pressOnMap) {
    const int dx = x - g_Mouse.pressX, dy = y - g_Mouse.pressY;
    if (g_MapDrag.dragging || std::abs(dx) >= kDragStart || std::abs(dy) >= kDragStart) {
      g_MapDrag.dragging = true;
      g_MapDrag.dx = dx;
      g_MapDrag.dy = dy;
    }
  }
  if (!released) return;
  const bool wasDragging = g_MapDrag.dragging;
  g_Mouse.pressOnMap = false;
  if (wasDragging) {
    g_MapDrag.dragging = false;
    g_MapDrag.released = true;
    return;
  }
  // A click: in the human turn it selects the hex (orders come later).
  if (world.GetGameState() != kPhaseHumanTurn || !valid) return;
  SelectHex(world, map.GetHex(column, row));
  world.turnState.mode = 0;
  CDXUTDialog::ResetDrag();
}

void MapScreenOnGUIEvent(cWorld& world, unsigned, int controlId, CDXUTControl*) {
  cMap& map = world.GetMap();
  switch (controlId) {
    case kMinimapPictureId:
      if (cMinimapPanel* minimap = GetMinimapPanel()) minimap->CenterMapAt(g_HintText.GetMouseX(), g_HintText.GetMouseY());
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
    case kCmdOptions: OpenPauseMenu(world); return;
    case kInfoUnitHandleId: ToggleMinimized(g_pUnitPanel); return;
    case kInfoHexHandleId: ToggleMinimized(g_pHexPanel); return;
    case kInfoAttackHandleId: ToggleMinimized(g_pAttackPanel); return;
    case kInfoDiplomacyHandleId: ToggleMinimized(g_pDiplomacyPanel); return;
    default:
      // The game's dialogs behind the other command icons come with their
      // own work.
      return;
  }
}

void OnInGameFrameMove(double time, float elapsed) {
  // What the worker thread asked of the main thread (dialogs, screens).
  DrainMainThreadRequests();
  cWorld* world = g_pWorld;
  if (world == nullptr) return;
  if (g_LastScrollTime < 0.0 || time < g_LastScrollTime) g_LastScrollTime = time;
  if (world->musicPlayer) world->musicPlayer->Update();
  cMap& map = world->GetMap();
  const int phase = world->GetGameState();
  if ((phase == kPhaseHumanTurn || phase == kPhaseHumanMove) && !VisibleDialogActive() && !IsOverPanel() &&
      !g_MapDrag.dragging) {
    int width = 0, height = 0;
    GetScreenSize(width, height);
    const int x = g_Mouse.x, y = g_Mouse.y;
    const bool inside = x >= 0 && x < width && y >= 0 && y < height;
    const float zoom = g_Settings.MapZoom > 0.0f ? g_Settings.MapZoom : 1.0f;
    const float step = static_cast<float>((time - g_LastScrollTime) * 1000.0) / zoom;
    float dx = 0.0f, dy = 0.0f;
    if ((inside && x >= width - kScrollEdge) || (g_ScrollKeys & 4u) != 0) {
      dx = step;
    } else if ((inside && x < kScrollEdge) || (g_ScrollKeys & 1u) != 0) {
      dx = -step;
    }
    if ((inside && y >= height - kScrollEdge) || (g_ScrollKeys & 8u) != 0) {
      dy = step;
    } else if ((inside && y < kScrollEdge) || (g_ScrollKeys & 2u) != 0) {
      dy = -step;
    }
    if (dx == 0.0f && dy == 0.0f) {
      // Only a scroll of the edges or keys stops here: a glide to a hex
      // (Tab, the minimap) must reach its hex.
      if (g_EdgeScrolling) map.StopScrolling();
      g_EdgeScrolling = false;
    } else {
      map.ScrollView(dx, dy, 1.0f);
      g_EdgeScrolling = true;
    }
    UpdateStatusBarHint(*world);
  }
  g_LastScrollTime = time;
  map.UpdateView(elapsed);
  if (g_pActiveDialog != nullptr) g_pActiveDialog->UpdateTimer(elapsed);
}

void MinimizePanelsForComputerPhase() {
  if (cInfoPanel* bar = GetInfoPanel()) {
    bar->RefreshCounters();
    bar->LockForComputerPhase();
  }
  if (cMinimapPanel* minimap = GetMinimapPanel()) minimap->RefreshDate();
  for (cPanel* const* slot : kHideablePanels) {
    cPanel* panel = *slot;
    if (panel == nullptr) continue;
    panel->savedMinimized = panel->Dialog().GetMinimized();
    SetPanelMinimized(panel, true);
  }
  if (g_pActiveDialog != nullptr) PopDialogs(-1);
  if (g_pWorld != nullptr) g_pWorld->SetGameState(kPhaseComputerPlayers);
}

void RestorePanelsAfterComputerPhase() {
  if (cInfoPanel* bar = GetInfoPanel()) {
    bar->RefreshCounters();
    bar->UnlockAfterComputerPhase();
  }
  if (cMinimapPanel* minimap = GetMinimapPanel()) minimap->RefreshDate();
  for (cPanel* const* slot : kHideablePanels) {
    if (cPanel* panel = *slot) SetPanelMinimized(panel, panel->savedMinimized);
  }
  if (g_pWorld != nullptr) g_pWorld->SetGameState(kPhaseHumanTurn);
}
