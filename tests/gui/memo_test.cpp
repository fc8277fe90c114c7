// The memo with the fixed-metrics font (glyphs 8 pixels wide, lines 16
// high): a memo of 126 x 74 has a clip area of 100 x 64, so two 4-letter
// words fill a line and four lines show at once.
#include <string>

#include "gui/dxut_memo.h"
#include "gui_fixture.h"

namespace {

using guitest::GuiTest;

// Words "w00x w01x ...": two to a line, every line different.
std::wstring Words(int count) {
  std::wstring text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += L' ';
    text += L'w';
    text += static_cast<wchar_t>(L'0' + i / 10);
    text += static_cast<wchar_t>(L'0' + i % 10);
    text += L'x';
  }
  return text;
}

class Memo : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_EQ(dialog_->AddMemo(9, L"", 0, 0, 126, 74, false, &memo_), S_OK);
  }
  CDXUTScrollBar& Bar() { return memo_->GetScrollBar(); }
  bool Wheel(int delta) {
    return memo_->HandleMouse({plat::kWmMouseWheel, static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16, 0},
                              POINT{20, 20});
  }

  CDXUTMemo* memo_ = nullptr;
};

TEST_F(Memo, LayoutFollowsTheBox) {
  EXPECT_EQ(memo_->GetLineHeight(), 16);
  const plat::RectI& clip = memo_->GetClipRect();
  EXPECT_EQ(clip.left, 5);
  EXPECT_EQ(clip.right, 126 - 5 - 16);
  EXPECT_EQ(clip.Height(), 64);
  EXPECT_EQ(Bar().GetPageSize(), 4);
  EXPECT_EQ(Bar().GetBoundingBox().left, 110);
  EXPECT_EQ(Bar().GetBoundingBox().bottom, 74);
  EXPECT_EQ(memo_->m_rcText.right, 126 - 10 - 16);
}

TEST_F(Memo, WrappingSetsTheRangeInLines) {
  struct Case {
    const char* name;
    std::wstring text;
    int rangeEnd;
  };
  const Case cases[] = {
      {"empty", L"", 0},
      {"two lines fit", Words(4), 0},
      {"exactly four lines fit", Words(8), 0},
      {"five lines", Words(10), 5},
      {"eleven lines", Words(22), 11},
      {"line breaks count", L"a\nb\nc\nd\ne\nf", 6},
      {"a long word keeps its own line", L"abcdefghijklmnopqrstuvwxyz a b c d", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo_->SetText(c.text.c_str());
    EXPECT_EQ(Bar().GetTrackStart(), 0);
    EXPECT_EQ(Bar().GetTrackEnd(), c.rangeEnd);
    EXPECT_EQ(Bar().IsThumbShown(), c.rangeEnd > 4);
  }
  // A refused text leaves the old one and its range.
  memo_->SetText(Words(10).c_str());
  memo_->SetText(std::wstring(65535, L'x').c_str());
  EXPECT_EQ(std::wstring(memo_->GetText()), Words(10));
  EXPECT_EQ(Bar().GetTrackEnd(), 5);
}

TEST_F(Memo, ScrollToEnd) {
  struct Case {
    const char* name;
    int words;
    int startPosition;  // set without a cap before ScrollToEnd
    int expected;
  };
  const Case cases[] = {
      {"from the top the last page shows", 22, 0, 7},
      {"already on the last page", 22, 7, 7},
      {"inside the last page stays", 22, 8, 8},
      {"below the end comes back to the last line", 22, 12, 10},
      {"five lines", 10, 0, 1},
      {"a fitting text is drawn from its top", 4, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo_->SetText(Words(c.words).c_str());
    static_cast<CDXUTMemoScrollBar&>(Bar()).SetTrackPosUncapped(c.startPosition);
    memo_->ScrollToEnd();
    EXPECT_EQ(Bar().GetTrackPos(), c.expected);
  }
}

TEST_F(Memo, ScrollingKeepsTheRangeOfTheSameText) {
  // Setting the same text again after scrolling and drawing measures the
  // same: the range must not collapse because the text was drawn scrolled.
  memo_->SetText(Words(22).c_str());
  memo_->ScrollToEnd();
  Render(1.0f);
  memo_->SetText(Words(22).c_str());
  EXPECT_EQ(Bar().GetTrackEnd(), 11);
  EXPECT_EQ(Bar().GetTrackPos(), 7);
  memo_->ScrollToEnd();
  EXPECT_EQ(Bar().GetTrackPos(), 7);
}

TEST_F(Memo, RenderDrawsFromTheScrollPositionClipped) {
  memo_->SetText(Words(22).c_str());
  memo_->ScrollToEnd();
  Render(1.0f);
  // Line 7 ("w14x w15x") sits at the top of the clip area; line 6 above it.
  float line7 = -1000, line6 = -1000;
  for (const plat::DrawRecord* r : renderer_.Texts()) {
    if (r->argb >> 24 == 0xFF && (r->argb & 0xFFFFFF) != 0) {
      if (r->text.rfind(L"w14x", 0) == 0) line7 = r->corners[0].y;
      if (r->text.rfind(L"w12x", 0) == 0) line6 = r->corners[0].y;
    }
  }
  EXPECT_FLOAT_EQ(line7, 5.0f);
  EXPECT_FLOAT_EQ(line6, 5.0f - 16.0f);
  EXPECT_EQ(memo_->m_rcText.top, 5 - 7 * 16);
  bool clipped = false;
  for (const plat::DrawRecord& r : renderer_.records) {
    if (r.kind == plat::DrawRecord::kClip && r.clip_set) {
      clipped = clipped || (r.source.left == 5 && r.source.top == 5 && r.source.right == 105 && r.source.bottom == 69);
    }
  }
  EXPECT_TRUE(clipped);
}

TEST_F(Memo, WheelClearTextAndAFittingText) {
  memo_->SetText(Words(22).c_str());
  EXPECT_TRUE(Wheel(-120));
  EXPECT_EQ(Bar().GetTrackPos(), 1);
  EXPECT_TRUE(Wheel(-240));
  EXPECT_EQ(Bar().GetTrackPos(), 3);
  EXPECT_TRUE(Wheel(-60));  // less than a notch: nothing
  EXPECT_EQ(Bar().GetTrackPos(), 3);
  EXPECT_TRUE(Wheel(120));
  EXPECT_EQ(Bar().GetTrackPos(), 2);

  memo_->ClearText();
  EXPECT_EQ(std::wstring(memo_->GetText()), L"");
  EXPECT_EQ(Bar().GetTrackEnd(), 11);
  EXPECT_EQ(Bar().GetTrackPos(), 2);

  // A fitting text: no thumb, and a press on the bar is not taken.
  memo_->SetText(L"short");
  EXPECT_EQ(Bar().GetTrackPos(), 0);
  EXPECT_FALSE(Bar().IsThumbShown());
  EXPECT_FALSE(memo_->HandleMouse({plat::kWmLButtonDown, 0, 0}, POINT{115, 40}));
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), memo_);

  memo_->SetEnabled(false);
  EXPECT_FALSE(Wheel(-120));
  EXPECT_FALSE(memo_->HandleKeyboard({plat::kWmKeyDown, plat::kVkDown, 0}));
}

}  // namespace
