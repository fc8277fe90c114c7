#include "map_drawing/map_draw_cache.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

std::uint64_t NextStamp() {
  static std::atomic<std::uint64_t> s_stamps{0};
  return ++s_stamps;
}

}  // namespace

cMapDrawCache::cMapDrawCache() : stamp_(NextStamp()) {}

void cMapDrawCache::Clear() {
  stamp_ = NextStamp();
  for (std::size_t i = 0; i < used_; ++i) lists_[i].sprites.clear();
  used_ = 0;
  list_of_depth_.clear();
  lives_.clear();
  cuts_.clear();
  have_last_ = false;
}

std::size_t cMapDrawCache::ListFor(float depth) {
  // The batch makes NaN depth 0 and -0 +0; the lists must split the depths
  // just as its buckets do, or the order within a bucket would change.
  if (std::isnan(depth)) depth = 0.0f;
  depth += 0.0f;
  if (have_last_ && depth == last_depth_) return last_list_;
  std::uint32_t bits;
  std::memcpy(&bits, &depth, sizeof bits);
  auto [it, added] = list_of_depth_.try_emplace(bits, used_);
  if (added) {
    if (used_ == lists_.size()) lists_.push_back(DepthList{depth, {}});
    lists_[used_].depth = depth;
    ++used_;
  }
  last_list_ = it->second;
  last_depth_ = depth;
  have_last_ = true;
  return last_list_;
}

bool cMapDrawCache::Add(const plat::Texture& texture, const plat::RectI& source, int x, int y, float depth,
                        std::uint32_t argb) {
  auto fits = [](int v) { return v >= -32768 && v <= 32767; };
  if (!fits(source.left) || !fits(source.top) || !fits(source.right) || !fits(source.bottom)) return false;
  plat::PreparedSprite s{&texture, x, y,
                         {static_cast<std::int16_t>(source.left), static_cast<std::int16_t>(source.top),
                          static_cast<std::int16_t>(source.right), static_cast<std::int16_t>(source.bottom)},
                         argb};
  lists_[ListFor(depth)].sprites.push_back(s);
  return true;
}

void cMapDrawCache::AddLive(int kind, int cell) {
  const std::size_t first = cuts_.size();
  for (std::size_t i = 0; i < used_; ++i) cuts_.push_back(static_cast<std::uint32_t>(lists_[i].sprites.size()));
  lives_.push_back(LiveEntry{{kind, cell}, first, used_});
}

void cMapDrawCache::HandOver(plat::SpriteBatch& sprite, const plat::Matrix2D& transform, int ox, int oy,
                             const std::uint32_t* cuts, std::size_t count) const {
  for (std::size_t i = 0; i < count; ++i) {
    const DepthList& list = lists_[i];
    const std::uint32_t end = cuts ? cuts[i] : static_cast<std::uint32_t>(list.sprites.size());
    const std::uint32_t begin = handed_[i];
    if (end <= begin) continue;
    sprite.DrawPrepared(list.sprites.data() + begin, end - begin, list.depth, transform, ox, oy, stamp_);
    handed_[i] = end;
  }
}
