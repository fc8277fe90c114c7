// The dialog base: countdown and expiry actions, the frame of the full
// constructor, the listener link.
#include <gtest/gtest.h>

#include "app/dialog_stack.h"
#include "dialogs/dialog.h"
#include "gui/dxut_frames.h"
#include "gui/gui_fixture.h"

namespace {

class TickingDialog : public cDialog {
 public:
  explicit TickingDialog(int id) : cDialog(id) {}
  void OnTimerTick(float elapsed) override { ticks.push_back(elapsed); }
  std::vector<float> ticks;
};

class DialogBase : public guitest::GuiTest {
 protected:
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    GuiTest::TearDown();
  }
};

TEST_F(DialogBase, CountdownOfZeroWithCloseActionClosesAtTheFirstFrame) {
  auto* below = new TickingDialog(1);
  PushDialog(below);
  auto* dialog = new TickingDialog(2);
  PushDialog(dialog);
  dialog->StartCountdown(0.0f, cDialog::kExpiryClose);
  dialog->UpdateTimer(0.016f);
  EXPECT_EQ(dialog->ticks, std::vector<float>{0.016f});
  EXPECT_EQ(g_DialogStack, std::vector<cDialog*>{below});
  EXPECT_EQ(g_pActiveDialog, below);
  EXPECT_TRUE(IsRetiredDialog(dialog));
}

TEST_F(DialogBase, NegativeOrStoppedCountdownDoesNotRunAndResumesWhereItStopped) {
  auto* dialog = new TickingDialog(3);
  PushDialog(dialog);
  dialog->UpdateTimer(1.0f);  // new dialogs: stopped, -1
  EXPECT_TRUE(dialog->ticks.empty());
  EXPECT_FLOAT_EQ(dialog->GetCountdown(), -1.0f);

  dialog->StartCountdown(2.0f, cDialog::kExpiryClose);
  dialog->UpdateTimer(0.5f);
  dialog->SetTimerStopped(true);
  dialog->UpdateTimer(5.0f);
  EXPECT_FLOAT_EQ(dialog->GetCountdown(), 1.5f);
  dialog->SetTimerStopped(false);
  dialog->UpdateTimer(1.0f);
  EXPECT_FLOAT_EQ(dialog->GetCountdown(), 0.5f);
  EXPECT_EQ(g_pActiveDialog, dialog);
  dialog->UpdateTimer(0.5f);  // exactly zero expires
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(dialog->ticks.size(), 3u);
}

TEST_F(DialogBase, HideAndShowActionsKeepTheDialogActiveAndRunOnlyOnce) {
  auto* dialog = new TickingDialog(4);
  PushDialog(dialog);
  dialog->StartCountdown(1.0f, cDialog::kExpiryHide);
  dialog->UpdateTimer(1.5f);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_EQ(g_pActiveDialog, dialog);
  EXPECT_FLOAT_EQ(dialog->GetCountdown(), -1.0f);
  EXPECT_FALSE(dialog->IsTimerStopped());
  dialog->Dialog().SetVisible(true);
  dialog->UpdateTimer(1.0f);  // expired: idle until a new countdown
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_EQ(dialog->ticks.size(), 1u);

  dialog->Dialog().SetVisible(false);
  dialog->StartCountdown(0.25f, cDialog::kExpiryShow);
  dialog->UpdateTimer(0.1f);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  dialog->UpdateTimer(0.2f);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_EQ(g_pActiveDialog, dialog);
}

TEST_F(DialogBase, FullConstructorAddsADraggableFrameOnlyForPositiveIds) {
  cDialog framed(630, 10, 20, 300, 200, 5, 1, 2, 3, 4);
  auto* frame = dynamic_cast<CDXUTFrame*>(framed.Dialog().GetControl(630));
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->GetDraggable());
  EXPECT_EQ(frame->GetX(), 10);
  EXPECT_EQ(frame->GetY(), 20);
  EXPECT_EQ(framed.GetStyleIndex(), 5);
  EXPECT_EQ(framed.GetSecondRect().right, 4);
  EXPECT_EQ(framed.GetSecondRect().bottom, 6);
  EXPECT_TRUE(framed.IsTimerStopped());
  EXPECT_EQ(framed.GetListener(), nullptr);

  cDialog bare(-3, 10, 20, 300, 200, 0, 0, 0, 0, 0);
  EXPECT_EQ(bare.Dialog().GetControlCount(), 0);
}

TEST_F(DialogBase, DeletedListenerIsTakenOffTheDialogsThatNamedIt) {
  auto* listener = new TickingDialog(5);
  auto* prompt = new TickingDialog(6);
  PushDialog(prompt);
  prompt->SetListener(listener);
  delete listener;
  EXPECT_EQ(prompt->GetListener(), nullptr);
}

}  // namespace
