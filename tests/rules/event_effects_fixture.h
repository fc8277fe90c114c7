// The fixture scenario as a loaded game for the scripted events' effects:
// an effect record is built by hand and run through ExecuteEventEffect as
// event 42, script line 7, with the log captured for its error lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>

#include "land_rules/fixture_game.h"
#include "rules/event_effects.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "world/event_records.h"

namespace twtest {

class EventEffectsTest : public FixtureGame {
 protected:
  enum : int { kWestland = 1, kEastmark = 2, kSouthia = 3, kNeutralia = 4, kDummy = 5 };

  void SetUp() override {
    FixtureGame::SetUp();
    auto view = std::make_unique<RecordingView>(World());
    view_ = view.get();
    World().SetView(std::move(view));
    log_ = std::make_unique<LogCapture>();
  }
  void TearDown() override {
    log_.reset();
    FixtureGame::TearDown();
  }

  // The effect with its numeric parameters from param0 on (the rest unset)
  // and its first text.
  static sEventEffect Effect(const wchar_t* method, std::initializer_list<double> params,
                             const wchar_t* text = L"") {
    sEventEffect effect;
    effect.line = 7;
    effect.method = method;
    std::copy(params.begin(), params.end(), effect.param.begin());
    effect.paramString[0] = text;
    return effect;
  }
  void Run(const wchar_t* method, std::initializer_list<double> params, const wchar_t* text = L"") {
    ExecuteEventEffect(World(), Effect(method, params, text), 42);
  }

  // The error lines the effect of that method wrote for event 42.
  int ErrorLines(const std::wstring& method) const {
    const std::wstring head = L"ERR: event 42, " + method + L" (line 7): ";
    const auto lines = log_->Lines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::wstring& l) { return l.starts_with(head); }));
  }
  std::size_t LogLineCount() const { return log_->Lines().size(); }
  bool Logged(const std::wstring& line) const { return log_->Contains(line); }

  RecordingView* view_ = nullptr;
  std::unique_ptr<LogCapture> log_;
};

}  // namespace twtest
