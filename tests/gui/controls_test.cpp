// The dialog and its simple controls: buttons, labels, radio buttons,
// progress bars, tab frames, dragging and the hint text.
#include <memory>

#include "app/draw_objects.h"
#include "app/hoverable.h"
#include "app/texture.h"
#include "gui_fixture.h"
#include "platform/clock.h"

namespace {

using guitest::Event;
using guitest::Events;

using Controls = guitest::GuiTest;

TEST_F(Controls, ButtonClicksOnlyOnPressAndReleaseInside) {
  // A press and a release, at points relative to the dialog, on a button at
  // (100, 100, 80 x 30); the dialog sits at (10, 20).
  const struct { const char* name; unsigned press; int pressX, releaseX, releaseY; bool enabled; std::size_t clicks; }
      cases[] = {
          {"inside", plat::kWmLButtonDown, 110, 170, 125, true, 1},
          {"release outside", plat::kWmLButtonDown, 110, 300, 110, true, 0},
          {"press outside", plat::kWmLButtonDown, 90, 110, 110, true, 0},
          {"double-click presses", plat::kWmLButtonDblClk, 110, 110, 110, true, 1},
          {"disabled", plat::kWmLButtonDown, 110, 110, 110, false, 0},
      };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    dialog_->SetLocation(10, 20);
    CDXUTButton* button = nullptr;
    ASSERT_EQ(dialog_->AddButton(7, L"OK", 100, 100, 80, 30, 0, false, &button), S_OK);
    button->SetEnabled(c.enabled);
    Send(c.press, c.pressX + 10, 110 + 20, plat::kMkLButton);
    Up(c.releaseX + 10, c.releaseY + 20);
    EXPECT_EQ(Events(), std::vector<Event>(c.clicks, Event{EVENT_BUTTON_CLICKED, 7}));
    EXPECT_EQ(std::tuple(Plays(SND_BUTTON_CLICK), button->IsPressed(), plat::GetInputState().HasCapture()),
              std::tuple(c.clicks, false, false));
  }
}

// An edit-type control (type 8) standing in for the edit box: it takes the
// focus and leaves all keys alone.
struct FakeEditBox : CDXUTControl {
  explicit FakeEditBox(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_EDITBOX; }
  bool CanHaveFocus() override { return true; }
};

TEST_F(Controls, HotkeysFireOnKeyUpOnlyAndNotWhileAnEditBoxHasTheFocus) {
  dialog_->AddButton(7, L"OK", 0, 0, 50, 20, 'K');
  dialog_->AddButton(8, L"Hidden", 0, 30, 50, 20, 'H');
  dialog_->GetControl(8)->SetVisible(false);
  CDXUTCheckBox* check = nullptr;
  dialog_->AddCheckBox(9, L"Check", 0, 60, 50, 20, false, 'C', false, &check);
  const struct { unsigned msg, key; std::vector<Event> events; } cases[] = {
      {plat::kWmKeyDown, 'K', {}},
      {plat::kWmKeyUp, 'K', {{EVENT_BUTTON_CLICKED, 7}}},
      {plat::kWmKeyUp, 'H', {}},  // hidden controls have no hotkey
      {plat::kWmKeyUp, 'C', {{EVENT_CHECKBOX_CHANGED, 9}}},
      {plat::kWmKeyUp, 'X', {}},
  };
  for (const auto& c : cases) {
    Events().clear();
    dialog_->MsgProc({c.msg, c.key, 0});
    EXPECT_EQ(Events(), c.events) << static_cast<char>(c.key) << " " << c.msg;
  }
  EXPECT_TRUE(check->GetChecked());

  CDXUTControl* edit = dialog_->AddControl(std::make_unique<FakeEditBox>(dialog_.get()));
  CDXUTDialog::RequestFocus(edit);
  Events().clear();
  EXPECT_FALSE(KeyUp('K'));
  EXPECT_TRUE(Events().empty());
}

TEST_F(Controls, DisabledStaticLetsTheClickThroughToTheButtonBelow) {
  dialog_->AddButton(7, L"OK", 0, 0, 100, 30);
  CDXUTStatic* label = nullptr;
  dialog_->AddStatic(20, L"Label", 0, 0, 100, 30, false, &label);
  EXPECT_FALSE(label->GetEnabled());  // factories make labels disabled
  Click(10, 10);
  EXPECT_EQ(Events(), (std::vector<Event>{{EVENT_BUTTON_CLICKED, 7}}));
  // Enabled, the label is found first and takes the click, which does
  // nothing (the button, focused by the first click, would see it first).
  Events().clear();
  CDXUTDialog::ClearFocus();
  label->SetEnabled(true);
  EXPECT_EQ(dialog_->GetControlAtPoint({10, 10}), label);
  Click(10, 10);
  EXPECT_TRUE(Events().empty());
}

// A greyed control says why: its hint shows under the mouse, but it takes no
// click; a label without a hint still lets the mouse through. Panels see
// each mouse move in turn: the one the mouse leaves must not take away the
// hint the one it entered has just set.
TEST_F(Controls, DisabledControlShowsItsHintButTakesNoClick) {
  CDXUTButton* below = nullptr;
  CDXUTButton* greyed = nullptr;
  dialog_->AddButton(7, L"OK", 0, 0, 100, 30, 0, false, &below);
  dialog_->AddStatic(20, L"Label", 0, 0, 100, 30);
  CDXUTDialog other;
  other.SetCallback(guitest::RecordEvent);
  other.AddButton(8, L"Unload", 0, 40, 100, 30, 0, false, &greyed);
  below->SetHint(L"close");
  greyed->SetHint(L"Only in port");
  greyed->SetEnabled(false);
  const auto move = [&](int y) {
    other.MsgProc({plat::kWmMouseMove, 0, plat::MakeMouseLParam(10, y)});
    Move(10, y);
  };
  move(10);
  EXPECT_EQ(g_HintText.GetControl(), below);
  move(50);
  EXPECT_EQ(g_HintText.GetControl(), greyed);
  EXPECT_STREQ(g_HintText.GetText(), L"Only in port");
  other.MsgProc({plat::kWmLButtonDown, plat::kMkLButton, plat::MakeMouseLParam(10, 50)});
  other.MsgProc({plat::kWmLButtonUp, 0, plat::MakeMouseLParam(10, 50)});
  EXPECT_TRUE(Events().empty());
  other.RemoveAllControls();
}

TEST_F(Controls, RadioGroupAndReclickOfTheCheckedButton) {
  CDXUTRadioButton *a = nullptr, *b = nullptr, *other = nullptr;
  dialog_->AddRadioButton(1, 5, L"A", 0, 0, 100, 20, true, 0, false, &a);
  dialog_->AddRadioButton(2, 5, L"B", 0, 30, 100, 20, false, 0, false, &b);
  dialog_->AddRadioButton(3, 6, L"Other", 0, 60, 100, 20, true, 0, false, &other);
  EXPECT_TRUE(Events().empty());  // program-made changes, non-user events off
  // Clicked again while checked: still checked, and reported again.
  Click(5, 35);
  Click(5, 35);
  EXPECT_EQ(std::tuple(a->GetChecked(), b->GetChecked(), other->GetChecked()), std::tuple(false, true, true));
  EXPECT_EQ(Events(), (std::vector<Event>(2, Event{EVENT_RADIOBUTTON_CHANGED, 2})));
  EXPECT_EQ(Plays(SND_RADIOBUTTON_CHANGED), 2u);
}

TEST_F(Controls, LayoutFactoriesPlaceByIdAndBoundCheckTheTableAndProgressBarsClamp) {
  g_GuiLayout[200] = {40, 50, 60, 20};
  CDXUTButton* button = nullptr;
  dialog_->AddButtonFromLayout(200, L"A", L"hint a", 0, &button);
  EXPECT_EQ(std::pair(button->GetBoundingBox().right, button->GetBoundingBox().bottom), std::pair(100, 70));
  twtest::LogCapture log;
  for (int id : {-1, kLayoutEntries, 1 << 30}) {
    CDXUTStatic* label = nullptr;
    EXPECT_EQ(dialog_->AddStaticFromLayout(id, L"x", &label), S_OK);
    EXPECT_EQ(label->GetBoundingBox().Width(), 0);
  }
  EXPECT_EQ(log.Lines().size(), 3u);
  g_GuiLayout[kLayoutEntries - 1] = {1, 2, 3, 4};
  CDXUTProgressBar* bar = nullptr;
  dialog_->AddProgressBarFromLayout(kLayoutEntries - 1, 0, 10, 99, &bar);
  EXPECT_EQ(std::pair(bar->GetBoundingBox().right, bar->GetValue()), std::pair(4, 10));  // clamped
  bar->SetValue(-7);
  EXPECT_EQ(bar->GetValue(), 0);
  bar->SetRange(7, 7);  // an empty range fills nothing, instead of dividing by zero
  EXPECT_EQ(bar->GetFillWidth(), 0);
}

// The controls' pictures (caps, middles, fills in each state) are covered by
// the kitchen-sink golden picture; here what no picture shows.
using Drawing = guitest::GuiTest;

TEST_F(Drawing, ResourceManagerSharesFontNodesByFaceHeightAndWeight) {
  CDXUTDialogResourceManager& manager = GetGlobalDialogResourceManager();
  CDXUTDialog other;
  // Both dialogs bound the same eight fonts and the one sheet.
  EXPECT_EQ(dialog_->GetFontIndex(1), other.GetFontIndex(1));
  EXPECT_EQ(dialog_->GetTextureIndex(0), other.GetTextureIndex(0));
  const int before = manager.FontCount();
  dialog_->SetFont(5, L"ARIAL", guitest::kFontHeight, 400);  // case does not matter
  EXPECT_EQ(manager.FontCount(), before);
  other.SetFont(5, L"Arial", guitest::kFontHeight, 700);     // another weight
  EXPECT_EQ(manager.FontCount(), before + 1);
  EXPECT_NE(dialog_->GetFontIndex(5), other.GetFontIndex(5));
  dialog_->SetFont(9, L"Tahoma", 12, 400);  // grows the slots with unbound ones
  EXPECT_EQ(dialog_->GetFont(8), nullptr);
  EXPECT_EQ(dialog_->GetTexture(0)->Width(), 2048);
  EXPECT_EQ(manager.AddTexture(L"DATA\\GFX\\gui.png"), dialog_->GetTextureIndex(0));
}

using TabFrame = guitest::GuiTest;

TEST_F(TabFrame, HeaderHitTestAndSelectTabClampsAndReportsWhenAsked) {
  // Three tabs of two buttons each: captions of 24, 24 and 40 pixels give
  // headers 44, 44 and 60 wide.
  g_GuiLayout[400] = {0, 0, 400, 200};
  for (int id = 401; id <= 406; ++id) dialog_->AddButton(id, L"", 0, 100, 10, 10);
  CDXUTTabFrame* tabs = nullptr;
  dialog_->AddTabFrameFromLayout(400, &tabs);
  tabs->AddTab(L"One", 10, 401, 402);
  tabs->AddTab(L"Two", 20, 403, 404);
  tabs->AddTab(L"Three", 30, 405, 406);
  // A click at (x, y): consumed or not, the tab selected after it, the events sent.
  const struct { int x, y; bool consumed; int selected; std::size_t events; } clicks[] = {
      {43, 5, true, 0, 1},    // inside the first header (even when already selected)
      {44, 5, true, 1, 1},    // exactly caption width + 20: the second
      {88, 5, true, 2, 1},    // 44 + 44
      {147, 5, true, 2, 1},   // last pixel of the third
      {148, 5, true, 2, 0},   // right of the last header: consumed, no change
      {10, 30, false, 2, 0},  // below the strip
  };
  for (const auto& c : clicks) {
    Events().clear();
    const bool consumed = Click(c.x, c.y);
    EXPECT_EQ(std::tuple(consumed, tabs->GetSelectedTab(), Events().size()),
              std::tuple(c.consumed, c.selected, c.events)) << c.x;
  }
  // Selected by the program: clamped, reported when asked.
  const struct { int index; bool send; int selected; } selects[] = {{7, false, 2}, {-4, true, 0}, {1, true, 1}};
  for (const auto& c : selects) {
    Events().clear();
    tabs->SelectTab(c.index, c.send);
    EXPECT_EQ(tabs->GetSelectedTab(), c.selected) << c.index;
    EXPECT_EQ(Events(), std::vector<Event>(c.send ? 1 : 0, Event{EVENT_TABFRAME_CHANGED, 400})) << c.index;
  }
  for (int id = 401; id <= 406; ++id) EXPECT_EQ(dialog_->GetControl(id)->GetVisible(), id == 403 || id == 404) << id;
  EXPECT_EQ(tabs->GetSelectedTab(-2), -1);
  tabs->RemoveAllTabs();
  EXPECT_EQ(tabs->GetSelectedTab(), -1);
  tabs->SelectTab(1, true);  // no tabs: nothing
  EXPECT_EQ(tabs->GetSelectedTab(), -1);
}

using DialogCore = guitest::GuiTest;

// Drag moves of a draggable frame (id 1, no layout group) pressed at
// (50, 50): the offsets of the frame after each move.
// A control takes its type's default elements when it is added: a changed
// default is found again and reaches the controls added after the change.
TEST_F(DialogCore, DefaultElementsAreFoundByTypeAndIndex) {
  CDXUTElement* shipped = dialog_->GetDefaultElement(DXUT_CONTROL_BUTTON, 0);
  ASSERT_NE(shipped, nullptr);
  EXPECT_EQ(dialog_->GetDefaultElement(DXUT_CONTROL_BUTTON, 99), nullptr);
  EXPECT_EQ(dialog_->GetDefaultElement(9999, 0), nullptr);

  CDXUTElement changed = *shipped;
  changed.rcTexture = {1, 2, 30, 40};
  changed.iFont = 3;
  ASSERT_EQ(dialog_->SetDefaultElement(DXUT_CONTROL_BUTTON, 0, &changed), S_OK);
  const CDXUTElement* found = dialog_->GetDefaultElement(DXUT_CONTROL_BUTTON, 0);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(std::tuple(found->rcTexture.left, found->rcTexture.bottom, found->iFont), std::tuple(1, 40, 3u));

  CDXUTButton* button = nullptr;
  ASSERT_EQ(dialog_->AddButton(7, L"OK", 0, 0, 80, 30, 0, false, &button), S_OK);
  ASSERT_NE(button->GetElement(0), nullptr);
  EXPECT_EQ(std::tuple(button->GetElement(0)->rcTexture.right, button->GetElement(0)->iFont), std::tuple(30, 3u));
}

TEST_F(DialogCore, DragStartsBeyondFivePixelsAndMovesInStepsOfFive) {
  const struct { const char* name; int pressX; std::vector<std::pair<int, int>> moves; int endX, endY; bool released; }
      cases[] = {
      {"9 px does nothing", 50, {{59, 50}}, 0, 0, false},
      {"10 px moves by 10", 50, {{60, 50}}, 10, 0, true},
      {"then steps of 5", 50, {{60, 50}, {64, 50}, {66, 52}}, 15, 0, true},
      {"upwards", 50, {{50, 38}}, 0, -10, true},
      {"a press at x 0 never drags", 0, {{20, 0}, {40, 0}}, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    CDXUTFrame* frame = nullptr;
    dialog_->AddFrame(1, 0, 0, 200, 200, 2, &frame);
    frame->SetDraggable(true);
    frame->SetEnabled(false);  // frames never take the mouse themselves
    Move(c.pressX, 50);
    ASSERT_EQ(dialog_->GetMouseOverControl(), frame);
    Down(c.pressX, 50);
    for (auto [x, y] : c.moves) Move(x, y);
    EXPECT_EQ(std::pair(frame->GetX(), frame->GetY()), std::pair(c.endX, c.endY));
    EXPECT_EQ(Up(c.pressX, 50), c.released);
    EXPECT_EQ(std::pair(CDXUTDialog::PanelDrag().startX, Events().empty()), std::pair(0, true));
  }
}

TEST_F(DialogCore, RemovingFocusedAndHoveredControlsLeavesNoDanglingState) {
  CDXUTButton* button = nullptr;
  dialog_->AddButton(5, L"x", 0, 0, 50, 50, 0, false, &button);
  button->SetHint(L"press me");
  Move(10, 10);
  EXPECT_EQ(g_HintText.GetControl(), button);
  EXPECT_STREQ(g_HintText.GetText(), L"press me");
  Down(10, 10);
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), button);
  dialog_->RemoveControl(5);
  EXPECT_EQ(std::tuple(CDXUTDialog::GetFocusControl(), dialog_->GetMouseOverControl(), g_HintText.GetControl()),
            std::tuple(nullptr, nullptr, nullptr));
  EXPECT_EQ(g_HintText.GetText(), nullptr);
  EXPECT_FALSE(Up(10, 10));
  dialog_->RemoveControl(5);  // nothing left to remove
}

// --- the hint text -------------------------------------------------------

// A tooltip of 50 x 40 that notes where it is drawn.
struct Tooltip final : cHoverable {
  void GetTooltipSize(int& width, int& height) override { width = 50; height = 40; }
  void DrawTooltip(float x, float y) override { drawn.emplace_back(x, y); }
  std::vector<std::pair<float, float>> drawn;
};

class HintText : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    renderer_.SetScreenSize(800, 600);
    font_ = renderer_.CreateFont(L"Tahoma", 10, 400);  // 5 pixels a character
    g_GuiFonts[0].font = font_.get();
    g_pSprite = &sprite_;
    hint_.Init(16, 20, 500, nullptr);
  }
  void TearDown() override {
    g_pSprite = nullptr;
    g_GuiFonts[0].font = nullptr;
    plat::SetClock(nullptr);
  }
  // One frame after ms milliseconds; true when the hint text was drawn.
  bool Frame(int ms) {
    clock_.Advance(ms);
    renderer_.records.clear();
    hint_.OnFrameRender();
    return !renderer_.Texts().empty();
  }

  plat::ManualClock clock_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  std::unique_ptr<plat::Font> font_;
  plat::SpriteBatch sprite_{renderer_};
  cHintText hint_;
};

TEST_F(HintText, BoxFlipsAtTheRightAndBottomEdges) {
  Tooltip tooltip;
  hint_.SetAnchor(&tooltip);
  hint_.Draw(100, 100);
  hint_.Draw(790, 590);  // 806 + 50 > 800 and 610 + 40 > 600
  hint_.Draw(734, 100);  // 750 + 50 stays on screen
  EXPECT_EQ(tooltip.drawn, (std::vector<std::pair<float, float>>{{116, 120}, {790 - 50, 590 - 40}, {750, 120}}));

  // A text box flips the same way: frame pieces of the GUI sheet
  // around the text, which sits inside the margin.
  g_Textures[2].Create(256, 2048);
  hint_.SetText(L"abcd");
  renderer_.records.clear();
  hint_.Draw(780, 10);
  g_Textures[2].Release();
  ASSERT_EQ(renderer_.Texts().size(), 1u);
  const plat::PointF text = renderer_.Texts()[0]->corners[0];
  EXPECT_EQ(std::pair(text.x, text.y), std::pair(780.0f - 30 + 5, 30.0f + 5));
  // A 30 x 20 box: the middle row of pieces has no height and is left out.
  const auto quads = renderer_.Quads();
  ASSERT_EQ(quads.size(), 6u);
  EXPECT_FLOAT_EQ(quads[0]->corners[0].x, 750);
  const plat::PointF corner = quads[5]->corners[2];  // the bottom-right piece
  EXPECT_EQ(std::pair(corner.x, corner.y), std::pair(780.0f, 50.0f));
}

TEST_F(HintText, DelayAndTheSameControlTwice) {
  CDXUTControl control;
  control.SetID(7);
  control.SetHint(L"hello");
  hint_.SetControl(&control);
  EXPECT_FALSE(Frame(300));
  EXPECT_EQ(hint_.GetWaited(), 300);
  // The same control again keeps the time running.
  hint_.SetControl(&control);
  EXPECT_EQ(std::pair(hint_.GetWaited(), std::wstring(hint_.GetText())), std::pair(300, std::wstring(L"hello")));
  EXPECT_FALSE(Frame(300));  // reaches 600 >= 500: shown from the next frame
  EXPECT_TRUE(Frame(16));
  EXPECT_EQ(hint_.GetRunningTime(), 616);
  // Forcing the control takes its hint anew: none clears the waited time.
  control.SetHint(nullptr);
  hint_.SetControl(&control, true);
  EXPECT_EQ(std::pair(hint_.GetText(), hint_.GetWaited()), std::pair(static_cast<const wchar_t*>(nullptr), 0));
  EXPECT_FALSE(Frame(1000));
  EXPECT_EQ(hint_.GetWaited(), 0);
}

}  // namespace
