// A sheet loaded packed draws the pixels the whole sheet draws: sources
// within one part, reaching over transparent texels, and across two parts,
// tinted, one by one and in a list, and after its texels are written whole.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_renderer.h"
#include "support/test_support.h"

namespace {

using namespace plat;
using namespace plat::sdl;

constexpr int kSheet = 600;

std::string WriteSheet(const twtest::TempDir& dir) {
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, kSheet, kSheet, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!sheet) return {};
  SDL_FillRect(sheet, nullptr, 0);
  const auto paint = [&](int x0, int y0, int w, int h, int salt) {
    for (int y = y0; y < y0 + h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(sheet->pixels) + y * sheet->pitch);
      for (int x = x0; x < x0 + w; ++x) {
        const std::uint32_t alpha = (x + y) % 3 == 0 ? 0x80u : 0xFFu;
        row[x] = alpha << 24 | static_cast<std::uint32_t>((x * 7 + salt) & 0xFF) << 16 |
                 static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 | static_cast<std::uint32_t>(salt);
      }
    }
  };
  paint(100, 100, 30, 20, 40);   // a sprite in a cell much larger than it
  paint(160, 104, 12, 12, 200);  // another, apart from it
  paint(0, 580, 40, 20, 90);     // at the sheet's corner
  const std::string path = dir.File("sheet.png");
  const bool saved = IMG_SavePNG(sheet, path.c_str()) == 0;
  SDL_FreeSurface(sheet);
  return saved ? path : std::string{};
}

std::vector<std::uint32_t> Pixels(const SdlRenderer& renderer) {
  const SDL_Surface* surface = renderer.Target();
  std::vector<std::uint32_t> out;
  for (int y = 0; y < surface->h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch);
    out.insert(out.end(), row, row + surface->w);
  }
  return out;
}

void DrawAll(SdlRenderer& renderer, const Texture& sheet) {
  renderer.Clear(0xFF204060u);
  renderer.DrawRect(sheet, {90, 90, 140, 130}, 3, 4, 53, 44, 0xFFFFFFFFu, 0.5f);
  renderer.DrawRect(sheet, {95, 98, 180, 122}, 60, 2, 145, 26, 0xC080FF40u, 0.5f);
  const PointF corners[4] = {{5, 50}, {65, 50}, {65, 90}, {5, 90}};
  renderer.DrawQuad(sheet, {0, 560, 60, 600}, corners, 0xFFFFFFFFu, 0.5f);
  const RectDraw list[2] = {{&sheet, {150, 100, 190, 130}, 70, 50, 110, 80, 0xFFFFFFFFu},
                            {&sheet, {300, 300, 340, 340}, 110, 60, 150, 100, 0xFFFFFFFFu}};
  renderer.DrawRects(list, 2, 0.5f);
  renderer.EndScene();
}

TEST(PackedSheet, DrawsThePixelsOfTheWholeSheetAndTurnsWholeWhenWritten) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  {
    twtest::TempDir dir;
    const std::string path = WriteSheet(dir);
    ASSERT_FALSE(path.empty());
    auto whole = CreateSoftwareRenderer(160, 100);
    auto packed = CreateSoftwareRenderer(160, 100);
    ASSERT_TRUE(whole && packed);
    packed->SetPacksSheets(true);
    auto wholeSheet = whole->LoadTexture(path);
    auto packedSheet = packed->LoadTexture(path);
    ASSERT_TRUE(wholeSheet && packedSheet);
    const auto* native = dynamic_cast<const SdlTexture*>(packedSheet.get());
    ASSERT_NE(native, nullptr);
    ASSERT_NE(native->Packing(), nullptr);
    EXPECT_EQ(packedSheet->Width(), kSheet);
    EXPECT_LT(native->Packing()->PackedWidth() * native->Packing()->PackedHeight(), kSheet * kSheet / 10);
    EXPECT_EQ(dynamic_cast<const SdlTexture*>(wholeSheet.get())->Packing(), nullptr);

    DrawAll(*whole, *wholeSheet);
    DrawAll(*packed, *packedSheet);
    const std::vector<std::uint32_t> want = Pixels(*whole);
    EXPECT_EQ(Pixels(*packed), want);
    // Something of each sprite was drawn over the background.
    int drawn = 0;
    for (const std::uint32_t p : want) drawn += p != 0xFF204060u;
    EXPECT_GT(drawn, 30 * 20 + 12 * 12);

    // Texels written where the sheet was transparent show: the packed
    // texture became the whole picture.
    for (auto* texture : {wholeSheet.get(), packedSheet.get()}) {
      int pitch = 0;
      std::uint32_t* texels = texture->Lock(pitch);
      ASSERT_NE(texels, nullptr);
      for (int y = 310; y < 330; ++y) {
        for (int x = 305; x < 335; ++x) texels[y * pitch + x] = 0xFFFF00FFu;
      }
      texture->Unlock();
    }
    EXPECT_EQ(native->Packing(), nullptr);
    DrawAll(*whole, *wholeSheet);
    DrawAll(*packed, *packedSheet);
    EXPECT_EQ(Pixels(*packed), Pixels(*whole));
    EXPECT_NE(Pixels(*whole), want);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
