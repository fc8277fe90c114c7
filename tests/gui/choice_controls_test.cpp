#include "gui/dxut_combobox.h"
#include "gui/dxut_scrollbar.h"
#include "gui_fixture.h"
#include "platform/clock.h"

#include <climits>

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

class ChoiceControls : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    LoadSounds({SND_COMBOBOX_CHANGED, SND_SLIDER_CHANGED});
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
  std::vector<Event> Combos(std::size_t n) const { return std::vector<Event>(n, Event{EVENT_COMBOBOX_SELECTION_CHANGED, 5}); }
};

TEST_F(ChoiceControls, ComboFirstItemIsSelectedAndReportedOnlyAsProgramEvent) {
  for (bool nonUser : {false, true}) {
    SCOPED_TRACE(nonUser);
    SetUp();
    CDXUTComboBox* box = Combo(0, nonUser);
    EXPECT_EQ(box->AddItem(L"First", nullptr), S_OK);
    EXPECT_EQ(box->GetSelectedIndex(), 0);
    EXPECT_EQ(box->GetFocusedIndex(), 0);
    EXPECT_EQ(box->AddItem(L"Second", nullptr), S_OK);
    EXPECT_EQ(box->GetSelectedIndex(), 0);
    EXPECT_EQ(Events(), Combos(nonUser ? 1 : 0));
    EXPECT_EQ(Plays(SND_COMBOBOX_CHANGED), 0u);  // a program event has no sound
    EXPECT_EQ(box->AddItem(nullptr, nullptr), E_INVALIDARG);
    const std::wstring longText(300, L'x');  // long texts are kept whole
    box->AddItem(longText.c_str(), nullptr);
    EXPECT_EQ(box->GetItem(2)->strText, longText);
    Render();
    EXPECT_EQ(renderer_.ClipRect(), nullptr);  // the cut is lifted at the end of the frame
    TearDown();
  }
}

TEST_F(ChoiceControls, ComboSelectByIndexRefusesWhatIsNotThere) {
  struct Case {
    int index;
    HRESULT result;
    int selected;
  };
  const Case cases[] = {{-1, E_INVALIDARG, 0}, {3, E_INVALIDARG, 0}, {2, S_OK, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    SetUp();
    CDXUTComboBox* box = Combo(3, true);
    EXPECT_EQ(box->SetSelectedByIndex(c.index), c.result);
    EXPECT_EQ(box->GetSelectedIndex(), c.selected);
    EXPECT_EQ(box->GetFocusedIndex(), c.selected);
    EXPECT_EQ(Events(), Combos(c.result == S_OK ? 1 : 0));
    TearDown();
  }
}

TEST_F(ChoiceControls, ComboHotkeyCyclesWithSoundButNotWhileOpenOrEmpty) {
  struct Case {
    const char* name;
    int items;
    int select;
    bool open;
    int expected;
    std::size_t events;
  };
  const Case cases[] = {
      {"last wraps to first", 3, 2, false, 0, 1},
      {"next", 3, 0, false, 1, 1},
      {"open list ignores it", 3, 1, true, 1, 0},
      {"empty box", 0, -1, false, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTComboBox* box = Combo(c.items);
    if (c.select >= 0) box->SetSelectedByIndex(c.select);
    if (c.open) {
      CDXUTDialog::RequestFocus(box);
      KeyDown(plat::kVkF1 + 3);
      ASSERT_TRUE(box->IsOpened());
    }
    Events().clear();
    EXPECT_TRUE(KeyUp('K'));
    EXPECT_EQ(box->GetSelectedIndex(), c.expected);
    EXPECT_EQ(Events(), Combos(c.events));
    EXPECT_EQ(Plays(SND_COMBOBOX_CHANGED), c.events);
    TearDown();
  }
}

TEST_F(ChoiceControls, SliderThumbPositionAndEmptyRanges) {
  struct Case {
    const char* name;
    int width, minimum, maximum, value;
    int thumbLeft;  // from the slider's left edge
    int valueAfter;
  };
  const Case cases[] = {
      {"middle", 120, 0, 100, 50, 55, 50},
      {"empty range", 120, 7, 7, 7, 5, 7},
      {"reversed range", 120, 10, 3, 50, 5, 3},
      {"track of 20 pixels", 20, 0, 100, 40, 5, 40},
      {"whole int range", 120, INT_MIN, INT_MAX, 0, 55, 0},
      {"at the top of int", 120, INT_MAX - 10, INT_MAX, INT_MAX, 105, INT_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTSlider* slider = nullptr;
    ASSERT_EQ(dialog_->AddSlider(9, 30, 40, c.width, 20, c.minimum, c.maximum, c.value, false, &slider), S_OK);
    EXPECT_EQ(slider->GetValue(), c.valueAfter);
    EXPECT_EQ(slider->GetThumbRect().left - 30, c.thumbLeft);
    EXPECT_EQ(slider->GetThumbRect().Width(), 10);
    // Dragging the thumb over an empty range or a track without room keeps
    // the value.
    const plat::RectI t = slider->GetThumbRect();
    Down(t.left + 2, 45);
    Move(t.left + 40, 45);
    Up(t.left + 40, 45);
    if (c.maximum <= c.minimum || c.width <= 20) {
      EXPECT_EQ(slider->GetValue(), c.valueAfter);
    }
    // Keys and track clicks at the ends of int stay inside the range.
    slider->HandleKeyboard({plat::kWmKeyDown, plat::kVkDown, 0});
    Down(30 + c.width - 1, 45);
    EXPECT_GE(slider->GetValue(), std::min(c.minimum, c.maximum));
    EXPECT_LE(slider->GetValue(), c.maximum);
    TearDown();
  }
}

TEST_F(ChoiceControls, SliderDragReleaseReportsOnceAndDropsFocus) {
  CDXUTSlider* slider = nullptr;
  dialog_->AddSlider(9, 0, 0, 120, 20, 0, 100, 50, false, &slider);
  Events().clear();
  EXPECT_TRUE(Down(57, 10));  // on the thumb (55..65)
  EXPECT_TRUE(slider->IsPressed());
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), slider);
  EXPECT_TRUE(Up(57, 10));
  EXPECT_EQ(slider->GetValue(), 50);
  EXPECT_EQ(Events(), std::vector<Event>(1, Event{EVENT_SLIDER_VALUE_CHANGED, 9}));
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), nullptr);
  EXPECT_FALSE(plat::GetInputState().HasCapture());

  // A drag by 20 pixels moves the value by 20; the track click steps by one.
  Events().clear();
  Down(57, 10);
  Move(77, 10);
  EXPECT_EQ(slider->GetValue(), 70);
  Up(77, 10);
  EXPECT_EQ(Events().size(), 2u);
  EXPECT_TRUE(Down(110, 10));
  EXPECT_EQ(slider->GetValue(), 71);
  EXPECT_FALSE(slider->IsPressed());

  // Keys send only real changes, each with its sound.
  CDXUTDialog::RequestFocus(slider);
  const std::pair<unsigned, int> keys[] = {
      {plat::kVkDown, 72}, {plat::kVkHome, 0}, {plat::kVkLeft, 0}, {plat::kVkEnd, 100}};
  for (const auto& [key, expected] : keys) {
    const int before = slider->GetValue();
    const std::size_t plays = Plays(SND_SLIDER_CHANGED);
    Events().clear();
    EXPECT_TRUE(KeyDown(key));
    EXPECT_EQ(slider->GetValue(), expected) << key;
    const std::size_t n = expected != before ? 1 : 0;
    EXPECT_EQ(Events(), std::vector<Event>(n, Event{EVENT_SLIDER_VALUE_CHANGED, 9})) << key;
    EXPECT_EQ(Plays(SND_SLIDER_CHANGED) - plays, n) << key;
  }
}

struct Bar {
  CDXUTScrollBar bar;
  explicit Bar(CDXUTDialog* dialog, int trackHeight, int items, int page) : bar(dialog) {
    dialog->InitControl(&bar);
    bar.SetLocation(0, 0);
    bar.SetSize(16, trackHeight + 32);
    bar.SetTrackRange(0, items);
    bar.SetPageSize(page);
  }
};

TEST_F(ChoiceControls, ScrollBarThumbSizeAndHiddenThumb) {
  struct Case {
    int track, items, page;
    bool shown;
    int thumb;
  };
  const Case cases[] = {{100, 1000, 10, true, 8}, {100, 20, 10, true, 50}, {100, 10, 10, false, 0},
                        {100, 0, 10, false, 0},   {100, 11, 10, true, 90},  {0, 50, 10, true, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    Bar b(dialog_.get(), c.track, c.items, c.page);
    EXPECT_EQ(b.bar.IsThumbShown(), c.shown);
    EXPECT_EQ(b.bar.GetThumbRect().Height(), c.thumb);
    if (!c.shown) {
      // Nothing to scroll: every message is refused.
      for (unsigned msg : {plat::kWmLButtonDown, plat::kWmMouseMove, plat::kWmLButtonUp}) {
        EXPECT_FALSE(b.bar.HandleMouse({msg, 0, 0}, POINT{5, 5}));
        EXPECT_FALSE(b.bar.HandleMouse({msg, 0, 0}, POINT{5, 60}));
      }
      EXPECT_FALSE(plat::GetInputState().HasCapture());
      EXPECT_EQ(b.bar.GetTrackPos(), 0);
    } else if (c.track > c.thumb) {
      // Dragging the thumb to the bottom of the track reaches the last page.
      const plat::RectI t = b.bar.GetThumbRect();
      EXPECT_TRUE(b.bar.HandleMouse({plat::kWmLButtonDown, 0, 0}, POINT{5, t.top}));
      EXPECT_TRUE(b.bar.HandleMouse({plat::kWmMouseMove, 0, 0}, POINT{5, 1000}));
      EXPECT_EQ(b.bar.GetTrackPos(), c.items - c.page);
      b.bar.HandleMouse({plat::kWmLButtonUp, 0, 0}, POINT{5, 1000});
      EXPECT_EQ(CDXUTScrollBar::GetDragging(), nullptr);
    }
  }
}

TEST_F(ChoiceControls, ScrollBarArrowRepeatsAfterDelayThenSteadily) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  clock.Advance(1000);
  Bar b(dialog_.get(), 100, 100, 10);
  const POINT down{5, 120};  // the down button: y 116..132
  const POINT track{5, 80};
  EXPECT_TRUE(b.bar.HandleMouse({plat::kWmLButtonDown, 0, 0}, down));
  EXPECT_EQ(b.bar.GetTrackPos(), 1);  // once at the press
  struct Step {
    int advance;
    POINT at;
    int position;
  };
  const Step steps[] = {
      {329, down, 1},  {1, down, 1},   {1, down, 2},    // more than 0.33 s
      {50, down, 2},   {1, down, 3},   {51, down, 4},   // then every 0.05 s
      {51, track, 4},  {200, track, 4},                 // off the button: stops
      {0, down, 5},    {51, down, 6},                   // back on it: goes on
  };
  for (const Step& s : steps) {
    clock.Advance(s.advance);
    b.bar.HandleMouse({plat::kWmMouseMove, 0, 0}, s.at);
    b.bar.Render(0.0f);
    EXPECT_EQ(b.bar.GetTrackPos(), s.position) << "after " << clock.TickCount();
  }
  b.bar.HandleMouse({plat::kWmLButtonUp, 0, 0}, down);
  clock.Advance(500);
  b.bar.Render(0.0f);
  EXPECT_EQ(b.bar.GetTrackPos(), 6);
  EXPECT_FALSE(plat::GetInputState().HasCapture());
}

}  // namespace
