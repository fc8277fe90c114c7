#include <gtest/gtest.h>

#include <cmath>

#include "platform/recording_renderer.h"
#include "platform/render.h"

namespace {

using plat::DrawRecord;
using plat::Matrix2D;
using plat::RecordingRenderer;
using plat::RectI;
using plat::SpriteBatch;

TEST(Matrix2D, ThenAppliesThisFirst) {
  Matrix2D scale = Matrix2D::Scaling(2, 3);
  Matrix2D shift;
  shift.dx = 10;
  shift.dy = -5;
  plat::PointF p = scale.Then(shift).Apply({1, 1});
  EXPECT_FLOAT_EQ(p.x, 12);
  EXPECT_FLOAT_EQ(p.y, -2);
  p = shift.Then(scale).Apply({1, 1});
  EXPECT_FLOAT_EQ(p.x, 22);
  EXPECT_FLOAT_EQ(p.y, -12);
  EXPECT_TRUE(scale.Then(Matrix2D::Scaling(0.5f, 4)).IsAxisAligned());
  Matrix2D shear;
  shear.m21 = 1;
  EXPECT_FLOAT_EQ(shear.Apply({1, 2}).x, 3);
  EXPECT_FALSE(shear.IsAxisAligned());
}

TEST(SpriteBatch, OverlapDrawsBackToFrontByDepth) {
  RecordingRenderer r;
  auto a = r.CreateTexture(8, 8), b = r.CreateTexture(8, 8), c = r.CreateTexture(8, 8);
  SpriteBatch batch(r);
  batch.Begin();
  batch.Draw(*a, nullptr, 0, 0, 0.1f, 0xFFFFFFFF);   // front
  batch.Draw(*b, nullptr, 4, 4, 0.9f, 0xFFFFFFFF);   // back
  batch.Draw(*c, nullptr, 2, 2, 0.5f, 0xFFFFFFFF);
  EXPECT_TRUE(r.records.empty());  // nothing reaches the renderer before End
  batch.End();
  auto quads = r.Quads();
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_EQ(quads[0]->texture, b->Id());
  EXPECT_EQ(quads[1]->texture, c->Id());
  EXPECT_EQ(quads[2]->texture, a->Id());
  EXPECT_FLOAT_EQ(quads[0]->depth, 0.9f);
}

TEST(SpriteBatch, EqualDepthsKeepDrawOrderAcrossManyItems) {
  RecordingRenderer r;
  auto t = r.CreateTexture(4, 4);
  SpriteBatch batch(r);
  batch.Begin();
  // Enough items that an unstable sort would reorder some equal keys.
  for (int i = 0; i < 200; ++i) batch.Draw(*t, nullptr, static_cast<float>(i), 0, (i % 3) * 0.25f, 0xFF000000u | i);
  batch.End();
  auto quads = r.Quads();
  ASSERT_EQ(quads.size(), 200u);
  float lastDepth = 1;
  float lastX = -1;
  for (const DrawRecord* q : quads) {
    if (q->depth != lastDepth) {
      EXPECT_LT(q->depth, lastDepth);
      lastDepth = q->depth;
      lastX = -1;
    }
    EXPECT_GT(q->corners[0].x, lastX);
    lastX = q->corners[0].x;
  }
}

TEST(SpriteBatch, TransformScalesPositionAndSize) {
  RecordingRenderer r;
  auto t = r.CreateTexture(64, 32);
  SpriteBatch batch(r);
  batch.SetTransform(Matrix2D::Scaling(2, 0.5f));
  batch.Begin();
  RectI src{8, 4, 24, 20};  // 16 x 16
  batch.Draw(*t, &src, 10, 10, 0, 0x80FF0000);
  batch.End();
  auto quads = r.Quads();
  ASSERT_EQ(quads.size(), 1u);
  const DrawRecord& q = *quads[0];
  EXPECT_EQ(q.source.left, 8);
  EXPECT_EQ(q.source.bottom, 20);
  EXPECT_EQ(q.argb, 0x80FF0000u);
  EXPECT_FLOAT_EQ(q.corners[0].x, 20);
  EXPECT_FLOAT_EQ(q.corners[0].y, 5);
  EXPECT_FLOAT_EQ(q.corners[1].x, 52);
  EXPECT_FLOAT_EQ(q.corners[1].y, 5);
  EXPECT_FLOAT_EQ(q.corners[2].x, 52);
  EXPECT_FLOAT_EQ(q.corners[2].y, 13);
  EXPECT_FLOAT_EQ(q.corners[3].x, 20);
  EXPECT_FLOAT_EQ(q.corners[3].y, 13);
}

TEST(SpriteBatch, NullSourceIsWholeTextureAndDrawsOutsideBatchAreIgnored) {
  RecordingRenderer r;
  auto t = r.CreateTexture(30, 20);
  SpriteBatch batch(r);
  batch.Draw(*t, nullptr, 0, 0, 0, 0xFFFFFFFF);  // not begun
  batch.End();                                   // End without Begin
  EXPECT_TRUE(r.records.empty());
  batch.Begin();
  EXPECT_TRUE(batch.InBatch());
  batch.Draw(*t, nullptr, 1, 2, std::nanf(""), 0xFFFFFFFF);
  batch.End();
  EXPECT_FALSE(batch.InBatch());
  ASSERT_EQ(r.Quads().size(), 1u);
  const DrawRecord& q = *r.Quads()[0];
  EXPECT_EQ(q.source.right, 30);
  EXPECT_EQ(q.source.bottom, 20);
  EXPECT_FLOAT_EQ(q.corners[2].x, 31);
  EXPECT_FLOAT_EQ(q.corners[2].y, 22);
  EXPECT_EQ(q.depth, 0.0f);  // NaN depth taken as 0
  // A second frame starts empty.
  batch.Begin();
  batch.End();
  EXPECT_EQ(r.Quads().size(), 1u);
}

}  // namespace
