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
}

}  // namespace
