// The game reads and writes below its working folder: the benchmarks work in
// a folder of the program's own, where the large scenario is written once
// per run, and give the previous working folder back afterwards.
#pragma once

#include <filesystem>

#include "support/large_scenario.h"
#include "support/test_support.h"

class cBenchFolder {
 public:
  cBenchFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(Folder().Path()); }
  ~cBenchFolder() { std::filesystem::current_path(previous_); }
  cBenchFolder(const cBenchFolder&) = delete;
  cBenchFolder& operator=(const cBenchFolder&) = delete;

  static const sLargeScenarioInfo& Scenario() {
    static const sLargeScenarioInfo info = [] {
      cBenchFolder inside;
      return WriteLargeScenario(L"LargeBench");
    }();
    return info;
  }

 private:
  static twtest::TempDir& Folder() {
    static twtest::TempDir folder;
    return folder;
  }
  std::filesystem::path previous_;
};
