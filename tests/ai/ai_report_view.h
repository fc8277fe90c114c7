// A recording view that counts the computer's combat reports (each closes at
// once) and lets a test look at the world while a report is up.
#pragma once

#include <functional>

#include "support/recording_view.h"

namespace twtest {

class ReportView final : public RecordingView {
 public:
  using RecordingView::RecordingView;
  bool ShowComputerCombatResult(const sBombardmentResult&, float displayMs) override {
    ++reports;
    lastDisplayMs = displayMs;
    if (onReport) onReport();
    return true;
  }
  int reports = 0;
  float lastDisplayMs = 0.0f;
  std::function<void()> onReport;
};

}  // namespace twtest
