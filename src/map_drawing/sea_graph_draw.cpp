// Drawing of the sea nodes: the marker and shown ships on the map, and the
// hover box with the ship counts.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/draw_objects.h"
#include "app/gui_layout.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "map_drawing/naval_unit_draw.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/format.h"
#include "platform/render.h"
#include "world/country.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

// The hover box lies in texture slot 2 (the GUI sheet) at layout entry 15;
// its three backgrounds are stacked: allied port, other port, sea zone.
constexpr int kGuiSheetSlot = 2;
constexpr int kBoxEntry = 15;
// The colours of the counts and the name: the layout's font of counters
// and city names. The texts are written in the overlay font, whose size
// stays with the box's: the box is a picture drawn at its own size on
// every screen, while the layout's fonts grow with larger screens.
constexpr int kBoxFont = 6;
// Counts of allies and of spotted enemies are told apart by colour.
constexpr std::uint32_t kAlliedCountColour = 0xFFA8E090u;
constexpr std::uint32_t kEnemyCountColour = 0xFFFF9080u;

// Marker cells of the map skin's "others" sheet: size s at column s of the
// row starting at 1838 (size 0 is the sea-zone marker).
plat::RectI MarkerSource(int size) {
  const int s = std::clamp(size, 0, 9);
  return {167 * s + 1, 1838, 167 * s + 167, 2004};
}

void DrawMarkerCell(plat::SpriteBatch& sprite, int size, float x, float y, float depth) {
  plat::Texture* sheet = g_Textures[kSlotOthers].Get();
  if (!sheet) return;
  const plat::RectI source = MarkerSource(size);
  sprite.Draw(*sheet, &source, x, y, depth, kWhite);
}

// The shown ship's counter, at the depth of the units.
void DrawShip(plat::SpriteBatch& sprite, const cJednostkaMorska* ship, float x, float y) {
  if (ship) DrawNavalCounter(sprite, NavalCounterStateOf(*ship), x, y, LayerDepth(kLayerUnits), 0);
}

// A layout rectangle kept as edges, moved to the box at (x, y).
plat::RectI BoxRect(int entry, int x, int y) {
  const sLayoutRect& r = g_GuiLayout[entry];
  return {r.a + x, r.b + y, r.c + x, r.d + y};
}

void DrawShadowed(plat::Font* font, const std::wstring& text, const plat::RectI& rect, std::uint32_t colour,
                  std::uint32_t shadow) {
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine;
  plat::RectI moved{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
  font->DrawText(g_pSprite, text, moved, kFlags, shadow);
  plat::RectI place = rect;
  font->DrawText(g_pSprite, text, place, kFlags, colour);
}

// Whether the controller of the port's city hex is allied with the viewing
// country (a country is allied with itself unless it is neutral).
bool PortIsAllied(const sWezelGrafuMorz& node) {
  if (!g_pWorld) return false;
  const cMap& map = g_pWorld->GetMap();
  if (!map.IsInside(node.x, node.y)) return false;
  const cCountry* controller = g_pWorld->GetCountry(map.GetHex(node.x, node.y).controller);
  const int viewing = g_pWorld->GetSeaGraph().GetViewingCountry();
  if (!controller || !g_pWorld->GetCountry(viewing)) return false;
  return controller->IsAlliedWith(viewing);
}

}  // namespace

void DrawSeaNodeOnHex(plat::SpriteBatch& sprite, const sWezelGrafuMorz& node, float px, float py, float depth,
                      int hexX, int hexY, bool hideMarker, bool skip) {
  if (skip) return;
  if (hexX == node.ownShipX && hexY == node.ownShipY) {
    DrawShip(sprite, node.ownShip, px, py);
    if (!node.IsSeaZone() && !hideMarker) DrawMarkerCell(sprite, node.size, px, py, depth);
    return;
  }
  if (hexX == node.enemyShipX && hexY == node.enemyShipY) {
    DrawShip(sprite, node.enemyShip, px, py);
    return;
  }
  if (hexX == node.x && hexY == node.y && node.IsSeaZone() && !hideMarker) DrawMarkerCell(sprite, 0, px, py, depth);
}

plat::Font* cSeaNodeHoverBox::Font() { return g_pOverlayFont; }

void cSeaNodeHoverBox::GetTooltipSize(int& width, int& height) {
  width = g_GuiLayout[kBoxEntry].c;
  height = g_GuiLayout[kBoxEntry].d;
}

void cSeaNodeHoverBox::DrawTooltip(float fx, float fy) {
  if (!g_pSprite || !node_) return;
  const sWezelGrafuMorz& node = *node_;
  enum eRow { kOwn, kAllied, kEnemy };
  static constexpr eRow kSeaRows[] = {kOwn, kAllied, kEnemy};
  static constexpr eRow kAlliedPortRows[] = {kOwn, kAllied};
  static constexpr eRow kOtherPortRows[] = {kEnemy};
  const eRow* rows = kSeaRows;
  int rowCount = 3, first = 17, stacked = 2;
  if (!node.IsSeaZone()) {
    if (PortIsAllied(node)) {
      rows = kAlliedPortRows;
      rowCount = 2;
      first = 36;
      stacked = 0;
    } else {
      rows = kOtherPortRows;
      rowCount = 1;
      first = 50;
      stacked = 1;
    }
  }

  const int bx = static_cast<int>(fx);
  const int by = static_cast<int>(fy);
  if (plat::Texture* sheet = g_Textures[kGuiSheetSlot].Get()) {
    const sLayoutRect& box = g_GuiLayout[kBoxEntry];
    const plat::RectI source{box.a, box.b + stacked * box.d, box.a + box.c, box.b + (stacked + 1) * box.d};
    g_pSprite->Draw(*sheet, &source, fx, fy, 0.0f, kWhite);
  }

  const sGuiFont& style = g_GuiFonts[kBoxFont];
  plat::Font* font = Font();
  if (!font) return;
  for (int r = 0; r < rowCount; ++r) {
    const int* counts =
        rows[r] == kOwn ? node.ownCounts : rows[r] == kAllied ? node.alliedCounts : node.enemyCounts;
    const std::uint32_t colour =
        rows[r] == kOwn ? style.color : rows[r] == kAllied ? kAlliedCountColour : kEnemyCountColour;
    for (int c = 0; c < kNavalTypeCount; ++c) {
      plat::RectI rect = BoxRect(first + c * rowCount + r, bx, by);
      font->DrawText(g_pSprite, plat::Format(L"%i", counts[c]), rect,
                     plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine, colour);
    }
  }
  DrawShadowed(font, plat::Format(L"%s", node.name), BoxRect(first - 1, bx, by), style.color, style.color2);
  if (!node.IsSeaZone()) {
    DrawShadowed(font, plat::Format(L"%i/%i", node.size, node.maxSize),
                 BoxRect(first + kNavalTypeCount * rowCount, bx, by), style.color, style.color2);
  }
}
