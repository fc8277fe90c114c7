// A packed sheet keeps every texel a filtered draw can read, and a draw's
// pieces cover what the drawn rectangle holds exactly once.
#include "platform/sheet_packing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using plat::PointF;
using plat::RectI;
using plat::SheetPacking;

bool Inside(int x, int y, const RectI& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// A sheet of scattered sprites, some at its edges, some with holes and
// half-transparent texels; the rest of the sheet transparent.
std::vector<std::uint32_t> MakeSheet(std::mt19937& random, int width, int height, int pitch) {
  std::vector<std::uint32_t> texels(static_cast<std::size_t>(pitch) * height, 0u);
  for (int i = 0; i < 40; ++i) {
    const int w = 1 + static_cast<int>(random() % 60), h = 1 + static_cast<int>(random() % 60);
    int x = static_cast<int>(random() % (width - w + 1)), y = static_cast<int>(random() % (height - h + 1));
    if (i % 10 == 0) x = 0;
    if (i % 10 == 1) y = height - h;
    for (int v = y; v < y + h; ++v) {
      for (int u = x; u < x + w; ++u) {
        if (random() % 5 == 0) continue;
        texels[static_cast<std::size_t>(v) * pitch + u] = (1 + random() % 255) << 24 | (random() & 0xFFFFFFu);
      }
    }
  }
  return texels;
}

TEST(SheetPacking, PackedPartsKeepEveryTexelAFilteredDrawReadsAndPiecesCoverTheSourceOnce) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const int width = 700, height = 520, pitch = 707;
    const std::vector<std::uint32_t> sheet = MakeSheet(random, width, height, pitch);
    SheetPacking packing;
    ASSERT_TRUE(packing.Pack(sheet.data(), pitch, width, height, 512));
    ASSERT_LE(packing.PackedWidth(), 512);
    ASSERT_LE(packing.PackedHeight(), 512);
    EXPECT_LE(static_cast<long long>(packing.PackedWidth()) * packing.PackedHeight() * 4,
              static_cast<long long>(width) * height * 3);
    const std::vector<std::uint32_t> packed = packing.Copy(sheet.data(), pitch);
    const auto& parts = packing.Parts();

    // Parts lie apart in the sheet, and with their rings in the packed
    // picture.
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const RectI& a = parts[i].sheet;
      ASSERT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= width && a.bottom <= height && a.Width() > 0);
      const int r = SheetPacking::kRing;
      ASSERT_GE(parts[i].packedX - r, 0);
      ASSERT_GE(parts[i].packedY - r, 0);
      ASSERT_LE(parts[i].packedX + a.Width() + r, packing.PackedWidth());
      ASSERT_LE(parts[i].packedY + a.Height() + r, packing.PackedHeight());
      for (std::size_t j = i + 1; j < parts.size(); ++j) {
        const RectI& b = parts[j].sheet;
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom);
        const bool apartPacked = parts[i].packedX + a.Width() + r <= parts[j].packedX - r ||
                                 parts[j].packedX + b.Width() + r <= parts[i].packedX - r ||
                                 parts[i].packedY + a.Height() + r <= parts[j].packedY - r ||
                                 parts[j].packedY + b.Height() + r <= parts[i].packedY - r;
        EXPECT_TRUE(apartPacked) << i << " " << j;
      }
    }

    // Every texel a filtered sample within a part reads (its margin and the
    // ring around it, the sheet's edge repeated) is the sheet's.
    int wrong = 0;
    for (const auto& part : parts) {
      for (int y = part.sheet.top - 1; y < part.sheet.bottom + 1; ++y) {
        for (int x = part.sheet.left - 1; x < part.sheet.right + 1; ++x) {
          const std::uint32_t want =
              sheet[static_cast<std::size_t>(std::clamp(y, 0, height - 1)) * pitch + std::clamp(x, 0, width - 1)];
          const std::size_t at = static_cast<std::size_t>(part.packedY + y - part.sheet.top) * packing.PackedWidth() +
                                 (part.packedX + x - part.sheet.left);
          wrong += packed[at] != want;
        }
      }
    }
    EXPECT_EQ(wrong, 0);

    // A texel that holds anything lies in a part, the margin's width from
    // its edges wherever the sheet goes on.
    int uncovered = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if ((sheet[static_cast<std::size_t>(y) * pitch + x] >> 24) == 0) continue;
        bool ok = false;
        for (const auto& part : parts) {
          const RectI& s = part.sheet;
          const int m = SheetPacking::kMargin;
          ok = ok || ((x - m >= s.left || s.left == 0) && (x + m < s.right || s.right == width) &&
                      (y - m >= s.top || s.top == 0) && (y + m < s.bottom || s.bottom == height));
        }
        uncovered += !ok;
      }
    }
    EXPECT_EQ(uncovered, 0);

    // Pieces of random rectangles, some reaching past the sheet.
    for (int draw = 0; draw < 300; ++draw) {
      const int left = static_cast<int>(random() % (width + 40)) - 20;
      const int top = static_cast<int>(random() % (height + 40)) - 20;
      const RectI source{left, top, left + 1 + static_cast<int>(random() % 200),
                         top + 1 + static_cast<int>(random() % 200)};
      std::vector<RectI> pieces;
      packing.ForEachPiece(source, [&](const RectI& piece, const SheetPacking::Part& part) {
        EXPECT_TRUE(piece.left >= part.sheet.left && piece.right <= part.sheet.right &&
                    piece.top >= part.sheet.top && piece.bottom <= part.sheet.bottom);
        pieces.push_back(piece);
      });
      for (int y = std::max(source.top, 0); y < std::min(source.bottom, height); ++y) {
        for (int x = std::max(source.left, 0); x < std::min(source.right, width); ++x) {
          int times = 0;
          for (const RectI& p : pieces) times += Inside(x, y, p);
          const bool holds = (sheet[static_cast<std::size_t>(y) * pitch + x] >> 24) != 0;
          if (times > 1 || (holds && times != 1)) {
            ADD_FAILURE() << "texel " << x << "," << y << " in " << times << " pieces";
            return;
          }
        }
      }
    }
  }
}

// A draw onto a quad: each piece's texels in the packed picture are those of
// its rectangle of the sheet, and its share of the quad is where that
// rectangle lies in the source, the quad's own edges kept exactly.
TEST(SheetPacking, APieceOfADrawLiesOnTheQuadWhereItsTexelsLieInTheSource) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const int width = 700, height = 520;
    const std::vector<std::uint32_t> sheet = MakeSheet(random, width, height, width);
    SheetPacking packing;
    ASSERT_TRUE(packing.Pack(sheet.data(), width, width, height, 512));
    const std::vector<std::uint32_t> packed = packing.Copy(sheet.data(), width);
    int pieces = 0;
    for (int draw = 0; draw < 200; ++draw) {
      const int left = static_cast<int>(random() % (width - 10)), top = static_cast<int>(random() % (height - 10));
      const RectI source{left, top, std::min(width, left + 10 + static_cast<int>(random() % 150)),
                         std::min(height, top + 10 + static_cast<int>(random() % 150))};
      const float x = 13.25f, y = 7.5f, across = 1.37f, down = 0.81f;
      const bool upright = draw % 2 == 0;
      // Upright: scaled; otherwise also sheared across.
      const float shear = upright ? 0.0f : 0.4f;
      const auto map = [&](float s, float u) {
        return PointF{x + s * source.Width() * across + u * source.Height() * shear, y + u * source.Height() * down};
      };
      const PointF corners[4] = {map(0, 0), map(1, 0), map(1, 1), map(0, 1)};
      packing.ForEachPieceOnQuad(source, corners, upright, [&](const RectI& in, const PointF share[4]) {
        ++pieces;
        // The piece's rectangle of the sheet, from the part whose packed
        // copy holds it.
        const SheetPacking::Part* part = nullptr;
        for (const auto& p : packing.Parts()) {
          const int sx = in.left - (p.packedX - p.sheet.left), sy = in.top - (p.packedY - p.sheet.top);
          if (sx >= p.sheet.left && sy >= p.sheet.top && sx < p.sheet.right && sy < p.sheet.bottom) part = &p;
        }
        ASSERT_NE(part, nullptr);
        const int dx = part->packedX - part->sheet.left, dy = part->packedY - part->sheet.top;
        const RectI cut{in.left - dx, in.top - dy, in.right - dx, in.bottom - dy};
        ASSERT_TRUE(cut.left >= source.left && cut.right <= source.right && cut.top >= source.top &&
                    cut.bottom <= source.bottom && cut.right > cut.left && cut.bottom > cut.top);
        for (int v = cut.top; v < cut.bottom; ++v) {
          for (int u = cut.left; u < cut.right; ++u) {
            ASSERT_EQ(packed[static_cast<std::size_t>(v + dy) * packing.PackedWidth() + u + dx],
                      sheet[static_cast<std::size_t>(v) * width + u]);
          }
        }
        const float s0 = static_cast<float>(cut.left - source.left) / source.Width();
        const float s1 = static_cast<float>(cut.right - source.left) / source.Width();
        const float u0 = static_cast<float>(cut.top - source.top) / source.Height();
        const float u1 = static_cast<float>(cut.bottom - source.top) / source.Height();
        const PointF want[4] = {map(s0, u0), map(s1, u0), map(s1, u1), map(s0, u1)};
        for (int i = 0; i < 4; ++i) {
          EXPECT_NEAR(share[i].x, want[i].x, 1e-3f);
          EXPECT_NEAR(share[i].y, want[i].y, 1e-3f);
        }
        if (upright) {
          EXPECT_TRUE(share[0].y == share[1].y && share[0].x == share[3].x && share[1].x == share[2].x &&
                      share[2].y == share[3].y);
        }
        if (upright && cut.left == source.left) {
          EXPECT_EQ(share[0].x, corners[0].x);
        }
        if (upright && cut.right == source.right) {
          EXPECT_EQ(share[1].x, corners[1].x);
        }
        if (cut.top == source.top) {
          EXPECT_EQ(share[0].y, corners[0].y);
        }
        if (upright && cut.bottom == source.bottom) {
          EXPECT_EQ(share[3].y, corners[3].y);
        }
      });
    }
    EXPECT_GT(pieces, 100);
  }
}

TEST(SheetPacking, ASheetThatIsMostlyFullOrTooWideIsNotPacked) {
  std::mt19937 random(3);
  const int width = 300, height = 200;
  std::vector<std::uint32_t> full(static_cast<std::size_t>(width) * height, 0xFF102030u);
  for (int i = 0; i < 4000; ++i) full[random() % full.size()] = 0;
  SheetPacking packing;
  EXPECT_FALSE(packing.Pack(full.data(), width, width, height, 4096));
  EXPECT_TRUE(packing.Parts().empty());

  // One sprite wider than the packed picture may be.
  std::vector<std::uint32_t> wide(static_cast<std::size_t>(width) * height, 0u);
  for (int x = 10; x < 290; ++x) wide[static_cast<std::size_t>(50) * width + x] = 0xFFFFFFFFu;
  EXPECT_FALSE(packing.Pack(wide.data(), width, width, height, 256));
  EXPECT_TRUE(packing.Pack(wide.data(), width, width, height, 512));
  ASSERT_EQ(packing.Parts().size(), 1u);
  int pieces = 0;
  packing.ForEachPiece({0, 0, width, height}, [&](const RectI&, const SheetPacking::Part&) { ++pieces; });
  EXPECT_EQ(pieces, 1);
}

}  // namespace
