#include "rules/worker_messages.h"

#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

constexpr int kMessagePollMs = 100;
constexpr int kResultPollMs = 100;

}  // namespace

void ShowTextAndWait(cWorld& world, const std::wstring& text, const std::wstring& title) {
  // Nothing shows the world (a game without its screen): nothing to wait for.
  if (LockedStep([&world] { return world.View() == nullptr; })) return;
  const bool shown = RunOnMainThread(
      [&world, text, title] {
        if (cWorldView* view = world.View()) view->ShowMessage(text, title);
      },
      world.WorkerStopFlag());
  // The main thread cannot wait for a message it would have to close itself.
  if (!shown || IsMainThread()) return;
  WaitWhileViewShows(world, &cWorldView::IsMessageOpen, kMessagePollMs, __FILE__, __LINE__);
}

void ShowComputerCombatResultAndWait(cWorld& world, const sBombardmentResult& result) {
  const float displayMs = g_Delays[kDelayAICombatResult].load();
  if (displayMs == 0.0f) return;
  bool open = false;
  const bool asked = RunOnMainThread(
      [&] {
        cWorldView* view = world.View();
        open = view != nullptr && view->ShowComputerCombatResult(result, displayMs);
      },
      world.WorkerStopFlag());
  if (!asked || !open || IsMainThread()) return;
  // Looked at under the lock when a dialog closes, not through the main
  // thread's queue: the wait ends as the report closes, not a frame and a
  // poll later (a round of reports would last an eighth longer).
  WaitWhileViewShows(world, &cWorldView::ComputerCombatResultOpen, kResultPollMs, __FILE__, __LINE__);
}
