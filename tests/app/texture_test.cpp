#include <gtest/gtest.h>

#include "app/texture.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

using plat::DrawRecord;

std::string TinyPng(std::uint32_t w, std::uint32_t h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (std::uint32_t v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return s + std::string("\x08\x06\0\0\0", 5);
}

struct TextureTest : ::testing::Test {
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame{&renderer};
  twtest::TempDir dir;
  twtest::LogCapture log;
};

TEST_F(TextureTest, LoadFromFileLogsAndKeepsSize) {
  std::string path = dir.Write("gfx/units.png", TinyPng(64, 48));
  std::wstring name(path.begin(), path.end());
  cTexture t;
  EXPECT_EQ(t.Load(name.c_str(), cTexture::kFromFile, 3), 0);
  ASSERT_NE(t.Get(), nullptr);
  EXPECT_EQ(t.Get()->Width(), 64);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Loading file \"" + name + L"\" (3) [OK]"});
}

TEST_F(TextureTest, DrawSpriteRectStretchesIntoDestination) {
  cTexture t;
  t.Create(128, 128);
  plat::SpriteBatch batch(renderer);
  batch.Begin();
  // Same size as the source: unscaled at the destination.
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {16, 16, 48, 32}, 100, 200, 32, 16, 0xFF123456, 0.3f, false), 0);
  // Doubled width, halved height.
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 10, 20}, 30, 40, 20, 10, 0xFFFFFFFF, 0.2f, false), 0);
  batch.End();
  auto quads = renderer.Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_NEAR(quads[0]->corners[0].x, 100, 1e-3);
  EXPECT_NEAR(quads[0]->corners[2].x, 132, 1e-3);
  EXPECT_NEAR(quads[0]->corners[2].y, 216, 1e-3);
  EXPECT_FLOAT_EQ(quads[0]->depth, 0.3f);
  EXPECT_NEAR(quads[1]->corners[0].x, 30, 1e-3);
  EXPECT_NEAR(quads[1]->corners[2].x, 50, 1e-3);
  EXPECT_NEAR(quads[1]->corners[2].y, 50, 1e-3);
}

TEST_F(TextureTest, DrawSpriteRectCombinesWithAndRestoresTheTransform) {
  cTexture t;
  t.Create(64, 64);
  plat::SpriteBatch batch(renderer);
  plat::Matrix2D zoom = plat::Matrix2D::Scaling(0.5f, 0.5f);
  batch.SetTransform(zoom);
  batch.Begin();
  DrawSpriteRect(&batch, &t, {0, 0, 10, 10}, 100, 60, 20, 20, 0xFFFFFFFF, 0.5f, true);
  DrawSpriteRect(&batch, &t, {0, 0, 10, 10}, 100, 60, 20, 20, 0xFFFFFFFF, 0.4f, false);
  batch.End();
  EXPECT_FLOAT_EQ(batch.GetTransform().m11, 0.5f);
  auto quads = renderer.Quads();
  ASSERT_EQ(quads.size(), 2u);
  // Combined: the destination then the zoom.
  EXPECT_NEAR(quads[0]->corners[0].x, 50, 1e-3);
  EXPECT_NEAR(quads[0]->corners[2].y, 40, 1e-3);
  // Not combined: the zoom is replaced.
  EXPECT_NEAR(quads[1]->corners[0].x, 100, 1e-3);
  EXPECT_NEAR(quads[1]->corners[2].y, 80, 1e-3);
}

TEST_F(TextureTest, DrawSpriteRectRejectsEmptyRectangles) {
  cTexture t;
  t.Create(16, 16);
  plat::SpriteBatch batch(renderer);
  batch.Begin();
  EXPECT_LT(DrawSpriteRect(&batch, &t, {4, 4, 4, 8}, 0, 0, 10, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 4, 4}, 5, 5, 0, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_LT(DrawSpriteRect(nullptr, &t, {0, 0, 4, 4}, 5, 5, 4, 4, 0xFFFFFFFF, 0, false), 0);
  batch.End();
  EXPECT_TRUE(renderer.Quads().empty());
}

}  // namespace
