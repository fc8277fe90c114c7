// The game reads and writes below its working folder: a benchmark of the
// default scenario works in a scratch folder of its own, with the scenario
// and the skins linked in from the source tree and an empty save folder,
// and gets its previous working folder back when the scope ends, however
// it ends.
#pragma once

#include <filesystem>

#include "support/test_support.h"

class cEuropeFolder {
 public:
  cEuropeFolder()
      : root_(twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini")),
        previous_(std::filesystem::current_path()) {
    if (root_.empty()) return;
    namespace fs = std::filesystem;
    fs::current_path(folder_.Path());
    fs::create_directories("data/scenarios");
    fs::create_directories("data/save");
    fs::create_directory_symlink(root_ / "data/scenarios/Europe1939", "data/scenarios/Europe1939");
    fs::create_directory_symlink(root_ / "data/gfx", "data/gfx");
  }
  ~cEuropeFolder() { std::filesystem::current_path(previous_); }
  cEuropeFolder(const cEuropeFolder&) = delete;
  cEuropeFolder& operator=(const cEuropeFolder&) = delete;

  // False when the source tree was not found (set TW_SOURCE_DIR).
  bool Found() const { return !root_.empty(); }
  static constexpr const char* kMissing = "data/scenarios/Europe1939 not found (set TW_SOURCE_DIR)";
  static constexpr const wchar_t* kPattern = L"data\\scenarios\\Europe1939\\%s";

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_;
  twtest::TempDir folder_;
};
