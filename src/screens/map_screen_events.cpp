// The map screen's part in scripted events: the event dialog of an event
// fired for a human country, opened at the events check's request. The
// screen keeps its own copy of the event for as long as the dialog shows
// it, since the check goes on with its own copy once the dialog closes.
#include <algorithm>

#include "dialogs/dialog_stack.h"
#include "dialogs/event_dialog.h"
#include "screens/map_screen.h"
#include "world/world.h"

bool cMapScreen::ShowEventDialog(const sEvent& event) {
  // The copies of dialogs closed since are no longer read.
  shown_events_.remove_if([](const sShownEvent& shown) { return !IsOnDialogStack(shown.dialog); });
  sShownEvent& shown = shown_events_.emplace_back();
  shown.event = event;
  auto* dialog = new cDialogEventu(world_, shown.event);
  shown.dialog = dialog->Serial();
  PushDialog(dialog);
  return true;
}

bool cMapScreen::EventDialogOpen() const {
  return std::any_of(shown_events_.begin(), shown_events_.end(),
                     [](const sShownEvent& shown) { return IsOnDialogStack(shown.dialog); });
}
