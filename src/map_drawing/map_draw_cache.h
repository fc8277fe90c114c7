// The map's pictures kept between frames. Most of what a frame of the map
// draws follows from the cells alone (terrain, rivers, tints, borders...);
// at the farthest zoom that is some 400 000 pictures, too many to work out
// again every frame. The cache holds them in map space, one list per depth
// in the order they were drawn, and hands each list to the sprite batch in
// one piece, offset by the scroll of the frame at hand.
//
// What changes from frame to frame (cities' animation, units, sea-node
// markers, mark labels) is not kept: the cache notes where such a live
// draw falls among the kept pictures, and at replay hands over everything
// before it, lets the caller draw it, and goes on, so every depth receives
// its pictures in the order a plain drawing would give.
//
// The cache cannot tell on its own when its pictures went stale: its owner
// keeps a key of everything they were made from and starts a new recording
// when the key differs. Each recording has a number of its own (the stamp
// it hands to the sprite batch), so that the batch's renderer can keep the
// picture of the farthest depths while the recordings and the view stay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/render.h"

class cMapDrawCache {
 public:
  // A live draw: what to draw and what for (a cell, say), both in the
  // owner's numbers.
  struct sLive {
    int kind;
    int cell;
  };

  cMapDrawCache();

  // Forgets every picture and live draw (keeping the storage) and starts a
  // recording with a new stamp.
  void Clear();
  // A picture at depth with its top-left at (x, y) in map space. False (and
  // nothing kept) when the source does not fit the prepared form (16 bits).
  bool Add(const plat::Texture& texture, const plat::RectI& source, int x, int y, float depth, std::uint32_t argb);
  // A live draw of kind for cell, after the pictures added so far.
  void AddLive(int kind, int cell);

  // Hands the pictures to sprite through transform, each moved by (ox, oy),
  // calling live(sLive) for every live draw at its place.
  template <typename LiveFn>
  void Replay(plat::SpriteBatch& sprite, const plat::Matrix2D& transform, int ox, int oy, LiveFn&& live) const {
    handed_.assign(used_, 0);
    for (const LiveEntry& entry : lives_) {
      // A live draw before any picture (a map without its skin's sheets)
      // has no cuts to look at.
      const std::uint32_t* cuts = entry.cutCount > 0 ? &cuts_[entry.firstCut] : nullptr;
      HandOver(sprite, transform, ox, oy, cuts, entry.cutCount);
      live(entry.live);
    }
    HandOver(sprite, transform, ox, oy, nullptr, used_);
  }

 private:
  struct DepthList {
    float depth;
    std::vector<plat::PreparedSprite> sprites;
  };
  struct LiveEntry {
    sLive live;
    std::size_t firstCut;  // cuts_[firstCut + i]: list i's size when the draw came
    std::size_t cutCount;  // the lists there were then
  };

  // Queues the pictures of the first count lists up to cuts (null: all).
  void HandOver(plat::SpriteBatch& sprite, const plat::Matrix2D& transform, int ox, int oy,
                const std::uint32_t* cuts, std::size_t count) const;
  std::size_t ListFor(float depth);

  std::vector<DepthList> lists_;
  std::size_t used_ = 0;  // lists_[0, used_) are this recording's
  std::unordered_map<std::uint32_t, std::size_t> list_of_depth_;  // by the depth's bits
  std::vector<LiveEntry> lives_;
  std::vector<std::uint32_t> cuts_;
  std::size_t last_list_ = 0;
  float last_depth_ = 0;
  bool have_last_ = false;
  mutable std::vector<std::uint32_t> handed_;  // per list, the pictures queued so far
  std::uint64_t stamp_;
};
