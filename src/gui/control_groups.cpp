#include "gui/control_groups.h"

#include <algorithm>

#include "app/draw_objects.h"
#include "app/texture.h"
#include "gui/dxut_dialog.h"

namespace {

PanelMover g_PanelMover;

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

bool IsPanelLayoutId(int id) {
  return id == kUnitPanelId || id == kHexPanelId || id == kAttackPanelId || id == kDiplomacyPanelId;
}

// A drag moves a layout entry and keeps its size: a dialog that fitted a
// control to its text (a long question) keeps that size to itself, and the
// next dialog built from the entry fits its own.
void MoveLayoutEntry(int id, int dx, int dy) {
  g_GuiLayout[id].a += dx;
  g_GuiLayout[id].b += dy;
}

}  // namespace

PanelMover SetPanelMover(PanelMover mover) {
  PanelMover previous = std::move(g_PanelMover);
  g_PanelMover = std::move(mover);
  return previous;
}

bool MoveControlGroup(CDXUTDialog* dialog, int id, int left, int top, int right, int bottom,
                      int dx, int dy) {
  if (IsPanelLayoutId(id)) {
    int screenWidth = 0, screenHeight = 0;
    GetScreenSize(screenWidth, screenHeight);
    if (left < 0 || top < 0 || right > screenWidth || bottom > screenHeight) return false;
    MoveLayoutEntry(id, dx, dy);
    if (g_PanelMover) g_PanelMover(id, dx, dy);
    return true;
  }
  if (id < 1 || id >= kLayoutEntries || id == kUnrecordedControlId) return true;
  MoveLayoutEntry(id, dx, dy);
  for (const sControlGroup& group : kControlGroups) {
    if (group.head != id) continue;
    for (int j = 1; j <= group.count; ++j) {
      // The control's own move records its place and moves its own group; a
      // control of the block this dialog lacks (the end-turn question's
      // "don't ask again" under a plain yes/no) moves in the table alone.
      CDXUTControl* control = dialog != nullptr ? dialog->GetControl(id + j) : nullptr;
      if (control != nullptr) {
        control->MoveBy(dx, dy);
      } else if (id + j < kLayoutEntries) {
        MoveLayoutEntry(id + j, dx, dy);
      }
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
