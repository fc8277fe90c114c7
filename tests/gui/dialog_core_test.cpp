#include "dialogs/dialog_stack.h"
#include "frame/input_routing.h"
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
