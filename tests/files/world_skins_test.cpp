// Loading a map skin with a game loaded places the scenario's eye candies
// for the skin's picture: read again from the scenario's folder, or all
// cleared when the skin has no eye-candy picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/skins.h"
#include "files/world_skins.h"
#include "app/texture.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/world.h"
#include "world/map_text.h"

namespace fs = std::filesystem;

namespace {

class SkinEyeCandies : public ::testing::Test {
 protected:
  void SetUp() override {
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    world_->scenarioName = L"EyeCandyScenario";
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size 4 3\nterrain\npppp\npppp\npppp\n", world_->GetMap(), error)) << error;
    world_->GetMap().ResetEyeCandies();
    folder_.Write("data/scenarios/EyeCandyScenario/eyecandies.csv",
        "# x;y;depth;cells\n1;2;29;0;1;2;3;4;5\n3;0;39;1;1;1;1;1;1\n");
    folder_.Write("data/gfx/[MapSkin]EyeCandyPicture/eyecandies.png", twtest::PngHeader(4, 4));
    fs::create_directories(folder_.Path() / "data/gfx/[MapSkin]EyeCandyBare");
  }
  void TearDown() override {
    g_Textures[kSlotEyeCandies].Release();
    g_pWorld = nullptr;
    world_.reset();
  }
  const sEyeCandy& At(int x, int y) const {
    return world_->GetMap().EyeCandies()[static_cast<std::size_t>(y) * 4 + x];
  }

  twtest::TempWorkingFolder folder_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  std::unique_ptr<cWorld> world_;
};

TEST_F(SkinEyeCandies, ASkinChangeReadsTheScenarioTableForItsPicture) {
  LoadWorldMapSkin(*world_, L"EyeCandyPicture");
  ASSERT_NE(g_Textures[kSlotEyeCandies].Get(), nullptr);
  // The lines' fields are covered by the eye-candy file's own test.
  EXPECT_FLOAT_EQ(At(1, 2).scale, 0.7f);
  EXPECT_FLOAT_EQ(At(3, 0).scale, 0.6f);

  // A skin change reads the table again: a record the game changed is
  // restored, one the table does not name is cleared.
  auto& records = const_cast<std::vector<sEyeCandy>&>(world_->GetMap().EyeCandies());
  records[0].words[0] = 77;
  records[9].words[3] = 5;
  LoadWorldMapSkin(*world_, L"EyeCandyPicture");
  EXPECT_EQ(At(0, 0).words[0], 0u);
  EXPECT_EQ(At(1, 2).words[3], 502u);

  // No picture in the new skin: no decoration is left and the table is not
  // even opened.
  twtest::LogCapture bare;
  LoadWorldMapSkin(*world_, L"EyeCandyBare");
  EXPECT_EQ(g_Textures[kSlotEyeCandies].Get(), nullptr);
  for (const sEyeCandy& record : world_->GetMap().EyeCandies()) {
    for (std::uint32_t word : record.words) EXPECT_EQ(word, 0u);
  }
  for (const std::wstring& line : bare.Lines()) EXPECT_EQ(line.find(L"eyecandies.csv"), std::wstring::npos) << line;

  // A scenario without a table: logged, and the map stays plain.
  fs::remove_all("data/scenarios/EyeCandyScenario");
  twtest::LogCapture missing;
  LoadWorldMapSkin(*world_, L"EyeCandyPicture");
  for (const sEyeCandy& record : world_->GetMap().EyeCandies()) EXPECT_EQ(record.words[0], 0u);
  EXPECT_TRUE(
      missing.Contains(L"ERROR unable to load eyecandies data from data\\scenarios\\EyeCandyScenario/eyecandies.csv"));
}

}  // namespace
