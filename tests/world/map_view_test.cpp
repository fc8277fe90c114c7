#include <gtest/gtest.h>

#include <string>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/map.h"
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
  EXPECT_EQ(map.minViewX, 83);
  EXPECT_EQ(map.maxViewX, 40 * 83);
  EXPECT_EQ(map.minViewY, 83);
  EXPECT_EQ(map.maxViewY, 30 * 98);
  EXPECT_EQ(map.baseVisibleColumns, 26);  // 1024 / 41.5 + 2 = 26.67
  EXPECT_EQ(map.baseVisibleRows, 9);      // 768 / 98 + 2 = 9.84
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
  map.viewX = map.targetX = 1000;
  map.viewY = map.targetY = 1000;
  map.ScrollView(1, 1, 0.05f);  // would be 0.05 in both
  EXPECT_FLOAT_EQ(map.velocityX, 0.1f);
  EXPECT_FLOAT_EQ(map.velocityY, 0.005f);
  map.viewX = map.targetX = 1000;
  map.viewY = map.targetY = 1000;
  map.ScrollView(-1, -1, 0.05f);
  EXPECT_FLOAT_EQ(map.velocityX, -0.1f);
  EXPECT_FLOAT_EQ(map.velocityY, -0.1f);
  map.viewX = map.targetX = 1000;
  map.ScrollView(0, 0, 0.05f);
  EXPECT_EQ(map.velocityX, 0.0f);  // no movement: no minimum
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
  int c0, c1, r0, r1;
  map.VisibleRange(c0, c1, r0, r1);
  EXPECT_EQ(c0, 0);
  EXPECT_EQ(c1, 4);
  EXPECT_EQ(r0, 0);
  EXPECT_EQ(r1, 3);
}
