#include "map_drawing/hex_drawing.h"

#include <bit>
#include <limits>
#include <string>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/city_draw.h"
#include "map_drawing/hex_drawing_parts.h"
#include "map_drawing/naval_unit_draw.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex_changes.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"
#include "world/world_helpers.h"

sMapDrawHooks g_MapDrawHooks;

namespace map_draw {
namespace {

constexpr float kRiverMouthNearer = 0.0001f;
constexpr float kCoastMarkDepth = 0.5f;
// The marks of targets that stand on units: reconnaissance (0x100), shore
// bombardment (0x200), bombardment (0x400), nuclear strike (0x1000) and air
// fight (0x2000).
constexpr std::uint32_t kTargetMarksOverUnits = 0x100u | 0x200u | 0x400u | 0x1000u | 0x2000u;
constexpr float kTileShipNearer = 0.1f;
constexpr int kMaxFortificationPicture = 11;

plat::RectI Cell(int left, int top) {
  return {left, top, left + skin_sheet_layout::kPicture, top + skin_sheet_layout::kPicture};
}

const plat::Texture* Sheet(int slot) { return g_Textures[slot].Get(); }

}  // namespace

sCellLook::sCellLook() {
  terrain = Sheet(kSlotTerrain);
  others = Sheet(kSlotOthers);
  eyeCandies = Sheet(kSlotEyeCandies);
  for (int i = 0; i < kSpriteDepthEntries; ++i) {
    depth[i] = g_SpriteDepths[i].depth;
    level[i] = g_SpriteDepths[i].level;
  }
  ownershipMode = g_Settings.MapOwnershipMode;
  borderMode = g_Settings.BorderMode;
  borderColor = g_Settings.BorderColor;
  showSeaZoneBorders = g_Settings.ShowSeaZonesBorders;
  showWeather = g_Settings.ShowWeather;
  showGrid = g_Settings.ShowGrid;
  showAPLeft = g_Settings.ShowAPLeft;
}

namespace {

inline void Put(sCellOut& out, const plat::Texture* sheet, const plat::RectI& source, float x, float y, float z,
                std::uint32_t argb = kWhite) {
  if (!sheet) return;
  if (!out.cache) {
    out.sprite.Draw(*sheet, &source, x, y, z, argb);
    return;
  }
  const int ix = static_cast<int>(x), iy = static_cast<int>(y);
  if (!out.cache->Add(*sheet, source, ix, iy, z, argb)) {
    out.cache->AddLive(kLiveOddPicture, static_cast<int>(out.odd->size()));
    out.odd->push_back(sOddPicture{sheet, source, ix, iy, z, argb});
  }
}

bool CountryFirstColour(cCountryLookup& countries, int countryId, std::uint32_t& colour) {
  const cCountry* country = countries.Get(countryId);
  if (!country) return false;
  colour = country->colour[0];
  return true;
}

int CountryAllianceCode(cCountryLookup& countries, int countryId) {
  const cCountry* country = countries.Get(countryId);
  return country ? country->alliance : kNeutral;
}

// The city's own drawing at the cities layer: the city tile only while the
// layer is shown, the animation bit choosing the tile picture.
void DrawCity(plat::SpriteBatch& sprite, const sCellLook& look, const cCity& city, const sHexScreenPos& pos,
              bool layerVisible, int animationBit) {
  DrawCityOnMap(sprite, city, pos.x, pos.y, look.depth[kLayerCities], layerVisible, animationBit);
}

// The controller's flag in box B9 of the city appearance (political map).
void DrawCityFlag(plat::SpriteBatch& sprite, cCountryLookup& countries, const sHex& hex, const sHexScreenPos& pos) {
  const sCityAppearance* look = g_CityAppearance.current;
  if (!look || !look->valid[9]) return;
  const cCountry* controller = countries.Get(hex.controller);
  if (!controller) return;
  cTexture* flag = controller->GetFlagTextureHolder();
  if (!flag || !flag->Get()) flag = GetDefaultFlagTexture();
  if (!flag) return;
  const plat::RectI& box = look->box[9];
  DrawSpriteRect(&sprite, flag, {0, 0, 128, 85}, static_cast<int>(pos.x) + box.left, static_cast<int>(pos.y) + box.top,
                 box.Width(), box.Height(), kWhite, pos.z, true);
}

// Step 1 of the cell drawing. goodWeatherOnly: the terrain map mode.
void DrawTerrainPictures(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                         const sEyeCandy& eyeCandy, bool goodWeatherOnly) {
  const int row = hex.IsWater() || goodWeatherOnly ? 0 : WeatherRow(hex.weather);
  const float weatherShift = static_cast<float>(WeatherRow(hex.weather)) / 100.0f;
  const plat::Texture* sheet = look.terrain;
  if (!sheet) return;
  const int layer = TerrainLayer(hex.terrain);
  switch (hex.terrain) {
    case kTerrainForest:
    case kTerrainRough:
    case kTerrainHill:
    case kTerrainMountain:
      // The feature, then the plain it stands on; the plain stays even when
      // the feature's layer is hidden, so the cell never shows a hole.
      if (!look.Hidden(layer, eyeCandy)) {
        Put(out, sheet, skin_sheet_layout::Terrain(hex.terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer]);
      }
      Put(out, sheet, skin_sheet_layout::Terrain(kTerrainPlain, hex.tileVariant, row), pos.x, pos.y,
          look.depth[kLayerPlain] - weatherShift);
      break;
    default:
      if (!look.Hidden(layer, eyeCandy)) {
        const int terrain = layer == kLayerWater ? static_cast<int>(kTerrainWater) : static_cast<int>(hex.terrain);
        Put(out, sheet, skin_sheet_layout::Terrain(terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer] - weatherShift);
      }
      break;
  }
}

// Step 2: river mouths on water, river sides 1-3 on land.
void DrawRivers(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                const sEyeCandy& eyeCandy) {
  if (hex.riverMask == 0 || look.Hidden(kLayerRivers, eyeCandy)) return;
  if (hex.IsWater() && (hex.riverMask & kRiverMouthBit) != 0) {
    const float depth = look.depth[kLayerRivers] - kRiverMouthNearer;
    for (int side = 0; side < 6; ++side) {
      if ((hex.riverMask >> side) & 1) {
        Put(out, look.terrain, skin_sheet_layout::RiverMouth(side, hex.tileVariant), pos.x, pos.y, depth);
      }
    }
    return;
  }
  for (int side = 1; side <= 3; ++side) {
    if (hex.HasRiverOnSide(side)) {
      Put(out, look.others, skin_sheet_layout::River(side, hex.tileVariant), pos.x, pos.y,
          look.depth[kLayerRivers]);
    }
  }
}

// Step 4: the cell's decoration for its weather.
void DrawDecoration(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                    const sEyeCandy& eyeCandy) {
  const plat::Texture* sheet = look.eyeCandies;
  if (!sheet || !(eyeCandy.scale > 0.5f)) return;
  const int w = WeatherRow(hex.weather);
  const int left = static_cast<int>(eyeCandy.words[2 * w]);
  const int top = static_cast<int>(eyeCandy.words[2 * w + 1]);
  // Words of bad data so large that the picture's far corner is no number
  // are left out.
  constexpr int kLastCorner = std::numeric_limits<int>::max() - skin_sheet_layout::kPicture;
  if (left > kLastCorner || top > kLastCorner) return;
  Put(out, sheet, Cell(left, top), pos.x, pos.y, eyeCandy.scale);
}

// Step 6's label: the value in the AP label style, shadow first.
void DrawMarkValue(plat::SpriteBatch& sprite, const sHexScreenPos& pos, int value) {
  const sTextStyle& style = g_CityAppearance.apLabel;
  if (!style.font) return;
  const plat::RectI& ap = g_CityAppearance.apRect;
  const int left = static_cast<int>(pos.x) + ap.left;
  const int top = static_cast<int>(pos.y) + ap.top;
  const std::wstring text = plat::Format(L"%i", value);
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextNoClip;
  plat::RectI shadow{left + 1, top + 1, left + ap.right + 1, top + ap.bottom + 1};
  style.font->DrawText(&sprite, text, shadow, kFlags, style.color2);
  plat::RectI box{left, top, left + ap.right, top + ap.bottom};
  style.font->DrawText(&sprite, text, box, kFlags, style.color);
}

void DrawTints(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
               const sHexScreenPos& pos) {
  const int mode = look.ownershipMode;
  if (mode == 0 || hex.controller == 0 || hex.owner == 0) return;
  std::uint32_t colour = 0;
  const float depth = look.depth[kLayerTint];
  if ((mode == 1 || mode == 3) && CountryFirstColour(countries, hex.controller, colour)) {
    Put(out, look.others, skin_sheet_layout::ControllerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
  if ((mode == 2 || mode == 3) && CountryFirstColour(countries, hex.owner, colour)) {
    Put(out, look.others, skin_sheet_layout::OwnerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
}

void DrawBorders(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos) {
  const int mode = look.borderMode;
  const float depth = look.depth[kLayerBorders];
  int firstBit = -1;
  if (mode == 2) firstBit = 0;       // owner borders
  else if (mode == 1) firstBit = 3;  // controller borders
  if (firstBit >= 0) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (firstBit + side - 1)) & 1) {
        Put(out, look.others, skin_sheet_layout::Border(side), pos.x, pos.y, depth, look.borderColor);
      }
    }
  }
  if (look.showSeaZoneBorders) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (5 + side)) & 1) {
        Put(out, look.others, skin_sheet_layout::SeaZoneBorder(side), pos.x, pos.y, depth);
      }
    }
  }
}

void DrawFortification(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                       const sEyeCandy& eyeCandy) {
  if (hex.fortification > 0 && hex.fortification <= kMaxFortificationPicture &&
      !look.Hidden(kLayerCities, eyeCandy)) {
    Put(out, look.others, skin_sheet_layout::Fortification(hex.fortification), pos.x, pos.y,
        look.depth[kLayerCities]);
  }
}

// The node's drawing has no highlighted form: the marker looks the same
// whatever order the player is giving.
void DrawSeaNodeMarker(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos) {
  if (hex.seaNode == 0 || !g_pWorld) return;
  const sWezelGrafuMorz* node = g_pWorld->GetSeaGraph().GetNode(hex.seaNode);
  if (!node) return;
  DrawSeaNodeOnHex(sprite, *node, pos.x, pos.y, look.depth[kLayerCities], hex.x, hex.y, false, false);
}

}  // namespace

// The draws that change between frames, drawn now.
void DrawLive(plat::SpriteBatch& sprite, int kind, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  switch (kind) {
    case kLiveMarkValue: DrawMarkValue(sprite, pos, hex.markValue); break;
    case kLiveCity:
      if (hex.city) DrawCity(sprite, look, *hex.city, pos, !look.Hidden(kLayerCities, eyeCandy), animationPhase & 1);
      break;
    case kLiveSeaNode: DrawSeaNodeMarker(sprite, look, hex, pos); break;
    case kLiveUnit:
      if (hex.unit && g_MapDrawHooks.drawUnit) {
        sHexScreenPos unitPos = pos;
        unitPos.z = look.depth[kLayerUnits];
        g_MapDrawHooks.drawUnit(sprite, hex, unitPos, animationPhase & 1);
      }
      break;
    case kLiveCityFlag: DrawCityFlag(sprite, countries, hex, pos); break;
    default: break;
  }
}

namespace {

// A live draw: now, or noted in the cache being recorded.
void Live(sCellOut& out, int kind, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
          const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  if (out.cache) {
    out.cache->AddLive(kind, out.cell);
  } else {
    DrawLive(out.sprite, kind, look, countries, hex, pos, eyeCandy, animationPhase);
  }
}

}  // namespace

void DrawCell(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  // 1-2: terrain and rivers.
  DrawTerrainPictures(out, look, hex, pos, eyeCandy, false);
  DrawRivers(out, look, hex, pos, eyeCandy);
  // 3: weather overlay.
  if (hex.IsLand() && look.showWeather) {
    Put(out, look.others, skin_sheet_layout::WeatherOverlay(hex.tileVariant, WeatherRow(hex.weather)), pos.x,
        pos.y, look.depth[kLayerWeather]);
  }
  // 4: decoration.
  DrawDecoration(out, look, hex, pos, eyeCandy);
  // 5: ownership tint.
  DrawTints(out, look, countries, hex, pos);
  // 6: marks and the value beside them.
  if (hex.markBits != 0) {
    Put(out, look.others, skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        look.depth[kLayerMarks]);
  }
  if (look.showAPLeft && hex.markValue >= 0) {
    Live(out, kLiveMarkValue, look, countries, hex, pos, eyeCandy, animationPhase);
  }
  // 7-8: borders.
  DrawBorders(out, look, hex, pos);
  // 9: grid.
  if (hex.IsLand() && look.showGrid) {
    Put(out, look.others, skin_sheet_layout::Grid(), pos.x, pos.y, look.depth[kLayerGrid]);
  }
  // 10: city or fortification.
  if (hex.city) {
    Live(out, kLiveCity, look, countries, hex, pos, eyeCandy, animationPhase);
  } else {
    DrawFortification(out, look, hex, pos, eyeCandy);
  }
  // 11: sea node.
  if (hex.seaNode != 0) Live(out, kLiveSeaNode, look, countries, hex, pos, eyeCandy, animationPhase);
  // 12: unit.
  if (hex.unit && g_MapDrawHooks.drawUnit) {
    Live(out, kLiveUnit, look, countries, hex, pos, eyeCandy, animationPhase);
    // A target of a strike, a fight or a reconnaissance is mostly a unit:
    // its mark is drawn again over the counter, which would hide it.
    if ((hex.markBits & kTargetMarksOverUnits) != 0 &&
        std::countr_zero(hex.markBits) == std::countr_zero(hex.markBits & kTargetMarksOverUnits)) {
      Put(out, look.others, skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
          (look.depth[kLayerUnits] + look.depth[kLayerSelectedUnit]) / 2.0f);
    }
  }
}

void DrawCellTerrain(sCellOut& out, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                     const sEyeCandy& eyeCandy) {
  DrawTerrainPictures(out, look, hex, pos, eyeCandy, true);
  DrawRivers(out, look, hex, pos, eyeCandy);
  DrawDecoration(out, look, hex, pos, eyeCandy);
}

void DrawCellPolitical(sCellOut& out, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
                       const sHexScreenPos& pos) {
  static const sEyeCandy noDecoration;
  if (hex.IsWater()) {
    Put(out, look.terrain, skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
        look.depth[kLayerWater]);
    return;
  }
  const int alliance = CountryAllianceCode(countries, hex.controller);
  Put(out, look.others, skin_sheet_layout::AllianceColour(alliance), pos.x, pos.y, look.depth[kLayerPlain]);
  if (hex.city) Live(out, kLiveCityFlag, look, countries, hex, pos, noDecoration, 0);
}

void DrawCellWithCoastMark(sCellOut& out, const sCellLook& look, cCountryLookup& countries,
                           const sHex& hex, const sHexScreenPos& pos, const sEyeCandy& eyeCandy) {
  DrawCell(out, look, countries, hex, pos, eyeCandy, 0);
  if (IsHexCoastal(hex)) Put(out, look.others, skin_sheet_layout::CoastMark(), pos.x, pos.y, kCoastMarkDepth);
}
}  // namespace map_draw

using namespace map_draw;

int TerrainLayer(int terrain) {
  switch (terrain) {
    case kTerrainPlain: return kLayerPlain;
    case kTerrainForest: return kLayerForest;
    case kTerrainRough: return kLayerRough;
    case kTerrainSwamp: return kLayerSwamp;
    case kTerrainHill: return kLayerHill;
    case kTerrainMountain: return kLayerMountain;
    case kTerrainDesert: return kLayerDesert;
    default: return kLayerWater;
  }
}

float LayerDepth(int layer) { return g_SpriteDepths[layer].depth; }

namespace skin_sheet_layout {

plat::RectI Terrain(int terrain, int variant, int weather) {
  const int column = (terrain / 4) * 6 + variant % 6;
  const int row = (terrain % 4) * 3 + weather;
  return Cell(column * kCell + 1, row * kCell + 1);
}

plat::RectI RiverMouth(int side, int variant) { return Cell(kCell * side + 1, variant % 2 ? 335 : 168); }

plat::RectI River(int side, int variant) {
  static constexpr int kLeft[4] = {0, 1, 335, 669};
  return Cell(kLeft[side] + (variant % 2 ? kCell : 0), 1);
}

plat::RectI ControllerTint() { return Cell(168, 335); }
plat::RectI OwnerTint() { return Cell(335, 335); }
plat::RectI Grid() { return Cell(836, 335); }

plat::RectI Border(int side) {
  static constexpr int kLeft[4] = {0, 1, 168, 335};
  return Cell(kLeft[side], 669);
}

plat::RectI SeaZoneBorder(int side) {
  static constexpr int kLeft[4] = {0, 502, 669, 836};
  return Cell(kLeft[side], 669);
}

plat::RectI AttackerArrow(int side) { return Cell(kCell * side + 1, 836); }

plat::RectI WeatherOverlay(int variant, int weather) { return Cell((variant % 2 + 2 * weather) * kCell + 1, 1170); }

plat::RectI Fortification(int level) { return Cell(kCell * level - 166, 1671); }

plat::RectI CoastMark() { return Cell(1838, 1671); }

plat::RectI Mark(int bit) { return Cell(1003 + (bit % 6) * kCell, (bit / 6) * kCell); }

plat::RectI AllianceColour(int alliance) { return alliance <= 0 ? Cell(1, 335) : Cell(kCell * alliance - 166, 168); }

}  // namespace skin_sheet_layout

void DrawSelectedHexMarker(plat::SpriteBatch& sprite, sHexScreenPos pos) {
  const plat::Texture* sheet = Sheet(kSlotOthers);
  if (!sheet) return;
  const plat::RectI source = skin_sheet_layout::Mark(0);
  sprite.Draw(*sheet, &source, pos.x, pos.y, LayerDepth(kLayerMarks), kWhite);
}

void DrawHexTile(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, bool flag,
                 const cJednostkaMorska* ship) {
  sCellOut out{sprite};
  Put(out, Sheet(kSlotTerrain), skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
      LayerDepth(kLayerWater));
  if (hex.markBits != 0) {
    Put(out, Sheet(kSlotOthers), skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        LayerDepth(kLayerMarks));
  }
  if (ship != nullptr) {
    DrawNavalCounter(sprite, NavalCounterStateOf(*ship), pos.x, pos.y, pos.z - kTileShipNearer, flag ? 1 : 0);
  }
}
