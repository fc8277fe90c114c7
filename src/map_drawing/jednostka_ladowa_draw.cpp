#include "map_drawing/jednostka_ladowa_draw.h"

#include <cmath>
#include <cstdint>
#include <vector>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/air_unit_draw.h"
#include "map_drawing/counter_painter.h"
#include "map_drawing/hex_drawing.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace land_counter_layout {

plat::RectI SymbolCell(int type, int level) {
  if (type == 60) return {512, 600, 512 + kCellWidth, 600 + kCellHeight};
  // Infantry 0-1, mechanized 2-3, armoured 4-5, airborne 6: one column each.
  const int column = type >= 0 && type <= 6 ? type / 2 : 0;
  // The sheet holds levels 1 to 5; a level outside them would pick a cell of
  // another picture (or one past the sheet).
  const int row = level < 1 ? 0 : (level > 5 ? 4 : level - 1);
  const int left = column * kCellWidth;
  const int top = row * kCellHeight + ((type & 1) != 0 && type < 6 ? 500 : 0);
  return {left, top, left + kCellWidth, top + kCellHeight};
}

plat::RectI BackgroundCell() { return {640, 500, 640 + kCellWidth, 500 + kCellHeight}; }

plat::RectI FlagSource() { return {0, 0, 128, 85}; }

}  // namespace land_counter_layout

cTexture* LandCounterSheet(const cCountry* country) {
  if (country) {
    cTexture* own = country->GetUnitSkinTextureHolder();
    if (own && own->Get()) return own;
  }
  return &g_Textures[kSlotUnits];
}

namespace {

enum eLandBox : int {
  kLandBoxFrame = 0,
  kLandBoxLevel = 1,
  kLandBoxSize = 2,
  kLandBoxActionPoints = 3,
  kLandBoxLowSupply = 4,
  kLandBoxReplacements = 5,
  kLandBoxFrozen = 6,
  kLandBoxCommander = 7,
  kLandBoxReady = 8,
  kLandBoxName = 9,
  kLandBoxApText = 10,
  kLandBoxStrengthText = 11,
  kLandBoxFlag = 12,
  kLandBoxCounter = 13,
};

}  // namespace

void DrawLandCounter(plat::SpriteBatch& sprite, const sLandCounterState& state, float x, float y, float z,
                     int flags) {
  const sUnitAppearance* look = g_LandAppearance.current;
  if (!look) return;
  cCounterPainter paint(sprite, *look, x, y, z);
  cTexture* sheet = LandCounterSheet(state.country);
  cTexture* markers = &g_Textures[kSlotUnitInfo];
  const bool blink = (flags & 1) != 0;
  const auto markerSource = [&](int box, bool alternate) { return MovedDown(look->source[box], alternate ? 1 : 0); };

  // 1: the background in the country's colour under the symbol.
  const std::uint32_t tint = state.country ? (state.country->colour[0] | 0xFF000000u) : kWhite;
  paint.Sprite(kLandBoxCounter, sheet, land_counter_layout::BackgroundCell(), tint);
  paint.Sprite(kLandBoxCounter, sheet, land_counter_layout::SymbolCell(state.type, state.level));
  // 2-3: frame and flag.
  paint.Sprite(kLandBoxFrame, markers, look->source[kLandBoxFrame]);
  paint.Sprite(kLandBoxFlag, CounterFlag(state.country), land_counter_layout::FlagSource());
  // 4-5: level and size marks, one row per level or size.
  paint.Sprite(kLandBoxLevel, markers, MovedDown(look->source[kLandBoxLevel], state.level - 1));
  paint.Sprite(kLandBoxSize, markers, MovedDown(look->source[kLandBoxSize], state.sizeIndex));
  // 6: ready to act (own) or not yet hit (others).
  const bool ready = state.own ? (!state.attacked && state.actionPoints >= 1) : !state.wasAttacked;
  if (ready) paint.Sprite(kLandBoxReady, markers, markerSource(kLandBoxReady, blink && state.own));
  // 7: commander; the second row marks a unit under an HQ commander only.
  if (state.hasOwnCommander || state.hasHqCommander) {
    paint.Sprite(kLandBoxCommander, markers, markerSource(kLandBoxCommander, !state.hasOwnCommander));
  }
  // 8-10: the owner's own markers.
  if (state.own && state.actionPoints > 0) {
    paint.Sprite(kLandBoxActionPoints, markers, markerSource(kLandBoxActionPoints, blink));
  }
  if (state.own && state.supply < kLowSupply) {
    paint.Sprite(kLandBoxLowSupply, markers, markerSource(kLandBoxLowSupply, blink));
  }
  if (state.own && state.canReplenish) {
    paint.Sprite(kLandBoxReplacements, markers, markerSource(kLandBoxReplacements, blink));
  }
  // 11: strength.
  const double strength = std::floor(static_cast<double>(state.effectiveStrength) + 0.5);
  paint.Text(kLandBoxStrengthText, kStyleStrength, plat::Format(L"%.0f", strength));
  // 12: frozen.
  if (state.freezeTime > 0) paint.Sprite(kLandBoxFrozen, markers, look->source[kLandBoxFrozen]);
  // 13-14: action points and name.
  paint.Text(kLandBoxApText, kStyleActionPoints, plat::Format(L"%i", state.actionPoints));
  if (g_Settings.ShowUnitName) paint.Text(kLandBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.name)));
}

sLandCounterState LandCounterStateOf(cJednostkaLadowa& unit) {
  sLandCounterState state;
  state.type = unit.type;
  state.level = unit.level;
  state.country = unit.GetCountry();
  if (const cWorld* world = unit.World()) {
    // The world's size table has one entry for divisions and one for corps.
    state.sizeIndex = (unit.type & 1) != 0 ? world->largeUnitsSize : world->smallUnitsSize;
    state.own = world->turnState.CurrentCountryId() != 0 && unit.countryId == world->turnState.CurrentCountryId();
  }
  state.attacked = unit.attacked;
  state.wasAttacked = unit.wasAttacked;
  state.actionPoints = unit.actionPoints;
  state.supply = unit.supply;
  state.freezeTime = unit.freezeTime;
  state.hasOwnCommander = unit.ownCommander != nullptr;
  state.hasHqCommander = unit.GetCommander() != nullptr;
  // Only the owner sees the replacements marker; the question is asked of
  // the owner's units alone.
  state.canReplenish = state.own && unit.CanReplenish(nullptr);
  state.effectiveStrength = unit.GetEffectiveCombatStrength();
  state.name = unit.name;
  return state;
}

void DrawLandCounterInRect(cJednostkaLadowa& unit, const plat::RectI& rect) {
  DrawCounterInRect(g_LandAppearance, rect, [&unit](float x, float y) {
    if (g_pSprite) DrawLandCounter(*g_pSprite, LandCounterStateOf(unit), x, y, 0.0f, 0);
  });
}

namespace {

// The arrows of a pending attack on the unit: one, untinted, from every
// side that has an attacker.
void DrawAttackerArrows(plat::SpriteBatch& sprite, const cJednostka& unit, const sHexScreenPos& pos) {
  if (!unit.World()) return;
  const cLandAttack* attack = unit.World()->turnState.attack.get();
  const plat::Texture* others = g_Textures[kSlotOthers].Get();
  if (!attack || attack->defender != &unit || !others) return;
  for (int side = 0; side < cLandAttack::kSides; ++side) {
    if (!attack->attackers[static_cast<std::size_t>(side)]) continue;
    const plat::RectI source = skin_sheet_layout::AttackerArrow(side);
    sprite.Draw(*others, &source, pos.x, pos.y, pos.z, 0xFFFFFFFFu);
  }
}

}  // namespace

void InstallLandUnitDrawHook() {
  g_MapDrawHooks.drawUnit = [](plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, int animationBit) {
    // A unit the viewing side has not spotted stays hidden; an air unit
    // draws its own counter.
    if (auto* air = dynamic_cast<cJednostkaLotnicza*>(hex.unit)) {
      if (air->visible) DrawAirCounter(sprite, AirCounterStateOf(*air), pos.x, pos.y, pos.z, animationBit);
      return;
    }
    auto* land = dynamic_cast<cJednostkaLadowa*>(hex.unit);
    if (!land || !land->visible) return;
    DrawLandCounter(sprite, LandCounterStateOf(*land), pos.x, pos.y, pos.z, animationBit);
    DrawAttackerArrows(sprite, *land, pos);
  };
}

void InstallSelectionDrawHook() {
  g_MapDrawHooks.drawAfterCells = [](plat::SpriteBatch& sprite, const cMap& map, int ox, int oy, int mode) {
    if (g_pWorld == nullptr) return;
    const cTurnState& turn = g_pWorld->turnState;
    const auto at = [ox, oy](int x, int y) {
      sHexScreenPos pos;
      pos.x = static_cast<float>(x * kHexColumnWidth + ox);
      pos.y = static_cast<float>(y * kHexRowHeight + oy + (IsOddColumn(x) ? 0 : kHexEvenColumnDrop));
      return pos;
    };
    auto* unit = dynamic_cast<cJednostkaLadowa*>(turn.selectedUnit);
    if (mode == 0 && unit != nullptr && unit->visible && map.IsInside(unit->x, unit->y)) {
      const sHexScreenPos pos = at(unit->x, unit->y);
      DrawLandCounter(sprite, LandCounterStateOf(*unit), pos.x, pos.y, LayerDepth(kLayerSelectedUnit), 0);
    }
    // The selected hex is a cell of this map when its address lies in the map's cells.
    const std::vector<sHex>& hexes = map.Hexes();
    const sHex* selected = turn.selectedHex;
    if (selected == nullptr || hexes.empty() || map.GetWidth() <= 0) return;
    const auto first = reinterpret_cast<std::uintptr_t>(hexes.data());
    const auto address = reinterpret_cast<std::uintptr_t>(selected);
    if (address < first || address >= first + hexes.size() * sizeof(sHex)) return;
    const auto index = static_cast<int>((address - first) / sizeof(sHex));
    DrawSelectedHexMarker(sprite, at(index % map.GetWidth(), index / map.GetWidth()));
  };
}
