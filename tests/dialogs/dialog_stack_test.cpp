#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "gui/hint_text.h"
#include "app/hoverable.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"

namespace {

using Events = std::vector<std::string>;
using Stack = std::vector<cDialog*>;

// Records its closes and reactivations into a shared list.
struct sRecordingDialog : cDialog {
  sRecordingDialog(int id, std::string name, Events& events) : cDialog(id), name(std::move(name)), events(events) {}
  void Close() override {
    events.push_back("close " + name);
    cDialog::Close();
  }
  void OnReactivate() override { events.push_back("reactivate " + name); }
  std::string name;
  Events& events;
};

struct sHoverProbe : cHoverable {
  void GetTooltipSize(int& width, int& height) override { width = height = 1; }
  void DrawTooltip(float, float) override {}
};

class DialogStack : public ::testing::Test {
 protected:
  void SetUp() override {
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }

  cDialog* Push(int id, const std::string& name, int offset = 0) {
    auto* dialog = new sRecordingDialog(id, name, events_);
    PushDialog(dialog, offset);
    return dialog;
  }
  // Sets input state that belongs to the top dialog.
  void DirtyInputState() {
    g_HintText.SetMouseButtons(3);
    g_HintText.SetControl(&control_);
    CDXUTDialog::PanelDrag() = {40, 50, true};
  }
  void ExpectInputStateReset() {
    EXPECT_EQ(g_HintText.GetMouseButtons(), 0u);
    EXPECT_EQ(g_HintText.GetControl(), nullptr);
    EXPECT_EQ(CDXUTDialog::PanelDrag().startX, 0);
    EXPECT_FALSE(CDXUTDialog::PanelDrag().dragging);
  }

  Events events_;
  CDXUTControl control_;
};

TEST_F(DialogStack, PushPlacesByOffsetAndResetsInput) {
  cDialog* a = Push(1, "a");
  sHoverProbe anchor;
  g_HintText.SetAnchor(&anchor);
  DirtyInputState();
  cDialog* b = Push(2, "b");
  ExpectInputStateReset();
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
  cDialog* c = Push(3, "c", -1);
  cDialog* d = Push(4, "d", -10);  // clamped to the bottom
  EXPECT_EQ(g_DialogStack, (Stack{d, a, c, b}));
  EXPECT_EQ(g_pActiveDialog, b);
  DirtyInputState();
  PushDialog(nullptr, 0);  // only resets input
  ExpectInputStateReset();
  cDialog* e = Push(5, "e", 3);  // a positive offset cannot pass the top
  EXPECT_EQ(g_DialogStack, (Stack{d, a, c, b, e}));
  EXPECT_EQ(g_pActiveDialog, e);
  EXPECT_TRUE(events_.empty());
}

TEST_F(DialogStack, PopClosesTopFirstAndReactivatesEachNewTop) {
  Push(1, "a");
  Push(2, "b");
  cDialog* c = Push(3, "c");
  for (int count : {0, -5}) {  // only resets input
    DirtyInputState();
    PopDialogs(count);
    ExpectInputStateReset();
  }
  EXPECT_EQ(g_DialogStack.size(), 3u);
  EXPECT_EQ(g_pActiveDialog, c);
  PopDialogs(-1);
  EXPECT_EQ(events_, (Events{"close c", "reactivate b", "close b", "reactivate a", "close a"}));
  EXPECT_EQ(g_pActiveDialog, nullptr);
  Push(4, "d");
  PopDialogs(5);  // more than there are: stops when the stack is empty
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(DialogStack, FindByIdTakesTheLowestAndCloseDownToTheTopmostMatch) {
  EXPECT_EQ(FindDialogById(1), nullptr);
  cDialog* a = Push(1, "a");
  cDialog* b = Push(2, "b");
  Push(1, "c");
  Push(3, "d");
  EXPECT_EQ(FindDialogById(1), a);
  CloseDialogsDownTo(7);  // no match
  EXPECT_TRUE(events_.empty());
  CloseDialogsDownTo(1);
  EXPECT_EQ(events_, (Events{"close d", "reactivate c", "close c", "reactivate b"}));
  EXPECT_EQ(g_DialogStack, (Stack{a, b}));
  CloseDialogsDownTo(1);  // now the bottom one: closes everything
  EXPECT_EQ(events_.back(), "close a");
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(DialogStack, NeverDrawnTopIsCoveredByAPlaceholderAndNeverClosed) {
  cDialog* a = Push(1, "a");
  // A negative id marks a dialog its owner keeps: the stack never closes it.
  sRecordingDialog hidden(-4, "hidden", events_);
  PushDialog(&hidden);
  Push(2, "b");
  PopDialogs(1);
  ASSERT_NE(g_pActiveDialog, nullptr);
  EXPECT_EQ(g_pActiveDialog->GetId(), 675);
  EXPECT_EQ(g_DialogStack, (Stack{a, &hidden}));
  // A push over the placeholder frees it; closing c shows a new one.
  cDialog* c = Push(3, "c");
  EXPECT_EQ(g_DialogStack, (Stack{a, &hidden, c}));
  PopDialogs(1);
  EXPECT_EQ(g_pActiveDialog->GetId(), 675);
  // Closing the placeholder drops the hidden dialog unclosed.
  PopDialogs(1);
  EXPECT_EQ(events_, (Events{"close b", "close c", "reactivate a"}));
  EXPECT_EQ(g_DialogStack, Stack{a});
  EXPECT_EQ(g_pActiveDialog, a);
}

}  // namespace
