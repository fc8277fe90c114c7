// The dialog's routing: panel dragging in 5-pixel steps, focus cycling,
// removal of focused and hovered controls, visibility, caption, and the
// deferred deletion of closed game dialogs.
#include "app/dialog_stack.h"
#include "app/input_routing.h"
#include "dialogs/dialog.h"
#include "gui_fixture.h"

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

class DialogCore : public GuiTest {};

// Drag moves of a draggable frame (id 1, no layout group) pressed at
// (50, 50): the offsets of the frame after each move.
TEST_F(DialogCore, DragStartsBeyondFivePixelsAndMovesInStepsOfFive) {
  struct Case {
    const char* name;
    int pressX;
    std::vector<std::pair<int, int>> moves;
    int endX, endY;
    bool releaseConsumed;
  } cases[] = {
      {"9 px does nothing", 50, {{59, 50}}, 0, 0, false},
      {"10 px moves by 10", 50, {{60, 50}}, 10, 0, true},
      {"then steps of 5", 50, {{60, 50}, {64, 50}, {66, 52}}, 15, 0, true},
      {"upwards", 50, {{50, 38}}, 0, -10, true},
      {"a press at x 0 never drags", 0, {{20, 0}, {40, 0}}, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    CDXUTFrame* frame = nullptr;
    dialog_->AddFrame(1, 0, 0, 200, 200, 2, &frame);
    frame->SetDraggable(true);
    frame->SetEnabled(false);  // frames never take the mouse themselves
    Move(c.pressX, 50);
    ASSERT_EQ(dialog_->GetMouseOverControl(), frame);
    Down(c.pressX, 50);
    for (auto [x, y] : c.moves) Move(x, y);
    EXPECT_EQ(frame->GetX(), c.endX);
    EXPECT_EQ(frame->GetY(), c.endY);
    EXPECT_EQ(Up(c.pressX, 50), c.releaseConsumed);
    EXPECT_EQ(CDXUTDialog::PanelDrag().startX, 0);
    EXPECT_TRUE(Events().empty());
    TearDown();
  }
}

TEST_F(DialogCore, DragOfAGroupHeadMovesTheGroupAndRecordsTheLayout) {
  CDXUTButton* head = nullptr;
  dialog_->AddButton(252, L"", 100, 100, 50, 20, 0, false, &head);
  dialog_->AddButton(253, L"", 100, 130, 50, 20);
  dialog_->AddButton(259, L"", 100, 160, 50, 20);  // not in the group
  head->SetDraggable(true);
  Move(110, 110);
  Down(110, 110);
  EXPECT_TRUE(Move(130, 95));
  Up(130, 95);
  EXPECT_EQ(head->GetX(), 120);
  EXPECT_EQ(head->GetY(), 85);
  EXPECT_EQ(dialog_->GetControl(253)->GetX(), 120);
  EXPECT_EQ(dialog_->GetControl(259)->GetX(), 100);
  EXPECT_EQ(g_GuiLayout[252].a, 120);
  EXPECT_EQ(g_GuiLayout[252].c, 50);
  // The drag swallowed the release: the head was pressed but did not click.
  EXPECT_TRUE(Events().empty());
}

TEST_F(DialogCore, FocusCyclesWithTabShiftTabAndArrowsSkippingUnfocusable) {
  dialog_->AddButton(1, L"a", 0, 0, 10, 10, 0, true);
  dialog_->AddStatic(2, L"label", 0, 20, 10, 10);
  dialog_->AddButton(3, L"b", 0, 40, 10, 10);
  dialog_->AddCheckBox(4, L"c", 0, 60, 10, 10);
  auto focusId = [] { return CDXUTDialog::GetFocusControl() ? CDXUTDialog::GetFocusControl()->GetID() : -1; };
  struct Step {
    unsigned key;
    bool shift;
    int focus;
  } steps[] = {
      {plat::kVkTab, false, 1},  // no focus yet: the default control
      {plat::kVkTab, false, 3},  {plat::kVkTab, false, 4}, {plat::kVkTab, false, 1},  // wraps
      {plat::kVkTab, true, 4},   {plat::kVkLeft, false, 3}, {plat::kVkDown, false, 4},
      {plat::kVkRight, false, 1}, {plat::kVkUp, false, 4},
  };
  for (const Step& s : steps) {
    plat::GetInputState().SetKeyDown(plat::kVkShift, s.shift);
    EXPECT_TRUE(KeyDown(s.key));
    EXPECT_EQ(focusId(), s.focus) << s.key << (s.shift ? " shift" : "");
  }
  EXPECT_TRUE(dialog_->GetControl(4)->HasFocus());
  EXPECT_FALSE(dialog_->GetControl(1)->HasFocus());
  // Without keyboard input the dialog ignores keys.
  dialog_->EnableKeyboardInput(false);
  EXPECT_FALSE(KeyDown(plat::kVkTab));
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
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), nullptr);
  EXPECT_EQ(dialog_->GetMouseOverControl(), nullptr);
  EXPECT_EQ(g_HintText.GetControl(), nullptr);
  EXPECT_EQ(g_HintText.GetText(), nullptr);
  EXPECT_FALSE(Up(10, 10));
  dialog_->RemoveControl(5);  // nothing left to remove
}

TEST_F(DialogCore, InvisibleOrMinimizedDialogFindsNothingAndHidingClearsTheHint) {
  CDXUTButton* button = nullptr;
  dialog_->AddButton(5, L"x", 0, 0, 50, 50, 0, false, &button);
  button->SetHint(L"hint");
  Move(10, 10);
  dialog_->SetVisible(false);
  EXPECT_EQ(g_HintText.GetControl(), nullptr);
  EXPECT_EQ(dialog_->GetControlAtPoint({10, 10}), nullptr);
  EXPECT_FALSE(Down(10, 10));
  dialog_->SetVisible(true);
  dialog_->SetMinimized(true);
  EXPECT_EQ(dialog_->GetControlAtPoint({10, 10}), nullptr);
  EXPECT_EQ(dialog_->GetMouseOverControl(), nullptr);
  EXPECT_FALSE(Down(10, 10));
  EXPECT_TRUE(Events().empty());
}

TEST_F(DialogCore, CaptionClickTogglesMinimizedAndShiftsControlsDown) {
  dialog_->SetLocation(100, 100);
  dialog_->SetSize(200, 100);
  dialog_->EnableCaption(true);
  dialog_->AddButton(5, L"x", 0, 0, 50, 20);
  // The button sits under the 18-pixel caption bar.
  Down(110, 120);
  Up(110, 120);
  EXPECT_EQ(Events(), (std::vector<Event>{{EVENT_BUTTON_CLICKED, 5}}));
  EXPECT_TRUE(Down(150, 105));
  EXPECT_TRUE(plat::GetInputState().HasCapture());
  EXPECT_TRUE(Up(150, 105));
  EXPECT_TRUE(dialog_->GetMinimized());
  EXPECT_FALSE(plat::GetInputState().HasCapture());
}

// --- deferred deletion of closed game dialogs ----------------------------

int g_Destroyed = 0;

// A game dialog whose OK button closes it from inside its own event handler.
class ClosingDialog : public cDialog {
 public:
  ClosingDialog() : cDialog(42) { dialog_.AddButton(1, L"OK", 0, 0, 50, 20); }
  ~ClosingDialog() override { ++g_Destroyed; }
  void OnGUIEvent(unsigned event, int id, CDXUTControl* control) override {
    handled.push_back({event, id});
    PopDialogs(1);
    // Still alive here: the handler may touch its own state and controls.
    handled.push_back({event, control->GetID()});
  }
  std::vector<Event> handled;
};

TEST_F(DialogCore, DialogClosedByItsOwnHandlerIsFreedAtTheEndOfTheFrame) {
  g_Destroyed = 0;
  auto* dialog = new ClosingDialog;
  PushDialog(dialog);
  bool done = false;
  ::MsgProc({plat::kWmLButtonDown, plat::kMkLButton, plat::MakeMouseLParam(5, 5)}, done);
  ::MsgProc({plat::kWmLButtonUp, 0, plat::MakeMouseLParam(5, 5)}, done);
  EXPECT_TRUE(done);
  EXPECT_EQ(dialog->handled, (std::vector<Event>{{EVENT_BUTTON_CLICKED, 1}, {EVENT_BUTTON_CLICKED, 1}}));
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(g_pActiveDialog, nullptr);
  EXPECT_TRUE(IsRetiredDialog(dialog));
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_EQ(g_Destroyed, 0);
  DeleteRetiredDialogs();
  EXPECT_EQ(g_Destroyed, 1);
  DeleteRetiredDialogs();
  EXPECT_EQ(g_Destroyed, 1);
}

TEST_F(DialogCore, RetiredDialogDeletedDirectlyIsNotFreedTwice) {
  g_Destroyed = 0;
  auto* dialog = new ClosingDialog;
  dialog->Close();
  dialog->Close();  // a second close retires nothing more
  delete dialog;
  DeleteRetiredDialogs();
  EXPECT_EQ(g_Destroyed, 1);
}

}  // namespace
