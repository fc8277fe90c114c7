#include "platform/paths.h"

#include <gtest/gtest.h>


#include "support/test_support.h"

using namespace plat;

namespace {

class Paths : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("data/GFX/Flags/pol.png", "png");
    dir_.Write("data/\xC5\x81\xC3\xB3" "d\xC5\xBA.txt", "utf8");  // "Łódź.txt"
    root_ = dir_.Path().string();
  }
  twtest::TempDir dir_;
  std::string root_;
};

}  // namespace

TEST_F(Paths, FindsEachComponentIgnoringCase) {
  EXPECT_EQ(TranslatePath("data\\gfx\\[MapSkin]Normal\\Terrain.PNG"), "data/gfx/[MapSkin]Normal/Terrain.PNG");
  EXPECT_EQ(ResolvePath(root_ + "/DATA\\gfx\\flags\\POL.png"), root_ + "/data/GFX/Flags/pol.png");
  EXPECT_TRUE(FileExists(root_ + "\\Data\\Gfx\\Flags\\Pol.PNG") && FolderExists(root_ + "\\DATA\\GFX"));
  EXPECT_FALSE(FileExists(root_ + "/data/gfx") || FolderExists(root_ + "/data/gfx/flags/pol.png"));
  // Missing parts come back translated only.
  EXPECT_EQ(ResolvePath(root_ + "\\nothing\\Flags\\pol.png"), root_ + "/nothing/Flags/pol.png");
  EXPECT_EQ(ResolvePath(root_ + "/DATA/./gfx/../GFX/FLAGS/POL.PNG"), root_ + "/data/./GFX/../GFX/Flags/pol.png");
  EXPECT_EQ(ResolvePath(root_ + "//data//gfx/"), root_ + "/data/GFX/");
  // Several case variants: the exact one, else the first in sorted order.
  dir_.Write("set/b.TXT", "2");
  dir_.Write("set/B.txt", "1");
  EXPECT_EQ(ResolvePath(root_ + "/SET/B.TXT"), root_ + "/set/B.txt");
  EXPECT_EQ(ResolvePath(root_ + "/SET/b.TXT"), root_ + "/set/b.TXT");
}

TEST_F(Paths, RelativePathsStartAtTheWorkingFolder) {
  twtest::ScopedWorkingFolder folder(dir_.Path());
  EXPECT_EQ(ResolvePath("DATA\\GFX\\FLAGS"), "data/GFX/Flags");
  EXPECT_EQ(ResolvePath("data\\gfx\\flags\\new.png"), "data/gfx/flags/new.png");
  // Wide paths go through UTF-8; only ASCII letters fold.
  EXPECT_EQ(ResolvePath(std::wstring_view(L"DATA\\\u0141\u00F3d\u017A.TXT")), "data/\xC5\x81\xC3\xB3" "d\xC5\xBA.txt");
  EXPECT_FALSE(FileExists(ResolvePath(std::wstring_view(L"data\\\u0142\u00F3d\u017A.txt"))));
}
