#include <gtest/gtest.h>

#include "dialogs/dialog_stack.h"
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

TEST_F(DialogBase, DeletedListenerIsTakenOffTheDialogsThatNamedIt) {
  auto* listener = new TickingDialog(5);
  auto* prompt = new TickingDialog(6);
  PushDialog(prompt);
  prompt->SetListener(listener);
  delete listener;
  EXPECT_EQ(prompt->GetListener(), nullptr);
}

}  // namespace
