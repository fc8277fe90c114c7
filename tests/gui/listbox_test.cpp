// The list box: column widths from percentages, rows cut into cells,
// single and multiple selection by mouse and keyboard, and the events
// (code, id, sound) each sends.
#include "gui/dxut_listbox.h"
#include "gui_fixture.h"

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
    for (int slot : {SND_LISTBOX_SELECTION, SND_LISTBOX_DOUBLE_CLICK}) {
      const std::string name = std::string("data/sound/") + g_SoundEffects[slot].name + ".wav";
      dir_.Write(name, "RIFF");
      g_Sounds[slot] = audio_.LoadSound(name, 1);
    }
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
  struct Case {
    const wchar_t* captions;
    std::vector<int> widths;
    std::vector<std::wstring> names;
  };
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

TEST_F(ListBox, LongRowsAreKeptWholeAndCutAtTheirCell) {
  CDXUTListBox* list = List(0, 0, false);
  const std::wstring longRow = std::wstring(300, L'w') + L";tail";
  list->SetColumns(2, L"A;B", 50, 50);
  list->AddItem(longRow.c_str(), nullptr);
  EXPECT_EQ(list->GetItem(0)->strText, longRow);
  Render();
  const plat::RectI* clip = nullptr;
  bool seen = false;
  for (const plat::DrawRecord& r : renderer_.records) {
    if (r.kind == plat::DrawRecord::kClip) clip = r.clip_set ? &r.source : nullptr;
    if (r.kind == plat::DrawRecord::kText && r.text == std::wstring(300, L'w')) {
      ASSERT_NE(clip, nullptr);
      EXPECT_EQ(clip->left, 11);
      EXPECT_EQ(clip->right, 11 + 201);
      seen = true;
    }
  }
  EXPECT_TRUE(seen);
}

TEST_F(ListBox, SelectItemClampsAndSendsWhenAsked) {
  CDXUTListBox* list = List(3);
  list->SelectItem(5, true);
  EXPECT_EQ(list->GetSelectedIndex(), 2);
  list->SelectItem(2, true);
  list->SelectItem(0, false);
  EXPECT_EQ(list->GetSelectedIndex(), 0);
  EXPECT_EQ(Events(), (std::vector<Event>{kSel, kSel}));
  EXPECT_EQ(Plays(SND_LISTBOX_SELECTION), 2u);
  EXPECT_EQ(list->GetItem(3), nullptr);
  EXPECT_EQ(list->GetItem(-1), nullptr);
  list->RemoveAllItems();
  EXPECT_EQ(list->GetSelectedIndex(), -1);
  list->SelectItem(1, true);  // nothing on an empty list
  EXPECT_EQ(Events().size(), 2u);
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

TEST_F(ListBox, ClicksBeforeTheFirstRenderSelectNothing) {
  CDXUTListBox* list = List(3, 0, false);
  EXPECT_EQ(list->RowAt(RowY(1)), -1);
  Click(1);
  EXPECT_EQ(list->GetSelectedIndex(), -1);
  EXPECT_TRUE(Events().empty());
}

TEST_F(ListBox, MultiSelectionWithCtrlAndShift) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::uintptr_t>> clicks;
    std::vector<int> flags;
    int selected;
  };
  const std::uintptr_t ctrl = plat::kMkControl, shift = plat::kMkShift;
  const Case cases[] = {
      {"plain click", {{1, 0}, {3, 0}}, {0, 0, 0, 1, 0, 0}, 3},
      {"ctrl adds", {{1, 0}, {3, ctrl}}, {0, 1, 0, 1, 0, 0}, 3},
      {"ctrl toggles off", {{1, 0}, {1, ctrl}}, {0, 0, 0, 0, 0, 0}, 1},
      {"shift ranges", {{4, 0}, {1, shift}}, {0, 1, 1, 1, 1, 0}, 1},
      {"shift range replaces", {{0, 0}, {5, ctrl}, {2, 0}, {3, shift}}, {0, 0, 1, 1, 0, 0}, 3},
      {"ctrl shift extends", {{1, 0}, {4, ctrl | shift}}, {0, 1, 1, 1, 1, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTListBox* list = List(6, MULTISELECTION);
    for (const auto& [row, keys] : c.clicks) Click(row, keys);
    EXPECT_EQ(Flags(*list), c.flags);
    EXPECT_EQ(list->GetSelectedIndex(-1), [&] {
      for (int i = 0; i < 6; ++i)
        if (c.flags[i]) return i;
      return -1;
    }());
    (void)c.selected;
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
      {0, plat::kVkNext, 9, 1},   {9, plat::kVkNext, 18, 1}, {25, plat::kVkNext, 29, 1},
      {20, plat::kVkPrior, 11, 1}, {0, plat::kVkUp, 0, 0},   {5, plat::kVkEnd, 29, 1},
      {5, plat::kVkHome, 0, 1},   {29, plat::kVkDown, 29, 0},
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

TEST_F(ListBox, ShiftKeysExtendAMultiSelection) {
  CDXUTListBox* list = List(6, MULTISELECTION);
  Click(1);
  CDXUTDialog::RequestFocus(list);
  plat::GetInputState().SetKeyDown(plat::kVkShift, true);
  KeyDown(plat::kVkDown);
  KeyDown(plat::kVkDown);
  EXPECT_EQ(Flags(*list), (std::vector<int>{0, 1, 1, 1, 0, 0}));
  plat::GetInputState().SetKeyDown(plat::kVkShift, false);
  KeyDown(plat::kVkDown);
  EXPECT_EQ(Flags(*list), (std::vector<int>{0, 0, 0, 0, 1, 0}));
}

TEST_F(ListBox, DragSelectsAndScrollsAndWheelScrolls) {
  CDXUTListBox* list = List(30);
  Send(plat::kWmLButtonDown, 50, RowY(2), plat::kMkLButton);
  Move(50, RowY(4));
  EXPECT_EQ(list->GetSelectedIndex(), 4);
  Move(50, RowY(12));  // below the page: one row down
  EXPECT_EQ(list->GetScrollBar().GetTrackPos(), 1);
  EXPECT_EQ(list->GetSelectedIndex(), 10);
  Up(50, RowY(12));
  EXPECT_FALSE(list->IsDragging());
  const std::uintptr_t wheelDown = static_cast<std::uintptr_t>(static_cast<std::uint16_t>(-120)) << 16;
  EXPECT_TRUE(Send(plat::kWmMouseWheel, 50, RowY(3), wheelDown));
  EXPECT_EQ(list->GetScrollBar().GetTrackPos(), 4);
}

TEST_F(ListBox, HoverTracksRowAndColumnIncludingTheHeaderBand) {
  CDXUTListBox* list = List(5);
  list->SetColumns(2, L"A;B", 50, 50);
  list->SetColumnHeaders(L"hint A;hint B");
  Move(300, 22 - 10);  // header band, within a row height above row 0
  EXPECT_EQ(list->GetHoveredRow(), 0);
  EXPECT_EQ(list->GetHoveredColumn(), 1);
  EXPECT_STREQ(list->GetHint(), L"hint B");
  Move(20, RowY(3));
  EXPECT_EQ(list->GetHoveredRow(), 3);
  EXPECT_EQ(list->GetHoveredColumn(), 0);
  EXPECT_STREQ(list->GetHint(), L"hint A");
  Move(900, 900);
  EXPECT_EQ(list->GetHoveredRow(), -1);
  EXPECT_EQ(list->GetHoveredColumn(), -1);
}

}  // namespace
