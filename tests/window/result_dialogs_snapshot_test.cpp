// The combat report and the attack panel as the player sees them, drawn by
// the software renderer from the shipped GUI sheets, layout and English
// texts, and compared with their golden pictures: every outcome icon in its
// place, the flags, the texts and the buttons.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "platform/format.h"
#include "frame/device_events.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_resource_manager.h"
#include "gui/hint_text.h"
#include "screens/attack_panel.h"
#include "game_screen_fixture.h"
#include "support/world_builders.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

class ResultSnapshot : public twtest::GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (HasFatalFailure()) return;
    g_pWorld = &world_;
    twtest::AddCountry(world_, 4, L"Westland");
    twtest::AddCountry(world_, 5, L"Eastmark");
    world_.GetRelations().Reset(2);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }
  // Frames until the dialogs have faded in.
  void Settle() {
    for (int i = 0; i < 8; ++i) OnFrameRender(i * 0.5, 0.5f);
  }

  cWorld world_;
};

TEST_F(ResultSnapshot, CombatReportWithEveryOutcome) {
  sBombardmentResult result;
  result.kind = kCombatLandBattle;
  result.attackerCountry = 1;
  result.defenderCountry = 2;
  result.attackerLosses = 3.25f;
  result.defenderLosses = 11.5f;
  result.attackerText1 = L"1st Infantry losses 3.25 strength";
  result.defenderText1 = L"Eastmark Guard losses 11.50 strength";
  result.attackerText2 = L"Fortifications 100%, directions 120%";
  result.defenderText2 = L"Terrain 100%, city 150%";
  for (eCombatFlag flag : {kFlagAttackerDestroyed, kFlagDefenderDestroyed, kFlagDefenderSurrendered,
                           kFlagDefenderRetreated, kFlagCityAffected, kFlagPortAffected, kFlagNavalDefenceDestroyed}) {
    result.SetFlag(flag);
  }
  PushDialog(new cDialogWynikuWalki(world_, result, -1.0f));
  Settle();
  // The icons are drawn where they stand: under the attacker's text, and in
  // a row under the defender's.
  const sLayoutRect& attacker = g_GuiLayout[cDialogWynikuWalki::kAttackerTextId];
  const sLayoutRect& defender = g_GuiLayout[cDialogWynikuWalki::kDefenderTextId];
  EXPECT_NE(Pixel(attacker.a + 20, attacker.b + attacker.d + 25), Pixel(attacker.a + 100, attacker.b + attacker.d + 25));
  for (int x : {20, 90, 140, 190, 240, 290}) {
    EXPECT_NE(Pixel(defender.a + x, defender.b + defender.d + 25), 0u) << x;
  }
  ExpectGolden("combat_report_1024x768.png");
}

// The message of an unopposed landing as the map screen shows it: the
// English texts formatted with the strengths and the sea zone's name, in the
// message dialog (layout 684).
TEST_F(ResultSnapshot, UnopposedLandingMessage) {
  const std::wstring text = plat::Format(g_StringBase.GetText("invasion_no_enemy_success_unit_losses_strength"),
                                         12.0, 2.4, 9.6);
  const std::wstring title = plat::Format(g_StringBase.GetText("invasion_no_enemy_title"), L"North Sea");
  ASSERT_NE(text.find(L"9.60"), std::wstring::npos) << "the language base holds the landing's texts";
  PushDialog(new cDialogTekstowy(text.c_str(), title.c_str(), 684));
  Settle();
  ExpectGolden("landing_message_1024x768.png");
}

TEST_F(ResultSnapshot, AttackPanelWithTwoAttackers) {
  cMap& map = world_.GetMap();
  map.SetWidth(8);
  map.SetHeight(6);
  map.CreateHexes();
  for (sHex& hex : map.Hexes()) hex.terrain = 1;
  auto unit = [&](int x, int y, int country, const wchar_t* name) {
    auto* u = new cJednostkaLadowa(&world_);
    u->countryId = country;
    u->x = x;
    u->y = y;
    u->name = name;
    u->strength = 100;
    u->level = 2;
    u->effectiveness = 90;
    world_.Units().landUnits.push_back(u);
    map.GetHex(x, y).unit = u;
    return u;
  };
  // Rule values of a real scenario's size, so the panel shows real numbers.
  const sLandUnitConstants savedUnits = LandUnitConstants();
  for (auto& row : LandUnitConstants().baseStrength) row.fill(5.0f);
  world_.constants.landCombatFactors.fill(1.2f);
  world_.constants.terrainCombatFactors.fill(1.1f);
  cJednostkaLadowa* guard = unit(3, 2, 2, L"Eastmark Guard");
  cLandAttack& plan = world_.turnState.SetAttack(guard, 3, 2);
  plan.SetAttacker(5, unit(2, 2, 1, L"2nd Armoured"));
  plan.SetAttacker(4, unit(2, 3, 1, L"1st Infantry"));
  auto panel = std::make_unique<cAttackPanel>(world_);
  panel->ShowAttack();
  for (int i = 0; i < 8; ++i) {
    OnFrameRender(i * 0.5, 0.5f);
    panel->OnRender(0.5f);
  }
  const sLayoutRect& frame = g_GuiLayout[kAttackPanelFrameId];
  EXPECT_NE(Pixel(frame.a + 10, frame.b + 10), 0u);
  ExpectGolden("attack_panel_1024x768.png");
  world_.turnState.ClearAttack();
  LandUnitConstants() = savedUnits;
  for (sHex& hex : map.Hexes()) hex.unit = nullptr;
  for (cJednostkaLadowa* u : world_.Units().landUnits) delete u;
  world_.Units().landUnits.clear();
}

}  // namespace
