// The deferred deletion of closed game dialogs: a dialog closed from inside
// its own event handler, reached through the frame's message routing.
#include <tuple>
#include <utility>
#include <vector>

#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "frame/input_routing.h"
#include "gui/gui_fixture.h"

namespace {

using guitest::Event;

using DialogCore = guitest::GuiTest;

int g_Destroyed = 0;

// A game dialog whose OK button closes it from inside its own event handler.
struct ClosingDialog : cDialog {
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

TEST_F(DialogCore, DialogClosedByItsOwnHandlerIsFreedAtTheEndOfTheFrameAndOnlyOnce) {
  g_Destroyed = 0;
  auto* dialog = new ClosingDialog;
  PushDialog(dialog);
  bool done = false;
  ::MsgProc({plat::kWmLButtonDown, plat::kMkLButton, plat::MakeMouseLParam(5, 5)}, done);
  ::MsgProc({plat::kWmLButtonUp, 0, plat::MakeMouseLParam(5, 5)}, done);
  EXPECT_TRUE(done);
  EXPECT_EQ(dialog->handled, (std::vector<Event>{{EVENT_BUTTON_CLICKED, 1}, {EVENT_BUTTON_CLICKED, 1}}));
  EXPECT_EQ(std::pair(g_DialogStack.empty(), g_pActiveDialog), std::pair(true, static_cast<cDialog*>(nullptr)));
  EXPECT_EQ(std::tuple(IsRetiredDialog(dialog), dialog->Dialog().GetVisible(), g_Destroyed),
            std::tuple(true, false, 0));
  DeleteRetiredDialogs();
  DeleteRetiredDialogs();
  EXPECT_EQ(g_Destroyed, 1);

  // A retired dialog its owner deletes directly is not freed again; a second
  // close retires nothing more.
  auto* other = new ClosingDialog;
  other->Close();
  other->Close();
  delete other;
  DeleteRetiredDialogs();
  EXPECT_EQ(g_Destroyed, 2);
}

}  // namespace
