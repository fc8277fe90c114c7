// The batch's ordering against a plain reference (a stable sort of what was
// queued, larger depth first), for frames with few depths (the bucketed
// path) and with many (the sorted path), over quads of every kind: axis
// aligned, through a rotating transform, prepared corners, sources beyond
// 16 bits, clips, and the depths NaN, -0 and +0.
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

struct Expected {
  std::uint64_t texture;
  RectI source;
  PointF corners[4];
  std::uint32_t argb;
  float depth;
  int clip;  // index into the clip list, -1 none
};

struct Frame {
  std::vector<Expected> queued;
  std::vector<RectI> clips;
};

// Queues count random draws whose depths come from depthCount values and
// returns what the renderer should receive, in submission order.
Frame QueueRandom(SpriteBatch& batch, const std::vector<std::unique_ptr<plat::Texture>>& textures, int count,
                  int depthCount, unsigned seed) {
  std::mt19937 rng(seed);
  Frame frame;
  std::vector<float> depths;
  for (int i = 0; i < depthCount; ++i) depths.push_back(static_cast<float>(rng() % 100000) / 1000.0f);
  depths[0] = -0.0f;
  if (depthCount > 1) depths[1] = 0.0f;
  Matrix2D rotate;
  rotate.m11 = 0.6f, rotate.m12 = 0.8f, rotate.m21 = -0.8f, rotate.m22 = 0.6f, rotate.dx = 7;
  int clip = -1;
  for (int i = 0; i < count; ++i) {
    const unsigned kind = rng() % 16;
    if (kind == 0) {
      const int l = static_cast<int>(rng() % 100);
      frame.clips.push_back({l, l, l + 300, l + 200});
      clip = static_cast<int>(frame.clips.size()) - 1;
      batch.SetClipRect(&frame.clips.back());
    } else if (kind == 1) {
      clip = -1;
      batch.SetClipRect(nullptr);
    }
    const plat::Texture& texture = *textures[rng() % textures.size()];
    Expected e{texture.Id(), {}, {}, static_cast<std::uint32_t>(rng()), depths[rng() % depths.size()], clip};
    if (rng() % 50 == 0) e.depth = std::nanf("");
    const int big = rng() % 20 == 0 ? 40000 : 0;  // beyond 16 bits
    const int sl = static_cast<int>(rng() % 500) + big, st = static_cast<int>(rng() % 500);
    e.source = {sl, st, sl + static_cast<int>(rng() % 64), st + static_cast<int>(rng() % 64)};
    const float x = static_cast<float>(static_cast<int>(rng() % 2000) - 500) / 4.0f;
    const float y = static_cast<float>(static_cast<int>(rng() % 2000) - 500) / 4.0f;
    const float w = static_cast<float>(e.source.Width()), h = static_cast<float>(e.source.Height());
    if (kind == 2 || kind == 3) {
      // Prepared corners: a parallelogram, or a rectangle.
      const float skew = kind == 2 ? 3.0f : 0.0f;
      const PointF c[4] = {{x, y}, {x + w, y + skew}, {x + w, y + h + skew}, {x, y + h}};
      std::copy(c, c + 4, e.corners);
      batch.DrawQuad(texture, e.source, c, e.argb, e.depth);
    } else {
      Matrix2D m = kind == 4 ? rotate : Matrix2D::Scaling(1.5f, 0.75f);
      if (kind == 5) m.dx = -3.25f;
      const PointF c[4] = {m.Apply({x, y}), m.Apply({x + w, y}), m.Apply({x + w, y + h}), m.Apply({x, y + h})};
      std::copy(c, c + 4, e.corners);
      batch.SetTransform(m);
      batch.Draw(texture, &e.source, x, y, e.depth, e.argb);
    }
    if (std::isnan(e.depth)) e.depth = 0.0f;
    frame.queued.push_back(e);
  }
  return frame;
}

// The records End made, checked against the reference order; clip records
// must put each quad under its own clip.
void ExpectSubmittedInOrder(const RecordingRenderer& r, std::size_t firstRecord, Frame frame) {
  std::stable_sort(frame.queued.begin(), frame.queued.end(),
                   [](const Expected& a, const Expected& b) { return a.depth > b.depth; });
  std::size_t next = 0;
  const RectI* clip = nullptr;
  for (std::size_t i = firstRecord; i < r.records.size(); ++i) {
    const DrawRecord& rec = r.records[i];
    if (rec.kind == DrawRecord::kClip) {
      clip = rec.clip_set ? &rec.source : nullptr;
      continue;
    }
    ASSERT_EQ(rec.kind, DrawRecord::kQuad);
    ASSERT_LT(next, frame.queued.size());
    const Expected& e = frame.queued[next++];
    SCOPED_TRACE(testing::Message() << "quad " << next - 1);
    EXPECT_EQ(rec.texture, e.texture);
    EXPECT_EQ(rec.source.left, e.source.left);
    EXPECT_EQ(rec.source.top, e.source.top);
    EXPECT_EQ(rec.source.right, e.source.right);
    EXPECT_EQ(rec.source.bottom, e.source.bottom);
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(rec.corners[c].x, e.corners[c].x);
      EXPECT_EQ(rec.corners[c].y, e.corners[c].y);
    }
    EXPECT_EQ(rec.argb, e.argb);
    EXPECT_EQ(rec.depth, e.depth);
    if (e.clip < 0) {
      EXPECT_EQ(clip, nullptr);
    } else {
      ASSERT_NE(clip, nullptr);
      EXPECT_EQ(clip->left, frame.clips[e.clip].left);
      EXPECT_EQ(clip->right, frame.clips[e.clip].right);
    }
  }
  EXPECT_EQ(next, frame.queued.size());
  EXPECT_EQ(clip, nullptr);  // cleared after the batch
}

TEST(SpriteBatchOrder, MatchesAStableDepthSortWithFewAndManyDepths) {
  RecordingRenderer r;
  std::vector<std::unique_ptr<plat::Texture>> textures;
  for (int i = 0; i < 3; ++i) textures.push_back(r.CreateTexture(64, 64));
  SpriteBatch batch(r);
  // The same batch frame after frame: few depths, then many (beyond the
  // buckets), then few again with other values.
  const int depthCounts[] = {20, 600, 7, 64, 65};
  unsigned seed = 1;
  for (int depthCount : depthCounts) {
    SCOPED_TRACE(testing::Message() << depthCount << " depths");
    const std::size_t first = r.records.size();
    batch.Begin();
    Frame frame = QueueRandom(batch, textures, 3000, depthCount, seed++);
    batch.End();
    ExpectSubmittedInOrder(r, first, std::move(frame));
  }
}

TEST(SpriteBatchOrder, SecondBeginKeepsQueuedDrawsAndEndIsNeededToSubmit) {
  RecordingRenderer r;
  auto t = r.CreateTexture(8, 8);
  SpriteBatch batch(r);
  batch.Begin();
  batch.Draw(*t, nullptr, 0, 0, 0.5f, 1);
  batch.Begin();
  batch.Draw(*t, nullptr, 0, 0, 0.7f, 2);
  EXPECT_TRUE(r.Quads().empty());
  batch.End();
  ASSERT_EQ(r.Quads().size(), 2u);
  EXPECT_EQ(r.Quads()[0]->argb, 2u);
  EXPECT_EQ(r.Quads()[1]->argb, 1u);
  batch.End();  // nothing left
  EXPECT_EQ(r.Quads().size(), 2u);
}

TEST(RecordingRendererCounts, TextAndQuadsCountedWhenTexturesAlternate) {
  RecordingRenderer r;
  r.SetStoreRecords(false);
  auto atlas = r.CreateTexture(32, 32);
  auto font = r.CreateFont(L"Arial", 10, 400);
  SpriteBatch batch(r);
  batch.Begin();
  for (int i = 0; i < 5; ++i) {
    batch.Draw(*atlas, nullptr, 0, 0, 0.5f, 0xFFFFFFFF);
    RectI rect{0, 0, 200, 20};
    font->DrawText(&batch, L"label", rect, plat::kTextSingleLine, 0xFFFFFFFF);
  }
  batch.End();
  EXPECT_EQ(r.quad_count, 5u);
  EXPECT_EQ(r.text_count, 5u);
  // Drawn directly, a text line is still told apart from a quad.
  const RectI source{0, 0, 4, 4};
  r.DrawRect(*atlas, source, 0, 0, 4, 4, 0xFFFFFFFF, 0);
  EXPECT_EQ(r.quad_count, 6u);
}

}  // namespace
