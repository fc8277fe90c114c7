// The map view: bounds, zoom and scrolling.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

class MapView : public ::testing::Test {
 protected:
  void SetUp() override {
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_MapZoomLevel = 1.0f;
    g_MapDrag = {};
    g_pWorld = &world_;
    Size(map, 40, 30);
  }
  void TearDown() override {
    g_pWorld = nullptr;
    g_OnMapEmptyClick = nullptr;
    g_OnMinimapRect = nullptr;
  }
  void Size(cMap& map, int w, int h) {
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size " + std::to_string(w) + " " + std::to_string(h) + "\n", map, error));
  }
  cWorld world_;
  cMap map;
};

}  // namespace

TEST_F(MapView, SizeSetsInitialBounds) {
  // Visible columns 1024 / 41.5 + 2 = 26.67, rows 768 / 98 + 2 = 9.84.
  EXPECT_EQ(std::vector<int>({map.minViewX, map.maxViewX, map.minViewY, map.maxViewY, map.baseVisibleColumns,
                              map.baseVisibleRows}),
            std::vector<int>({83, 40 * 83, 83, 30 * 98, 26, 9}));
}

TEST_F(MapView, ZoomStepsAreExactAndClamped) {
  const float expected[10] = {0.95f, 0.90f, 0.85f, 0.80f, 0.75f, 0.70f, 0.69f, 0.68f, 0.67f, 0.66f};
  for (float e : expected) {
    map.Zoom(1, 0, 0);
    EXPECT_FLOAT_EQ(g_MapZoomLevel, e);
  }
  for (int i = 0; i < 200; ++i) map.Zoom(1, 0, 0);
  EXPECT_EQ(g_MapZoomLevel, 0.0f);
  EXPECT_FLOAT_EQ(g_MapTargetScale, 1.0f);  // level 0 shows the map at full size
  g_MapZoomLevel = 1.0f;
  map.Zoom(-1, 0, 0);
  EXPECT_EQ(g_MapZoomLevel, 1.0f);
  // Level 1: the map's full width fills the screen.
  EXPECT_FLOAT_EQ(g_MapTargetScale, 1024.0f / (40 * 83));
}

TEST_F(MapView, ZoomKeepsCursorPointOnlyWithHumanInput) {
  g_MapTargetScale = 1024.0f / (40 * 83);
  world_.SetGameState(7);
  const float oldScale = g_MapTargetScale;
  map.Zoom(1, 100, 50);
  EXPECT_FLOAT_EQ(map.pendingZoomX, 100 / oldScale - 100 / g_MapTargetScale);
  EXPECT_FLOAT_EQ(map.pendingZoomY, 50 / oldScale - 50 / g_MapTargetScale);
  world_.SetGameState(9);
  map.Zoom(1, 100, 50);
  EXPECT_EQ(map.pendingZoomX, 0.0f);
  EXPECT_EQ(map.pendingZoomY, 0.0f);
}

TEST_F(MapView, ScrollVelocityMinimumsDifferByAxis) {
  // {dx, dy, velocity x, velocity y}: no movement, no minimum.
  const float cases[][4] = {{1, 1, 0.1f, 0.005f}, {-1, -1, -0.1f, -0.1f}, {0, 0, 0, 0}};
  for (const auto& [dx, dy, vx, vy] : cases) {
    map.viewX = map.targetX = map.viewY = map.targetY = 1000;
    map.ScrollView(dx, dy, 0.05f);  // would be 0.05 in both
    EXPECT_FLOAT_EQ(map.velocityX, vx) << dx;
    EXPECT_FLOAT_EQ(map.velocityY, vy) << dy;
  }
  map.ScrollView(100000, -100000, 1.0f);  // clamped into the bounds
  EXPECT_EQ(map.targetX, 40.0f * 83);
  EXPECT_EQ(map.targetY, 83.0f);
}

TEST_F(MapView, BoundsCollapseOnMapSmallerThanScreen) {
  cMap small;
  cMap& map = small;
  Size(map, 4, 3);  // 332 x 294 map pixels on a 1024 x 768 screen
  g_Settings.MapZoom = 1.0f;
  g_MapTargetScale = 0.5f;
  map.UpdateView(1.0f);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, 0.5f);
  // min x = 1024 - 415 = 609 > max x = 9 * 83 - 1024 = -277: both the middle.
  EXPECT_EQ(map.minViewX, static_cast<int>((609 - 277) * 0.5));
  EXPECT_EQ(map.maxViewX, map.minViewX);
  EXPECT_EQ(map.minViewY, static_cast<int>((278 + (8 * 98 - 768)) * 0.5));
  EXPECT_EQ(map.maxViewY, map.minViewY);
  EXPECT_EQ(map.visibleColumns, static_cast<int>(map.baseVisibleColumns / 0.5f + 2));
  EXPECT_EQ(map.visibleRows, static_cast<int>(map.baseVisibleRows / 0.5f + 2));
  EXPECT_FLOAT_EQ(map.viewTransform.m[0][0], 0.5f);
  map.ScrollView(-1000, 5000, 1.0f);
  EXPECT_EQ(map.targetX, static_cast<float>(map.minViewX));
  EXPECT_EQ(map.targetY, static_cast<float>(map.minViewY));
  std::vector<int> range(4);
  map.VisibleRange(range[0], range[1], range[2], range[3]);
  EXPECT_EQ(range, std::vector<int>({0, 4, 0, 3}));
}
