// The committed skins under data/gfx: tables and terrain sheet.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/skins.h"
#include "platform/sdl/sdl_renderer.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMapSkin = "data/gfx/[MapSkin]Normal";
constexpr const char* kUnitsSkin = "data/gfx/[UnitsSkin]Counters";

std::wstring Wide(const fs::path& p) { return p.wstring(); }

struct Rgba {
  int a, r, g, b;
};

class SkinsDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = twtest::FindSourceRoot(std::string(kMapSkin) + "/terrain.png");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    renderer_ = plat::sdl::CreateSoftwareRenderer(64, 64);
    ASSERT_NE(renderer_, nullptr);
  }
  void TearDown() override {
    renderer_.reset();
    SDL_Quit();
  }
  // Loads a sheet and keeps its pixels.
  void LoadSheet(const std::string& file, int width, int height) {
    texture_ = renderer_->LoadTexture((root_ / file).string());
    ASSERT_NE(texture_, nullptr) << file;
    EXPECT_EQ(texture_->Width(), width);
    EXPECT_EQ(texture_->Height(), height);
    int pitch = 0;
    pixels_ = texture_->Lock(pitch);
    ASSERT_NE(pixels_, nullptr);
    pitch_ = pitch;  // in pixels
  }
  Rgba At(int x, int y) const {
    const std::uint32_t p = pixels_[y * pitch_ + x];
    return {int(p >> 24), int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)};
  }
  // The mean colour of a 20 x 20 patch round the hex centre of a cell.
  Rgba Centre(int left, int top) const {
    long a = 0, r = 0, g = 0, b = 0;
    for (int y = top + 73; y < top + 93; ++y)
      for (int x = left + 73; x < left + 93; ++x) {
        const Rgba c = At(x, y);
        a += c.a; r += c.r; g += c.g; b += c.b;
      }
    return {int(a / 400), int(r / 400), int(g / 400), int(b / 400)};
  }

  fs::path root_;
  std::unique_ptr<plat::sdl::SdlRenderer> renderer_;
  std::unique_ptr<plat::Texture> texture_;
  const std::uint32_t* pixels_ = nullptr;
  int pitch_ = 0;
};

int TerrainLeft(int t, int v) { return ((t / 4) * 6 + v % 6) * 167 + 1; }
int TerrainTop(int t, int w) { return ((t % 4) * 3 + w) * 167 + 1; }

// The map skin's city table and the land counters' two bands are read by
// the world map's golden pictures (zoom 100 and 50); here every unit table.
TEST_F(SkinsDataTest, UnitTablesGiveTwoZoomBands) {
  const struct {
    const char* file;
    sUnitAppearanceTable* table;
    sUnitTableShape shape;
    int counterBox;
  } tables[] = {{"land_units.csv", &g_LandAppearance, kLandTableShape, 13},
                {"air_units.csv", &g_AirAppearance, kAirTableShape, 11},
                {"naval_units.csv", &g_NavalAppearance, kNavalTableShape, 3}};
  for (const auto& t : tables) {
    t.table->Reset();
    ASSERT_TRUE(ReadUnitAppearanceTable(Wide(root_ / kUnitsSkin / t.file), *t.table, t.shape)) << t.file;
    EXPECT_EQ(t.table->entries[0].name, L"Normal") << t.file;
    EXPECT_EQ(t.table->entries[0].threshold, 10000) << t.file;
    EXPECT_EQ(t.table->entries[1].threshold, 60) << t.file;
    EXPECT_EQ(t.table->entries[2].threshold, kUnusedThreshold) << t.file;
    EXPECT_TRUE(t.table->entries[0].valid[0]) << t.file;  // the frame
    EXPECT_TRUE(t.table->entries[0].valid[t.counterBox]) << t.file;
    EXPECT_FALSE(t.table->entries[0].text[0].face.empty()) << t.file;
  }
}

TEST_F(SkinsDataTest, TerrainCellsReadAsTheirTerrain) {
  LoadSheet(std::string(kMapSkin) + "/terrain.png", 2004, 2004);
  for (int v = 0; v < 6; ++v) {
    const Rgba water = Centre(TerrainLeft(0, v), TerrainTop(0, 0));
    EXPECT_GT(water.b, water.r + 60) << v;
    const Rgba plain = Centre(TerrainLeft(1, v), TerrainTop(1, 0));
    EXPECT_GT(plain.g, plain.b + 40) << v;
    EXPECT_GT(plain.g, plain.r) << v;
    const Rgba snow = Centre(TerrainLeft(1, v), TerrainTop(1, 1));
    EXPECT_GT(snow.r + snow.g + snow.b, 3 * 215) << v;
    const Rgba mud = Centre(TerrainLeft(1, v), TerrainTop(1, 2));
    EXPECT_GT(mud.r, mud.b + 30) << v;
    const Rgba desert = Centre(TerrainLeft(7, v), TerrainTop(7, 0));
    EXPECT_GT(desert.r, desert.b + 60) << v;
    EXPECT_GT(desert.r + desert.g, plain.r + plain.g) << v;
    // Whole hexes are opaque in the middle; every cell is clear in its corners.
    for (int t : {0, 1, 4, 7}) EXPECT_EQ(Centre(TerrainLeft(t, v), TerrainTop(t, 0)).a, 255) << t;
    for (int t = 0; t < 8; ++t)
      for (int w = 0; w < 3; ++w) EXPECT_EQ(At(TerrainLeft(t, v) + 2, TerrainTop(t, w) + 2).a, 0) << t << w;
  }
}

}  // namespace
