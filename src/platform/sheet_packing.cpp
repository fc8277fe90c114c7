#include "platform/sheet_packing.h"

#include <algorithm>
#include <numeric>

namespace plat {
namespace {

constexpr int kBlock = 8;  // texels are looked at in blocks this wide

bool Overlap(const RectI& a, const RectI& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RectI Union(const RectI& a, const RectI& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

bool SheetPacking::Pack(const std::uint32_t* texels, int pitch, int width, int height, int maxWidth) {
  *this = SheetPacking{};
  if (texels == nullptr || width <= 0 || height <= 0 || pitch < width || maxWidth <= 2 * kRing) return false;

  // The blocks holding a texel that is not wholly transparent.
  const int across = (width + kBlock - 1) / kBlock, down = (height + kBlock - 1) / kBlock;
  std::vector<unsigned char> full(static_cast<std::size_t>(across) * down, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = texels + static_cast<std::size_t>(y) * pitch;
    unsigned char* blocks = full.data() + static_cast<std::size_t>(y / kBlock) * across;
    for (int x = 0; x < width; ++x) {
      if (row[x] >> 24) blocks[x / kBlock] = 1;
    }
  }

  // Blocks that touch, corners included, make one part: its bounding box
  // with the margin around it.
  std::vector<RectI> boxes;
  std::vector<int> queue;
  for (int start = 0; start < across * down; ++start) {
    if (full[start] != 1) continue;
    full[start] = 2;
    queue.assign(1, start);
    int bx0 = start % across, bx1 = bx0, by0 = start / across, by1 = by0;
    while (!queue.empty()) {
      const int at = queue.back();
      queue.pop_back();
      const int bx = at % across, by = at / across;
      bx0 = std::min(bx0, bx), bx1 = std::max(bx1, bx), by0 = std::min(by0, by), by1 = std::max(by1, by);
      for (int ny = std::max(by - 1, 0); ny <= std::min(by + 1, down - 1); ++ny) {
        for (int nx = std::max(bx - 1, 0); nx <= std::min(bx + 1, across - 1); ++nx) {
          unsigned char& next = full[static_cast<std::size_t>(ny) * across + nx];
          if (next != 1) continue;
          next = 2;
          queue.push_back(ny * across + nx);
        }
      }
    }
    boxes.push_back({std::max(bx0 * kBlock - kMargin, 0), std::max(by0 * kBlock - kMargin, 0),
                     std::min((bx1 + 1) * kBlock + kMargin, width), std::min((by1 + 1) * kBlock + kMargin, height)});
  }

  // Boxes that overlap become one, until none does.
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      for (std::size_t j = i + 1; j < boxes.size();) {
        if (Overlap(boxes[i], boxes[j])) {
          boxes[i] = Union(boxes[i], boxes[j]);
          boxes[j] = boxes.back();
          boxes.pop_back();
          merged = true;
        } else {
          ++j;
        }
      }
    }
  }

  // Worth it only when a quarter of the texels or more are saved.
  long long area = 0;
  for (const RectI& b : boxes) area += static_cast<long long>(b.Width() + 2 * kRing) * (b.Height() + 2 * kRing);
  if (area * 4 > static_cast<long long>(width) * height * 3) return false;

  // Shelves, the tallest parts first, no wider than the sheet.
  const int packedWidth = std::min(maxWidth, width);
  std::vector<std::size_t> order(boxes.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return boxes[a].Height() > boxes[b].Height(); });
  parts_.resize(boxes.size());
  int x = 0, y = 0, shelf = 0;
  for (const std::size_t i : order) {
    const int w = boxes[i].Width() + 2 * kRing, h = boxes[i].Height() + 2 * kRing;
    if (w > packedWidth) {
      *this = SheetPacking{};
      return false;
    }
    if (x + w > packedWidth) {
      y += shelf;
      x = 0;
      shelf = 0;
    }
    parts_[i] = Part{boxes[i], x + kRing, y + kRing};
    x += w;
    shelf = std::max(shelf, h);
  }
  const int packedHeight = y + shelf;
  if (packedHeight > maxWidth || static_cast<long long>(packedWidth) * packedHeight * 4 >
                                     static_cast<long long>(width) * height * 3) {
    *this = SheetPacking{};
    return false;
  }
  width_ = width;
  height_ = height;
  packed_width_ = packedWidth;
  packed_height_ = std::max(packedHeight, 1);
  Index();
  return true;
}

void SheetPacking::Index() {
  cells_across_ = (width_ + kCell - 1) / kCell;
  const int cellsDown = (height_ + kCell - 1) / kCell;
  cells_.assign(static_cast<std::size_t>(cells_across_) * cellsDown, Cell{});
  const auto eachCell = [&](const RectI& r, auto f) {
    for (int cy = r.top / kCell; cy <= (r.bottom - 1) / kCell; ++cy) {
      for (int cx = r.left / kCell; cx <= (r.right - 1) / kCell; ++cx) f(cells_[cy * cells_across_ + cx]);
    }
  };
  for (const Part& p : parts_) eachCell(p.sheet, [](Cell& c) { ++c.count; });
  std::uint32_t first = 0;
  for (Cell& c : cells_) {
    c.first = first;
    first += c.count;
    c.count = 0;
  }
  cell_parts_.assign(first, 0);
  for (std::uint32_t i = 0; i < parts_.size(); ++i) {
    eachCell(parts_[i].sheet, [&](Cell& c) { cell_parts_[c.first + c.count++] = i; });
  }
  seen_.assign(parts_.size(), 0);
  stamp_ = 0;
}

std::vector<std::uint32_t> SheetPacking::Copy(const std::uint32_t* texels, int pitch) const {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(packed_width_) * packed_height_, 0u);
  if (texels == nullptr) return out;
  for (const Part& p : parts_) {
    for (int y = p.sheet.top - kRing; y < p.sheet.bottom + kRing; ++y) {
      const std::uint32_t* row = texels + static_cast<std::size_t>(std::clamp(y, 0, height_ - 1)) * pitch;
      std::uint32_t* to =
          out.data() + static_cast<std::size_t>(p.packedY + y - p.sheet.top) * packed_width_ + (p.packedX - kRing);
      for (int x = p.sheet.left - kRing; x < p.sheet.right + kRing; ++x) {
        *to++ = row[std::clamp(x, 0, width_ - 1)];
      }
    }
  }
  return out;
}

}  // namespace plat
