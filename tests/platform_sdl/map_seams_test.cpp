// The shipped Europe 1939 scenario drawn by cMap::Render with the map skin
// in the software renderer at several zooms: the cells must cover the land
// and sea without seams. Scaled pictures whose edges fall between pixels
// used to leave one-pixel lines of the cleared screen across the whole map.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/world_loader.h"
#include "platform/sdl/sdl_renderer.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/hex.h"
#include "world/hex_drawing.h"
#include "world/map.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kCleared = 0xFFFF00FFu;  // a colour no skin picture has

class MapSeams : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }

  void SetUp() override {
    root_ = twtest::FindSourceRoot("tests/platform_sdl/map_seams_test.cpp");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
    ASSERT_TRUE(fs::is_directory(root_ / "data/scenarios/Europe1939"));
    fs::create_directories(dir_.Path() / "data/scenarios");
    fs::create_directory_symlink(root_ / "data/gfx", dir_.Path() / "data/gfx");
    fs::create_directory_symlink(root_ / "data/scenarios/Europe1939", dir_.Path() / "data/scenarios/Europe1939");
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    settings_ = g_Settings;
    g_Settings.ResolutionX = 1024;
    g_Settings.ResolutionY = 768;
    g_Settings.MapMode = 0;
    renderer_ = plat::sdl::CreateSoftwareRenderer(1024, 768);
    ASSERT_TRUE(renderer_);
    frame_ = std::make_unique<twtest::FakeFramework>(renderer_.get());
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
    frame_.reset();
    renderer_.reset();
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
    renderer_->Clear(kCleared);
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
    const SDL_Surface* shot = renderer_->Target();
    int holes = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        holes += static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] == kCleared;
      }
    }
    return holes;
  }

  twtest::TempDir dir_;
  fs::path root_;
  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  sSettings settings_;
  std::unique_ptr<plat::sdl::SdlRenderer> renderer_;
  std::unique_ptr<twtest::FakeFramework> frame_;
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

// A grid of scaled white squares handed over as one run of rectangles, at
// sizes and offsets with every kind of fraction and partly off the screen's
// top-left: every pixel inside the grid is white.
TEST(SdlRectRuns, ScaledSquaresLeaveNoGaps) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    auto renderer = plat::sdl::CreateSoftwareRenderer(200, 160);
    ASSERT_TRUE(renderer);
    auto texture = renderer->CreateTexture(8, 8);
    ASSERT_TRUE(texture);
    int pitch = 0;
    std::uint32_t* texels = texture->Lock(pitch);
    for (int i = 0; i < 8 * pitch; ++i) texels[i] = 0xFFFFFFFFu;
    texture->Unlock();
    const SDL_Surface* shot = renderer->Target();
    for (float scale : {0.37f, 0.61f, 1.0f, 1.3f, 2.7f}) {
      for (float offset : {-3.3f, 0.0f, 0.45f, 7.5f}) {
        renderer->Clear(0xFF000000);
        std::vector<plat::RectDraw> grid;
        const float step = 8.0f * scale;
        // Neighbours share their edges to the bit, as the batch gives them.
        const auto x = [&](int column) { return offset + column * step; };
        const auto y = [&](int row) { return offset * 0.7f + row * step; };
        for (int row = 0; row < 12; ++row) {
          for (int column = 0; column < 14; ++column) {
            grid.push_back({texture.get(), {0, 0, 8, 8}, x(column), y(row), x(column + 1), y(row + 1), 0xFFFFFFFFu});
          }
        }
        renderer->DrawRects(grid.data(), grid.size(), 0.5f);
        renderer->EndScene();
        const int right = std::min(200, static_cast<int>(offset + 14 * step) - 1);
        const int bottom = std::min(160, static_cast<int>(offset * 0.7f + 12 * step) - 1);
        int black = 0;
        for (int y = std::max(0, static_cast<int>(offset * 0.7f) + 1); y < bottom; ++y) {
          for (int x = std::max(0, static_cast<int>(offset) + 1); x < right; ++x) {
            black += (static_cast<const std::uint32_t*>(shot->pixels)[y * (shot->pitch / 4) + x] & 0xFFFFFFu) !=
                     0xFFFFFFu;
          }
        }
        EXPECT_EQ(black, 0) << "scale " << scale << ", offset " << offset;
      }
    }
  }
  SDL_Quit();
}

}  // namespace
