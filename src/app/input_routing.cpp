#include "app/input_routing.h"

#include <algorithm>

#include "app/device_events.h"
#include "app/dialog_stack.h"
#include "app/hint_text.h"
#include "app/main_thread_queue.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"
#include "screens/menu.h"
#include "screens/map_screen.h"
#include "screens/panel.h"
#include "world/gra.h"

namespace {

// The active dialog when it exists and is shown; a hidden one gets no input.
cDialog* VisibleActiveDialog() {
  cDialog* dialog = g_pActiveDialog;
  return dialog != nullptr && dialog->Dialog().GetVisible() ? dialog : nullptr;
}

// Moving the head control of a group moves the next count ids with it.
struct sControlGroup {
  int head;
  int count;
};
constexpr sControlGroup kControlGroups[] = {
    {82, 89},  {252, 6},  {480, 25}, {550, 28}, {630, 10}, {667, 6},  {701, 6},
    {715, 6},  {730, 3},  {1010, 15}, {675, 2}, {678, 2},  {681, 2},  {684, 4},
    {689, 4},  {694, 6},  {708, 6},  {722, 6},  {940, 16}, {740, 17}, {790, 10},
    {810, 16}, {840, 12}, {860, 11}, {880, 14}, {900, 19}, {930, 8},  {960, 8},
};

constexpr int kUnitPanelId = 350;
constexpr int kHexPanelId = 400;
constexpr int kAttackPanelId = 450;
constexpr int kDiplomacyPanelId = 600;
// A control whose place is never recorded.
constexpr int kUnrecordedControlId = 780;

cPanel* PanelOfLayoutId(int id) {
  switch (id) {
    case kUnitPanelId: return g_pUnitPanel;
    case kHexPanelId: return g_pHexPanel;
    case kAttackPanelId: return g_pAttackPanel;
    case kDiplomacyPanelId: return g_pDiplomacyPanel;
    default: return nullptr;
  }
}

bool IsPanelLayoutId(int id) {
  return id == kUnitPanelId || id == kHexPanelId || id == kAttackPanelId || id == kDiplomacyPanelId;
}

void StoreLayoutRect(int id, int left, int top, int right, int bottom) {
  g_GuiLayout[id] = {left, top, right - left, bottom - top};
}

}  // namespace

long MsgProc(const plat::Message& message, bool& noFurtherProcessing) {
  if (cDialog* dialog = VisibleActiveDialog()) {
    if (dialog->Dialog().MsgProc(message)) {
      noFurtherProcessing = true;
      return 0;
    }
  }
  if (g_pCurrentMenu != nullptr) {
    noFurtherProcessing = g_pCurrentMenu->Dialog().MsgProc(message);
    return 0;
  }
  if (g_pWorld == nullptr || g_pWorld->GetGameState() == 1) return 0;
  for (cPanel* panel : {g_pDiplomacyPanel, g_pHexPanel, g_pUnitPanel, g_pAttackPanel,
                        g_pMinimapPanel, g_pInfoPanel}) {
    if (panel != nullptr && panel->Dialog().MsgProc(message)) {
      noFurtherProcessing = true;
      return 0;
    }
  }
  return 0;
}

void MenuOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnGUIEvent(event, controlId, control);
}

void MenuOnKeyboardThunk(unsigned key, bool keyDown, bool altDown) {
  if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnKeyboard(key, keyDown, altDown);
}

void MenuOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                      int x, int y) {
  g_HintText.UpdateMouse(left, right, x, y);
  if (g_pCurrentMenu != nullptr) {
    g_pCurrentMenu->OnMouse(left, right, middle, side1, side2, wheelDelta, x, y);
  }
}

void MenuOnFrameMoveThunk(double time, float elapsed) {
  // What the worker thread asked of the main thread is done here, each frame.
  DrainMainThreadRequests();
  if (g_pCurrentMenu != nullptr) g_pCurrentMenu->OnFrameMove(time, elapsed);
}

void PanelOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  // Each pointer is read when its turn comes: a handler may remove a panel.
  if (g_pUnitPanel != nullptr) g_pUnitPanel->OnGUIEvent(event, controlId, control);
  if (g_pHexPanel != nullptr) g_pHexPanel->OnGUIEvent(event, controlId, control);
  if (g_pAttackPanel != nullptr) g_pAttackPanel->OnGUIEvent(event, controlId, control);
  if (g_pDiplomacyPanel != nullptr) g_pDiplomacyPanel->OnGUIEvent(event, controlId, control);
}

void DialogOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (cDialog* dialog = VisibleActiveDialog()) dialog->OnGUIEvent(event, controlId, control);
}

void WorldOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (g_pWorld != nullptr) MapScreenOnGUIEvent(*g_pWorld, event, controlId, control);
}

void WorldOnKeyboardThunk(unsigned key, bool keyDown, bool altDown) {
  if (cDialog* dialog = VisibleActiveDialog()) {
    dialog->OnKeyboard(key, keyDown, altDown);
  } else if (g_pWorld != nullptr) {
    MapScreenOnKeyboard(*g_pWorld, key, keyDown, altDown);
  }
}

void WorldOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y) {
  g_HintText.UpdateMouse(left, right, x, y);
  if (cDialog* dialog = VisibleActiveDialog()) {
    dialog->OnMouse(left, right, middle, side1, side2, wheelDelta, x, y);
  } else if (g_pWorld != nullptr) {
    MapScreenOnMouse(*g_pWorld, left, right, middle, side1, side2, wheelDelta, x, y);
  }
}

bool MoveControlGroup(CDXUTDialog* dialog, int id, int left, int top, int right, int bottom,
                      int dx, int dy) {
  if (IsPanelLayoutId(id)) {
    int screenWidth = 0, screenHeight = 0;
    GetScreenSize(screenWidth, screenHeight);
    if (left < 0 || top < 0 || right > screenWidth || bottom > screenHeight) return false;
    StoreLayoutRect(id, left, top, right, bottom);
    if (cPanel* panel = PanelOfLayoutId(id)) panel->MoveBy(dx, dy);
    return true;
  }
  if (id < 1 || id >= kLayoutEntries || id == kUnrecordedControlId) return true;
  StoreLayoutRect(id, left, top, right, bottom);
  for (const sControlGroup& group : kControlGroups) {
    if (group.head != id) continue;
    for (int j = 1; j <= group.count && dialog != nullptr; ++j) {
      // The control's own move records its place and moves its own group.
      if (CDXUTControl* control = dialog->GetControl(id + j)) control->MoveBy(dx, dy);
    }
    break;
  }
  return true;
}

float FitSquareInRect(sLayoutRect& rect, int horizontal, int vertical) {
  const int width = rect.c;
  const int height = rect.d;
  const int side = std::min(width, height);
  const float fraction = width != 0 ? static_cast<float>(side) / static_cast<float>(width) : 0.0f;
  if (horizontal == 2) {
    rect.a += width - side;
  } else if (horizontal != 0) {
    rect.a += (width - side) / 2;
  }
  if (vertical == 2) {
    rect.b += height - side;
  } else if (vertical != 0) {
    rect.b += (height - side) / 2;
  }
  rect.c = side;
  rect.d = side;
  return fraction;
}

void DrawFramedBox(int x, int y, int width, int height, int icon) {
  plat::SpriteBatch* sprite = g_pSprite;
  if (sprite == nullptr) return;
  cTexture* sheet = &g_Textures[2];
  const bool began = !sprite->InBatch();
  if (began) sprite->Begin();
  const plat::Matrix2D saved = sprite->GetTransform();
  sprite->SetTransform(plat::Matrix2D::Identity());

  DrawNineSlice(sprite, sheet, kFramedBoxSheetX, kFramedBoxSheetY, kFramedBoxPiece, x, y, width, height,
                0xFFFFFFFFu);
  if (icon >= 0) {
    // The icon grid: origin and cell size from the layout entry, ten icons a
    // row; the icon fills the largest square centred in the box.
    const sLayoutRect& grid = g_GuiLayout[58];
    const int sx = grid.a + (icon % 10) * grid.c;
    const int sy = grid.b + (icon / 10) * grid.d;
    sLayoutRect place{x, y, width, height};
    FitSquareInRect(place, 1, 1);
    DrawSpriteRect(sprite, sheet, {sx, sy, sx + grid.c, sy + grid.d}, place.a, place.b, place.c,
                   place.d, 0xFFFFFFFFu, 0.0f, false);
  }
  sprite->SetTransform(saved);
  if (began) sprite->End();
}
