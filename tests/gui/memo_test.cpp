// A memo of 126 x 74 shows four lines of two 4-letter words.
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

  CDXUTMemo* memo_ = nullptr;
};

TEST_F(Memo, WrappingSetsTheRangeInLines) {
  struct Case {
    const char* name;
    std::wstring text;
    int rangeEnd;
  };
  const Case cases[] = {
      {"empty", L"", 0},
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

}  // namespace
