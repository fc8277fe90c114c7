#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

using namespace plat;
namespace fs = std::filesystem;

namespace {

// Runs the scope in another working folder.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~ScopedWorkingFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

class Paths : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("data/GFX/Flags/pol.png", "png");
    dir_.Write("data/Music/playlists.csv", "csv");
    dir_.Write("data/\xC5\x81\xC3\xB3" "d\xC5\xBA.txt", "utf8");  // "Łódź.txt"
    root_ = dir_.Path().string();
  }
  twtest::TempDir dir_;
  std::string root_;
};

}  // namespace

TEST(PathsTranslate, BackslashesBecomeSlashesAndCaseStays) {
  EXPECT_EQ(TranslatePath("data\\gfx\\[MapSkin]Normal\\Terrain.PNG"), "data/gfx/[MapSkin]Normal/Terrain.PNG");
  EXPECT_EQ(TranslatePath("data/Music\\x"), "data/Music/x");
  EXPECT_EQ(TranslatePath(""), "");
}

TEST_F(Paths, FindsEachComponentIgnoringCase) {
  EXPECT_EQ(ResolvePath(root_ + "/DATA\\gfx\\flags\\POL.png"), root_ + "/data/GFX/Flags/pol.png");
  EXPECT_EQ(ResolvePath(root_ + "/data/music/PLAYLISTS.CSV"), root_ + "/data/Music/playlists.csv");
  // Written as it exists: unchanged.
  EXPECT_EQ(ResolvePath(root_ + "/data/GFX/Flags/pol.png"), root_ + "/data/GFX/Flags/pol.png");
  EXPECT_TRUE(FileExists(root_ + "\\Data\\Gfx\\Flags\\Pol.PNG"));
  EXPECT_TRUE(FolderExists(root_ + "\\DATA\\GFX"));
  EXPECT_FALSE(FileExists(root_ + "/data/gfx"));
  EXPECT_FALSE(FolderExists(root_ + "/data/gfx/flags/pol.png"));
}

TEST_F(Paths, MissingPathsComeBackTranslatedOnly) {
  EXPECT_EQ(ResolvePath(root_ + "/DATA\\gfx\\missing.png"), root_ + "/DATA/gfx/missing.png");
  EXPECT_EQ(ResolvePath(root_ + "\\nothing\\Flags\\pol.png"), root_ + "/nothing/Flags/pol.png");
  EXPECT_FALSE(FileExists(root_ + "/data/gfx/flags/none.png"));
  EXPECT_FALSE(FolderExists(root_ + "/DATA/none"));
}

TEST_F(Paths, DotComponentsAndTrailingSlashes) {
  EXPECT_EQ(ResolvePath(root_ + "/DATA/./gfx/../GFX/FLAGS/POL.PNG"), root_ + "/data/./GFX/../GFX/Flags/pol.png");
  EXPECT_TRUE(FileExists(root_ + "/DATA/./MUSIC/../gfx/flags/pol.png"));
  EXPECT_EQ(ResolvePath(root_ + "/data/gfx/"), root_ + "/data/GFX/");
  EXPECT_EQ(ResolvePath(root_ + "//data//gfx"), root_ + "/data/GFX");
}

TEST_F(Paths, RelativePathsStartAtTheWorkingFolder) {
  ScopedWorkingFolder cwd(dir_.Path());
  EXPECT_EQ(ResolvePath("DATA\\GFX\\FLAGS"), "data/GFX/Flags");
  EXPECT_EQ(ResolvePath("data\\gfx\\flags\\new.png"), "data/gfx/flags/new.png");
  EXPECT_TRUE(FolderExists("Data\\Gfx"));
  // Wide paths go through UTF-8; only ASCII letters fold.
  EXPECT_EQ(ResolvePath(std::wstring_view(L"DATA\\\u0141\u00F3d\u017A.TXT")), "data/\xC5\x81\xC3\xB3" "d\xC5\xBA.txt");
  EXPECT_FALSE(FileExists(ResolvePath(std::wstring_view(L"data\\\u0142\u00F3d\u017A.txt"))));
}

TEST_F(Paths, SeveralCaseVariantsResolveToTheFirstInSortedOrder) {
  dir_.Write("set/b.TXT", "2");
  dir_.Write("set/B.txt", "1");
  EXPECT_EQ(ResolvePath(root_ + "/SET/B.TXT"), root_ + "/set/B.txt");
  // The exact name wins over the order.
  EXPECT_EQ(ResolvePath(root_ + "/SET/b.TXT"), root_ + "/set/b.TXT");
}
