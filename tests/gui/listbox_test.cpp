#include "gui/dxut_listbox.h"
#include "gui_fixture.h"

#include <algorithm>

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

constexpr int kId = 30;
constexpr Event kSel{EVENT_LISTBOX_SELECTION, kId};
constexpr Event kDbl{EVENT_LISTBOX_ITEM_DBLCLK, kId};

// A list at (0, 0), 440 x 188: text area x 11..413 (402 wide), rows from
// y 22 at 16 pixels each, a page of 10 rows.
class ListBox : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    LoadSounds({SND_LISTBOX_SELECTION, SND_LISTBOX_DOUBLE_CLICK});
  }
  CDXUTListBox* List(int rows, std::uint32_t style = 0, bool render = true) {
    g_GuiLayout[kId] = {0, 0, 440, 188};
    CDXUTListBox* list = nullptr;
    EXPECT_EQ(dialog_->AddListBoxFromLayout(kId, style, &list), S_OK);
    for (int i = 0; i < rows; ++i) list->AddItem((L"Row " + std::to_wstring(i)).c_str(), nullptr);
    if (render) Render();
    Events().clear();
    return list;
  }
  static int RowY(int row) { return 22 + 16 * row + 5; }
  bool Click(int row, std::uintptr_t keys = 0) {
    const bool consumed = Send(plat::kWmLButtonDown, 50, RowY(row), plat::kMkLButton | keys);
    Send(plat::kWmLButtonUp, 50, RowY(row), keys);
    return consumed;
  }
  static std::vector<int> Flags(const CDXUTListBox& list) {
    std::vector<int> out;
    for (int i = 0; i < list.GetSize(); ++i) out.push_back(list.GetItem(i)->bSelected ? 1 : 0);
    return out;
  }
  // The texts drawn, in order, with their left edge.
  std::vector<std::pair<std::wstring, int>> Texts() const {
    std::vector<std::pair<std::wstring, int>> out;
    for (const plat::DrawRecord* r : renderer_.Texts()) out.emplace_back(r->text, static_cast<int>(r->corners[0].x));
    return out;
  }
};

TEST_F(ListBox, GeometryAndColumnWidthsFromPercentages) {
  CDXUTListBox* list = List(0);
  EXPECT_EQ(list->GetTextRect().Width(), 402);
  EXPECT_EQ(list->GetScrollBar().GetPageSize(), 10);
  list->SetColumns(3, L"Unit;Men|Guns", 50, 25, 25);
  ASSERT_EQ(list->GetColumns().size(), 3u);
  const int widths[] = {201, 100, 100};
  const wchar_t* names[] = {L"Unit", L"Men", L"Guns"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list->GetColumns()[i].nWidth, widths[i]);
    EXPECT_EQ(list->GetColumns()[i].strCaption, names[i]);
  }
  // Leading and doubled separators are skipped; missing captions, widths
  // and hints are empty instead of read past the end.
  list->SetColumns(3, L";;A||B", 10);
  EXPECT_EQ(list->GetColumns()[0].strCaption, L"A");
  EXPECT_EQ(list->GetColumns()[1].strCaption, L"B");
  EXPECT_EQ(list->GetColumns()[2].strCaption, L"");
  EXPECT_EQ(list->GetColumns()[0].nWidth, 40);
  EXPECT_EQ(list->GetColumns()[1].nWidth, 0);
  list->SetColumnHeaders(L"first hint");
  EXPECT_EQ(list->GetColumns()[0].strHint, L"first hint");
  EXPECT_EQ(list->GetColumns()[2].strHint, L"");
}

TEST_F(ListBox, RowsAreCutIntoCellsOnlyWithSeveralColumns) {
  struct Case {
    const char* name;
    int columns;
    const wchar_t* row;
    std::vector<std::pair<std::wstring, int>> cells;  // text, left edge (left-aligned only)
  };
  const Case cases[] = {
      {"empty cell skipped", 3, L"a;;b", {{L"a", 11}, {L"b", 11 + 201 + (100 - 8) / 2}}},
      {"pipe and semicolon", 3, L"a|b;c", {{L"a", 11}, {L"b", 11 + 201 + 46}, {L"c", 11 + 301 + 46}}},
      {"more cells than columns", 3, L"a;b;c;d", {{L"a", 11}, {L"b", 258}, {L"c", 358}}},
      {"one column draws it whole", 1, L"a;b", {{L"a;b", 11}}},
      {"no columns draws it whole", 0, L"a|b", {{L"a|b", 11}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTListBox* list = List(0, 0, false);
    if (c.columns == 3) list->SetColumns(3, L"X;Y;Z", 50, 25, 25);
    if (c.columns == 1) list->SetColumns(1, L"X", 100);
    list->AddItem(c.row, nullptr);
    Render();
    std::vector<std::pair<std::wstring, int>> rows;
    for (const auto& t : Texts()) {
      if (t.first != L"X" && t.first != L"Y" && t.first != L"Z") rows.push_back(t);
    }
    EXPECT_EQ(rows, c.cells);
    TearDown();
  }
}

TEST_F(ListBox, ClicksAndDoubleClicks) {
  CDXUTListBox* list = List(3);
  EXPECT_TRUE(Click(1));
  EXPECT_TRUE(Send(plat::kWmLButtonDblClk, 50, RowY(1), plat::kMkLButton));
  Send(plat::kWmLButtonUp, 50, RowY(1));
  EXPECT_EQ(list->GetSelectedIndex(), 1);
  EXPECT_EQ(Events(), (std::vector<Event>{kSel, kDbl}));
  EXPECT_EQ(Plays(SND_LISTBOX_DOUBLE_CLICK), 1u);
  // Below the last row: consumed, nothing sent.
  Events().clear();
  EXPECT_TRUE(Send(plat::kWmLButtonDblClk, 50, RowY(5), plat::kMkLButton));
  EXPECT_TRUE(Click(5));
  EXPECT_TRUE(Events().empty());
  EXPECT_FALSE(plat::GetInputState().HasCapture());
}

TEST_F(ListBox, MultiSelectionWithCtrlAndShift) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::uintptr_t>> clicks;
    std::vector<int> flags;
  };
  const std::uintptr_t ctrl = plat::kMkControl, shift = plat::kMkShift;
  const Case cases[] = {
      {"plain click", {{1, 0}, {3, 0}}, {0, 0, 0, 1, 0, 0}},
      {"ctrl adds", {{1, 0}, {3, ctrl}}, {0, 1, 0, 1, 0, 0}},
      {"ctrl toggles off", {{1, 0}, {1, ctrl}}, {0, 0, 0, 0, 0, 0}},
      {"shift ranges", {{4, 0}, {1, shift}}, {0, 1, 1, 1, 1, 0}},
      {"shift range replaces", {{0, 0}, {5, ctrl}, {2, 0}, {3, shift}}, {0, 0, 1, 1, 0, 0}},
      {"ctrl shift extends", {{1, 0}, {4, ctrl | shift}}, {0, 1, 1, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTListBox* list = List(6, MULTISELECTION);
    for (const auto& [row, keys] : c.clicks) Click(row, keys);
    EXPECT_EQ(Flags(*list), c.flags);
    const int first = static_cast<int>(std::find(c.flags.begin(), c.flags.end(), 1) - c.flags.begin());
    EXPECT_EQ(list->GetSelectedIndex(-1), first < 6 ? first : -1);
    EXPECT_GE(Events().size(), c.clicks.size());
    TearDown();
  }
}

TEST_F(ListBox, KeyboardMovesByRowsAndPages) {
  struct Case {
    int start;
    unsigned key;
    int expected;
    std::size_t events;
  };
  const Case cases[] = {
      {0, plat::kVkNext, 9, 1}, {25, plat::kVkNext, 29, 1}, {20, plat::kVkPrior, 11, 1},
      {0, plat::kVkUp, 0, 0},   {5, plat::kVkEnd, 29, 1},  {29, plat::kVkDown, 29, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    SetUp();
    CDXUTListBox* list = List(30);
    list->SelectItem(c.start, false);
    CDXUTDialog::RequestFocus(list);
    EXPECT_TRUE(KeyDown(c.key));
    EXPECT_EQ(list->GetSelectedIndex(), c.expected);
    EXPECT_EQ(Events(), std::vector<Event>(c.events, kSel));
    // The selected row is on the page.
    const int top = list->GetScrollBar().GetTrackPos();
    EXPECT_LE(top, c.expected);
    EXPECT_LT(c.expected, top + 10);
    EXPECT_FALSE(list->HandleKeyboard({plat::kWmKeyDown, plat::kVkLeft, 0}));
    TearDown();
  }
  SetUp();
  CDXUTListBox* empty = List(0);
  CDXUTDialog::RequestFocus(empty);
  EXPECT_TRUE(KeyDown(plat::kVkDown));
  EXPECT_TRUE(Events().empty());
}

}  // namespace
