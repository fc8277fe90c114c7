// The sprite batch: transforms, what is queued and when it is submitted,
// clips, and the order of submission against a plain reference (a stable
// sort of what was queued, larger depth first) for frames with few depths
// (the bucketed path) and with many (the sorted path), over quads of every
// kind: axis aligned, through a rotating transform, prepared corners, runs
// of prepared sprites, sources beyond 16 bits, clips, and the depths NaN, -0
// and +0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "platform/recording_renderer.h"
#include "platform/render.h"

namespace {

using plat::DrawRecord;
using plat::Matrix2D;
using plat::PointF;
using plat::RecordingRenderer;
using plat::RectI;
using plat::SpriteBatch;

TEST(Matrix2D, ThenAppliesThisFirst) {
  const Matrix2D scale = Matrix2D::Scaling(2, 3), shift{1, 0, 0, 1, 10, -5}, shear{1, 0, 1, 1, 0, 0};
  const auto at = [](const Matrix2D& m, PointF p) { return std::pair(m.Apply(p).x, m.Apply(p).y); };
  EXPECT_EQ(at(scale.Then(shift), {1, 1}), std::pair(12.0f, -2.0f));
  EXPECT_EQ(at(shift.Then(scale), {1, 1}), std::pair(22.0f, -12.0f));
  EXPECT_EQ(at(shear, {1, 2}), std::pair(3.0f, 2.0f));
  EXPECT_TRUE(scale.Then(Matrix2D::Scaling(0.5f, 4)).IsAxisAligned());
  EXPECT_FALSE(shear.IsAxisAligned());
}

// The clip in force (null: none) at each quad, in submission order.
std::vector<const RectI*> ClipsAtQuads(const RecordingRenderer& r, std::size_t first = 0) {
  std::vector<const RectI*> out;
  const RectI* clip = nullptr;
  for (std::size_t i = first; i < r.records.size(); ++i) {
    if (r.records[i].kind == DrawRecord::kClip) clip = r.records[i].clip_set ? &r.records[i].source : nullptr;
    if (r.records[i].kind == DrawRecord::kQuad) out.push_back(clip);
  }
  return out;
}

// A batch's life: draws and clips outside Begin and End are ignored, a
// second Begin keeps what was queued, only End submits and it leaves no
// clip behind; a null source is the whole texture. The reorder under clips,
// and clips that do not outlive their frame, are covered by the random
// frames below.
TEST(SpriteBatch, OnlyEndSubmitsAndClipsLiveInsideTheirBatch) {
  RecordingRenderer r;
  auto t = r.CreateTexture(30, 20);
  SpriteBatch batch(r);
  const RectI clip{0, 0, 10, 10};
  batch.Draw(*t, nullptr, 0, 0, 0, 0xFFFFFFFF);  // not begun
  batch.SetClipRect(&clip);
  batch.End();
  EXPECT_TRUE(r.records.empty());
  batch.Begin();
  EXPECT_TRUE(batch.InBatch());
  EXPECT_EQ(batch.GetClipRect(), nullptr);
  batch.Draw(*t, nullptr, 1, 2, 0.5f, 1);
  batch.Begin();
  batch.SetClipRect(&clip);
  batch.Draw(*t, nullptr, 1, 2, 0.7f, 2);
  EXPECT_TRUE(r.records.empty());
  batch.End();
  EXPECT_FALSE(batch.InBatch());
  EXPECT_EQ(r.ClipRect(), nullptr);
  const auto quads = r.Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(std::pair(quads[0]->argb, quads[1]->argb), std::pair(2u, 1u));  // larger depth first
  const DrawRecord& q = *quads[1];
  EXPECT_EQ((std::vector<float>{float(q.source.right), float(q.source.bottom), q.corners[2].x, q.corners[2].y}),
            (std::vector<float>{30, 20, 31, 22}));
  const auto clips = ClipsAtQuads(r);
  EXPECT_TRUE(clips[0] && clips[0]->right == 10 && !clips[1]);
  batch.End();  // nothing left
  EXPECT_EQ(r.Quads().size(), 2u);
}

// True when two records draw the same: kind, texture, clip flag, colour,
// depth, texels and corners.
bool SameDraw(const DrawRecord& a, const DrawRecord& b) {
  bool same = a.kind == b.kind && a.texture == b.texture && a.clip_set == b.clip_set && a.argb == b.argb &&
              a.depth == b.depth && a.source.left == b.source.left && a.source.top == b.source.top &&
              a.source.right == b.source.right && a.source.bottom == b.source.bottom;
  for (int c = 0; c < 4 && same; ++c) same = a.corners[c].x == b.corners[c].x && a.corners[c].y == b.corners[c].y;
  return same;
}

struct Expected {
  DrawRecord quad;
  int clip;  // index into the clip list, -1 none
};

struct Frame {
  std::vector<Expected> queued;
  std::vector<RectI> clips;
  std::vector<plat::PreparedSprite> sprites;  // read at End: never reallocated
};

// Queues count random draws whose depths come from depthCount values and
// returns what the renderer should receive, in submission order. Runs of
// prepared sprites must reach it as the same sprites drawn one by one; a
// run may go on with the next sprites at the same depth and offset (which
// the batch joins up unless something came in between).
Frame QueueRandom(SpriteBatch& batch, const std::vector<std::unique_ptr<plat::Texture>>& textures, int count,
                  int depthCount, unsigned seed) {
  std::mt19937 rng(seed);
  const auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  Frame frame;
  frame.sprites.reserve(static_cast<std::size_t>(count) * 100);
  std::vector<float> depths;
  for (int i = 0; i < depthCount; ++i) depths.push_back(static_cast<float>(below(100000)) / 1000.0f);
  depths[0] = -0.0f;
  if (depthCount > 1) depths[1] = 0.0f;
  const Matrix2D rotate{0.6f, 0.8f, -0.8f, 0.6f, 7, 0};
  const Matrix2D view{0.0308f, 0, 0, 0.0308f, 3.5f, 0};  // the map's cells far out
  int clip = -1;
  // The quad a draw of source at (x, y) through m should give.
  const auto expect = [&](const plat::Texture& t, RectI source, float x, float y, const Matrix2D& m,
                          std::uint32_t argb, float depth) {
    const float w = static_cast<float>(source.Width()), h = static_cast<float>(source.Height());
    Expected e{{}, clip};
    e.quad.texture = t.Id();
    e.quad.source = source;
    e.quad.argb = argb;
    e.quad.depth = std::isnan(depth) ? 0.0f : depth;
    const PointF c[4] = {m.Apply({x, y}), m.Apply({x + w, y}), m.Apply({x + w, y + h}), m.Apply({x, y + h})};
    std::copy(c, c + 4, e.quad.corners);
    frame.queued.push_back(e);
  };
  float runDepth = 0;
  int ox = 0, oy = 0;
  Matrix2D runTransform;
  for (int i = 0; i < count; ++i) {
    const int kind = below(16);
    if (kind == 0) {
      const int l = below(100);
      frame.clips.push_back({l, l, l + 300, l + 200});
      clip = static_cast<int>(frame.clips.size()) - 1;
      batch.SetClipRect(&frame.clips.back());
    } else if (kind == 1) {
      clip = -1;
      batch.SetClipRect(nullptr);
    }
    const plat::Texture& texture = *textures[below(3)];
    if (kind == 6 || kind == 7) {  // a run of prepared sprites, or the next of the last run
      if (kind == 6) {
        runDepth = depths[below(depthCount)];
        ox = below(200) - 100;
        oy = below(200) - 100;
        runTransform = below(2) ? rotate : view;
      }
      const std::size_t first = frame.sprites.size(), n = 1 + below(100);
      for (std::size_t k = 0; k < n; ++k) {
        const auto l = static_cast<std::int16_t>(below(1800)), t = static_cast<std::int16_t>(below(1800));
        const plat::PreparedSprite p{textures[below(3)].get(), below(40000) - 2000, below(30000) - 2000,
                                     {l, t, static_cast<std::int16_t>(l + 166), static_cast<std::int16_t>(t + 166)},
                                     static_cast<std::uint32_t>(rng())};
        frame.sprites.push_back(p);
        expect(*p.texture, {l, t, l + 166, t + 166}, static_cast<float>(p.x + ox), static_cast<float>(p.y + oy),
               runTransform, p.argb, runDepth);
      }
      batch.DrawPrepared(&frame.sprites[first], n, runDepth, runTransform, ox, oy);
      continue;
    }
    const std::uint32_t argb = static_cast<std::uint32_t>(rng());
    const float depth = below(50) == 0 ? std::nanf("") : depths[below(depthCount)];
    const int sl = below(500) + (below(20) == 0 ? 40000 : 0), st = below(500);  // beyond 16 bits at times
    const RectI source{sl, st, sl + below(64), st + below(64)};
    const float x = static_cast<float>(below(2000) - 500) / 4.0f, y = static_cast<float>(below(2000) - 500) / 4.0f;
    if (kind == 2 || kind == 3) {
      // Prepared corners: a parallelogram, or a rectangle.
      const float w = static_cast<float>(source.Width()), h = static_cast<float>(source.Height());
      const float skew = kind == 2 ? 3.0f : 0.0f;
      const PointF c[4] = {{x, y}, {x + w, y + skew}, {x + w, y + h + skew}, {x, y + h}};
      expect(texture, source, 0, 0, {}, argb, depth);
      std::copy(c, c + 4, frame.queued.back().quad.corners);
      batch.DrawQuad(texture, source, c, argb, depth);
    } else {
      Matrix2D m = kind == 4 ? rotate : Matrix2D::Scaling(1.5f, 0.75f);
      if (kind == 5) m.dx = -3.25f;
      expect(texture, source, x, y, m, argb, depth);
      batch.SetTransform(m);
      batch.Draw(texture, &source, x, y, depth, argb);
    }
  }
  return frame;
}

// The records End made, checked against the reference order; each quad
// must come under its own clip.
void ExpectSubmittedInOrder(const RecordingRenderer& r, std::size_t firstRecord, Frame frame) {
  std::stable_sort(frame.queued.begin(), frame.queued.end(),
                   [](const Expected& a, const Expected& b) { return a.quad.depth > b.quad.depth; });
  const std::vector<const RectI*> clips = ClipsAtQuads(r, firstRecord);
  std::size_t next = 0;
  for (std::size_t i = firstRecord; i < r.records.size(); ++i) {
    if (r.records[i].kind == DrawRecord::kClip) continue;
    ASSERT_LT(next, frame.queued.size());
    const Expected& e = frame.queued[next];
    ASSERT_TRUE(SameDraw(r.records[i], e.quad)) << "quad " << next;
    const RectI* clip = clips[next++];
    const RectI* want = e.clip < 0 ? nullptr : &frame.clips[e.clip];
    ASSERT_EQ(clip == nullptr, want == nullptr) << "quad " << next - 1;
    EXPECT_TRUE(!clip || (clip->left == want->left && clip->right == want->right)) << "quad " << next - 1;
  }
  EXPECT_EQ(next, frame.queued.size());
  EXPECT_EQ(r.ClipRect(), nullptr);  // cleared after the batch, not passed on to the next
}

TEST(SpriteBatchOrder, MatchesAStableDepthSortWithFewAndManyDepths) {
  RecordingRenderer r;
  std::vector<std::unique_ptr<plat::Texture>> textures;
  for (int i = 0; i < 3; ++i) textures.push_back(r.CreateTexture(64, 64));
  SpriteBatch batch(r);
  // The same batch frame after frame: few depths, then many (beyond the
  // buckets), then few again with other values.
  unsigned seed = 1;
  for (int depthCount : {20, 600, 7, 64, 65}) {
    SCOPED_TRACE(testing::Message() << depthCount << " depths");
    const std::size_t first = r.records.size();
    batch.Begin();
    Frame frame = QueueRandom(batch, textures, 3000, depthCount, seed++);
    batch.End();
    ExpectSubmittedInOrder(r, first, std::move(frame));
  }
}

// The farthest depths of stamped prepared sprites, drawn first after a
// Clear, are kept by the renderer: the next frame that queues them alike
// shows the kept picture (one record) and draws the rest as before; a
// different stamp, place, transform or clip draws them anew, and so does a
// frame in which something was drawn before the batch, a frame with a
// draw of its own among the farthest depths, a lost picture and a Clear of
// another colour.
TEST(SpriteBatchKeeping, KeptDepthsShowWhileQueuedAlikeAndRedrawOtherwise) {
  RecordingRenderer r;
  r.SetKeeping(true);
  auto t = r.CreateTexture(64, 64);
  std::vector<plat::PreparedSprite> far(40), middle(30);
  for (std::size_t i = 0; i < far.size(); ++i) far[i] = {t.get(), static_cast<std::int32_t>(i) * 8, 0, {0, 0, 8, 8}, 0xFFFFFFFFu};
  for (std::size_t i = 0; i < middle.size(); ++i) middle[i] = {t.get(), 0, static_cast<std::int32_t>(i) * 8, {8, 8, 16, 16}, 0xFF808080u};
  SpriteBatch batch(r);
  struct Frame {
    std::uint64_t farStamp = 7, middleStamp = 8;
    int ox = 0;
    Matrix2D transform = Matrix2D::Scaling(0.5f, 0.5f);
    bool clip = false;
    bool drawFirst = false;   // a quad before the batch
    bool liveFar = false;     // a draw of the frame's own at the middle depth
    std::uint32_t clear = 0;
  };
  const RectI box{1, 2, 300, 400};
  const auto draw = [&](const Frame& f) {
    r.records.clear();
    r.Clear(f.clear);
    if (f.drawFirst) r.DrawRect(*t, {0, 0, 1, 1}, 0, 0, 1, 1, 0xFFFFFFFFu, 0);
    batch.Begin();
    if (f.clip) batch.SetClipRect(&box);
    batch.Draw(*t, nullptr, 5, 5, 0.1f, 0xFFFFFFFFu);  // nearer: never kept
    batch.DrawPrepared(far.data(), far.size(), 0.9f, f.transform, f.ox, 0, f.farStamp);
    batch.DrawPrepared(middle.data(), 10, 0.5f, f.transform, f.ox, 0, f.middleStamp);
    batch.DrawPrepared(middle.data() + 10, 20, 0.5f, f.transform, f.ox, 0, f.middleStamp);
    if (f.liveFar) batch.Draw(*t, nullptr, 9, 9, 0.5f, 0xFFFFFFFFu);
    batch.End();
  };
  const auto quads = [&] { return r.Quads().size(); };
  const auto keptRecords = [&] {
    return std::count_if(r.records.begin(), r.records.end(), [](const DrawRecord& d) { return d.kind == DrawRecord::kKept; });
  };

  draw({});
  EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
  EXPECT_EQ(quads(), 71u);  // drawn while kept
  draw({});
  EXPECT_EQ(batch.KeptDepthsShown(), 2u);
  EXPECT_EQ(quads(), 1u);
  EXPECT_EQ(keptRecords(), 1);
  ASSERT_GE(r.records.size(), 3u);
  EXPECT_EQ(r.records[1].kind, DrawRecord::kKept);  // in the place of the far depths, before the near quad

  const std::pair<const char*, Frame> changes[] = {
      {"stamp", [] { Frame f; f.middleStamp = 9; return f; }()},
      {"place", [] { Frame f; f.ox = 3; return f; }()},
      {"transform", [] { Frame f; f.transform = Matrix2D::Scaling(0.25f, 0.25f); return f; }()},
      {"clip", [] { Frame f; f.clip = true; return f; }()},
  };
  for (const auto& [name, changed] : changes) {
    SCOPED_TRACE(name);
    draw(changed);
    EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
    EXPECT_EQ(quads(), 71u);
    draw(changed);
    EXPECT_EQ(batch.KeptDepthsShown(), 2u);
    EXPECT_EQ(quads(), 1u);
    draw({});  // back to the first: drawn anew
    EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
  }

  // Not kept at all: something before the batch; the middle depth holds a
  // draw of its own (only the far one is kept).
  Frame first;
  first.drawFirst = true;
  draw(first);
  EXPECT_EQ(batch.KeptDepthsShown() + batch.KeptDepthsDrawn(), 0u);
  EXPECT_EQ(quads(), 72u);
  Frame live;
  live.liveFar = true;
  draw(live);
  EXPECT_EQ(batch.KeptDepthsDrawn(), 1u);
  draw(live);
  EXPECT_EQ(batch.KeptDepthsShown(), 1u);
  EXPECT_EQ(quads(), 32u);  // the middle depth's 30 and its own draw, the near quad

  // A lost picture and another Clear colour draw anew.
  draw({});
  draw({});
  ASSERT_EQ(batch.KeptDepthsShown(), 2u);
  r.ForgetKept();
  draw({});
  EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
  Frame grey;
  grey.clear = 0xFF808080u;
  draw(grey);
  EXPECT_EQ(batch.KeptDepthsDrawn(), 2u);
}

// Unstamped sprites (owners that cannot say when they change) are never kept.
TEST(SpriteBatchKeeping, UnstampedSpritesAreDrawnEveryFrame) {
  RecordingRenderer r;
  r.SetKeeping(true);
  auto t = r.CreateTexture(16, 16);
  std::vector<plat::PreparedSprite> sprites(5, plat::PreparedSprite{t.get(), 0, 0, {0, 0, 4, 4}, 0xFFFFFFFFu});
  SpriteBatch batch(r);
  for (int frame = 0; frame < 3; ++frame) {
    r.records.clear();
    r.Clear(0);
    batch.Begin();
    batch.DrawPrepared(sprites.data(), sprites.size(), 0.9f, Matrix2D::Identity(), 0, 0);
    batch.End();
    EXPECT_EQ(r.Quads().size(), 5u);
    EXPECT_EQ(batch.KeptDepthsShown() + batch.KeptDepthsDrawn(), 0u);
  }
}

// A frame of more depths than the batch has buckets: the loose draws keep
// their places, and the kept depths are those farther than every loose one.
TEST(SpriteBatchKeeping, LooseDrawsOfManyDepthsLimitTheKeptDepths) {
  RecordingRenderer r;
  r.SetKeeping(true);
  auto t = r.CreateTexture(16, 16);
  std::vector<plat::PreparedSprite> sprites(6, plat::PreparedSprite{t.get(), 0, 0, {0, 0, 4, 4}, 0xFFFFFFFFu});
  SpriteBatch batch(r);
  const auto draw = [&](float loose) {
    r.records.clear();
    r.Clear(0);
    batch.Begin();
    batch.DrawPrepared(sprites.data(), 3, 0.95f, Matrix2D::Identity(), 0, 0, 21);
    batch.DrawPrepared(sprites.data() + 3, 3, 0.9f, Matrix2D::Identity(), 0, 0, 22);
    // 62 depths fill the buckets; the next draw's depth is loose.
    for (int i = 0; i < 62; ++i) batch.Draw(*t, nullptr, 0, 0, 0.1f + 0.001f * static_cast<float>(i), 0xFFFFFFFFu);
    batch.Draw(*t, nullptr, 0, 0, loose, 0xFFFFFFFFu);
    batch.End();
  };
  draw(0.5f);  // all nearer
  ASSERT_EQ(batch.KeptDepthsDrawn(), 2u);
  draw(0.5f);
  EXPECT_EQ(batch.KeptDepthsShown(), 2u);
  EXPECT_EQ(r.Quads().size(), 63u);
  draw(0.92f);  // the loose draw lies between the two
  EXPECT_EQ(batch.KeptDepthsDrawn(), 1u);
  draw(0.92f);
  EXPECT_EQ(batch.KeptDepthsShown(), 1u);
  ASSERT_EQ(r.Quads().size(), 66u);
  EXPECT_EQ(r.records[1].kind, DrawRecord::kKept);
  EXPECT_EQ(r.records[2].depth, 0.92f);  // then the loose draw in front of the kept depth
}

}  // namespace
