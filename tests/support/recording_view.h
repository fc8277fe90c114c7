// A world view that records what the rules and the worker ask of the
// screen, for tests that run without the map screen.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "world/country.h"
#include "world/game_phase.h"
#include "world/world.h"
#include "world/world_view.h"

namespace twtest {

class RecordingView : public cWorldView {
 public:
  explicit RecordingView(cWorld& world) : world_(world) {}

  void RefreshCounters() override {}
  void ShowStatusText(std::wstring_view) override {}
  void RefreshSelection() override {
    if (onRefreshSelection) onRefreshSelection();
  }
  void RefreshDateLine() override {}
  void RefreshMinimapOwnership() override {
    if (onRefreshMinimapOwnership) onRefreshMinimapOwnership();
  }
  void EnterComputerPhase() override {
    Record("enter");
    inComputerPhase = true;
    world_.SetGameState(kPhaseComputerPlayers);
  }
  void LeaveComputerPhase() override {
    Record("leave");
    inComputerPhase = false;
    world_.SetGameState(kPhaseHumanTurn);
  }
  void FollowHex(int x, int y) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    followed_.emplace_back(x, y);
  }
  void GlideToCountryView(const cCountry& country) override {
    Record("glide");
    glidedTo = country.id;
    world_.SetGameState(kPhaseViewGlide);
  }

  void GreetHumanTurn(int countryId) override {
    Record("greet");
    greeted = countryId;
  }
  void ShowMessage(std::wstring_view, std::wstring_view) override { Record("message"); }

  // One of the view's dialogs has closed: the world is told, as the map
  // screen tells it, and a worker waiting for a dialog looks again.
  void TellDialogClosed() { world_.DialogCloses().Notify(); }

  std::vector<std::pair<int, int>> Followed() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return followed_;
  }
  // The phase changes and panel calls, in order, each with the thread that
  // made it.
  std::vector<std::pair<std::string, std::thread::id>> Calls() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

  std::function<void()> onRefreshSelection;
  std::function<void()> onRefreshMinimapOwnership;
  std::atomic<bool> inComputerPhase{false};
  std::atomic<int> glidedTo{0};
  std::atomic<int> greeted{0};

 private:
  void Record(const char* what) {
    const std::lock_guard<std::mutex> lock(mutex_);
    calls_.emplace_back(what, std::this_thread::get_id());
  }

  cWorld& world_;
  mutable std::mutex mutex_;
  std::vector<std::pair<int, int>> followed_;
  std::vector<std::pair<std::string, std::thread::id>> calls_;
};

}  // namespace twtest
