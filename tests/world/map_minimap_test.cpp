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

TEST_F(Minimap, FailedLoadChangesNothingElse) {
  cMap map;
  Build(map, "size 40 20\n");
  int handed = 0;
  g_OnMinimapRect = [&](const sMinimapRect&) { ++handed; };
  map.LoadMinimapImage(L"data\\scenarios\\none\\minimap.png");
  EXPECT_EQ(map.MinimapTexture().Get(), nullptr);
  EXPECT_EQ(map.MinimapOwnershipTexture().Get(), nullptr);
  EXPECT_EQ(handed, 0);
  EXPECT_EQ(map.minimapRect.width, 0);
  EXPECT_EQ(map.minimapImageWidth, 0);
  // Without a layer the repaint has nothing to do (and must not crash).
  g_Settings.MinimapOwnershipMode = 1;
  map.UpdateMinimapOwnershipLayer([](int) { return 0xFF123456u; });
}

TEST_F(Minimap, ViewOutlineIsOneRedFivePointLine) {
  cMap map;
  Build(map, "size 40 20\n");
  map.LoadMinimapImage(WritePng("minimap.png", 256, 256));
  g_Settings.MapZoom = g_MapTargetScale = 1.0f;
  map.viewX = map.targetX = 20 * 83 + 166;
  map.viewY = map.targetY = 10 * 98 + 166;
  map.ScrollView(1, 0, 1.0f);
  map.UpdateView(1.0f);
  renderer_.records.clear();
  map.DrawMinimapViewRect();
  ASSERT_EQ(renderer_.records.size(), 1u);
  const plat::DrawRecord& r = renderer_.records[0];
  EXPECT_EQ(r.kind, plat::DrawRecord::kLines);
  EXPECT_EQ(r.argb, 0xFFFF0000u);
  ASSERT_EQ(r.points.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(r.points[i].x, map.minimapViewOutline[i].x) << i;
    EXPECT_EQ(r.points[i].y, map.minimapViewOutline[i].y) << i;
  }
  // A real box inside the minimap, closed on its first point.
  EXPECT_LT(r.points[0].x, r.points[1].x);
  EXPECT_LT(r.points[1].y, r.points[2].y);
  EXPECT_GE(r.points[0].x, 10.0f);
  EXPECT_LE(r.points[2].y, 725.0f);
  EXPECT_EQ(r.points[4].x, r.points[0].x);
  EXPECT_EQ(r.points[4].y, r.points[0].y);
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

TEST_F(Minimap, ZoomChangePicksCityFontAgain) {
  cMap map;
  Build(map, "size 40 20\n");
  g_CityAppearance.Reset();
  g_CityAppearance.entries[0].threshold = 200;
  g_CityAppearance.entries[1].threshold = 50;
  for (int e = 2; e < kCityEntriesChosen; ++e) g_CityAppearance.entries[e].threshold = kUnusedThreshold;
  g_Settings.MapZoom = 1.0f;
  g_MapTargetScale = 0.4f;
  map.UpdateView(1.0f);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, 0.4f);
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[1]);  // 40 % is below 50
  g_MapTargetScale = 1.0f;
  map.UpdateView(1.0f);
  EXPECT_EQ(g_CityAppearance.current, &g_CityAppearance.entries[0]);  // only 200 is above 100 %
  g_CityAppearance.Reset();
}

TEST_F(Minimap, OwnershipValidationShowsOneBox) {
  std::vector<std::wstring> boxes;
  plat::SetMessageBoxHandler([&](std::wstring_view caption, std::wstring_view text) {
    boxes.push_back(std::wstring(caption) + L"|" + std::wstring(text));
  });
  cMap map;
  Build(map, "size 3 1\nterrain\np~p\nowner\n1 9 3\n");
  EXPECT_FALSE(ValidateHexOwnership(map, 3));
  EXPECT_TRUE(boxes.empty());
  map.GetHex(0, 0).owner = 7;
  map.GetHex(2, 0).controller = 0;
  EXPECT_TRUE(ValidateHexOwnership(map, 3));
  ASSERT_EQ(boxes.size(), 1u);  // one box for all bad cells
  EXPECT_EQ(boxes[0], L"Invalid ctr ids on hexes|Logged invalid controllers/owners/orig owners of hexes");
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_TRUE(ValidateHexOwnership(map, 3));  // the default shows nothing
  EXPECT_EQ(boxes.size(), 1u);
}
