// The shipped Europe 1939 scenario drawn by cMap::Render with the map skin
// in the software renderer at several zooms: the cells must cover the land
// and sea without seams. Scaled pictures whose edges fall between pixels
// used to leave one-pixel lines of the cleared screen across the whole map.
// The zooms run from the farthest to nearly 1:1, the largest scale the map
// takes, so every kind of fraction goes through the renderer's runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/world_loader.h"
#include "map_drawing/hex_drawing.h"
#include "sdl_fixture.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kCleared = 0xFF00FFu;  // a colour no skin picture has

class MapSeams : public twtest::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(fs::is_directory(root_ / "data/scenarios/Europe1939"));
    fs::create_directories(dir_.Path() / "data/scenarios");
    fs::create_directory_symlink(root_ / "data/gfx", dir_.Path() / "data/gfx");
    fs::create_directory_symlink(root_ / "data/scenarios/Europe1939", dir_.Path() / "data/scenarios/Europe1939");
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    settings_ = g_Settings;
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MapMode = 0;
    LoadMapSkin(L"Normal");
    ASSERT_TRUE(g_Textures[kSlotTerrain].Get());
    LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
    ASSERT_NE(g_pWorld, nullptr);
  }

  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
    ReleaseSkinFonts();
    g_MapZoomLevel = 1.0f;
    g_Settings = settings_;
    SdlTest::TearDown();
    folder_.reset();
  }

  // Eases the view to the zoom level (0 closest .. 100 farthest) around
  // the cell (x, y) and draws one frame on the cleared screen.
  void DrawAt(int level, int x, int y) {
    cMap& map = g_pWorld->GetMap();
    map.ComputeFitScale();
    g_MapZoomLevel = 1.0f;
    map.Zoom((100 - level) / 5, 0, 0);
    for (int i = 0; i < 200 && g_Settings.MapZoom != g_MapTargetScale; ++i) map.UpdateView(0.05f);
    ASSERT_EQ(g_Settings.MapZoom, g_MapTargetScale);
    map.CenterAtHex(x, y);
    map.UpdateView(0.05f);
    renderer_->BeginScene();
    renderer_->Clear(0xFF000000u | kCleared);
    plat::SpriteBatch batch(*renderer_);
    batch.Begin();
    map.Render(batch);
    batch.End();
    renderer_->EndScene();
  }

  // The cleared colour inside the map: the screen between the centres of
  // cells (2, 2) and (width - 3, height - 3) (a cell's picture has its
  // centre half a picture from its top-left corner), a picture's size away
  // from the screen's edges, where the choice of the cells to draw decides.
  int HolesInsideTheMap() const {
    const cMap& map = g_pWorld->GetMap();
    const float s = g_Settings.MapZoom;
    const float ox = static_cast<float>(static_cast<int>(1024 / (2.0f * s) - map.viewX));
    const float oy = static_cast<float>(static_cast<int>(768 / (2.0f * s) - map.viewY));
    const float half = skin_sheet_layout::kPicture / 2.0f;
    const auto screen = [s](float v) { return static_cast<int>(v * s); };
    const int margin = screen(2.0f * half);
    const int left = std::max(margin, screen(2.0f * kHexColumnWidth + half + ox));
    const int top = std::max(margin, screen(2.0f * kHexRowHeight + half + oy));
    const int right = std::min(1024 - margin, screen((map.GetWidth() - 3.0f) * kHexColumnWidth + half + ox));
    const int bottom = std::min(768 - margin, screen((map.GetHeight() - 3.0f) * kHexRowHeight + half + oy));
    EXPECT_GT(right - left, 200);
    EXPECT_GT(bottom - top, 200);
    int holes = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) holes += Pixel(x, y) == kCleared ? 1 : 0;
    }
    return holes;
  }

  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  sSettings settings_;
};

TEST_F(MapSeams, CellsMeetWithoutSeamsAtEveryZoom) {
  const cMap& map = g_pWorld->GetMap();
  // The farthest zoom, the steps after it and a few closer ones, over the
  // middle and over the north-west of the map.
  for (int level : {100, 95, 90, 85, 80, 75, 70, 60, 45, 30, 10}) {
    for (auto [x, y] : {std::pair{map.GetWidth() / 2, map.GetHeight() / 2}, std::pair{12, 9}}) {
      DrawAt(level, x, y);
      EXPECT_EQ(HolesInsideTheMap(), 0) << "zoom level " << level << " at " << x << "," << y;
    }
  }
}

}  // namespace
