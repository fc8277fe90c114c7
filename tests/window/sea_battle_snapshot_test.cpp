// The sea-battle screen as the player sees it, drawn by the software
// renderer from the shipped skins, GUI sheet, layout and texts over the
// fixture scenario: the field of water with both zones' edges, both
// formations' ship counters on their cells, the player's picked ship with
// its move cells and its marked target, and the column of title, crest,
// counters, log and buttons after two shots. Compared with the
// committed picture tests/data/golden/sea_battle_1024x768.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "dialogs/dialog.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "game_screen_fixture.h"
#include "gui/dxut_element.h"
#include "platform/rand.h"
#include "rules/sea_battle.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/sea_battle_menu.h"
#include "support/fixture_scenario.h"
#include "world/country.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

using SeaBattleSnapshot = twtest::GameScreenTest;

std::unique_ptr<cJednostkaMorska> Ship(cWorld& world, int id, int country, int type, const wchar_t* name) {
  auto ship = std::make_unique<cJednostkaMorska>(&world);
  ship->id = id;
  ship->countryId = country;
  ship->SetType(type);
  ship->name = name;
  ship->hitPoints = ship->maxHitPoints = 60;
  ship->visible = true;
  return ship;
}

TEST_F(SeaBattleSnapshot, FieldMarksAndControlsAfterTwoShots) {
  const sGameStartSettings start = twtest::CopyFixtureScenario(dir_.Path());
  LoadWorld(start);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  world.SetView(MakeMapScreen(world));
  world.GetCountry(1)->human = true;
  world.constants.seaBattleRoundWeights = {0, 0, 1, 0, 0};
  // A fixed die: every shot hits for a hit point, every pick is the first.
  const plat::ScopedRandOverride dice([] { return 0; });
  std::vector<std::unique_ptr<cJednostkaMorska>> ships;
  ships.push_back(Ship(world, 9001, 1, kUnitBattleship, L"Resolute"));
  ships.push_back(Ship(world, 9002, 1, kUnitCruiser, L"Valiant"));
  ships.push_back(Ship(world, 9003, 1, kUnitCruiser, L"Ajax"));
  ships.push_back(Ship(world, 9004, 2, kUnitBattleship, L"Eisenfaust"));
  ships.push_back(Ship(world, 9005, 2, kUnitCruiser, L"Sturmvogel"));
  std::vector<cJednostkaMorska*> first{ships[0].get(), ships[1].get(), ships[2].get()};
  std::vector<cJednostkaMorska*> second{ships[3].get(), ships[4].get()};
  cSeaBattle battle(world, first, second);
  battle.seaAreaName = L"North Sea";
  battle.PreliminaryStrikes();
  ASSERT_FALSE(battle.cancelRegularPart);
  auto* menu = new cSeaBattleMenu(world, battle);
  DeleteRetiredMenus();
  EXPECT_EQ(world.GetGameState(), 5);
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleShotId, nullptr);
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleShotId, nullptr);
  // Each side has fired once; the battleship's shot is spent. The player
  // picks the cruiser (line place 1, cell 13,14) and aims at the enemy's
  // battleship (17,16); a cell's place on the screen at the first view is
  // found through the pick itself.
  auto clickCell = [&](int c, int r) {
    for (int y = 0; y < 768; y += 4) {
      for (int x = 0; x < 760; x += 4) {
        int pc = -1, pr = -1;
        if (cSeaBattleGrid::PickCell(x, y, 1024, 768, menu->Zoom(), menu->ScrollX(), menu->ScrollY(), pc, pr) &&
            pc == c && pr == r) {
          menu->OnMouse(true, false, false, false, false, 0, x + 8, y + 8);
          menu->OnMouse(false, false, false, false, false, 0, x + 8, y + 8);
          return;
        }
      }
    }
    ADD_FAILURE() << "cell " << c << "," << r << " not on the screen";
  };
  ASSERT_TRUE(battle.firstSideActs);
  clickCell(13, 14);
  clickCell(17, 16);
  ASSERT_EQ(menu->PickMode(), 2);
  for (int i = 0; i < 3; ++i) OnFrameRender(i * 0.5, 0.5f);
  // Water over the whole field, the column's frame on the right.
  EXPECT_NE(Pixel(200, 200), 0u);
  EXPECT_NE(Pixel(700, 700), 0u);
  EXPECT_NE(Pixel(900, 600), Pixel(200, 200));
  // Each ship's counter stands on its cell: the cell differs from an empty
  // cell of its column (the same water picture, whole pixels apart at zoom
  // 0.4 for rows five apart), while two empty cells do not. The counters
  // are too small a part of the screen for the picture comparison alone.
  auto differing = [&](int column, int row, int emptyRow) {
    float ox = 0.0f, oy = 0.0f, ex = 0.0f, ey = 0.0f;
    cSeaBattleGrid::CellOrigin(column, row, ox, oy);
    cSeaBattleGrid::CellOrigin(column, emptyRow, ex, ey);
    const float zoom = menu->Zoom();
    auto screen = [&](float gx, float gy) {
      return std::pair{static_cast<int>(512.0f + (gx - static_cast<float>(menu->ScrollX())) * zoom),
                       static_cast<int>(384.0f + (gy - static_cast<float>(menu->ScrollY())) * zoom)};
    };
    const auto [sx, sy] = screen(ox, oy);
    const auto [rx, ry] = screen(ex, ey);
    const int size = static_cast<int>(166.0f * zoom);
    for (int v : {sx, rx}) EXPECT_TRUE(v >= 0 && v + size < 760) << column;
    for (int v : {sy, ry}) EXPECT_TRUE(v >= 0 && v + size < 768) << row;
    if (std::min({sx, rx, sy, ry}) < 0 || std::max(sx, rx) + size >= 760 || std::max(sy, ry) + size >= 768) return -1;
    int count = 0;
    for (int dy = 4; dy < size - 4; ++dy) {
      for (int dx = 4; dx < size - 4; ++dx) {
        const std::uint32_t a = Pixel(sx + dx, sy + dy), b = Pixel(rx + dx, ry + dy);
        int worst = 0;
        for (int shift : {0, 8, 16}) {
          worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu)));
        }
        count += worst > 48 ? 1 : 0;
      }
    }
    return count;
  };
  EXPECT_EQ(differing(13, 11, 6), 0);
  for (auto [column, row] : {std::pair{13, 16}, std::pair{11, 15}, std::pair{17, 14}}) {
    EXPECT_GT(differing(column, row, row - 5), 300) << "no counter on " << column << "," << row;
  }
  ExpectGolden("sea_battle_1024x768.png");

  RetireCurrentMenu();
  DeleteRetiredMenus();
  world.SetView(nullptr);
  delete g_pWorld;
  g_pWorld = nullptr;
}

}  // namespace
