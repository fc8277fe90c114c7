// The hover box of a sea node drawn by the software renderer from the
// shipped interface sheet (data/gfx/console.png) and layouts: a sea zone
// with its three rows of ship counts, a port held by an ally with two and an
// enemy's port with one (compared with the committed picture
// tests/data/golden/sea_node_hover_boxes_1024x768.png; TW_UPDATE_GOLDEN=1
// rewrites it); the sheet's art naming the columns and rows where the layout
// puts the counts; and the texts fitting their places in every layout size.
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "game_screen_fixture.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/text.h"
#include "support/world_builders.h"
#include "world/map_text.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// Land on the right (the ports' hexes): the viewing country's and an enemy's.
constexpr const char* kMap = "size 4 2\nterrain\n~~pp\n~~pp\nowner\n1 1 1 3\n1 1 1 3\n";

// The three kinds of box: where each background lies in the sheet's stack,
// its first count entry, its rows and their kinds (0 own, 1 allied, 2 enemy).
struct sKind {
  const char* name;
  int stacked, first;
  std::vector<int> rows;
};
const sKind kKinds[] = {{"allied port", 0, 36, {0, 1}}, {"other port", 1, 50, {2}}, {"sea zone", 2, 17, {0, 1, 2}}};

struct sBox {
  int left, top, right, bottom;
};
// A count, title or size entry (held as edges) within the box.
sBox Place(int entry) {
  const sLayoutRect& r = g_GuiLayout[entry];
  return {r.a, r.b, r.c, r.d};
}

class SeaNodeHoverBox : public twtest::GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (HasFatalFailure()) return;
    g_pWorld = &world_;
    std::string error;
    ASSERT_TRUE(BuildMapFromText(kMap, world_.GetMap(), error)) << error;
    twtest::AddCountry(world_, kAllies, L"Westland");
    twtest::AddCountry(world_, kAlliesLeader, L"Northland");
    twtest::AddCountry(world_, kAxisLeader, L"Eastmark");
    world_.GetRelations().Reset(world_.GetCountryCount());
    world_.GetSeaGraph().SetViewingCountry(1);

    // A sea zone, the viewing country's port (size 4 of 6) and an enemy's
    // (9 of 9), all with the same counts.
    const auto node = [](int id, const wchar_t* name, int x, int size, int maxSize) {
      sWezelGrafuMorz n;
      n.id = id;
      n.name = name;
      n.isSea = maxSize == 0 ? 1 : 0;
      n.size = size;
      n.maxSize = maxSize;
      n.x = x;
      const int own[6] = {1, 3, 4, 2, 6, 0}, allied[6] = {0, 2, 1, 0, 3, 1}, enemy[6] = {2, 1, 12, 5, 0, 0};
      std::copy(own, own + 6, n.ownCounts);
      std::copy(allied, allied + 6, n.alliedCounts);
      std::copy(enemy, enemy + 6, n.enemyCounts);
      return n;
    };
    // The first is the longest name of the shipped scenario's nodes.
    sWezelGrafuMorz sea = node(1, L"Western Mediterranean", 0, 0, 0), friendly = node(2, L"Portsmouth", 2, 4, 6),
                    hostile = node(3, L"Wilhelmshaven", 3, 9, 9);
    world_.GetSeaGraph().Nodes() = {sea, friendly, hostile};
  }
  void TearDown() override {
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }

  cWorld world_;
};

TEST_F(SeaNodeHoverBox, ASeaZoneAnAlliedPortAndAnEnemyPort) {
  renderer_->BeginScene();
  renderer_->Clear(0xFF2A4A66);
  cSeaNodeHoverBox box;
  int w = 0, h = 0;
  box.GetTooltipSize(w, h);
  for (int id = 1; id <= 3; ++id) {
    box.SetNode(world_.GetSeaGraph().GetNode(id));
    g_pSprite->Begin();
    box.DrawTooltip(static_cast<float>(20 + (id - 1) * (w + 20)), 40.0f);
    g_pSprite->End();
  }
  renderer_->EndScene();
  ExpectGolden("sea_node_hover_boxes_1024x768.png");
}

// The box is a picture of its own size on every screen: its texts, in the
// fonts the device makes for the screen's layout, must keep to their places.
TEST_F(SeaNodeHoverBox, TheTextsFitTheirPlacesInEveryLayoutSize) {
  for (const auto& entry : fs::directory_iterator(root_ / "data")) {
    const std::string file = entry.path().filename().string();
    if (file.rfind("GUI_", 0) != 0 || entry.path().extension() != ".csv") continue;
    SCOPED_TRACE(file);
    fs::copy_file(entry.path(), dir_.Path() / "data" / file, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadGuiLayoutFile(plat::WidenBytes("data\\" + file)));
    OnDestroyDevice();
    ASSERT_EQ(OnCreateDevice({1024, 768}), 0);
    plat::Font* font = cSeaNodeHoverBox::Font();
    ASSERT_NE(font, nullptr);
    const auto measure = [font](const wchar_t* text) {
      plat::RectI r{0, 0, 0, 0};
      font->DrawText(nullptr, text, r, plat::kTextCalcRect | plat::kTextSingleLine, 0xFFFFFFFFu);
      return r;
    };
    const plat::RectI name = measure(L"Western Mediterranean"), count = measure(L"12"), size = measure(L"9/9");
    int w = 0, h = 0;
    cSeaNodeHoverBox().GetTooltipSize(w, h);
    const auto fits = [&](int id, const plat::RectI& text) {
      const sBox b = Place(id);
      EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= w && b.bottom <= h) << "entry " << id << " leaves the box";
      EXPECT_LE(text.Width(), b.right - b.left) << "entry " << id;
      EXPECT_LE(text.Height(), b.bottom - b.top) << "entry " << id;
    };
    for (const sKind& kind : kKinds) {
      const int n = static_cast<int>(kind.rows.size());
      fits(kind.first - 1, name);
      for (int i = 0; i < 6 * n; ++i) {
        fits(kind.first + i, count);
        for (int j = -1; j < i; ++j) {  // clear of the title and of one another
          const sBox a = Place(kind.first + i), b = Place(kind.first + j);
          EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
              << "entries " << kind.first + i << " and " << kind.first + j;
        }
      }
      if (kind.first != 17) fits(kind.first + 6 * n, size);
    }
  }
}

// The sheet's three backgrounds put a ship over each column of counts and,
// left of each row, a mark in the colour of its kind: brass for the own
// ships, green for the allies', red for the spotted enemies'; a port's size
// has its mark before it.
TEST_F(SeaNodeHoverBox, TheArtNamesTheColumnsAndRowsWhereTheLayoutPutsThem) {
  using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
  const Surface loaded(IMG_Load((root_ / "data/gfx/console.png").string().c_str()), SDL_FreeSurface);
  ASSERT_NE(loaded, nullptr) << IMG_GetError();
  const Surface converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0), SDL_FreeSurface);
  ASSERT_NE(converted, nullptr);
  const SDL_Surface* sheet = converted.get();
  const auto pixel = [sheet](int x, int y) {
    return static_cast<const std::uint32_t*>(sheet->pixels)[y * (sheet->pitch / 4) + x];
  };
  // The bright, solid pixels of an area of the sheet: their count, mean
  // column and mean colour.
  struct sInk {
    int pixels = 0;
    double x = 0, r = 0, g = 0, b = 0;
  };
  const auto ink = [&](int left, int top, int right, int bottom) {
    sInk s;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const std::uint32_t p = pixel(x, y);
        const int a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        if (a < 200 || std::max({r, g, b}) < 150) continue;
        ++s.pixels;
        s.x += x, s.r += r, s.g += g, s.b += b;
      }
    }
    const double n = std::max(s.pixels, 1);
    s.x /= n, s.r /= n, s.g /= n, s.b /= n;
    return s;
  };
  const sLayoutRect& box = g_GuiLayout[15];
  for (const sKind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const int ox = box.a, oy = box.b + kind.stacked * box.d, n = static_cast<int>(kind.rows.size());
    const int titleBottom = Place(kind.first - 1).bottom, firstLeft = Place(kind.first).left;
    for (int c = 0; c < 6; ++c) {
      const sBox cell = Place(kind.first + c * n);
      const sInk ship = ink(ox + cell.left, oy + titleBottom + 2, ox + cell.right, oy + Place(kind.first).top);
      EXPECT_GE(ship.pixels, 40) << "no ship over column " << c;
      EXPECT_NEAR(ship.x, ox + (cell.left + cell.right) / 2.0, 3.0) << "column " << c;
    }
    EXPECT_EQ(ink(ox + 2, oy + titleBottom + 2, ox + firstLeft, oy + Place(kind.first).top).pixels, 0)
        << "a ship left of the columns";
    for (int r = 0; r < n; ++r) {
      const sBox cell = Place(kind.first + r);
      const sInk mark = ink(ox + 2, oy + cell.top, ox + firstLeft, oy + cell.bottom);
      ASSERT_GE(mark.pixels, 15) << "no mark before row " << r;
      const bool brass = mark.r > 180 && mark.g > 160 && std::abs(mark.r - mark.g) < 40;
      const bool green = mark.g > mark.r + 30 && mark.g > mark.b + 30;
      const bool red = mark.r > mark.g + 60 && mark.r > mark.b + 60;
      EXPECT_TRUE(kind.rows[r] == 0 ? brass : kind.rows[r] == 1 ? green : red)
          << "row " << r << ": mark of " << mark.r << " " << mark.g << " " << mark.b;
    }
    if (kind.first != 17) {
      const sBox slot = Place(kind.first + 6 * n);
      EXPECT_GE(ink(ox + 2, oy + slot.top, ox + slot.left, oy + slot.bottom).pixels, 15) << "no mark before the size";
    }
  }
}

}  // namespace
