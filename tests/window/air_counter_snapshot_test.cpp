// The air units' counters drawn with the shipped unit skin in the software
// renderer: the three types at several levels, own and enemy, with their
// markers, and one counter drawn into a panel's rectangle; below them the
// target marks of the air missions from the map skin; compared with the
// committed picture tests/data/golden/air_counters.png (TW_UPDATE_GOLDEN=1
// rewrites it).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/air_unit_draw.h"
#include "map_drawing/hex_drawing.h"
#include "platform/text.h"
#include "sdl_fixture.h"
#include "support/world_builders.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"

namespace {

class AirCounterSnapshot : public twtest::SdlTest {
 protected:
  AirCounterSnapshot() : SdlTest(640, 440) {}
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    settings_ = g_Settings;
    for (const auto& [slot, file] : {std::pair<int, const char*>{kSlotUnits, "[UnitsSkin]Counters/units.png"},
                                     std::pair<int, const char*>{kSlotUnitInfo, "[UnitsSkin]Counters/info.png"},
                                     std::pair<int, const char*>{kSlotOthers, "[MapSkin]Normal/others.png"}}) {
      ASSERT_EQ(g_Textures[slot].Load(Data(file).c_str(), cTexture::kFromFile, 1), 0) << file;
    }
    ASSERT_TRUE(ReadUnitAppearanceTable(Data("[UnitsSkin]Counters/air_units.csv"), g_AirAppearance, kAirTableShape));
    ASSERT_EQ(defaultFlag_.Load(Data("Flags/unknown.png").c_str(), cTexture::kFromFile, 1), 0);
    SetDefaultFlagTexture(&defaultFlag_);
    CreateSkinFonts(renderer_.get());
    SelectUnitFontsForZoomPercent(100);
    world_ = std::make_unique<cWorld>();
    g_pWorld = world_.get();
    twtest::AddCountry(*world_, kAlliesLeader, L"Westland").colour[0] = 0x002850B0;
    twtest::AddCountry(*world_, kAxisLeader, L"Eastmark").colour[0] = 0x00B03028;
    world_->GetRelations().Reset(2);
    world_->turnState.SetCurrentCountry(world_->GetCountry(1));
  }
  void TearDown() override {
    g_pSprite = nullptr;
    g_pWorld = nullptr;
    world_.reset();
    for (int slot : {kSlotUnits, kSlotUnitInfo, kSlotOthers}) g_Textures[slot].Release();
    SetDefaultFlagTexture(nullptr);
    defaultFlag_.Release();
    ReleaseSkinFonts();
    g_AirAppearance.Reset();
    g_Settings = settings_;
    SdlTest::TearDown();
  }
  std::wstring Data(const std::string& file) const { return plat::WidenBytes((root_ / "data/gfx" / file).string()); }

  cJednostkaLotnicza Unit(int country, int type, int level, float strength, int points) {
    cJednostkaLotnicza unit(world_.get());
    unit.countryId = country;
    unit.SetType(type);
    unit.level = level;
    unit.strength = strength;
    unit.supply = points > 0 ? 10 : 3;
    unit.actionPoints = unit.startingActionPoints = points;
    unit.name = type == kUnitFighter ? L"1st Fighter Wing" : (type == kUnitTacticalBomber ? L"2nd Bombers" : L"Heavy Group");
    return unit;
  }

  std::unique_ptr<cWorld> world_;
  cTexture defaultFlag_;
  sSettings settings_;
};

TEST_F(AirCounterSnapshot, ThreeTypesOwnAndEnemyAndOneInAPanel) {
  renderer_->BeginScene();
  renderer_->Clear(0xFF405838);
  plat::SpriteBatch batch(*renderer_);
  g_pSprite = &batch;
  batch.Begin();
  const int types[3] = {kUnitFighter, kUnitTacticalBomber, kUnitStrategicBomber};
  for (int i = 0; i < 3; ++i) {
    cJednostkaLotnicza own = Unit(1, types[i], i + 1, 10.0f - static_cast<float>(i), i == 2 ? 0 : 6);
    DrawAirCounter(batch, AirCounterStateOf(own), static_cast<float>(10 + 170 * i), 0.0f, 0.5f, 0);
    cJednostkaLotnicza enemy = Unit(2, types[i], 5 - i, 12.0f, 5);
    DrawAirCounter(batch, AirCounterStateOf(enemy), static_cast<float>(10 + 170 * i), 150.0f, 0.5f, 1);
  }
  // The target marks: rebase, land and sea reconnaissance, bombardment,
  // nuclear strike, air fight, sea bombardment, and the dimmed hex.
  const int marks[8] = {7, 8, 14, 10, 12, 13, 16, 24};
  for (int i = 0; i < 8; ++i) {
    const plat::RectI source = skin_sheet_layout::Mark(marks[i]);
    DrawSpriteRect(&batch, &g_Textures[kSlotOthers], source, 6 + 64 * i, 300, 83, 83, 0xFFFFFFFFu, 0.5f, true);
  }
  batch.End();
  cJednostkaLotnicza panel = Unit(1, kUnitStrategicBomber, 3, 7.0f, 4);
  DrawAirCounterInRect(panel, plat::RectI{530, 260, 613, 340});
  renderer_->EndScene();
  // The country's colour under the aircraft, and the aircraft over it.
  EXPECT_NE(Pixel(10 + 83, 60), 0x405838u);
  ExpectGolden("air_counters.png");
}

}  // namespace
