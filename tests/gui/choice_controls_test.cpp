// The controls that choose among values: combo box, slider, scroll bar, list
// box and the memo's scrolling.
#include <algorithm>
#include <climits>

#include "gui/dxut_combobox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_scrollbar.h"
#include "gui_fixture.h"
#include "platform/clock.h"

namespace {

using guitest::Event;
using guitest::Events;

constexpr int kListId = 30;
constexpr Event kSel{EVENT_LISTBOX_SELECTION, kListId};
constexpr Event kDbl{EVENT_LISTBOX_ITEM_DBLCLK, kListId};

class ChoiceControls : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    LoadSounds({SND_COMBOBOX_CHANGED, SND_SLIDER_CHANGED, SND_LISTBOX_SELECTION, SND_LISTBOX_DOUBLE_CLICK});
  }
  void TearDown() override {
    CDXUTScrollBar::ResetDrag();
    plat::SetClock(nullptr);
    GuiTest::TearDown();
  }
  CDXUTComboBox* Combo(int items, bool nonUserEvents = false) {
    dialog_->EnableNonUserEvents(nonUserEvents);
    CDXUTComboBox* box = nullptr;
    EXPECT_EQ(dialog_->AddComboBox(5, 10, 10, 200, 30, 'K', false, &box), S_OK);
    static int data[16];
    for (int i = 0; i < items; ++i) box->AddItem((L"Item " + std::to_wstring(i)).c_str(), &data[i]);
    Events().clear();
    return box;
  }
  std::vector<Event> Combos(std::size_t n) { return std::vector<Event>(n, {EVENT_COMBOBOX_SELECTION_CHANGED, 5}); }
  // A list at (0, 0), 440 x 188: text area x 11..413 (402 wide), rows from
  // y 22 at 16 pixels each, a page of 10 rows.
  CDXUTListBox* List(int rows, std::uint32_t style = 0, bool render = true) {
    g_GuiLayout[kListId] = {0, 0, 440, 188};
    CDXUTListBox* list = nullptr;
    EXPECT_EQ(dialog_->AddListBoxFromLayout(kListId, style, &list), S_OK);
    for (int i = 0; i < rows; ++i) list->AddItem((L"Row " + std::to_wstring(i)).c_str(), nullptr);
    if (render) Render();
    Events().clear();
    return list;
  }
  static int RowY(int row) { return 22 + 16 * row + 5; }
  bool ClickRow(int row, std::uintptr_t keys = 0) {
    const bool consumed = Send(plat::kWmLButtonDown, 50, RowY(row), plat::kMkLButton | keys);
    Send(plat::kWmLButtonUp, 50, RowY(row), keys);
    return consumed;
  }
  // A memo of 126 x 74: four lines of two 4-letter words.
  CDXUTMemo* NewMemo() {
    CDXUTMemo* memo = nullptr;
    EXPECT_EQ(dialog_->AddMemo(9, L"", 0, 0, 126, 74, false, &memo), S_OK);
    return memo;
  }
};
using ListBox = ChoiceControls;
using Memo = ChoiceControls;

TEST_F(ChoiceControls, ComboFirstItemIsSelectedAndProgramSelectionsAreReportedOnlyAsProgramEvents) {
  for (bool nonUser : {false, true}) {
    SCOPED_TRACE(nonUser);
    Fresh();
    CDXUTComboBox* box = Combo(0, nonUser);
    for (const wchar_t* item : {L"First", L"Second"}) EXPECT_EQ(box->AddItem(item, nullptr), S_OK);
    EXPECT_EQ(std::pair(box->GetSelectedIndex(), box->GetFocusedIndex()), std::pair(0, 0));
    EXPECT_EQ(Events(), Combos(nonUser ? 1 : 0));
    EXPECT_EQ(Plays(SND_COMBOBOX_CHANGED), 0u);  // a program event has no sound
    EXPECT_EQ(box->AddItem(nullptr, nullptr), E_INVALIDARG);
    const std::wstring longText(300, L'x');  // long texts are kept whole
    box->AddItem(longText.c_str(), nullptr);
    EXPECT_EQ(box->GetItem(2)->strText, longText);
    Render();
    EXPECT_EQ(renderer_.ClipRect(), nullptr);  // the cut is lifted at the end of the frame
    // The program selects only what is there.
    Events().clear();
    for (int index : {-1, 3}) EXPECT_EQ(box->SetSelectedByIndex(index), E_INVALIDARG) << index;
    EXPECT_EQ(box->GetFocusedIndex(), 0);
    EXPECT_EQ(box->SetSelectedByIndex(2), S_OK);
    EXPECT_EQ(std::pair(box->GetSelectedIndex(), box->GetFocusedIndex()), std::pair(2, 2));
    EXPECT_EQ(Events(), Combos(nonUser ? 1 : 0));
  }
}

TEST_F(ChoiceControls, ComboHotkeyCyclesWithSoundButNotWhileOpenOrEmpty) {
  const struct { const char* name; int items, select; bool open; int expected; std::size_t events; } cases[] = {
      {"last wraps to first", 3, 2, false, 0, 1},
      {"next", 3, 0, false, 1, 1},
      {"open list ignores it", 3, 1, true, 1, 0},
      {"empty box", 0, -1, false, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    CDXUTComboBox* box = Combo(c.items);
    if (c.select >= 0) box->SetSelectedByIndex(c.select);
    if (c.open) {
      CDXUTDialog::RequestFocus(box);
      KeyDown(plat::kVkF4);
      ASSERT_TRUE(box->IsOpened());
    }
    Events().clear();
    EXPECT_TRUE(KeyUp('K'));
    EXPECT_EQ(std::tuple(box->GetSelectedIndex(), Events(), Plays(SND_COMBOBOX_CHANGED)),
              std::tuple(c.expected, Combos(c.events), c.events));
  }
}

TEST_F(ChoiceControls, SliderThumbPositionAndEmptyRanges) {
  // thumbLeft is counted from the slider's left edge.
  const struct { const char* name; int width, minimum, maximum, value, thumbLeft, valueAfter; } cases[] = {
      {"empty range", 120, 7, 7, 7, 5, 7},
      {"reversed range", 120, 10, 3, 50, 5, 3},
      {"track of 20 pixels", 20, 0, 100, 40, 5, 40},
      {"whole int range", 120, INT_MIN, INT_MAX, 0, 55, 0},
      {"at the top of int", 120, INT_MAX - 10, INT_MAX, INT_MAX, 105, INT_MAX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    CDXUTSlider* slider = nullptr;
    ASSERT_EQ(dialog_->AddSlider(9, 30, 40, c.width, 20, c.minimum, c.maximum, c.value, false, &slider), S_OK);
    EXPECT_EQ(slider->GetValue(), c.valueAfter);
    const plat::RectI t = slider->GetThumbRect();
    EXPECT_EQ(std::pair(t.left - 30, t.Width()), std::pair(c.thumbLeft, 10));
    // Dragging the thumb over an empty range or a track without room keeps the value.
    Down(t.left + 2, 45);
    Move(t.left + 40, 45);
    Up(t.left + 40, 45);
    EXPECT_TRUE((c.maximum > c.minimum && c.width > 20) || slider->GetValue() == c.valueAfter);
    // Keys and track clicks at the ends of int stay inside the range.
    slider->HandleKeyboard({plat::kWmKeyDown, plat::kVkDown, 0});
    Down(30 + c.width - 1, 45);
    const int value = slider->GetValue();
    EXPECT_TRUE(value >= std::min(c.minimum, c.maximum) && value <= c.maximum) << value;
  }
}

TEST_F(ChoiceControls, SliderDragReleaseReportsOnceAndDropsFocus) {
  CDXUTSlider* slider = nullptr;
  dialog_->AddSlider(9, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  const Event changed{EVENT_SLIDER_VALUE_CHANGED, 9};
  Events().clear();
  EXPECT_TRUE(Down(57, 10));  // on the thumb (55..65)
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), slider);
  EXPECT_TRUE(Up(57, 10));
  EXPECT_EQ(slider->GetValue(), 50);
  EXPECT_EQ(Events(), std::vector<Event>{changed});
  EXPECT_EQ(std::pair(CDXUTDialog::GetFocusControl(), plat::GetInputState().HasCapture()),
            std::pair(static_cast<CDXUTControl*>(nullptr), false));
  // A drag by 20 pixels moves the value by 20; the track click steps by one.
  Events().clear();
  Down(57, 10);
  Move(77, 10);
  EXPECT_EQ(slider->GetValue(), 70);
  Up(77, 10);
  EXPECT_EQ(Events().size(), 2u);
  EXPECT_TRUE(Down(110, 10));
  EXPECT_EQ(std::pair(slider->GetValue(), slider->IsPressed()), std::pair(71, false));
  // Keys send only real changes, each with its sound.
  CDXUTDialog::RequestFocus(slider);
  for (auto [key, expected] :
       {std::pair{plat::kVkDown, 72}, {plat::kVkHome, 0}, {plat::kVkLeft, 0}, {plat::kVkEnd, 100}}) {
    const std::size_t n = expected != slider->GetValue() ? 1 : 0, plays = Plays(SND_SLIDER_CHANGED);
    Events().clear();
    EXPECT_TRUE(KeyDown(key));
    EXPECT_EQ(std::tuple(slider->GetValue(), Events(), Plays(SND_SLIDER_CHANGED) - plays),
              std::tuple(expected, std::vector<Event>(n, changed), n)) << key;
  }
}

struct Bar {
  CDXUTScrollBar bar;
  Bar(CDXUTDialog* dialog, int trackHeight, int items, int page) : bar(dialog) {
    dialog->InitControl(&bar);
    bar.SetLocation(0, 0);
    bar.SetSize(16, trackHeight + 32);
    bar.SetTrackRange(0, items);
    bar.SetPageSize(page);
  }
  bool Mouse(unsigned msg, POINT at) { return bar.HandleMouse({msg, 0, 0}, at); }
};

TEST_F(ChoiceControls, ScrollBarThumbSizeAndHiddenThumb) {
  const struct { int track, items, page; bool shown; int thumb; } cases[] = {
      {100, 1000, 10, true, 8}, {100, 20, 10, true, 50}, {100, 10, 10, false, 0},
      {100, 0, 10, false, 0},   {100, 11, 10, true, 90}, {0, 50, 10, true, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.items);
    Bar b(dialog_.get(), c.track, c.items, c.page);
    EXPECT_EQ(std::pair(b.bar.IsThumbShown(), b.bar.GetThumbRect().Height()), std::pair(c.shown, c.thumb));
    if (!c.shown) {
      // Nothing to scroll: every message is refused.
      for (unsigned msg : {plat::kWmLButtonDown, plat::kWmMouseMove, plat::kWmLButtonUp}) {
        EXPECT_FALSE(b.Mouse(msg, {5, 5}));
        EXPECT_FALSE(b.Mouse(msg, {5, 60}));
      }
      EXPECT_EQ(std::pair(plat::GetInputState().HasCapture(), b.bar.GetTrackPos()), std::pair(false, 0));
    } else if (c.track > c.thumb) {
      // Dragging the thumb to the bottom of the track reaches the last page.
      EXPECT_TRUE(b.Mouse(plat::kWmLButtonDown, {5, b.bar.GetThumbRect().top}));
      EXPECT_TRUE(b.Mouse(plat::kWmMouseMove, {5, 1000}));
      EXPECT_EQ(b.bar.GetTrackPos(), c.items - c.page);
      b.Mouse(plat::kWmLButtonUp, {5, 1000});
      EXPECT_EQ(CDXUTScrollBar::GetDragging(), nullptr);
    }
  }
}

// A list laid out shorter than its borders gives its bar a page of no row or
// less: the bar keeps a page of 0, sizes its thumb and scrolls as by a page
// of one row (never dividing by an empty range), and reaches every row and
// no further.
TEST_F(ChoiceControls, ScrollBarWithAPageOfNoRowStaysUsable) {
  for (int page : {0, -3}) {
    SCOPED_TRACE(page);
    Bar empty(dialog_.get(), 100, 0, page);
    EXPECT_EQ(std::tuple(empty.bar.GetPageSize(), empty.bar.IsThumbShown(), empty.bar.GetTrackPos()),
              std::tuple(0, false, 0));
    Bar b(dialog_.get(), 100, 5, page);
    EXPECT_EQ(std::pair(b.bar.IsThumbShown(), b.bar.GetThumbRect().Height()), std::pair(true, 20));
    // A click below the thumb steps down a row; the last row is as far as it goes.
    for (int expected : {1, 2, 3, 4, 4}) {
      b.Mouse(plat::kWmLButtonDown, {5, 115});
      b.Mouse(plat::kWmLButtonUp, {5, 115});
      EXPECT_EQ(b.bar.GetTrackPos(), expected);
    }
    b.bar.ShowItem(2);
    EXPECT_EQ(b.bar.GetTrackPos(), 2);
    b.bar.ShowItem(99);
    EXPECT_EQ(b.bar.GetTrackPos(), 4);
  }
}

TEST_F(ChoiceControls, ScrollBarArrowRepeatsAfterDelayThenSteadily) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  clock.Advance(1000);
  Bar b(dialog_.get(), 100, 100, 10);
  const POINT down{5, 120};  // the down button: y 116..132
  const POINT track{5, 80};
  EXPECT_TRUE(b.Mouse(plat::kWmLButtonDown, down));
  EXPECT_EQ(b.bar.GetTrackPos(), 1);  // once at the press
  const struct { int advance; POINT at; int position; } steps[] = {
      {329, down, 1},  {1, down, 1},    {1, down, 2},   // more than 0.33 s
      {50, down, 2},   {1, down, 3},    {51, down, 4},  // then every 0.05 s
      {51, track, 4},  {200, track, 4},                 // off the button: stops
      {0, down, 5},    {51, down, 6},                   // back on it: goes on
  };
  for (const auto& s : steps) {
    clock.Advance(s.advance);
    b.Mouse(plat::kWmMouseMove, s.at);
    b.bar.Render(0.0f);
    EXPECT_EQ(b.bar.GetTrackPos(), s.position) << "after " << clock.TickCount();
  }
  b.Mouse(plat::kWmLButtonUp, down);
  clock.Advance(500);
  b.bar.Render(0.0f);
  EXPECT_EQ(std::pair(b.bar.GetTrackPos(), plat::GetInputState().HasCapture()), std::pair(6, false));
}

// The kitchen-sink picture shows a list of three columns "Unit;Men|Guns" of
// 50, 25 and 25 per cent, with empty cells and cells cut at '|'; here the
// rest of the column rules.
TEST_F(ListBox, ColumnsFromPercentagesAndRowsCutIntoCellsOnlyWithSeveralColumns) {
  // Leading and doubled separators are skipped; missing captions, widths
  // and hints are empty instead of read past the end.
  CDXUTListBox* columns = List(0);
  columns->SetColumns(3, L";;A||B", 10);
  columns->SetColumnHeaders(L"first hint");
  std::vector<std::tuple<std::wstring, int, std::wstring>> read;
  for (const auto& c : columns->GetColumns()) read.emplace_back(c.strCaption, c.nWidth, c.strHint);
  EXPECT_EQ(read, (decltype(read){{L"A", 40, L"first hint"}, {L"B", 0, L""}, {L"", 0, L""}}));
  // The cells drawn: text and left edge (centred in the narrow columns).
  const struct { const char* name; int columns; const wchar_t* row; std::vector<std::pair<std::wstring, int>> cells; }
      cases[] = {
          {"more cells than columns", 3, L"a;b;c;d", {{L"a", 11}, {L"b", 11 + 201 + 46}, {L"c", 11 + 301 + 46}}},
          {"one column draws it whole", 1, L"a;b", {{L"a;b", 11}}},
          {"no columns draws it whole", 0, L"a|b", {{L"a|b", 11}}},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    CDXUTListBox* list = List(0, 0, false);
    if (c.columns == 3) list->SetColumns(3, L"X;Y;Z", 50, 25, 25);
    if (c.columns == 1) list->SetColumns(1, L"X", 100);
    list->AddItem(c.row, nullptr);
    Render();
    std::vector<std::pair<std::wstring, int>> cells;
    for (const plat::DrawRecord* r : renderer_.Texts()) {
      if (r->text != L"X" && r->text != L"Y" && r->text != L"Z") cells.emplace_back(r->text, int(r->corners[0].x));
    }
    EXPECT_EQ(cells, c.cells);
  }
}

TEST_F(ListBox, ClicksAndDoubleClicks) {
  CDXUTListBox* list = List(3);
  EXPECT_TRUE(ClickRow(1));
  EXPECT_TRUE(Send(plat::kWmLButtonDblClk, 50, RowY(1), plat::kMkLButton));
  Send(plat::kWmLButtonUp, 50, RowY(1));
  EXPECT_EQ(std::tuple(list->GetSelectedIndex(), Events(), Plays(SND_LISTBOX_DOUBLE_CLICK)),
            std::tuple(1, std::vector<Event>{kSel, kDbl}, 1u));
  // Below the last row: consumed, nothing sent.
  Events().clear();
  EXPECT_TRUE(Send(plat::kWmLButtonDblClk, 50, RowY(5), plat::kMkLButton));
  EXPECT_TRUE(ClickRow(5));
  EXPECT_EQ(std::pair(Events().empty(), plat::GetInputState().HasCapture()), std::pair(true, false));
}

// A double click that closes its dialog (the units manager's Select, the
// scenario list's start) comes on the press: the dialog goes before the
// release, and must not leave the mouse captured.
TEST_F(ListBox, ADialogClosedByADoubleClickLeavesNoMouseCapture) {
  List(3);
  ClickRow(1);
  EXPECT_TRUE(Send(plat::kWmLButtonDblClk, 50, RowY(1), plat::kMkLButton));
  ASSERT_TRUE(plat::GetInputState().HasCapture());
  dialog_->RemoveAllControls();
  EXPECT_FALSE(plat::GetInputState().HasCapture());
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), nullptr);
}

TEST_F(ListBox, MultiSelectionWithCtrlAndShift) {
  const std::uintptr_t ctrl = plat::kMkControl, shift = plat::kMkShift;
  const struct { const char* name; std::vector<std::pair<int, std::uintptr_t>> clicks; std::vector<int> flags; }
      cases[] = {
      {"plain click", {{1, 0}, {3, 0}}, {0, 0, 0, 1, 0, 0}},
      {"ctrl adds", {{1, 0}, {3, ctrl}}, {0, 1, 0, 1, 0, 0}},
      {"ctrl toggles off", {{1, 0}, {1, ctrl}}, {0, 0, 0, 0, 0, 0}},
      {"shift ranges", {{4, 0}, {1, shift}}, {0, 1, 1, 1, 1, 0}},
      {"shift range replaces", {{0, 0}, {5, ctrl}, {2, 0}, {3, shift}}, {0, 0, 1, 1, 0, 0}},
      {"ctrl shift extends", {{1, 0}, {4, ctrl | shift}}, {0, 1, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    CDXUTListBox* list = List(6, MULTISELECTION);
    for (const auto& [row, keys] : c.clicks) ClickRow(row, keys);
    std::vector<int> flags;
    for (int i = 0; i < list->GetSize(); ++i) flags.push_back(list->GetItem(i)->bSelected ? 1 : 0);
    EXPECT_EQ(flags, c.flags);
    const int first = static_cast<int>(std::find(c.flags.begin(), c.flags.end(), 1) - c.flags.begin());
    EXPECT_EQ(list->GetSelectedIndex(-1), first < 6 ? first : -1);
    EXPECT_GE(Events().size(), c.clicks.size());
  }
}

TEST_F(ListBox, KeyboardMovesByRowsAndPages) {
  const struct { int start; unsigned key; int expected; std::size_t events; } cases[] = {
      {0, plat::kVkNext, 9, 1}, {25, plat::kVkNext, 29, 1}, {20, plat::kVkPrior, 11, 1},
      {0, plat::kVkUp, 0, 0},   {5, plat::kVkEnd, 29, 1},  {29, plat::kVkDown, 29, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    Fresh();
    CDXUTListBox* list = List(30);
    list->SelectItem(c.start, false);
    CDXUTDialog::RequestFocus(list);
    EXPECT_TRUE(KeyDown(c.key));
    EXPECT_EQ(std::tuple(list->GetSelectedIndex(), Events()),
              std::tuple(c.expected, std::vector<Event>(c.events, kSel)));
    // The selected row is on the page.
    const int top = list->GetScrollBar().GetTrackPos();
    EXPECT_TRUE(top <= c.expected && c.expected < top + 10) << top;
    EXPECT_FALSE(list->HandleKeyboard({plat::kWmKeyDown, plat::kVkLeft, 0}));
  }
  Fresh();
  CDXUTDialog::RequestFocus(List(0));
  EXPECT_TRUE(KeyDown(plat::kVkDown));
  EXPECT_TRUE(Events().empty());
}

// Words "w00x w01x ...": two to a line of the memo, every line different.
std::wstring Words(int count) {
  std::wstring text;
  for (int i = 0; i < count; ++i) text += (i > 0 ? L" w" : L"w") + std::to_wstring(100 + i).substr(1) + L"x";
  return text;
}

// The range in lines set by the wrapping, and where ScrollToEnd goes from a
// position set without a cap before.
TEST_F(Memo, WrappingSetsTheRangeInLinesAndScrollToEndShowsTheLastPage) {
  CDXUTMemo* memo = NewMemo();
  CDXUTMemoScrollBar& bar = static_cast<CDXUTMemoScrollBar&>(memo->GetScrollBar());
  const struct { const char* name; std::wstring text; int rangeEnd, start, scrolled; } cases[] = {
      {"empty", L"", 0, 0, 0},
      {"exactly four lines fit", Words(8), 0, 0, 0},
      {"five lines", Words(10), 5, 0, 1},
      // Eleven lines: from the top the last page shows, as in the kitchen-sink picture.
      {"inside the last page stays", Words(22), 11, 8, 8},
      {"below the end comes back to the last line", Words(22), 11, 12, 10},
      {"line breaks count", L"a\nb\nc\nd\ne\nf", 6, 0, 2},
      {"a long word keeps its own line", L"abcdefghijklmnopqrstuvwxyz a b c d", 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    memo->SetText(c.text.c_str());
    EXPECT_EQ(std::pair(bar.GetTrackStart(), bar.GetTrackEnd()), std::pair(0, c.rangeEnd));
    EXPECT_EQ(bar.IsThumbShown(), c.rangeEnd > 4);
    bar.SetTrackPosUncapped(c.start);
    memo->ScrollToEnd();
    EXPECT_EQ(bar.GetTrackPos(), c.scrolled);
  }
  // A refused text leaves the old one and its range.
  memo->SetText(Words(10).c_str());
  memo->SetText(std::wstring(65535, L'x').c_str());
  EXPECT_EQ(std::wstring(memo->GetText()), Words(10));
  EXPECT_EQ(bar.GetTrackEnd(), 5);
}

}  // namespace

TEST_F(ChoiceControls, ComboFindsItemsByTheirWholeTextFromAStart) {
  CDXUTComboBox* box = Combo(3);
  box->AddItem(L"Item 1", nullptr);  // a second "Item 1" at index 3
  const struct { const wchar_t* text; int start, found; } cases[] = {
      {L"Item 1", 0, 1}, {L"Item 1", 2, 3}, {L"Item 0", 1, -1}, {L"item 1", 0, -1}, {L"Item", 0, -1},
      {L"Item 2", -1, -1}, {L"Item 2", 4, -1}, {nullptr, 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(box->FindItem(c.text, c.start), c.found) << (c.text ? c.text : L"(null)") << " from " << c.start;
    EXPECT_EQ(box->ContainsItem(c.text, c.start), c.found != -1);
  }
}
