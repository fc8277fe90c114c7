// The minimap: its picture fitted into the panel and its ownership layer
// painted from the map.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/map.h"
#include "world/map_text.h"
#include "world/world.h"

namespace {

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
    const std::string path = dir_.Write(name, twtest::PngHeader(w, h));
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
  // Map part 256 x 128 into a 200 x 150 panel: width limits, height centred.
  EXPECT_EQ(handed, 1);
  EXPECT_EQ(std::vector<int>({got.x, got.y, got.width, got.height}), std::vector<int>({10, 625, 200, 100}));
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
  // {u, v, texel}: (0, 0) controller 3 with alpha forced to 128, (1, 0)
  // water, (2, 0), (3, 1), (2, 1) water, then below the map part.
  const std::uint32_t controller[][3] = {{0, 0, 0x80300033u}, {1, 1, 0x80300033u}, {2, 0, 0}, {5, 1, 0x80200022u},
                                         {7, 3, 0x80100011u}, {5, 2, 0},           {0, 4, 0}, {7, 7, 0}};
  for (const auto& [u, v, argb] : controller) EXPECT_EQ(texel(static_cast<int>(u), static_cast<int>(v)), argb) << u << "," << v;

  g_Settings.MinimapOwnershipMode = 2;  // owner
  map.UpdateMinimapOwnershipLayer(colour);
  EXPECT_EQ(texel(0, 0), 0x80100011u);
  EXPECT_EQ(texel(2, 2), 0x80300033u);  // (1, 1) owner 3

  // The game's repaint takes each country's first colour from the world;
  // an id that names no country (3 here) paints colour 0.
  cWorld world;
  for (const std::uint32_t first : {0xFF112233u, 0xFF445566u}) {
    world.AddCountry(std::make_unique<cCountry>());
    world.Countries().back()->id = static_cast<int>(world.Countries().size());
    world.Countries().back()->colour[0] = first;
  }
  map.UpdateMinimapOwnershipLayer(world);
  EXPECT_EQ(std::vector<std::uint32_t>({texel(0, 0), texel(5, 1), texel(7, 1), texel(0, 2)}),
            std::vector<std::uint32_t>({0x80112233u, 0x80445566u, 0x80000000u, 0x80445566u}));
}
