// Prepared sprites handed to the batch in runs must reach the renderer
// exactly as the same sprites drawn one by one would: same corners, same
// order within a depth among ordinary draws, same clips, with few depths
// (buckets), many (the sorted path) and through transforms that rotate.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/recording_renderer.h"
#include "platform/render.h"

namespace {

using plat::DrawRecord;
using plat::Matrix2D;
using plat::PreparedSprite;
using plat::RectI;

// One step of a frame, played either with runs or sprite by sprite.
struct Step {
  enum Kind { kDraw, kRun, kClip, kNoClip } kind = kDraw;
  std::size_t first = 0, count = 1;  // the sprites [first, first + count)
  float depth = 0;
  int ox = 0, oy = 0;
  Matrix2D transform;
  RectI clip;
};

struct Script {
  std::vector<PreparedSprite> sprites;
  std::vector<Step> steps;
};

Script MakeScript(const std::vector<std::unique_ptr<plat::Texture>>& textures, int depthCount, unsigned seed) {
  std::mt19937 rng(seed);
  Script s;
  for (int i = 0; i < 4000; ++i) {
    const auto l = static_cast<std::int16_t>(rng() % 1800), t = static_cast<std::int16_t>(rng() % 1800);
    s.sprites.push_back(PreparedSprite{textures[rng() % textures.size()].get(),
                                       static_cast<std::int32_t>(rng() % 40000) - 2000,
                                       static_cast<std::int32_t>(rng() % 30000) - 2000,
                                       {l, t, static_cast<std::int16_t>(l + 166), static_cast<std::int16_t>(t + 166)},
                                       static_cast<std::uint32_t>(rng())});
  }
  std::vector<float> depths = {-0.0f, 0.0f};
  while (static_cast<int>(depths.size()) < depthCount) depths.push_back(static_cast<float>(rng() % 1000) / 1000.0f);
  Matrix2D view = Matrix2D::Scaling(0.0308f, 0.0308f);
  view.dx = 3.5f;
  const Matrix2D rotate{0.6f, 0.8f, -0.8f, 0.6f, 0, 0};
  std::size_t next = 0;
  while (next < s.sprites.size()) {
    Step step;
    const unsigned kind = rng() % 10;
    step.depth = depths[rng() % depths.size()];
    step.ox = static_cast<int>(rng() % 200) - 100;
    step.oy = static_cast<int>(rng() % 200) - 100;
    step.transform = kind == 9 ? rotate : view;
    if (kind == 0) {
      const int l = static_cast<int>(rng() % 300);
      step.kind = Step::kClip;
      step.clip = {l, l, l + 400, l + 300};
    } else if (kind == 1) {
      step.kind = Step::kNoClip;
    } else if (kind <= 4) {
      step.first = rng() % s.sprites.size();
    } else {
      step.kind = Step::kRun;
      step.first = next;
      step.count = std::min<std::size_t>(1 + rng() % 300, s.sprites.size() - next);
      next += step.count;
      s.steps.push_back(step);
      if (rng() % 2 != 0 || next == s.sprites.size()) continue;
      // The very next slice at the same depth and offset, which the batch
      // joins up, unless a plain draw at that depth or a new clip comes in
      // between.
      const unsigned between = rng() % 3;
      if (between != 0) {
        Step other = step;
        other.kind = between == 1 ? Step::kDraw : Step::kClip;
        other.first = rng() % s.sprites.size();
        other.count = 1;
        other.clip = {5, 5, 600, 500};
        s.steps.push_back(other);
      }
      step.first = next;
      step.count = std::min<std::size_t>(1 + rng() % 300, s.sprites.size() - next);
      next += step.count;
    }
    s.steps.push_back(step);
  }
  return s;
}

void Play(plat::SpriteBatch& batch, const Script& s, bool useRuns) {
  batch.Begin();
  for (const Step& step : s.steps) {
    if (step.kind == Step::kClip) {
      batch.SetClipRect(&step.clip);
    } else if (step.kind == Step::kNoClip) {
      batch.SetClipRect(nullptr);
    } else if (useRuns && step.kind == Step::kRun) {
      batch.DrawPrepared(&s.sprites[step.first], step.count, step.depth, step.transform, step.ox, step.oy);
    } else {
      for (std::size_t i = step.first; i < step.first + step.count; ++i) {
        const PreparedSprite& p = s.sprites[i];
        const RectI source{p.source[0], p.source[1], p.source[2], p.source[3]};
        batch.Draw(*p.texture, &source, static_cast<float>(p.x + step.ox), static_cast<float>(p.y + step.oy),
                   step.depth, p.argb, step.transform);
      }
    }
  }
  batch.End();
}

bool Same(const DrawRecord& a, const DrawRecord& b) {
  bool same = a.kind == b.kind && a.texture == b.texture && a.clip_set == b.clip_set && a.argb == b.argb &&
              a.depth == b.depth && a.source.left == b.source.left && a.source.top == b.source.top &&
              a.source.right == b.source.right && a.source.bottom == b.source.bottom;
  for (int c = 0; c < 4 && same; ++c) same = a.corners[c].x == b.corners[c].x && a.corners[c].y == b.corners[c].y;
  return same;
}

TEST(SpritePreparedRuns, ReachTheRendererAsPlainDrawsWithFewAndManyDepths) {
  for (int depthCount : {6, 64, 300}) {
    SCOPED_TRACE(testing::Message() << depthCount << " depths");
    plat::RecordingRenderer withRuns, plain, counting;
    counting.SetStoreRecords(false);
    std::vector<std::unique_ptr<plat::Texture>> textures;
    for (int i = 0; i < 3; ++i) textures.push_back(withRuns.CreateTexture(2004, 2004));
    const Script script = MakeScript(textures, depthCount, 7u + static_cast<unsigned>(depthCount));
    plat::SpriteBatch a(withRuns), b(plain), c(counting);
    Play(a, script, true);
    Play(b, script, false);
    Play(c, script, true);
    ASSERT_GT(plain.records.size(), 4000u);
    ASSERT_EQ(withRuns.records.size(), plain.records.size());
    for (std::size_t i = 0; i < plain.records.size(); ++i) {
      ASSERT_TRUE(Same(withRuns.records[i], plain.records[i])) << "record " << i;
    }
    // Counting only (the benchmark's renderer): the same numbers.
    EXPECT_EQ(counting.quad_count, plain.quad_count);
    EXPECT_EQ(counting.text_count, 0u);
  }
}

}  // namespace
