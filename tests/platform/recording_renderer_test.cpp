#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/recording_renderer.h"
#include "support/test_support.h"

namespace {

using plat::DrawRecord;
using plat::RecordingRenderer;
using plat::RectI;

using twtest::PngHeader;

TEST(RecordingRenderer, LoadTextureReadsPngSizeAndRejectsOtherFiles) {
  twtest::TempDir dir;
  RecordingRenderer r;
  auto t = r.LoadTexture(dir.Write("a.png", PngHeader(300, 7)));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Width(), 300);
  EXPECT_EQ(t->Height(), 7);
  EXPECT_FALSE(r.LoadTexture(dir.File("missing.png")));
  for (const std::string& bad : {std::string("not a png at all, no"), PngHeader(0, 5), PngHeader(0xFFFFFFFF, 5),
                                 PngHeader(10, 10).substr(0, 20)}) {
    EXPECT_FALSE(r.LoadTexture(dir.Write("bad.png", bad))) << bad.size();
  }
}

struct FontTest : ::testing::Test {
  RecordingRenderer r;
  std::unique_ptr<plat::Font> font = r.CreateFont(L"Arial", 10, 700);  // glyphs 5 x 10
};

TEST_F(FontTest, MeasuresAndWrapsAtSpacesAndNewlinesKeepingLongWords) {
  RectI rect{0, 0, 200, 0};
  // 30 characters = 150 px; 50 characters do not fit in 200 px.
  std::wstring text = L"aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeeeeeeee";
  int h = font->DrawText(nullptr, text, rect, plat::kTextCalcRect | plat::kTextWordBreak, 0xFFFFFFFF);
  EXPECT_EQ(h, 20);
  EXPECT_EQ(rect.bottom, 20);
  EXPECT_EQ(rect.right, 32 * 5);  // "aaaaaaaaaa bbbbbbbbbb cccccccccc" is the wider line
  EXPECT_TRUE(r.records.empty());
  RectI one{0, 0, 200, 0};
  EXPECT_EQ(font->DrawText(nullptr, text, one, plat::kTextCalcRect, 0), 10);
  EXPECT_EQ(one.right, static_cast<int>(text.size()) * 5);

  // Drawn: wrapped at spaces and newlines, long words kept whole.
  rect = {10, 20, 60, 200};  // 10 characters wide
  font->DrawText(nullptr, L"abc def ghij\nk  averyveryverylongword x", rect, plat::kTextWordBreak, 0xFF00FF00);
  auto texts = r.Texts();
  std::vector<std::wstring> lines;
  for (const DrawRecord* t : texts) lines.push_back(t->text);
  ASSERT_EQ(lines, (std::vector<std::wstring>{L"abc def", L"ghij", L"k", L"averyveryverylongword", L"x"}));
  EXPECT_FLOAT_EQ(texts[1]->corners[0].y, 30);
  EXPECT_FLOAT_EQ(texts[4]->corners[0].y, 60);
  EXPECT_EQ(texts[0]->argb, 0xFF00FF00u);
  // The long word is clipped to the rectangle.
  EXPECT_FLOAT_EQ(texts[3]->corners[1].x, 60);
  EXPECT_EQ(texts[3]->source.right, 50);
}

// Where a line lands by alignment, single-line centring and clipping: its
// top-left and bottom-right corners; a rectangle of no size shows nothing.
TEST_F(FontTest, AlignmentCentringAndClipping) {
  using namespace plat;
  // The text, its rectangle and flags, and the corners of the line drawn.
  const std::tuple<const wchar_t*, RectI, unsigned, std::vector<float>> rows[] = {
      {L"abcd", {0, 0, 100, 40}, kTextRight, {80, 0, 100, 10}},
      {L"abcd", {0, 0, 100, 40}, kTextCenter | kTextVCenter | kTextSingleLine, {40, 15, 60, 25}},
      {L"ab\ncd", {0, 0, 100, 40}, kTextBottom | kTextSingleLine, {0, 30, 25, 40}},  // the newline does not break
      {L"abcdef", {0, 0, 12, 5}, kTextLeft, {0, 0, 12, 5}},
      {L"abcdef", {0, 0, 12, 5}, kTextNoClip, {0, 0, 30, 10}},
  };
  for (auto [text, rect, flags, corners] : rows) {
    r.records.clear();
    font->DrawText(nullptr, text, rect, flags, 0xFFFFFFFF);
    const auto texts = r.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, text);
    const PointF* c = texts[0]->corners;
    EXPECT_EQ((std::vector<float>{c[0].x, c[0].y, c[2].x, c[2].y}), corners) << flags;
  }
  RectI outside{0, 0, 0, 0};
  font->DrawText(nullptr, L"abcdef", outside, plat::kTextLeft, 0xFFFFFFFF);
  EXPECT_EQ(r.Texts().size(), 1u);
}

TEST_F(FontTest, BatchedTextKeepsItsPlaceAtDepthZero) {
  plat::SpriteBatch batch(r);
  auto t = r.CreateTexture(4, 4);
  RectI rect{0, 0, 100, 20};
  batch.Begin();
  batch.Draw(*t, nullptr, 0, 0, 0.0f, 0xFFFFFFFF);
  font->DrawText(&batch, L"label", rect, plat::kTextLeft, 0xFFFFFFFF);
  batch.Draw(*t, nullptr, 0, 0, 0.5f, 0xFFFFFFFF);
  batch.Draw(*t, nullptr, 0, 0, 0.0f, 0xFFFFFFFF);
  EXPECT_TRUE(r.records.empty());
  batch.End();
  ASSERT_EQ(r.records.size(), 4u);
  EXPECT_EQ(r.records[0].depth, 0.5f);
  EXPECT_EQ(r.records[1].kind, DrawRecord::kQuad);
  EXPECT_EQ(r.records[2].kind, DrawRecord::kText);
  EXPECT_EQ(r.records[3].kind, DrawRecord::kQuad);
}

TEST_F(FontTest, RepeatedLabelsReuseCachedLinesAndCacheStaysBounded) {
  auto* cached = dynamic_cast<plat::CachedTextFont*>(font.get());
  ASSERT_NE(cached, nullptr);
  RectI rect{0, 0, 100, 20};
  for (int frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < 50; ++i) font->DrawText(nullptr, L"city " + std::to_wstring(i), rect, 0, 0xFFFFFFFF);
  }
  EXPECT_EQ(cached->RasterisedCount(), 50u);
  for (int i = 0; i < 3000; ++i) font->DrawText(nullptr, L"n" + std::to_wstring(i), rect, 0, 0xFFFFFFFF);
  EXPECT_LE(cached->CachedCount(), plat::CachedTextFont::kCacheLimit);
  // A batch that holds more distinct lines than the cache keeps them all alive.
  plat::SpriteBatch batch(r);
  r.records.clear();
  batch.Begin();
  for (int i = 0; i < 2100; ++i) font->DrawText(&batch, L"m" + std::to_wstring(i), rect, 0, 0xFFFFFFFF);
  batch.End();
  auto texts = r.Texts();
  ASSERT_EQ(texts.size(), 2100u);
  EXPECT_EQ(texts[0]->text, L"m0");  // the first texture was still alive at End
  font->DrawText(nullptr, L"after", rect, 0, 0xFFFFFFFF);
  EXPECT_LE(cached->CachedCount(), plat::CachedTextFont::kCacheLimit);
}

TEST(RecordingRendererCounts, QuadsTextAndLinesCountedWithoutRecords) {
  RecordingRenderer r;
  r.SetStoreRecords(false);
  auto atlas = r.CreateTexture(32, 32);
  auto font = r.CreateFont(L"Arial", 10, 400);
  plat::SpriteBatch batch(r);
  batch.Begin();
  for (int i = 0; i < 5; ++i) {
    batch.Draw(*atlas, nullptr, 0, 0, 0.5f, 0xFFFFFFFF);
    RectI rect{0, 0, 200, 20};
    font->DrawText(&batch, L"label", rect, plat::kTextSingleLine, 0xFFFFFFFF);
  }
  batch.End();
  EXPECT_EQ(std::pair(r.quad_count, r.text_count), std::pair(std::size_t{5}, std::size_t{5}));
  // Drawn directly, a text line is still told apart from a quad.
  r.DrawRect(*atlas, RectI{0, 0, 4, 4}, 0, 0, 4, 4, 0xFFFFFFFF, 0);
  EXPECT_EQ(r.quad_count, 6u);
  // A run of prepared sprites counts a quad for each (the benchmark's way).
  const plat::PreparedSprite run[2] = {{atlas.get(), 0, 0, {0, 0, 4, 4}, 0xFFFFFFFF},
                                       {atlas.get(), 4, 0, {0, 0, 4, 4}, 0xFFFFFFFF}};
  batch.Begin();
  batch.DrawPrepared(run, 2, 0.5f, plat::Matrix2D::Scaling(0.5f, 0.5f), 0, 0);
  batch.End();
  EXPECT_EQ(r.quad_count, 8u);
  const plat::PointF outline[3] = {{0, 0}, {10, 0}, {10, 10}};
  r.DrawLines(outline, 3, 0xFFFF0000);
  EXPECT_EQ(r.lines_count, 1u);
  EXPECT_TRUE(r.records.empty());
}

}  // namespace
