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

TEST_F(TextureTest, DrawSpriteRectStretchesCombinesAndRejectsEmptyRectangles) {
  cTexture t;
  t.Create(64, 64);
  plat::SpriteBatch batch(renderer);
  batch.SetTransform(plat::Matrix2D::Scaling(0.5f, 0.5f));
  batch.Begin();
  // Combined: the stretch to the destination, then the zoom; not combined: the zoom is replaced.
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 10, 20}, 100, 60, 20, 10, 0xFFFFFFFF, 0.5f, true), 0);
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 10, 20}, 100, 60, 20, 10, 0xFFFFFFFF, 0.4f, false), 0);
  EXPECT_LT(DrawSpriteRect(&batch, &t, {4, 4, 4, 8}, 0, 0, 10, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_EQ(DrawSpriteRect(&batch, &t, {0, 0, 4, 4}, 5, 5, 0, 10, 0xFFFFFFFF, 0, false), 0);
  EXPECT_LT(DrawSpriteRect(nullptr, &t, {0, 0, 4, 4}, 5, 5, 4, 4, 0xFFFFFFFF, 0, false), 0);
  batch.End();
  EXPECT_FLOAT_EQ(batch.GetTransform().m11, 0.5f);
  auto quads = renderer.Quads();
  ASSERT_EQ(quads.size(), 2u);
  const float corners[2][4] = {{50, 30, 60, 35}, {100, 60, 120, 70}};
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(quads[i]->corners[0].x, corners[i][0], 1e-3) << i;
    EXPECT_NEAR(quads[i]->corners[0].y, corners[i][1], 1e-3) << i;
    EXPECT_NEAR(quads[i]->corners[2].x, corners[i][2], 1e-3) << i;
    EXPECT_NEAR(quads[i]->corners[2].y, corners[i][3], 1e-3) << i;
  }
  EXPECT_FLOAT_EQ(quads[0]->depth, 0.5f);
}

}  // namespace
