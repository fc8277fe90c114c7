#include <gtest/gtest.h>

#include <string>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "support/test_support.h"
#include "world/gra.h"
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
};

}  // namespace

TEST_F(MapView, SizeSetsInitialBounds) {
  cMap map;
  Size(map, 40, 30);
  EXPECT_EQ(map.minViewX, 83);
  EXPECT_EQ(map.maxViewX, 40 * 83);
  EXPECT_EQ(map.minViewY, 83);
  EXPECT_EQ(map.maxViewY, 30 * 98);
  EXPECT_EQ(map.baseVisibleColumns, 26);  // 1024 / 41.5 + 2 = 26.67
  EXPECT_EQ(map.baseVisibleRows, 9);      // 768 / 98 + 2 = 9.84
}

TEST_F(MapView, ZoomStepsAreExactAndClamped) {
  cMap map;
  Size(map, 40, 30);
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
  cMap map;
  Size(map, 40, 30);
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
  cMap map;
  Size(map, 40, 30);
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

TEST_F(MapView, GlideArrivesAndEndsViewMovingPhase) {
  cMap map;
  Size(map, 40, 30);
  twtest::LogCapture log;
  map.ScrollViewTo({830.0f, 980.0f}, true);
  EXPECT_EQ(world_.GetGameState(), 12);
  g_Settings.MapZoom = g_MapTargetScale = 1.0f;
  int frames = 0;
  while ((map.viewX != map.targetX || map.viewY != map.targetY) && frames < 1000) {
    map.UpdateView(0.01f);
    ++frames;
  }
  EXPECT_LT(frames, 1000);
  EXPECT_EQ(map.viewX, 830.0f);
  EXPECT_EQ(map.viewY, 980.0f);
  EXPECT_EQ(world_.GetGameState(), 7);
  EXPECT_EQ(map.centreColumn, (830 - 166) / 83);
  EXPECT_EQ(map.offsetX, 830 % 83);
  EXPECT_EQ(map.centreRow, static_cast<int>((980 - 166) / 98.0f));
  EXPECT_EQ(map.offsetY, (980 - 166) % 98);
  // Stopping is refused while dragging, honoured otherwise.
  map.ScrollView(500, 0, 1.0f);
  g_MapDrag.dragging = true;
  map.StopScrolling();
  EXPECT_NE(map.targetX, map.viewX);
  g_MapDrag.dragging = false;
  map.StopScrolling();
  EXPECT_EQ(map.targetX, map.viewX);
  EXPECT_EQ(map.velocityX, 0.0f);
}

TEST_F(MapView, CenterAtHexOutsideOnlyWarns) {
  cMap map;
  Size(map, 10, 8);
  twtest::LogCapture log;
  map.CenterAtHex(10, 0);
  EXPECT_EQ(map.targetX, 0.0f);
  EXPECT_EQ(map.targetY, 0.0f);
  EXPECT_FALSE(log.Contains(L"CenterAtHex"));
  map.CenterAtHex(5, 4);
  EXPECT_TRUE(log.Contains(L"CenterAtHex"));
  EXPECT_EQ(map.targetX, 5.0f * 83);
  EXPECT_EQ(map.targetY, 4.0f * 98);
}

TEST_F(MapView, BoundsCollapseOnMapSmallerThanScreen) {
  cMap map;
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

TEST_F(MapView, BoundsOnALargeMapAtFullSize) {
  cMap map;
  Size(map, 100, 80);
  g_Settings.MapZoom = 0.5f;
  g_MapTargetScale = 1.0f;
  map.UpdateView(1.0f);
  EXPECT_EQ(map.minViewX, 512 - 415);
  EXPECT_EQ(map.maxViewX, 105 * 83 - 512);
  EXPECT_EQ(map.minViewY, 384 - 490);
  EXPECT_EQ(map.maxViewY, 85 * 98 - 384);
}

TEST_F(MapView, ScaleEasingCarriesPendingZoomCorrection) {
  cMap map;
  Size(map, 100, 80);
  g_Settings.MapZoom = 1.0f;
  g_MapTargetScale = 0.0f;  // d = 1, so a frame of 0.004 s moves 0.2 of it
  map.pendingZoomX = 100;
  map.UpdateView(0.004f);
  EXPECT_FLOAT_EQ(g_Settings.MapZoom, 0.8f);
  EXPECT_FLOAT_EQ(map.viewX, 20.0f);
  EXPECT_FLOAT_EQ(map.pendingZoomX, 80.0f);
}

TEST_F(MapView, DragReleaseShortIsAClickLongIsNot) {
  cMap map;
  Size(map, 40, 30);
  g_Settings.MapZoom = g_MapTargetScale = 1.0f;
  map.viewX = map.targetX = 1000;
  map.viewY = map.targetY = 1000;
  int clicks = 0;
  g_OnMapEmptyClick = [&clicks] { ++clicks; };
  world_.SetGameState(7);
  g_MapDrag = {true, false, 5, -5};
  map.UpdateView(0.01f);
  EXPECT_EQ(map.viewX, 995.0f);
  EXPECT_EQ(map.targetX, 1000.0f);
  g_MapDrag = {false, true, 5, -5};
  map.UpdateView(0.01f);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(map.targetX, 995.0f);
  EXPECT_EQ(map.viewY, 1005.0f);
  EXPECT_FALSE(g_MapDrag.released);
  g_MapDrag = {false, true, 10, 0};
  map.UpdateView(0.01f);
  EXPECT_EQ(clicks, 1);
  world_.SetGameState(9);
  g_MapDrag = {false, true, 1, 1};
  map.UpdateView(0.01f);
  EXPECT_EQ(clicks, 1);
}

TEST_F(MapView, MinimapFitAndOutline) {
  cMap map;
  Size(map, 40, 20);  // wider than high
  const sLayoutRect saved = g_GuiLayout[315];
  g_GuiLayout[315] = {10, 600, 200, 150};
  sMinimapRect handed;
  g_OnMinimapRect = [&handed](const sMinimapRect& r) { handed = r; };
  map.FitMinimapPicture(256, 256);
  // The map part is 256 x 128; panel ratio 1.33 < 2: width limits.
  EXPECT_EQ(map.minimapImageWidth, 256);
  EXPECT_EQ(map.minimapImageHeight, 128);
  EXPECT_FLOAT_EQ(map.minimapScale, 200.0f / 256);
  EXPECT_EQ(map.minimapRect.x, 10);
  EXPECT_EQ(map.minimapRect.width, 200);
  EXPECT_EQ(map.minimapRect.height, 100);
  EXPECT_EQ(map.minimapRect.y, 600 + 25);
  EXPECT_EQ(handed.y, 625);
  EXPECT_EQ(map.minimapOriginX, static_cast<int>(10 / map.minimapScale));

  cMap tall;
  Size(tall, 10, 20);
  g_GuiLayout[315] = {0, 0, 200, 150};
  tall.FitMinimapPicture(100, 300);  // part 150 x 300; height limits
  EXPECT_EQ(tall.minimapImageWidth, 150);
  EXPECT_FLOAT_EQ(tall.minimapScale, 0.5f);
  EXPECT_EQ(tall.minimapRect.height, 150);
  EXPECT_EQ(tall.minimapRect.width, 75);
  EXPECT_EQ(tall.minimapRect.x, static_cast<int>((200 - 75) * 0.5f));

  // The outline of a view at the map's centre, clamped into the minimap.
  g_Settings.MapZoom = g_MapTargetScale = 1.0f;
  map.viewX = map.targetX = 20 * 83 + 166;
  map.viewY = map.targetY = 10 * 98 + 166;
  map.ScrollView(1, 0, 1.0f);
  map.UpdateView(1.0f);
  const auto& o = map.minimapViewOutline;
  const float halfW = (200.0f * 1024) / (40 * 83) * 0.5f;
  EXPECT_FLOAT_EQ(o[0].x, 10 + (map.centreColumn + 1) / 40.0f * 200 - halfW);
  EXPECT_FLOAT_EQ(o[1].x - o[0].x, 2 * halfW);
  EXPECT_EQ(o[4].x, o[0].x);
  EXPECT_EQ(o[4].y, o[0].y);
  g_GuiLayout[315] = saved;

  // Clicking the minimap centres at the hex under the cursor.
  twtest::LogCapture log;
  map.CenterAtMinimapCursor(10 + 100, 625 + 50);
  EXPECT_EQ(map.targetX, 20.0f * 83);
  EXPECT_EQ(map.targetY, 10.0f * 98);
}

TEST_F(MapView, LoadedMapFitsTheScreen) {
  cMap map;
  std::string error;
  ASSERT_TRUE(BuildMapFromText("size 20 10\n", map, error));
  twtest::LogCapture log;
  cMap loaded;
  ASSERT_EQ(loaded.ReadMapBytes(map.MapFileBytes(), L"m"), eMapReadResult::kOk);
  EXPECT_FLOAT_EQ(loaded.fitScale, std::min(1024.0f / (20 * 83), 768.0f / (10 * 98)));
  EXPECT_EQ(g_Settings.MapZoom, loaded.fitScale);
}
