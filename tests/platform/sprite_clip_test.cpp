// Clip rectangles through the sprite batch: each queued draw keeps the clip
// it was queued under, whatever order the depth sort gives.
#include <gtest/gtest.h>

#include "platform/recording_renderer.h"

namespace {

using plat::DrawRecord;

// The clip in force (null: none) at each quad, in submission order.
std::vector<std::pair<float, const plat::RectI*>> ClipsAtQuads(const plat::RecordingRenderer& r) {
  std::vector<std::pair<float, const plat::RectI*>> out;
  const plat::RectI* clip = nullptr;
  for (const DrawRecord& record : r.records) {
    if (record.kind == DrawRecord::kClip) clip = record.clip_set ? &record.source : nullptr;
    if (record.kind == DrawRecord::kQuad) out.emplace_back(record.corners[0].x, clip);
  }
  return out;
}

TEST(SpriteClip, DrawsKeepTheirClipThroughTheDepthSort) {
  plat::RecordingRenderer renderer;
  auto texture = renderer.CreateTexture(4, 4);
  plat::SpriteBatch batch(renderer);
  const plat::RectI a{0, 0, 10, 10}, b{5, 5, 20, 20};
  batch.SetClipRect(&a);  // outside a batch: ignored
  batch.Begin();
  EXPECT_EQ(batch.GetClipRect(), nullptr);
  batch.Draw(*texture, nullptr, 1, 0, 0.1f, 0xFFFFFFFF);  // front, no clip
  batch.SetClipRect(&a);
  batch.Draw(*texture, nullptr, 2, 0, 0.9f, 0xFFFFFFFF);  // back, clip a
  batch.SetClipRect(&b);
  batch.Draw(*texture, nullptr, 3, 0, 0.5f, 0xFFFFFFFF);  // middle, clip b
  batch.SetClipRect(nullptr);
  batch.Draw(*texture, nullptr, 4, 0, 0.9f, 0xFFFFFFFF);  // back, no clip
  batch.End();
  const auto quads = ClipsAtQuads(renderer);
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_EQ(quads[0].first, 2);
  ASSERT_NE(quads[0].second, nullptr);
  EXPECT_EQ(quads[0].second->right, 10);
  EXPECT_EQ(quads[1].first, 4);
  EXPECT_EQ(quads[1].second, nullptr);
  EXPECT_EQ(quads[2].first, 3);
  ASSERT_NE(quads[2].second, nullptr);
  EXPECT_EQ(quads[2].second->right, 20);
  EXPECT_EQ(quads[3].first, 1);
  EXPECT_EQ(quads[3].second, nullptr);
  EXPECT_EQ(renderer.ClipRect(), nullptr);  // End leaves no clip behind

  // A batch left with a clip set does not pass it to the next one.
  renderer.records.clear();
  batch.Begin();
  batch.SetClipRect(&a);
  batch.End();
  batch.Begin();
  batch.Draw(*texture, nullptr, 5, 0, 0.0f, 0xFFFFFFFF);
  batch.End();
  const auto next = ClipsAtQuads(renderer);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].second, nullptr);
}

}  // namespace
