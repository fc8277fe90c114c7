// Draws a fixed scene with the software renderer and compares it with the
// committed picture tests/data/golden/snapshot_1024x768.png.
// TW_UPDATE_GOLDEN=1 rewrites the picture instead.
#include <gtest/gtest.h>

#include "app/texture.h"
#include "sdl_fixture.h"

namespace {

using plat::RectI;

// A 16 x 16 picture: four coloured quarters in a black frame, the
// bottom-right quarter half transparent.
std::string MakePng(const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_ARGB8888);
  auto* px = static_cast<std::uint32_t*>(s->pixels);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      std::uint32_t c = x < 8 ? (y < 8 ? 0xFFE03020 : 0xFF20C040) : (y < 8 ? 0xFF3050E0 : 0x80FFFFFF);
      if (x == 0 || y == 0 || x == 15 || y == 15) c = 0xFF000000;
      px[y * (s->pitch / 4) + x] = c;
    }
  }
  EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
  SDL_FreeSurface(s);
  return path;
}

void DrawScene(plat::sdl::SdlRenderer& r, cTexture& picture, cTexture& white, plat::Font& font) {
  r.BeginScene();
  r.Clear(0xFF203040);
  plat::SpriteBatch batch(r);
  batch.Begin();
  // The picture stretched 16 times, and once more at its own size.
  DrawSpriteRect(&batch, &picture, {0, 0, 16, 16}, 32, 32, 256, 256, 0xFFFFFFFF, 0.9f, false);
  DrawSpriteRect(&batch, &picture, {0, 0, 16, 16}, 300, 32, 16, 16, 0xFFFFFFFF, 0.9f, false);
  // Three overlapping squares drawn out of depth order: green must end on
  // top, then blue, then red at the back.
  DrawSpriteRect(&batch, &white, {0, 0, 8, 8}, 340, 100, 120, 120, 0xFF00C000, 0.1f, false);
  DrawSpriteRect(&batch, &white, {0, 0, 8, 8}, 300, 60, 120, 120, 0xFFC00000, 0.8f, false);
  DrawSpriteRect(&batch, &white, {0, 0, 8, 8}, 380, 140, 120, 120, 0xC00000E0, 0.4f, false);
  // A sheared quad goes through the general path.
  plat::Matrix2D shear = plat::Matrix2D::Scaling(6, 6);
  shear.m21 = 3;
  batch.SetTransform(shear);
  batch.Draw(*picture.Get(), nullptr, 20, 90, 0.5f, 0xFFFFFFFF);
  batch.SetTransform(plat::Matrix2D::Scaling(8, 4));
  batch.Draw(*picture.Get(), nullptr, 5, 100, 0.5f, 0xFFFFFF80);
  batch.SetTransform({});
  RectI box{560, 40, 860, 400};
  font.DrawText(&batch,
                L"Word-wrapped text: the quick brown fox jumps over the lazy dog.\nA second paragraph "
                L"with \u00e9t\u00e9 and \u00df.",
                box, plat::kTextWordBreak, 0xFFFFE060);
  RectI label{560, 420, 860, 470};
  font.DrawText(&batch, L"Centred", label, plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine,
                0xFFFFFFFF);
  batch.End();
  plat::PointF outline[5] = {{560, 420}, {860, 420}, {860, 470}, {560, 470}, {560, 420}};
  r.DrawLines(outline, 5, 0xFFFF0000);
  r.EndScene();
}

using SdlDrawing = twtest::SdlTest;

TEST_F(SdlDrawing, SnapshotMatchesGolden) {
  const std::string png = MakePng(dir_.File("picture.png"));
  const std::wstring name(png.begin(), png.end());
  cTexture picture, white;
  ASSERT_EQ(picture.Load(name.c_str(), cTexture::kFromFile, 1), 0);
  ASSERT_EQ(white.Create(8, 8), 0);
  int pitch = 0;
  std::uint32_t* px = white.Get()->Lock(pitch);
  EXPECT_EQ(px[5], 0u);  // created textures start transparent
  for (int i = 0; i < 8 * pitch; ++i) px[i] = 0xFFFFFFFF;
  white.Get()->Unlock();
  auto font = renderer_->CreateFont(L"Arial", 24, 700);
  ASSERT_TRUE(font);
  DrawScene(*renderer_, picture, white, *font);
  ExpectGolden("snapshot_1024x768.png");
}

// The faces the game asks for and the files that stand in for them (the
// goldens show Arial and Tahoma).
TEST(SdlFonts, FacesMapToShippedFiles) {
  EXPECT_NE(plat::sdl::FontFileFor(L"ARIAL", 400).find("LiberationSans-Regular"), std::string::npos);
  EXPECT_NE(plat::sdl::FontFileFor(L"Tahoma", 700).find("LiberationSans-Bold"), std::string::npos);
  EXPECT_NE(plat::sdl::FontFileFor(L"Times New Roman", 400).find("LiberationSerif"), std::string::npos);
  EXPECT_NE(plat::sdl::FontFileFor(L"Courier New", 600).find("LiberationMono-Bold"), std::string::npos);
  EXPECT_NE(plat::sdl::FontFileFor(L"Garamond", 100).find("DejaVuSans.ttf"), std::string::npos);
}

}  // namespace
