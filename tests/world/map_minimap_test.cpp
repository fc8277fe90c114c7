#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/map.h"
#include "world/map_text.h"

namespace {

std::string TinyPng(std::uint32_t w, std::uint32_t h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (std::uint32_t v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  return s + std::string("\x08\x06\0\0\0", 5);
}

class Minimap : public ::testing::Test {
 protected:
  void SetUp() override {
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MinimapOwnershipMode = 0;
    saved_panel_ = g_GuiLayout[315];
    g_GuiLayout[315] = {10, 600, 200, 150};
  }
  void TearDown() override {
    g_GuiLayout[315] = saved_panel_;
    g_OnMinimapRect = nullptr;
    g_Settings.MinimapOwnershipMode = 0;
    plat::SetMessageBoxHandler(nullptr);
  }
  void Build(cMap& map, const std::string& text) {
    std::string error;
    ASSERT_TRUE(BuildMapFromText(text, map, error)) << error;
  }
  std::wstring WritePng(const char* name, int w, int h) {
    const std::string path = dir_.Write(name, TinyPng(w, h));
    return std::wstring(path.begin(), path.end());
  }
  const std::vector<std::uint32_t>& Texels(cMap& map) {
    return static_cast<plat::RecordingTexture*>(map.MinimapOwnershipTexture().Get())->Pixels();
  }

  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  twtest::TempDir dir_;
  twtest::LogCapture log_;
  sLayoutRect saved_panel_;
};

}  // namespace

TEST_F(Minimap, LoadCreatesLayerAndFitsPanel) {
  cMap map;
  Build(map, "size 40 20\n");
  int handed = 0;
  sMinimapRect got;
  g_OnMinimapRect = [&](const sMinimapRect& r) {
    ++handed;
    got = r;
  };
  map.LoadMinimapImage(WritePng("minimap.png", 256, 256));
  ASSERT_NE(map.MinimapTexture().Get(), nullptr);
  ASSERT_NE(map.MinimapOwnershipTexture().Get(), nullptr);
  EXPECT_EQ(map.MinimapOwnershipTexture().Get()->Width(), 256);
  EXPECT_EQ(map.MinimapOwnershipTexture().Get()->Height(), 256);
  // Map part 256 x 128 into a 200 x 150 panel: width limits, height centred.
  EXPECT_EQ(handed, 1);
  EXPECT_EQ(got.x, 10);
  EXPECT_EQ(got.y, 625);
  EXPECT_EQ(got.width, 200);
  EXPECT_EQ(got.height, 100);
  EXPECT_FLOAT_EQ(map.minimapTransform.m[0][0], 200.0f / 256);
}

TEST_F(Minimap, OwnershipLayerTexelsByMode) {
  // 4 x 2 map, picture 8 x 8: map part 8 x 4, each cell 2 x 2 texels; the
  // rows below the part are no map and stay untouched.
  cMap map;
  Build(map, "size 4 2\nterrain\np~pp\npp~p\nowner\n1 0 2 3\n2 3 0 1\n");
  map.GetHex(0, 0).controller = 3;
  map.LoadMinimapImage(WritePng("minimap.png", 8, 8));
  ASSERT_EQ(map.minimapImageWidth, 8);
  ASSERT_EQ(map.minimapImageHeight, 4);
  auto colour = [](int id) -> std::uint32_t { return 0xFF000000u | (0x10u * id) << 16 | 0x11u * id; };
  auto texel = [&](int u, int v) { return Texels(map)[static_cast<std::size_t>(v) * 8 + u]; };

  map.UpdateMinimapOwnershipLayer(colour);  // mode 0: the layer is not touched
  EXPECT_EQ(static_cast<plat::RecordingTexture*>(map.MinimapOwnershipTexture().Get())->Unlocks(), 0);

  g_Settings.MinimapOwnershipMode = 1;  // controller
  map.UpdateMinimapOwnershipLayer(colour);
  EXPECT_EQ(static_cast<plat::RecordingTexture*>(map.MinimapOwnershipTexture().Get())->Unlocks(), 1);
  EXPECT_EQ(texel(0, 0), 0x80300033u);  // (0, 0) controller 3, alpha forced to 128
  EXPECT_EQ(texel(1, 1), 0x80300033u);
  EXPECT_EQ(texel(2, 0), 0u);           // (1, 0) water
  EXPECT_EQ(texel(5, 1), 0x80200022u);  // (2, 0)
  EXPECT_EQ(texel(7, 3), 0x80100011u);  // (3, 1)
  EXPECT_EQ(texel(5, 2), 0u);           // (2, 1) water
  EXPECT_EQ(texel(0, 4), 0u);           // below the map part
  EXPECT_EQ(texel(7, 7), 0u);

  g_Settings.MinimapOwnershipMode = 2;  // owner
  map.UpdateMinimapOwnershipLayer(colour);
  EXPECT_EQ(texel(0, 0), 0x80100011u);
  EXPECT_EQ(texel(2, 2), 0x80300033u);  // (1, 1) owner 3
}
