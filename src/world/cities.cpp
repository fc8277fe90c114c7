#include "world/cities.h"

#include <cstdlib>
#include <utility>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/format.h"
#include "platform/render.h"
#include "world/city_graph.h"
#include "world/hex_drawing.h"
#include "world/world.h"
#include "world/country.h"
#include "world/relations.h"

namespace {

LandUnitCountryFn g_landUnitCountry = nullptr;

const sHex* CityHex(const cWorld& world, const cCity& city) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(city.x, city.y)) return nullptr;
  return &map.GetHex(city.x, city.y);
}

const sHex* CityHex(const cCity& city) { return city.World() ? CityHex(*city.World(), city) : nullptr; }

}  // namespace

bool IsControllerFriendlyTo(int controller, const cCountry& country) {
  return controller != 0 && (controller == country.id || country.IsAlliedWith(controller));
}

bool IsControllerFriendlyTo(const cWorld& world, int controller, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return country && IsControllerFriendlyTo(controller, *country);
}

bool IsControllerAlliedTo(const cWorld& world, int controller, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return controller != 0 && country && country->IsAlliedWith(controller);
}

void SetLandUnitCountryFn(LandUnitCountryFn fn) { g_landUnitCountry = fn; }

int LandUnitCountryId(const cJednostka* unit) {
  return unit && g_landUnitCountry ? g_landUnitCountry(unit) : 0;
}

cCity::cCity() { name.reserve(kCityNameMax); }

cCity::cCity(const cCity& other)
    : x(other.x),
      y(other.y),
      name(other.name),
      type(other.type),
      victoryPoints(other.victoryPoints),
      productionPoints(other.productionPoints),
      supply(other.supply),
      productionLostToBombing(other.productionLostToBombing),
      graphNode(other.graphNode),
      visited(other.visited) {}

void cCity::SetName(std::wstring_view text) { name.assign(text.substr(0, kCityNameMax)); }

int cCity::GetControllerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->controller : 0;
}

int cCity::GetOwnerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->owner : 0;
}

int cCity::GetOriginalOwnerId() const {
  const sHex* hex = CityHex(*this);
  return hex ? hex->originalOwner : 0;
}

void cCity::FindFreeFriendlyHex(const cWorld& world, int& outX, int& outY, const cCountry& country) const {
  outX = -1;
  outY = -1;
  const sHex* hex = CityHex(world, *this);
  if (!hex) return;
  if (IsControllerFriendlyTo(hex->controller, country) && hex->unit == nullptr) {
    outX = x;
    outY = y;
    return;
  }
  const cMap& map = world.GetMap();
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (!n || n->IsWater() || n->controller == 0 || n->unit != nullptr) continue;
    if (!IsControllerFriendlyTo(n->controller, country)) continue;
    outX = n->x;
    outY = n->y;
    return;
  }
}

bool cCity::IsEnclosed(const cWorld& world) const {
  if (!CityHex(world, *this)) return true;
  const cMap& map = world.GetMap();
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (n && n->IsLand() && n->unit == nullptr) return false;
  }
  return true;
}

bool cCity::IsBesieged(const cWorld& world) const {
  const sHex* hex = CityHex(world, *this);
  if (!hex || hex->unit == nullptr) return false;
  const cMap& map = world.GetMap();
  int besiegers = 0;
  for (int dir = 0; dir < 6; ++dir) {
    const sHex* n = map.GetNeighbour(x, y, dir);
    if (!n) continue;
    if (n->unit != nullptr) {
      if (!world.GetRelations().IsAtWar(LandUnitCountryId(n->unit), hex->controller)) return false;
      ++besiegers;
    } else if (n->IsLand()) {
      return false;
    }
  }
  return besiegers >= 2;
}

int cCity::GetHopsTo(const cCity& other) const {
  if (other.graphNode < 0 || static_cast<std::size_t>(other.graphNode) >= hopCounts.size()) return -1;
  return hopCounts[other.graphNode];
}

void cCity::ComputeHopCounts(cWorld& world) {
  const cCityGraph& graph = world.GetCityGraph();
  const auto& nodes = graph.Nodes();
  hopCounts.assign(nodes.size(), -1);
  world.ResetCityHopMarks();
  if (graphNode < 0 || static_cast<std::size_t>(graphNode) >= nodes.size()) return;

  // The queue keeps every entry; position `next` walks through it.
  std::vector<std::pair<int, int>> queue;  // (node, hops)
  visited = 1;
  queue.emplace_back(graphNode, 0);
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const auto [node, hops] = queue[next];
    for (const sCityGraphLink& link : nodes[node].links) {
      if (link.type != kCityLinkLand) continue;
      cCity* target = nodes[link.target].city;
      if (target->visited) continue;
      target->visited = 1;
      queue.emplace_back(link.target, hops + 1);
    }
  }
  for (const auto& [node, hops] : queue) {
    const int index = nodes[node].city->graphNode;
    if (index >= 0 && static_cast<std::size_t>(index) < hopCounts.size()) hopCounts[index] = hops;
  }
}

void cWorld::AddCity(std::unique_ptr<cCity> city) {
  cCity* raw = city.release();
  raw->SetWorld(this);
  cities_.push_back(raw);
  if (map_->IsInside(raw->x, raw->y)) map_->GetHex(raw->x, raw->y).city = raw;
}

void cWorld::ComputeCityHopDistances() {
  for (cCity* city : cities_) {
    if (city->type != kCityResources) city->ComputeHopCounts(*this);
  }
}

void cWorld::ResetCityHopMarks() {
  for (cCity* city : cities_) city->visited = 0;
}

namespace {

constexpr std::uint32_t kUntinted = 0xFFFFFFFFu;

// One icon of the appearance: source rectangle into its box, relative to
// the position, when the box is valid.
void DrawIcon(plat::SpriteBatch& sprite, const sCityAppearance& look, int box, plat::RectI source, float px,
              float py, float depth) {
  if (!look.valid[box]) return;
  const plat::RectI& b = look.box[box];
  DrawSpriteRect(&sprite, &g_Textures[kSlotOthers], source, static_cast<int>(px) + b.left,
                 static_cast<int>(py) + b.top, b.Width(), b.Height(), kUntinted, depth, true);
}

// A text centred in its box, at the depth given: the shadow one pixel right
// and down first.
void DrawLabel(plat::SpriteBatch& sprite, const sCityAppearance& look, int box, const sTextStyle& style,
               const std::wstring& text, float px, float py, float depth) {
  if (!look.valid[box] || !style.font) return;
  const float savedDepth = sprite.GetTextDepth();
  sprite.SetTextDepth(depth);
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextNoClip;
  const plat::RectI& b = look.box[box];
  const int left = static_cast<int>(px) + b.left;
  const int top = static_cast<int>(py) + b.top;
  plat::RectI shadow{left + 1, top + 1, left + b.Width() + 1, top + b.Height() + 1};
  style.font->DrawText(&sprite, text, shadow, kFlags, style.color2);
  plat::RectI place{left, top, left + b.Width(), top + b.Height()};
  style.font->DrawText(&sprite, text, place, kFlags, style.color);
  sprite.SetTextDepth(savedDepth);
}

}  // namespace

void cCity::Draw(plat::SpriteBatch& sprite, float px, float py, float depth, bool drawTile, int variant) const {
  if (drawTile) {
    // Cities use three tile pictures, resource sites two; a negative
    // variant counts as its absolute value.
    const int v = variant < 0 ? -(variant % 6) : variant;
    const int left = type == kCityResources ? 502 + 167 * (v % 2) : 1 + 167 * (v % 3);
    const plat::RectI tile{left, 502, left + 166, 668};
    DrawSpriteRect(&sprite, &g_Textures[kSlotOthers], tile, static_cast<int>(px), static_cast<int>(py), 166, 166,
                   kUntinted, depth, true);
  }
  const sCityAppearance* look = g_CityAppearance.current;
  if (!look) return;

  DrawIcon(sprite, *look, 0, look->source[0], px, py, depth);
  // One row of the sheet per fortification level.
  plat::RectI fort = look->source[1];
  const int fortLevel = CityHex(*this) ? CityHex(*this)->fortification : 0;
  fort.top += fortLevel * look->source[1].Height();
  fort.bottom += fortLevel * look->source[1].Height();
  DrawIcon(sprite, *look, 1, fort, px, py, depth);
  if (IsPort()) DrawIcon(sprite, *look, 2, look->source[2], px, py, depth);
  if (type == kCitySupply || type == kCitySupplyPort) DrawIcon(sprite, *look, 3, look->source[3], px, py, depth);
  if (type == kCityResources) DrawIcon(sprite, *look, 4, look->source[4], px, py, depth);
  if (victoryPoints > 0) {
    DrawIcon(sprite, *look, 5, look->source[5], px, py, depth);
    DrawLabel(sprite, *look, 8, look->text[2], plat::Format(L"%i", victoryPoints), px, py, depth);
  }
  if (productionPoints > 0.0f) {
    DrawLabel(sprite, *look, 7, look->text[1], plat::Format(L"%.0f", productionPoints), px, py, depth);
  }
  // The name lies in front of the counters (the skin keeps it clear of the
  // counter on the city's hex; a long one reaches under its neighbours'),
  // behind the selected unit.
  if (g_Settings.ShowCityName) {
    const float nameDepth = (LayerDepth(kLayerUnits) + LayerDepth(kLayerSelectedUnit)) / 2.0f;
    DrawLabel(sprite, *look, 6, look->text[0], plat::Format(L"%s", name), px, py, nameDepth);
  }
}
