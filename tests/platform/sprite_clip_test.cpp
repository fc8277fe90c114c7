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

// The reorder under clips is covered by the random frames of the order test;
// here the clip's life around a batch.
TEST(SpriteClip, ClipsLiveOnlyInsideTheirBatch) {
  plat::RecordingRenderer renderer;
  auto texture = renderer.CreateTexture(4, 4);
  plat::SpriteBatch batch(renderer);
  const plat::RectI a{0, 0, 10, 10};
  batch.SetClipRect(&a);  // outside a batch: ignored
  batch.Begin();
  EXPECT_EQ(batch.GetClipRect(), nullptr);
  batch.SetClipRect(&a);
  batch.Draw(*texture, nullptr, 2, 0, 0.9f, 0xFFFFFFFF);
  batch.End();
  auto quads = ClipsAtQuads(renderer);
  ASSERT_EQ(quads.size(), 1u);
  ASSERT_NE(quads[0].second, nullptr);
  EXPECT_EQ(quads[0].second->right, 10);
  EXPECT_EQ(renderer.ClipRect(), nullptr);  // End leaves no clip behind
  // A batch left with a clip set does not pass it to the next one.
  renderer.records.clear();
  batch.Begin();
  batch.Draw(*texture, nullptr, 5, 0, 0.0f, 0xFFFFFFFF);
  batch.End();
  quads = ClipsAtQuads(renderer);
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].second, nullptr);
}

}  // namespace
