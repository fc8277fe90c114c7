// What the screen snapshots share: a scratch folder with the game's
// interface pictures and layout table, and the English texts the build made.
#pragma once

#include <filesystem>

namespace twtest {

// data/gfx of the source tree (linked) and its layout table (copied).
inline void LinkInterfaceData(const std::filesystem::path& sourceRoot, const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  fs::create_directories(folder / "data");
  fs::create_directory_symlink(sourceRoot / "data/gfx", folder / "data/gfx");
  fs::copy_file(sourceRoot / "data/GUI_1024x768.csv", folder / "data/GUI_1024x768.csv");
}

// The language base the build wrote into its run folder, found above the
// test program, copied into the folder. False when the build made none.
inline bool CopyBuiltLanguageBase(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  for (fs::path p = exe.parent_path(); !p.empty() && p != p.parent_path(); p = p.parent_path()) {
    if (fs::exists(p / "run/lang_ENG.db")) {
      fs::copy_file(p / "run/lang_ENG.db", folder / "lang_ENG.db");
      return true;
    }
  }
  return false;
}

}  // namespace twtest
