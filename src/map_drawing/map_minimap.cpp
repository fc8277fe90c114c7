// The minimap: its picture and ownership layer, and the outline of the part
// of the map the screen shows.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "app/settings.h"
#include "platform/framework.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map.h"

namespace {

constexpr std::uint32_t kOutlineColour = 0xFFFF0000;
constexpr std::uint32_t kLandAlpha = 128u << 24;
constexpr int kOwnershipByController = 1;

}  // namespace

void cMap::LoadMinimapImage(const std::wstring& path) {
  if (minimap_texture_.Load(path.c_str(), cTexture::kFromFile, 1) < 0) return;
  const plat::Texture* picture = minimap_texture_.Get();
  if (!picture) return;
  const int w = picture->Width();
  const int h = picture->Height();
  ownership_texture_.Create(w, h);
  FitMinimapPicture(w, h);
}

void cMap::DrawMinimapViewRect() const {
  plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  if (!renderer) return;
  plat::PointF points[5];
  for (int i = 0; i < 5; ++i) points[i] = {minimapViewOutline[i].x, minimapViewOutline[i].y};
  renderer->DrawLines(points, 5, kOutlineColour);
}

void cMap::UpdateMinimapOwnershipLayer(const cWorld& world) {
  // Each country's first colour, from the world; an id that names no
  // country has colour 0.
  UpdateMinimapOwnershipLayer([&world](int countryId) -> std::uint32_t {
    const cCountry* country = world.GetCountry(countryId);
    return country != nullptr ? country->colour[0] : 0u;
  });
}

void cMap::UpdateMinimapOwnershipLayer(const CountryColourLookup& firstColour) {
  const int mode = g_Settings.MinimapOwnershipMode;
  if (mode == 0) return;
  plat::Texture* layer = ownership_texture_.Get();
  if (!layer || hexes_.empty() || minimapImageWidth <= 0 || minimapImageHeight <= 0) return;
  // The map part never reaches past the layer, which has the picture's size.
  const int imageW = std::min(minimapImageWidth, layer->Width());
  const int imageH = std::min(minimapImageHeight, layer->Height());
  int pitch = 0;
  std::uint32_t* texels = layer->Lock(pitch);
  if (!texels) return;
  for (int v = 0; v < imageH; ++v) {
    const int y = static_cast<int>(static_cast<std::int64_t>(v) * height_ / minimapImageHeight);
    std::uint32_t* row = texels + static_cast<std::ptrdiff_t>(v) * pitch;
    for (int u = 0; u < imageW; ++u) {
      const int x = static_cast<int>(static_cast<std::int64_t>(u) * width_ / minimapImageWidth);
      const sHex& cell = GetHex(x, y);
      if (cell.IsWater()) {
        row[u] = 0;
        continue;
      }
      const int country = mode == kOwnershipByController ? cell.controller : cell.owner;
      row[u] = kLandAlpha | (firstColour(country) & 0x00FFFFFFu);
    }
  }
  layer->Unlock();
}
