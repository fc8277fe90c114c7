// The events check (CheckEvents, rules/world_turn.h): on the worker thread,
// the events whose time has come fire one after the other; a computer
// country's option is drawn, a human country chooses in the event dialog
// on the main thread while the worker waits outside the framework lock.
#include <list>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/end_human_turn.h"
#include "rules/event_firing.h"
#include "rules/rule_helpers.h"
#include "rules/worker_messages.h"
#include "rules/world_turn.h"
#include "world/country.h"
#include "world/event_manager.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/worker_steps.h"
#include "world/world_view.h"

namespace {

// A script whose condition stays true after its effects would fire its
// event forever and the end of the impulse would never come: one events
// check fires an event at most this many times, then leaves it out.
constexpr int kMaxFiringsPerEventCheck = 100;
// The report of the option a computer country took in a visible event.
constexpr int kReportEventOption = 25;
constexpr int kEventDialogPollMs = 100;


// The computer's choice: the option drawn by its weights is applied, and
// for an event the players see every country is told which one was taken.
void ApplyDrawnOption(cWorld& world, const sEvent& event) {
  const int number = event.PickOptionForComputer();
  if (!ApplyOption(world, event, number)) {
    LogLine(L"Event %i: no option could be drawn, none applied", event.eventId);
    return;
  }
  if (event.visibleByPlayer == 0) return;
  std::wstring description;
  std::wstring tooltip;
  event.GetOptionTexts(number, description, tooltip);
  LockedStep([&world, &event, &description] {
    const cCountry* country = world.GetCountry(event.countryId);
    const std::wstring text = plat::Format(L"%s in %s went with option %s",
                                           country != nullptr ? country->name : std::wstring(), event.title, description);
    for (int id = 1; id <= world.GetCountryCount(); ++id) FileReport(world, kReportEventOption, id, text);
  });
}

enum class eDialogOutcome {
  kClosed,    // the player chose in the dialog (it applied the option)
  kNotShown,  // nothing could show it: the caller draws the option
  kStopped,   // the worker was told to stop
};

// Asks the main thread to open the event dialog for the manager's fired
// event (it lives with the world, so it outlives the dialog) and waits,
// outside the lock, until the dialog has closed.
eDialogOutcome ShowEventDialogAndWait(cWorld& world) {
  // The main thread cannot wait for a dialog it would have to run itself.
  if (IsMainThread()) return eDialogOutcome::kNotShown;
  if (LockedStep([&world] { return world.View() == nullptr; })) return eDialogOutcome::kNotShown;
  bool opened = false;
  const bool ran = RunOnMainThread(
      [&world, &opened] {
        if (cWorldView* view = world.View()) opened = view->ShowEventDialog(world.eventManager.firedEvent);
      },
      world.WorkerStopFlag());
  if (!ran) return eDialogOutcome::kStopped;
  if (!opened) return eDialogOutcome::kNotShown;
  const bool closed =
      WaitWhileViewShows(world, &cWorldView::EventDialogOpen, kEventDialogPollMs, __FILE__, __LINE__);
  return closed ? eDialogOutcome::kClosed : eDialogOutcome::kStopped;
}

// The event dialog's save-and-exit: in a play-by-e-mail game the game has
// been saved by the dialog and the program ends (exit code 0, through the
// main thread); otherwise no further event is shown. True when the check
// must end.
bool SaveAndExitRequested(cWorld& world) {
  if (!world.eventSaveAndExitRequested.load()) return false;
  if (world.playByEmail) {
    LogLine(L"The game was saved in the event dialog: the program ends");
    FatalExit(0);
  }
  LogLine(L"Save and exit asked in the event dialog: no further event is checked");
  return true;
}

// One fired event: its option chosen and applied; false when the worker was
// told to stop.
bool RunFiredEvent(cWorld& world, const sEvent& event) {
  const bool human = LockedStep([&world, &event] {
    const cCountry* country = world.GetCountry(event.countryId);
    return country != nullptr && country->human;
  });
  if (!human || event.visibleByPlayer == 0) {
    ApplyDrawnOption(world, event);
    return true;
  }
  LogLine(L"Event fired (ID=%i / Title=\"%s\")", event.eventId, event.title);
  switch (ShowEventDialogAndWait(world)) {
    case eDialogOutcome::kClosed:
      return true;
    case eDialogOutcome::kNotShown:
      LogLine(L"Event %i: no event dialog could be shown, the option is drawn", event.eventId);
      ApplyDrawnOption(world, event);
      return true;
    case eDialogOutcome::kStopped:
      break;
  }
  return false;
}

}  // namespace

void CheckEvents(cWorld& world) {
  LogLine(L"CHECKING EVENTS...");
  cEventManager& manager = world.eventManager;
  LockedStep([&manager] { manager.ClearCheckedFlags(); });
  world.eventSaveAndExitRequested.store(false);
  std::unordered_map<int, int> firings;
  std::unordered_set<int> spent;
  for (;;) {
    if (WorkerStopping(world)) return;
    if (SaveAndExitRequested(world)) break;
    sEvent event;
    const bool found = LockedStep([&world, &manager, &spent, &event] {
      if (!manager.forcedEvents.empty()) {
        // A forced event fires first, whatever its date and condition.
        manager.firedEvent = manager.forcedEvents.front();
        manager.forcedEvents.pop_front();
        LogLine(L"Firing forced event ID=%i", manager.firedEvent.eventId);
      } else if (!FindEventToFire(world, spent)) {
        return false;
      }
      event = manager.firedEvent;
      // What an earlier event's effects queued is not this event's.
      manager.messages.clear();
      return true;
    });
    if (!found) break;
    if (++firings[event.eventId] >= kMaxFiringsPerEventCheck) {
      LogLine(L"Event %i has fired %i times in this events check: it is not checked again until the next one",
              event.eventId, kMaxFiringsPerEventCheck);
      spent.insert(event.eventId);
    }
    if (!RunFiredEvent(world, event)) return;
    // The player who saved and leaves reads no more.
    if (world.eventSaveAndExitRequested.load()) continue;
    const std::list<std::wstring> messages = LockedStep([&manager] { return manager.messages; });
    const std::wstring title = Text("information");
    for (const std::wstring& text : messages) ShowTextAndWait(world, text, title);
  }
  LogLine(L"CHECKING EVENTS FINISHED");
  if (world.playByEmail) RequestEndOfTurn();
}
