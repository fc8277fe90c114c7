// The events check served by the real worker thread while the main thread
// runs frames: it reads the world under the framework lock, serves the
// worker's requests, and plays the player who chooses in the event dialog
// and closes the messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "rules/end_human_turn.h"
#include "rules/event_firing.h"
#include "rules/worker_thread.h"
#include "support/fake_platform_framework.h"
#include "support/test_support.h"
#include "turn_rules/event_test_events.h"
#include "turn_rules/turn_world.h"

namespace {

using namespace twtest;
using Clock = std::chrono::steady_clock;

constexpr int kEventOptionReport = 25;

// The map screen's side of the event dialog: it opens (when it may) and
// stays open until the player acts. Everything but the counter is touched
// under the framework lock only.
class DialogView : public MessageView {
 public:
  using MessageView::MessageView;
  bool ShowEventDialog(const sEvent& event) override {
    if (!opens) return false;
    shown = &event;
    dialogOpen = true;
    shownIds.push_back(event.eventId);
    ++dialogs;
    return true;
  }
  bool EventDialogOpen() const override { return dialogOpen; }
  void ShowMessage(std::wstring_view text, std::wstring_view title) override {
    MessageView::ShowMessage(text, title);
    messageOpen = true;
  }
  bool IsMessageOpen() const override { return messageOpen; }

  bool opens = true;
  const sEvent* shown = nullptr;
  bool dialogOpen = false;
  bool messageOpen = false;
  std::vector<int> shownIds;
  std::atomic<int> dialogs{0};
};

// The framework lock switched on, as while the game runs.
struct EventsCheckLock {
  EventsCheckLock() {
    CreateFrameworkLock();
    g_bRunning = true;
  }
  ~EventsCheckLock() {
    g_bRunning = false;
    DeleteFrameworkLock();
  }
};

class EventsCheckThread : public ::testing::Test {
 protected:
  EventsCheckThread() {
    SetMainThreadToCurrent();
    auto owned = std::make_unique<DialogView>(World());
    view = owned.get();
    World().SetView(std::move(owned));
    // The play-by-e-mail game's end-turn request tells the frames that the
    // check has finished, as it tells the map screen.
    World().playByEmail = true;
    TakeEndOfTurnRequest();
    g_bEventsCheckRequested = false;
  }
  ~EventsCheckThread() override {
    StopAiThread(&World());
    g_bEventsCheckRequested = false;
  }

  cWorld& World() { return *w.world; }

  // Frames until done() holds (true) or ten seconds pass. Each frame reads
  // the world under the lock, lets the player act, and serves the worker.
  bool RunFrames(const std::function<void(int frame)>& player, const std::function<bool()>& done) {
    const auto end = Clock::now() + std::chrono::seconds(10);
    for (int frame = 1; Clock::now() < end; ++frame) {
      {
        const cFrameworkLockGuard lock;
        for (const sReport& report : World().reports.Reports()) seen += report.countryId;
        for (const auto& country : World().Countries()) seen += country->productionPoints;
        if (view->messageOpen && frame % 2 == 0) {  // read and closed
          view->messageOpen = false;
          view->TellDialogClosed();
        }
        player(frame);
      }
      try {
        DrainMainThreadRequests();
      } catch (const sFatalExitError& error) {
        fatalCode = error.exitCode;  // the program would end here
      }
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  void StartCheck() {
    StartAiThread(World());
    RequestEventsCheck();
  }

  const EventsCheckLock running;
  FakePlatformFramework frame;
  TurnWorld w{{"~~~~~", "~ppp~", "~~~~~"}, {kAlliesLeader, kAxisLeader, kAxis}};
  DialogView* view = nullptr;
  double seen = 0.0;
  int fatalCode = -1;
};

TEST_F(EventsCheckThread, WorkerFiresEventsAndWaitsForThePlayersChoiceWhileTheMainThreadReads) {
  // Event 2 asks the human country A in the dialog; event 1, B's, holds as
  // long as C has production points and fires until its bound, each time
  // reporting B's choice to every country.
  sEvent asked = Event(2, 1, true, true, {Option(L"Yield", 50), Option(L"Resist", 50)});
  sEvent repeated = Event(1, 2, true, false, {Option(L"Push", 100)});
  repeated.condition = And({Compare(Query(L"Country.GetProductionPoints", {3}), L"greaterOrEqual", Constant(0))});
  SetEvents(World(), {asked, repeated});
  const LogCapture log;
  StartCheck();
  const bool finished = RunFrames(
      [this](int frame) {
        if (!view->dialogOpen || frame % 3 != 0) return;
        // The player takes the second option; its effect queues a message.
        ApplyOption(World(), *view->shown, 2);
        World().eventManager.messages.push_back(L"The line holds");
        view->dialogOpen = false;
        view->TellDialogClosed();
      },
      [] { return TakeEndOfTurnRequest(); });
  ASSERT_TRUE(finished);
  StopAiThread();
  EXPECT_GT(seen, 0.0);
  EXPECT_EQ(view->shownIds, std::vector<int>{2});
  EXPECT_TRUE(log.Contains(L"Event fired (ID=2 / Title=\"Event2\")"));
  const auto messages = view->Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, std::wstring(g_StringBase.GetText("information")));
  EXPECT_EQ(messages[0].second, L"The line holds");
  // Each firing of event 1 whose draw took the option told every country.
  const auto lines = log.Lines();
  const auto drawnNone = std::count(lines.begin(), lines.end(), L"Event 1: no option could be drawn, none applied");
  EXPECT_EQ(w.Reports(kEventOptionReport).size(), static_cast<std::size_t>(3 * (100 - drawnNone)));
  EXPECT_TRUE(log.Contains(L"CHECKING EVENTS FINISHED"));
}

TEST_F(EventsCheckThread, AViewThatOpensNoDialogLetsTheComputerDrawSoTheCheckEnds) {
  view->opens = false;
  SetEvents(World(), {Event(3, 1, true, true, {Option(L"Accept", 10)})});
  const LogCapture log;
  StartCheck();
  ASSERT_TRUE(RunFrames([](int) {}, [] { return TakeEndOfTurnRequest(); }));
  StopAiThread();
  EXPECT_TRUE(log.Contains(L"Event 3: no event dialog could be shown, the option is drawn"));
  // The worker's draw: 0 takes no option, any other the only one.
  const bool none = log.Contains(L"Event 3: no option could be drawn, none applied");
  ASSERT_EQ(w.Reports(kEventOptionReport).size(), none ? 0u : 3u);
  if (!none) {
    EXPECT_EQ(w.Reports(kEventOptionReport).front().text, L"A in Event3 went with option Accept");
  }
}

TEST_F(EventsCheckThread, AStoppedWorkerLeavesTheDialogWaitAndTheCheck) {
  SetEvents(World(), {Event(4, 1, true, true, {Option(L"Accept", 10)}), Event(5, 2, true, true, {Option(L"Go", 10)})});
  const LogCapture log;
  StartCheck();
  ASSERT_TRUE(RunFrames([](int) {}, [this] { return view->dialogs.load() == 1; }));
  StopAiThread(&World());  // the game is left while the dialog is open
  EXPECT_FALSE(IsAiThreadRunning());
  EXPECT_FALSE(log.Contains(L"CHECKING EVENTS FINISHED"));
  EXPECT_TRUE(w.Reports(kEventOptionReport).empty()) << "event 5 was not reached";
  EXPECT_FALSE(TakeEndOfTurnRequest());
}

TEST_F(EventsCheckThread, SaveAndExitInAPlayByEmailGameEndsTheProgramWithCodeZeroAfterTheDialog) {
  SetEvents(World(), {Event(6, 1, true, true, {Option(L"Accept", 10)}), Event(7, 1, true, true, {Option(L"Go", 10)})});
  const cScopedThrowingFatalHook hook;
  const LogCapture log;
  StartCheck();
  const bool ended = RunFrames(
      [this](int) {
        if (!view->dialogOpen) return;
        // The dialog has saved the game and closes.
        ApplyOption(World(), *view->shown, 1);
        World().eventSaveAndExitRequested = true;
        view->dialogOpen = false;
        view->TellDialogClosed();
      },
      [this] { return fatalCode >= 0; });  // the worker's fatal path, ended on the main thread
  ASSERT_TRUE(ended);
  EXPECT_EQ(fatalCode, 0);
  EXPECT_EQ(view->shownIds, std::vector<int>{6}) << "no further event after the save";
  EXPECT_TRUE(log.Contains(L"The game was saved in the event dialog: the program ends"));
  EXPECT_FALSE(log.Contains(L"CHECKING EVENTS FINISHED"));
  EXPECT_FALSE(TakeEndOfTurnRequest());
}

}  // namespace
