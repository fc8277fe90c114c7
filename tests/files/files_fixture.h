// What the scenario-file tests share: a temporary folder the files are
// written to and read from, a world with a 10 x 8 map, and the helpers that
// read a folder, count log lines and catch a fatal exit.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/fatal_exit.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/world.h"

namespace filestest {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    world.GetMap().SetWidth(10);
    world.GetMap().SetHeight(8);
    world.GetMap().CreateHexes();
  }
  // Countries 1..n named "Land<id>", all at peace.
  void AddCountries(int n) {
    for (int id = 1; id <= n; ++id) twtest::AddCountry(world, 0, (L"Land" + std::to_wstring(id)).c_str());
    world.GetRelations().Reset(n);
  }
  std::wstring Folder() const { return dir.Path().wstring(); }
  std::wstring Pattern() const { return Folder() + L"\\%s"; }
  std::string Read(const std::string& name) const { return twtest::ReadFile(dir.File(name)); }
  // Empties the file name, lets write make it again and returns its bytes.
  template <typename Write>
  std::string Rewrite(const std::string& name, Write&& write) {
    dir.Write(name, "");
    write();
    return Read(name);
  }

  twtest::TempDir dir;
  cWorld world;
};

// The files of a folder by name, a subfolder as "<dir>".
inline std::map<std::string, std::string> ReadFolder(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? twtest::ReadFile(entry.path().string()) : std::string("<dir>");
  }
  return files;
}

// A written file without its leading comment lines: the headers are those
// of the scenarios' files, which a save leaves unchanged (the world loader's
// and the scenario tests' round trips).
inline std::string WithoutHeader(const std::string& file) {
  std::size_t at = 0;
  while (at < file.size() && file[at] == '#') {
    const std::size_t end = file.find('\n', at);
    at = end == std::string::npos ? file.size() : end + 1;
  }
  return file.substr(at);
}

// How many lines of the log start with prefix.
inline int CountLines(const twtest::LogCapture& log, const std::wstring& prefix) {
  int count = 0;
  for (const std::wstring& line : log.Lines()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

// Runs load, which must end the process with exit code 1 (a throwing fatal
// hook in force), and returns the last line of the log.
template <typename Load>
std::wstring FatalLine(const twtest::LogCapture& log, Load&& load) {
  try {
    load();
  } catch (const sFatalExitError& e) {
    EXPECT_EQ(e.exitCode, 1);
    const auto lines = log.Lines();
    return lines.empty() ? L"" : lines.back();
  }
  ADD_FAILURE() << "no fatal exit";
  return L"";
}

}  // namespace filestest
