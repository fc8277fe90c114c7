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
  WaitWhile(
      world,
      [&world] {
        return LockedStep([&world] {
          const cWorldView* view = world.View();
          return view != nullptr && view->IsMessageOpen();
        });
      },
      kMessagePollMs, __FILE__, __LINE__);
}

void ShowComputerCombatResultAndWait(cWorld& world, const sBombardmentResult& result) {
  const float displayMs = g_Delays[kDelayAICombatResult].load();
  if (displayMs == 0.0f) return;
  const std::atomic<bool>* stop = world.WorkerStopFlag();
  bool open = false;
  auto ask = [&](bool first) {
    return RunOnMainThread(
        [&] {
          cWorldView* view = world.View();
          if (view == nullptr) {
            open = false;
          } else {
            open = first ? view->ShowComputerCombatResult(result, displayMs) : view->ComputerCombatResultOpen();
          }
        },
        stop);
  };
  if (!ask(true)) return;
  while (open) {
    if (!StoppableDelay(world, kResultPollMs, __FILE__, __LINE__) || !ask(false)) return;
  }
}
