#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog_stack.h"
#include "app/hint_text.h"
#include "dialogs/dialog.h"
#include "gui/dxut_dialog.h"

namespace {

// Records its closes and reactivations into a shared list.
class cRecordingDialog : public cDialog {
 public:
  cRecordingDialog(int id, std::string name, std::vector<std::string>& events)
      : cDialog(id), name_(std::move(name)), events_(events) {}
  void Close() override {
    events_.push_back("close " + name_);
    cDialog::Close();
  }
  void OnReactivate() override { events_.push_back("reactivate " + name_); }

 private:
  std::string name_;
  std::vector<std::string>& events_;
};

class DialogStack : public ::testing::Test {
 protected:
  void SetUp() override {
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
  }
  void TearDown() override { PopDialogs(-1); }

  cDialog* Push(int id, const std::string& name, int offset = 0) {
    auto* dialog = new cRecordingDialog(id, name, events_);
    PushDialog(dialog, offset);
    return dialog;
  }
  // Marks input state that belongs to the current top dialog.
  void DirtyInputState() {
    g_HintText.SetMouseButtons(3);
    g_HintText.SetControl(reinterpret_cast<CDXUTControl*>(&drag_));
    CDXUTDialog::BeginDrag(&drag_);
  }
  void ExpectInputStateReset() {
    EXPECT_EQ(g_HintText.GetMouseButtons(), 0u);
    EXPECT_EQ(g_HintText.GetControl(), nullptr);
    EXPECT_EQ(CDXUTDialog::DraggedDialog(), nullptr);
  }

  std::vector<std::string> events_;
  CDXUTDialog drag_;
};

using Events = std::vector<std::string>;

TEST_F(DialogStack, PushPutsDialogOnTopAndMakesItActive) {
  cDialog* a = Push(1, "a");
  DirtyInputState();
  g_HintText.SetAnchor(reinterpret_cast<cHoverable*>(&drag_));
  cDialog* b = Push(2, "b");
  ExpectInputStateReset();
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{a, b}));
  EXPECT_EQ(g_pActiveDialog, b);
  EXPECT_TRUE(events_.empty());
}

TEST_F(DialogStack, PushBelowTheTopKeepsTheTopActive) {
  cDialog* a = Push(1, "a");
  cDialog* b = Push(2, "b");
  cDialog* c = Push(3, "c", -1);
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{a, c, b}));
  cDialog* d = Push(4, "d", -10);  // clamped to the bottom
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{d, a, c, b}));
  EXPECT_EQ(g_pActiveDialog, b);
  cDialog* e = Push(5, "e", 3);  // a positive offset cannot pass the top
  EXPECT_EQ(g_DialogStack.back(), e);
  EXPECT_EQ(g_pActiveDialog, e);
}

TEST_F(DialogStack, PushOfNullOnlyResetsInput) {
  cDialog* a = Push(1, "a");
  DirtyInputState();
  PushDialog(nullptr, 0);
  ExpectInputStateReset();
  EXPECT_EQ(g_DialogStack, std::vector<cDialog*>{a});
  EXPECT_EQ(g_pActiveDialog, a);
}

TEST_F(DialogStack, PopOfZeroOrNegativeCountOnlyResetsInput) {
  cDialog* a = Push(1, "a");
  for (int count : {0, -5}) {
    DirtyInputState();
    PopDialogs(count);
    ExpectInputStateReset();
    EXPECT_EQ(g_DialogStack, std::vector<cDialog*>{a});
    EXPECT_EQ(g_pActiveDialog, a);
  }
  EXPECT_TRUE(events_.empty());
}

TEST_F(DialogStack, PopAllClosesTopFirstAndReactivatesEachNewTop) {
  Push(1, "a");
  Push(2, "b");
  Push(3, "c");
  PopDialogs(-1);
  EXPECT_EQ(events_, (Events{"close c", "reactivate b", "close b", "reactivate a", "close a"}));
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(g_pActiveDialog, nullptr);
}

TEST_F(DialogStack, PopOfACountStopsThere) {
  cDialog* a = Push(1, "a");
  Push(2, "b");
  Push(3, "c");
  PopDialogs(2);
  EXPECT_EQ(events_, (Events{"close c", "reactivate b", "close b", "reactivate a"}));
  EXPECT_EQ(g_DialogStack, std::vector<cDialog*>{a});
  EXPECT_EQ(g_pActiveDialog, a);
  PopDialogs(5);  // more than there are: stops when the stack is empty
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(g_pActiveDialog, nullptr);
}

TEST_F(DialogStack, CloseDownToClosesTheTopmostMatchAndAllAboveIt) {
  cDialog* a = Push(1, "a");
  cDialog* b = Push(2, "b");
  Push(1, "c");
  Push(3, "d");
  CloseDialogsDownTo(7);  // no match
  EXPECT_TRUE(events_.empty());
  CloseDialogsDownTo(1);
  EXPECT_EQ(events_, (Events{"close d", "reactivate c", "close c", "reactivate b"}));
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{a, b}));
  events_.clear();
  CloseDialogsDownTo(1);  // now the bottom one: closes everything
  EXPECT_EQ(events_, (Events{"close b", "reactivate a", "close a"}));
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(DialogStack, FindByIdReturnsTheLowestMatch) {
  EXPECT_EQ(FindDialogById(1), nullptr);
  cDialog* a = Push(1, "a");
  Push(2, "b");
  Push(1, "c");
  EXPECT_EQ(FindDialogById(1), a);
  EXPECT_EQ(FindDialogById(9), nullptr);
}

TEST_F(DialogStack, NeverDrawnTopIsReplacedByPlaceholderThenLeftUnclosed) {
  cDialog* a = Push(1, "a");
  // The never-drawn dialog belongs to its owner: the stack never closes it.
  cRecordingDialog hidden(-4, "hidden", events_);
  PushDialog(&hidden);
  Push(2, "b");
  PopDialogs(1);
  ASSERT_NE(g_pActiveDialog, nullptr);
  EXPECT_EQ(g_pActiveDialog->GetId(), 675);
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{a, &hidden}));
  EXPECT_EQ(events_, Events{"close b"});
  // Closing the placeholder frees it and drops the hidden dialog unclosed.
  PopDialogs(1);
  EXPECT_EQ(events_, (Events{"close b", "reactivate a"}));
  EXPECT_EQ(g_DialogStack, std::vector<cDialog*>{a});
  EXPECT_EQ(g_pActiveDialog, a);
}

TEST_F(DialogStack, PushOverPlaceholderDoesNotLoseIt) {
  cRecordingDialog hidden(-1, "hidden", events_);
  PushDialog(&hidden);
  Push(2, "b");
  PopDialogs(1);
  ASSERT_EQ(g_pActiveDialog->GetId(), 675);
  cDialog* c = Push(3, "c");
  EXPECT_EQ(g_pActiveDialog, c);
  EXPECT_EQ(g_DialogStack, (std::vector<cDialog*>{&hidden, c}));
  // Closing c shows a new placeholder; closing everything leaves nothing.
  PopDialogs(-1);
  EXPECT_EQ(events_, (Events{"close b", "close c"}));
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(g_pActiveDialog, nullptr);
}

}  // namespace
