#include "world/hex_drawing.h"

#include <algorithm>
#include <bit>
#include <string>

#include "app/device_events.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/clock.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/sea_graph.h"

sMapDrawHooks g_MapDrawHooks;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kRiverMouthNearer = 0.0001f;
constexpr float kCoastMarkDepth = 0.5f;
constexpr float kTileShipNearer = 0.1f;
constexpr int kMaxFortificationPicture = 11;

// The sheets' pictures have three weather rows; a weather value outside
// them (bad data) reads as good weather rather than a picture off the sheet.
int WeatherRow(std::uint32_t weather) { return weather <= 2 ? static_cast<int>(weather) : 0; }

plat::RectI Cell(int left, int top) {
  return {left, top, left + skin_sheet_layout::kPicture, top + skin_sheet_layout::kPicture};
}

const plat::Texture* Sheet(int slot) { return g_Textures[slot].Get(); }

// What every cell of a frame reads the same: the sheets, the sprite depth
// table and the display settings, looked up once per frame rather than per
// picture.
struct sCellLook {
  const plat::Texture* terrain;
  const plat::Texture* others;
  const plat::Texture* eyeCandies;
  float depth[kSpriteDepthEntries];
  int level[kSpriteDepthEntries];
  int ownershipMode;
  int borderMode;
  std::uint32_t borderColor;
  bool showSeaZoneBorders;
  bool showWeather;
  bool showGrid;
  bool showAPLeft;
  int actionMode;

  // withActionMode: ask the map screen's action mode too (the sea node
  // markers need it).
  explicit sCellLook(bool withActionMode) {
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
    actionMode = withActionMode && g_MapDrawHooks.actionMode ? g_MapDrawHooks.actionMode() : 0;
  }
  bool Hidden(int layer, const sEyeCandy& eyeCandy) const { return level[layer] == eyeCandy.alpha; }
};

inline void Put(plat::SpriteBatch& sprite, const plat::Texture* sheet, const plat::RectI& source, float x, float y,
                float z, std::uint32_t argb = kWhite) {
  if (sheet) sprite.Draw(*sheet, &source, x, y, z, argb);
}

// The countries of the world by id for one frame: cells look up their
// owner and controller, which are few.
class cCountryLookup {
 public:
  const cCountry* Get(int countryId) {
    if (countryId < 0 || countryId >= kIds) return g_pWorld ? g_pWorld->GetCountry(countryId) : nullptr;
    if (!known_[countryId]) {
      known_[countryId] = true;
      country_[countryId] = g_pWorld ? g_pWorld->GetCountry(countryId) : nullptr;
    }
    return country_[countryId];
  }

 private:
  static constexpr int kIds = 256;
  bool known_[kIds] = {};
  const cCountry* country_[kIds] = {};
};

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
  city.Draw(sprite, pos.x, pos.y, look.depth[kLayerCities], layerVisible, animationBit);
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
void DrawTerrainPictures(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
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
        Put(sprite, sheet, skin_sheet_layout::Terrain(hex.terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer]);
      }
      Put(sprite, sheet, skin_sheet_layout::Terrain(kTerrainPlain, hex.tileVariant, row), pos.x, pos.y,
          look.depth[kLayerPlain] - weatherShift);
      break;
    default:
      if (!look.Hidden(layer, eyeCandy)) {
        const int terrain = layer == kLayerWater ? static_cast<int>(kTerrainWater) : static_cast<int>(hex.terrain);
        Put(sprite, sheet, skin_sheet_layout::Terrain(terrain, hex.tileVariant, row), pos.x, pos.y,
            look.depth[layer] - weatherShift);
      }
      break;
  }
}

// Step 2: river mouths on water, river sides 1-3 on land.
void DrawRivers(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                const sEyeCandy& eyeCandy) {
  if (hex.riverMask == 0 || look.Hidden(kLayerRivers, eyeCandy)) return;
  if (hex.IsWater() && (hex.riverMask & kRiverMouthBit) != 0) {
    const float depth = look.depth[kLayerRivers] - kRiverMouthNearer;
    for (int side = 0; side < 6; ++side) {
      if ((hex.riverMask >> side) & 1) {
        Put(sprite, look.terrain, skin_sheet_layout::RiverMouth(side, hex.tileVariant), pos.x, pos.y, depth);
      }
    }
    return;
  }
  for (int side = 1; side <= 3; ++side) {
    if (hex.HasRiverOnSide(side)) {
      Put(sprite, look.others, skin_sheet_layout::River(side, hex.tileVariant), pos.x, pos.y,
          look.depth[kLayerRivers]);
    }
  }
}

// Step 4: the cell's decoration for its weather.
void DrawDecoration(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                    const sEyeCandy& eyeCandy) {
  const plat::Texture* sheet = look.eyeCandies;
  if (!sheet || !(eyeCandy.scale > 0.5f)) return;
  const int w = WeatherRow(hex.weather);
  const int left = static_cast<int>(eyeCandy.words[2 * w]);
  const int top = static_cast<int>(eyeCandy.words[2 * w + 1]);
  Put(sprite, sheet, Cell(left, top), pos.x, pos.y, eyeCandy.scale);
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

void DrawTints(plat::SpriteBatch& sprite, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
               const sHexScreenPos& pos) {
  const int mode = look.ownershipMode;
  if (mode == 0 || hex.controller == 0 || hex.owner == 0) return;
  std::uint32_t colour = 0;
  const float depth = look.depth[kLayerTint];
  if ((mode == 1 || mode == 3) && CountryFirstColour(countries, hex.controller, colour)) {
    Put(sprite, look.others, skin_sheet_layout::ControllerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
  if ((mode == 2 || mode == 3) && CountryFirstColour(countries, hex.owner, colour)) {
    Put(sprite, look.others, skin_sheet_layout::OwnerTint(), pos.x, pos.y, depth, colour | 0xFF000000u);
  }
}

void DrawBorders(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos) {
  const int mode = look.borderMode;
  const float depth = look.depth[kLayerBorders];
  int firstBit = -1;
  if (mode == 2) firstBit = 0;       // owner borders
  else if (mode == 1) firstBit = 3;  // controller borders
  if (firstBit >= 0) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (firstBit + side - 1)) & 1) {
        Put(sprite, look.others, skin_sheet_layout::Border(side), pos.x, pos.y, depth, look.borderColor);
      }
    }
  }
  if (look.showSeaZoneBorders) {
    for (int side = 1; side <= 3; ++side) {
      if ((hex.borderFlags >> (5 + side)) & 1) {
        Put(sprite, look.others, skin_sheet_layout::SeaZoneBorder(side), pos.x, pos.y, depth);
      }
    }
  }
}

void DrawCityOrFortification(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex,
                             const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  const bool hidden = look.Hidden(kLayerCities, eyeCandy);
  if (hex.city) {
    DrawCity(sprite, look, *hex.city, pos, !hidden, animationPhase & 1);
    return;
  }
  if (hex.fortification > 0 && hex.fortification <= kMaxFortificationPicture && !hidden) {
    Put(sprite, look.others, skin_sheet_layout::Fortification(hex.fortification), pos.x, pos.y,
        look.depth[kLayerCities]);
  }
}

void DrawSeaNodeMarker(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                       bool highlight) {
  if (hex.seaNode == 0 || !g_pWorld) return;
  const sWezelGrafuMorz* node = g_pWorld->GetSeaGraph().GetNode(hex.seaNode);
  if (!node) return;
  // The node's drawing has no highlighted form: the marker is drawn plainly
  // in every action mode.
  (void)highlight;
  node->DrawMarker(sprite, pos.x, pos.y, look.depth[kLayerCities], hex.x, hex.y, false, false);
}

void DrawCell(plat::SpriteBatch& sprite, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
              const sHexScreenPos& pos, const sEyeCandy& eyeCandy, int animationPhase) {
  // 1-2: terrain and rivers.
  DrawTerrainPictures(sprite, look, hex, pos, eyeCandy, false);
  DrawRivers(sprite, look, hex, pos, eyeCandy);
  // 3: weather overlay.
  if (hex.IsLand() && look.showWeather) {
    Put(sprite, look.others, skin_sheet_layout::WeatherOverlay(hex.tileVariant, WeatherRow(hex.weather)), pos.x,
        pos.y, look.depth[kLayerWeather]);
  }
  // 4: decoration.
  DrawDecoration(sprite, look, hex, pos, eyeCandy);
  // 5: ownership tint.
  DrawTints(sprite, look, countries, hex, pos);
  // 6: marks and the value beside them.
  if (hex.markBits != 0) {
    Put(sprite, look.others, skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        look.depth[kLayerMarks]);
  }
  if (look.showAPLeft && hex.markValue >= 0) DrawMarkValue(sprite, pos, hex.markValue);
  // 7-8: borders.
  DrawBorders(sprite, look, hex, pos);
  // 9: grid.
  if (hex.IsLand() && look.showGrid) {
    Put(sprite, look.others, skin_sheet_layout::Grid(), pos.x, pos.y, look.depth[kLayerGrid]);
  }
  // 10: city or fortification.
  DrawCityOrFortification(sprite, look, hex, pos, eyeCandy, animationPhase);
  // 11: sea node.
  const int action = look.actionMode;
  DrawSeaNodeMarker(sprite, look, hex, pos, action == 13 || action == 14 || action == 15 || action == 3);
  // 12: unit.
  if (hex.unit && g_MapDrawHooks.drawUnit) {
    sHexScreenPos unitPos = pos;
    unitPos.z = look.depth[kLayerUnits];
    g_MapDrawHooks.drawUnit(sprite, hex, unitPos, animationPhase & 1);
  }
}

void DrawCellTerrain(plat::SpriteBatch& sprite, const sCellLook& look, const sHex& hex, const sHexScreenPos& pos,
                     const sEyeCandy& eyeCandy) {
  DrawTerrainPictures(sprite, look, hex, pos, eyeCandy, true);
  DrawRivers(sprite, look, hex, pos, eyeCandy);
  DrawDecoration(sprite, look, hex, pos, eyeCandy);
}

void DrawCellPolitical(plat::SpriteBatch& sprite, const sCellLook& look, cCountryLookup& countries, const sHex& hex,
                       const sHexScreenPos& pos) {
  if (hex.IsWater()) {
    Put(sprite, look.terrain, skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
        look.depth[kLayerWater]);
    return;
  }
  const int alliance = CountryAllianceCode(countries, hex.controller);
  Put(sprite, look.others, skin_sheet_layout::AllianceColour(alliance), pos.x, pos.y, look.depth[kLayerPlain]);
  if (hex.city) DrawCityFlag(sprite, countries, hex, pos);
}

void DrawCellWithCoastMark(plat::SpriteBatch& sprite, const sCellLook& look, cCountryLookup& countries,
                           const sHex& hex, const sHexScreenPos& pos, const sEyeCandy& eyeCandy) {
  DrawCell(sprite, look, countries, hex, pos, eyeCandy, 0);
  if (IsHexCoastal(hex)) Put(sprite, look.others, skin_sheet_layout::CoastMark(), pos.x, pos.y, kCoastMarkDepth);
}

}  // namespace

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

bool IsLayerHidden(int layer, const sEyeCandy& eyeCandy) { return g_SpriteDepths[layer].level == eyeCandy.alpha; }

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

void DrawHex(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy,
             int animationPhase) {
  const sCellLook look(true);
  cCountryLookup countries;
  DrawCell(sprite, look, countries, hex, pos, eyeCandy, animationPhase);
}

void DrawHexTerrain(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy,
                    int) {
  DrawCellTerrain(sprite, sCellLook(false), hex, pos, eyeCandy);
}

void DrawHexPolitical(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos) {
  cCountryLookup countries;
  DrawCellPolitical(sprite, sCellLook(false), countries, hex, pos);
}

void DrawHexWithCoastMark(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, const sEyeCandy& eyeCandy) {
  const sCellLook look(true);
  cCountryLookup countries;
  DrawCellWithCoastMark(sprite, look, countries, hex, pos, eyeCandy);
}

void DrawHexSeaNode(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos) {
  const sCellLook look(true);
  const int action = look.actionMode;
  DrawSeaNodeMarker(sprite, look, hex, pos, action == 13 || action == 14 || action == 15);
}

void DrawHexTile(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, bool) {
  Put(sprite, Sheet(kSlotTerrain), skin_sheet_layout::Terrain(kTerrainWater, hex.tileVariant, 0), pos.x, pos.y,
      LayerDepth(kLayerWater));
  if (hex.markBits != 0) {
    Put(sprite, Sheet(kSlotOthers), skin_sheet_layout::Mark(std::countr_zero(hex.markBits)), pos.x, pos.y,
        LayerDepth(kLayerMarks));
  }
  if (g_MapDrawHooks.drawTileShip) {
    sHexScreenPos shipPos = pos;
    shipPos.z = pos.z - kTileShipNearer;
    g_MapDrawHooks.drawTileShip(sprite, hex, shipPos);
  }
}

void SetHexOwner(cMap& map, sHex& hex, int countryId) {
  hex.owner = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexController(cMap& map, sHex& hex, int countryId) {
  hex.controller = static_cast<std::uint8_t>(countryId);
  hex.UpdateBorderFlags(map);
  for (int dir : {0, 4, 5}) {
    if (sHex* n = map.GetNeighbour(hex.x, hex.y, dir)) n->UpdateBorderFlags(map);
  }
}

void SetHexMark(cMap& map, sHex& hex, std::uint32_t bits, int value) {
  // A cell whose bits were cleared without leaving the list is still in it;
  // listing it again would make later passes visit it twice.
  if (!hex.markListed) {
    map.MarkedHexes().push_back(&hex);
    hex.markListed = 1;
  }
  hex.markBits |= bits;
  hex.markValue = value;
}

void ClearHexMark(cMap& map, sHex& hex, std::uint32_t bits, bool removeFromList) {
  if (removeFromList && hex.markListed) {
    auto& list = map.MarkedHexes();
    list.erase(std::remove(list.begin(), list.end(), &hex), list.end());
    hex.markListed = 0;
  }
  hex.markBits &= ~bits;
  hex.markValue = -1;
}

bool IsHexCoastal(const sHex& hex) { return hex.IsLand() && hex.seaZone != 0; }

void cMap::Render() const {
  if (g_pSprite) Render(*g_pSprite);
}

void cMap::Render(plat::SpriteBatch& sprite) const {
  const plat::Matrix2D saved = sprite.GetTransform();
  const sMatrix4& m = viewTransform;
  sprite.SetTransform({m.m[0][0], m.m[0][1], m.m[1][0], m.m[1][1], m.m[3][0], m.m[3][1]});

  const float scale = g_Settings.MapZoom;
  const int ox = static_cast<int>(static_cast<float>(g_Settings.ResolutionX) / (2.0f * scale) - viewX);
  const int oy = static_cast<int>(static_cast<float>(g_Settings.ResolutionY) / (2.0f * scale) - viewY);
  int firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
  VisibleRange(firstColumn, endColumn, firstRow, endRow);
  // An unknown mode setting draws the full map rather than nothing.
  const int mode = g_Settings.MapMode >= 0 && g_Settings.MapMode <= 3 ? g_Settings.MapMode : 0;
  const int animationPhase = static_cast<int>((plat::GetTickCount() / 100) % 6);
  const bool haveDecorations = decorations_.size() == hexes_.size();
  const sEyeCandy noDecoration;
  const sCellLook look(mode == 0 || mode == 3);
  cCountryLookup countries;

  for (int y = firstRow; y < endRow; ++y) {
    for (int x = firstColumn; x < endColumn; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x;
      const sHex& hex = hexes_[index];
      const sEyeCandy& eyeCandy = haveDecorations ? decorations_[index] : noDecoration;
      sHexScreenPos pos;
      pos.x = static_cast<float>(x * kHexColumnWidth + ox);
      pos.y = static_cast<float>(y * kHexRowHeight + oy + (IsOddColumn(x) ? 0 : kHexEvenColumnDrop));
      switch (mode) {
        case 1: DrawCellTerrain(sprite, look, hex, pos, eyeCandy); break;
        case 2: DrawCellPolitical(sprite, look, countries, hex, pos); break;
        case 3: DrawCellWithCoastMark(sprite, look, countries, hex, pos, eyeCandy); break;
        default: DrawCell(sprite, look, countries, hex, pos, eyeCandy, animationPhase); break;
      }
    }
  }
  if ((mode == 0 || mode == 1) && g_MapDrawHooks.drawAfterCells) g_MapDrawHooks.drawAfterCells(sprite, *this, ox, oy, mode);
  sprite.SetTransform(saved);
}
