// What the scenario-file tests share: a temporary folder the files are
// written to and read from, and a world with a 10 x 8 map.
#pragma once

#include <gtest/gtest.h>

#include <string>

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

  twtest::TempDir dir;
  cWorld world;
};

}  // namespace filestest
