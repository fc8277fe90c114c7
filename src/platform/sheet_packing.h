// A large picture that is mostly transparent (a sheet of sprites) kept as
// the parts of it that are not: each part a rectangle of the sheet, packed
// side by side into a smaller picture. A draw of a rectangle of the sheet
// becomes the draws of the pieces of it that hold anything, each from the
// packed picture; the transparent rest drew nothing anyway.
//
// Each part takes at least kMargin transparent texels around what it
// holds, and its packed copy a ring of one more texel of the sheet around
// it (the sheet's edge texel repeated outside the sheet): a filtered
// sample anywhere within a piece reads the very texels it reads in the
// sheet.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/render.h"

namespace plat {

class SheetPacking {
 public:
  static constexpr int kMargin = 2;
  static constexpr int kRing = 1;

  struct Part {
    RectI sheet;              // in the sheet, its transparent margin included
    int packedX = 0, packedY = 0;  // where sheet.left, sheet.top lie in the packed picture
  };

  // Finds the parts of the width x height ARGB picture (rows of pitch
  // texels) and places them in a picture at most maxWidth wide. False when
  // packing would save less than a quarter of the texels (nothing is kept
  // then).
  bool Pack(const std::uint32_t* texels, int pitch, int width, int height, int maxWidth);

  int PackedWidth() const { return packed_width_; }
  int PackedHeight() const { return packed_height_; }
  const std::vector<Part>& Parts() const { return parts_; }

  // The packed picture (PackedWidth() x PackedHeight() texels, rows edge to
  // edge) made from the sheet Pack was given.
  std::vector<std::uint32_t> Copy(const std::uint32_t* texels, int pitch) const;

  // Calls piece(const RectI& inSheet, const Part& part) for each part the
  // rectangle meets, with the rectangle cut to it. One thread at a time (the
  // one that draws).
  template <class F>
  void ForEachPiece(const RectI& source, F piece) const {
    const RectI s{std::max(source.left, 0), std::max(source.top, 0), std::min(source.right, width_),
                  std::min(source.bottom, height_)};
    if (s.right <= s.left || s.bottom <= s.top) return;
    const int cx0 = s.left / kCell, cy0 = s.top / kCell;
    const int cx1 = (s.right - 1) / kCell, cy1 = (s.bottom - 1) / kCell;
    if (++stamp_ == 0) {
      std::fill(seen_.begin(), seen_.end(), 0u);
      stamp_ = 1;
    }
    for (int cy = cy0; cy <= cy1; ++cy) {
      for (int cx = cx0; cx <= cx1; ++cx) {
        const Cell& cell = cells_[static_cast<std::size_t>(cy) * cells_across_ + cx];
        for (std::uint32_t i = cell.first; i < cell.first + cell.count; ++i) {
          const std::uint32_t index = cell_parts_[i];
          if (seen_[index] == stamp_) continue;
          seen_[index] = stamp_;
          const RectI& r = parts_[index].sheet;
          const RectI cut{std::max(s.left, r.left), std::max(s.top, r.top), std::min(s.right, r.right),
                          std::min(s.bottom, r.bottom)};
          if (cut.right > cut.left && cut.bottom > cut.top) piece(cut, parts_[index]);
        }
      }
    }
  }

  // A draw of source onto the quad with the corners given (top-left,
  // top-right, bottom-right, bottom-left) as the draws of its pieces: calls
  // piece(const RectI& packed, const PointF pieceCorners[4]) with each
  // piece's texels in the packed picture and its share of the quad. A piece
  // keeps the quad's own edges where it reaches them; the pieces of an
  // upright quad (upright: its edges lie along the axes) are upright too.
  template <class F>
  void ForEachPieceOnQuad(const RectI& source, const PointF corners[4], bool upright, F piece) const {
    const int sw = source.Width(), sh = source.Height();
    if (sw <= 0 || sh <= 0) return;
    const PointF &tl = corners[0], &tr = corners[1], &br = corners[2], &bl = corners[3];
    // A point of the quad at the share (s, u) of the source across and down.
    const auto at = [&](float s, float u) {
      const PointF top{tl.x + (tr.x - tl.x) * s, tl.y + (tr.y - tl.y) * s};
      const PointF bottom{bl.x + (br.x - bl.x) * s, bl.y + (br.y - bl.y) * s};
      return PointF{top.x + (bottom.x - top.x) * u, top.y + (bottom.y - top.y) * u};
    };
    ForEachPiece(source, [&](const RectI& cut, const Part& part) {
      const float s0 = cut.left == source.left ? 0.0f : static_cast<float>(cut.left - source.left) / sw;
      const float s1 = cut.right == source.right ? 1.0f : static_cast<float>(cut.right - source.left) / sw;
      const float u0 = cut.top == source.top ? 0.0f : static_cast<float>(cut.top - source.top) / sh;
      const float u1 = cut.bottom == source.bottom ? 1.0f : static_cast<float>(cut.bottom - source.top) / sh;
      const int dx = part.packedX - part.sheet.left, dy = part.packedY - part.sheet.top;
      const RectI packed{cut.left + dx, cut.top + dy, cut.right + dx, cut.bottom + dy};
      if (upright) {
        const float x0 = s0 == 0.0f ? tl.x : tl.x + (tr.x - tl.x) * s0;
        const float x1 = s1 == 1.0f ? tr.x : tl.x + (tr.x - tl.x) * s1;
        const float y0 = u0 == 0.0f ? tl.y : tl.y + (bl.y - tl.y) * u0;
        const float y1 = u1 == 1.0f ? bl.y : tl.y + (bl.y - tl.y) * u1;
        const PointF share[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        piece(packed, share);
      } else {
        const PointF share[4] = {at(s0, u0), at(s1, u0), at(s1, u1), at(s0, u1)};
        piece(packed, share);
      }
    });
  }

 private:
  static constexpr int kCell = 64;  // the index's cells, in texels
  struct Cell {
    std::uint32_t first = 0, count = 0;
  };
  void Index();

  int width_ = 0, height_ = 0, packed_width_ = 0, packed_height_ = 0;
  std::vector<Part> parts_;
  int cells_across_ = 0;
  std::vector<Cell> cells_;
  std::vector<std::uint32_t> cell_parts_;
  mutable std::vector<std::uint32_t> seen_;
  mutable std::uint32_t stamp_ = 0;
};

}  // namespace plat
