#include <gtest/gtest.h>

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
  EXPECT_FALSE(r.LoadTexture(dir.Write("b.png", "not a png at all, no")));
  EXPECT_FALSE(r.LoadTexture(dir.Write("c.png", PngHeader(0, 5))));
  EXPECT_FALSE(r.LoadTexture(dir.Write("d.png", PngHeader(0xFFFFFFFF, 5))));
  EXPECT_FALSE(r.LoadTexture(dir.Write("e.png", PngHeader(10, 10).substr(0, 20))));
}

TEST(RecordingRenderer, CreatedTextureLocksTransparentBuffer) {
  RecordingRenderer r;
  auto t = r.CreateTexture(5, 3);
  int pitch = 0;
  std::uint32_t* p = t->Lock(pitch);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(pitch, 5);
  EXPECT_EQ(p[14], 0u);
  p[14] = 0x80FF0000;
  t->Unlock();
  EXPECT_EQ(t->Lock(pitch)[14], 0x80FF0000u);
  EXPECT_FALSE(r.CreateTexture(0, 3));
  EXPECT_NE(r.CreateTexture(1, 1)->Id(), t->Id());
}

struct FontTest : ::testing::Test {
  RecordingRenderer r;
  std::unique_ptr<plat::Font> font = r.CreateFont(L"Arial", 10, 700);  // glyphs 5 x 10
};

TEST_F(FontTest, CalcRectMeasuresWithWordWrap) {
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
}

TEST_F(FontTest, WrapsAtSpacesAndNewlinesAndKeepsLongWords) {
  RectI rect{10, 20, 60, 200};  // 10 characters wide
  font->DrawText(nullptr, L"abc def ghij\nk  averyveryverylongword x", rect, plat::kTextWordBreak, 0xFF00FF00);
  auto texts = r.Texts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0]->text, L"abc def");
  EXPECT_EQ(texts[1]->text, L"ghij");
  EXPECT_EQ(texts[2]->text, L"k");
  EXPECT_EQ(texts[3]->text, L"averyveryverylongword");
  EXPECT_EQ(texts[4]->text, L"x");
  EXPECT_FLOAT_EQ(texts[1]->corners[0].y, 30);
  EXPECT_FLOAT_EQ(texts[4]->corners[0].y, 60);
  EXPECT_EQ(texts[0]->argb, 0xFF00FF00u);
  // The long word is clipped to the rectangle.
  EXPECT_FLOAT_EQ(texts[3]->corners[1].x, 60);
  EXPECT_EQ(texts[3]->source.right, 50);
}

TEST_F(FontTest, AlignmentAndSingleLineCentring) {
  RectI rect{0, 0, 100, 40};
  font->DrawText(nullptr, L"abcd", rect, plat::kTextRight, 0xFFFFFFFF);
  font->DrawText(nullptr, L"abcd", rect, plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine, 0xFFFFFFFF);
  int h = font->DrawText(nullptr, L"ab\ncd", rect, plat::kTextBottom | plat::kTextSingleLine, 0xFFFFFFFF);
  EXPECT_EQ(h, 40);
  auto texts = r.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_FLOAT_EQ(texts[0]->corners[0].x, 80);
  EXPECT_FLOAT_EQ(texts[0]->corners[0].y, 0);
  EXPECT_FLOAT_EQ(texts[1]->corners[0].x, 40);
  EXPECT_FLOAT_EQ(texts[1]->corners[0].y, 15);
  EXPECT_EQ(texts[2]->text, L"ab\ncd");  // single line: the newline does not break
  EXPECT_FLOAT_EQ(texts[2]->corners[0].y, 30);
}

TEST_F(FontTest, ClipsUnlessNoClip) {
  RectI rect{0, 0, 12, 5};
  font->DrawText(nullptr, L"abcdef", rect, plat::kTextLeft, 0xFFFFFFFF);
  font->DrawText(nullptr, L"abcdef", rect, plat::kTextNoClip, 0xFFFFFFFF);
  RectI outside{0, 0, 0, 0};
  font->DrawText(nullptr, L"abcdef", outside, plat::kTextLeft, 0xFFFFFFFF);
  auto texts = r.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_FLOAT_EQ(texts[0]->corners[2].x, 12);
  EXPECT_FLOAT_EQ(texts[0]->corners[2].y, 5);
  EXPECT_FLOAT_EQ(texts[1]->corners[2].x, 30);
  EXPECT_FLOAT_EQ(texts[1]->corners[2].y, 10);
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

TEST(RecordingRendererCalls, RecordsSceneClearAndLines) {
  RecordingRenderer r;
  r.SetBeginSceneResult(-5);
  EXPECT_EQ(r.BeginScene(), -5);
  r.Clear(0xFF102030);
  plat::PointF pts[5] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  r.DrawLines(pts, 5, 0xFFFF0000);
  r.EndScene();
  ASSERT_EQ(r.records.size(), 4u);
  EXPECT_EQ(r.records[0].kind, DrawRecord::kBegin);
  EXPECT_EQ(r.records[1].argb, 0xFF102030u);
  EXPECT_EQ(r.records[2].points.size(), 5u);
  EXPECT_EQ(r.records[3].kind, DrawRecord::kEnd);
  r.SetStoreRecords(false);
  r.DrawLines(pts, 5, 0xFFFF0000);
  EXPECT_EQ(r.records.size(), 4u);
  EXPECT_EQ(r.lines_count, 2u);
}

}  // namespace
