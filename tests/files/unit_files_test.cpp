// The unit files: exact rows of the writers, round trips, the rows the
// readers refuse. Placement conflicts on the map are covered by the broken
// scenarios of the world loader's tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/unit_files.h"
#include "files/world_loader.h"
#include "platform/message_box.h"
#include "files_fixture.h"
#include "support/test_support.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

const char kLandHeader[] =
    "#Land units\r\n"
    "#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Current strength (1-100);Action Points;Attacked [0=false "
    "1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Starting AP;TransporterID (-1=not on "
    "transporter);CommanderID (-1=no commander assigned);InReserve [0=false 1=true];ShoreBombEffect;Freeze "
    "time;AI - order;AI - targetX;AI - targetY;AI- ultimate target X;AI - ultimate targetY;Supply;EventsEffect;"
    "Number of turns from last paradrop;mulberry remaining time (months);Turns without supply;Trench bonus "
    "multiplier;Last X;Last Y;Available in turns;";

struct UnitFiles : filestest::FilesTest {
  UnitFiles() {
    previous = g_pWorld;
    g_pWorld = &world;
    auto* commander = new cCommander();
    commander->id = 3;
    commander->name = L"Rommel";
    world.Units().commanders.push_back(commander);
  }
  ~UnitFiles() override { g_pWorld = previous; }

  cWorld* previous = nullptr;
};

TEST_F(UnitFiles, LandRowsReadBackAndAreWrittenExactly) {
  const std::string text =
      std::string(kLandHeader) +
      "\r\n7;1st,Guards;2;4;5;3;2;80;6;1;0;1;2;9;-1;3;0;1.500000;2;4;8;7;9;6;10;-3;1;-1;0;2;3;5;0;"
      "\r\n8;Res;1;-1;-1;0;1;0;0;0;0;-1;-1;0;-1;-1;1;0.000000;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;3;";
  dir.Write("land_units.csv", text);
  LoadLandUnits(world, Pattern());
  ASSERT_EQ(world.Units().landUnits.size(), 2u);
  const cJednostkaLadowa* back = world.Units().landUnits.front();
  EXPECT_EQ(back->type, 3);
  EXPECT_EQ(back->category, kCategoryLand);
  EXPECT_FLOAT_EQ(back->shoreBombardmentEffect, 1.5f);
  EXPECT_EQ(back->eventsEffect, -3);
  EXPECT_EQ(world.Units().commanders[0]->ledUnit, back);
  EXPECT_TRUE(world.Units().landUnits.back()->inReserve);
  dir.Write("out/placeholder", "");
  WriteLandUnits(world, Folder() + L"\\out");
  EXPECT_EQ(Read("out/land_units.csv"), text);
}

// How many lines of the log equal text.
int CountLines(const twtest::LogCapture& log, const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : log.Lines()) count += line == text ? 1 : 0;
  return count;
}

TEST_F(UnitFiles, RepeatedIdsAreLoggedAndKept) {
  auto* pooled = new cJednostkaLadowa();
  pooled->id = 9;
  world.Units().reservePool.push_back(pooled);
  const std::string land = "\r\n7;A;1;1;1;0;1;50;0;0;0;-1;-1;0;-1;-1;0;0;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;0;";
  dir.Write("land_units.csv", std::string(kLandHeader) + land + land +
                                  "\r\n9;B;1;2;2;0;1;50;0;0;0;-1;-1;0;-1;-1;0;0;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;0;"
                                  "\r\n8;C;1;3;3;0;1;50;0;0;0;-1;-1;0;-1;-1;0;0;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;0;");
  twtest::LogCapture log;
  LoadLandUnits(world, Pattern());
  EXPECT_EQ(world.Units().landUnits.size(), 4u);  // repeated ids survive
  EXPECT_EQ(CountLines(log, L"Blad: Numer ID=7 sie powtarza."), 1);
  EXPECT_EQ(CountLines(log, L"Blad: Numer ID=9 sie powtarza."), 1);  // the pool's unit counts
  EXPECT_FALSE(log.Contains(L"Blad: Numer ID=8 sie powtarza."));

  // An invalid air row makes no unit, so its id is still free; a second
  // valid row with an id is reported.
  dir.Write("air_units.csv",
            "\r\n6;Bad;2;10;12;21;1;5;-1;0;0;-1;-1;0;0;1;0;0;0;"
            "\r\n6;Good;2;1;1;21;1;5;-1;0;0;-1;-1;0;0;0;0;0;0;"
            "\r\n6;Again;2;1;2;21;1;5;-1;0;0;-1;-1;0;0;0;0;0;0;");
  plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
  LoadAirUnits(world, Pattern());
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_EQ(world.Units().airUnits.size(), 2u);
  EXPECT_EQ(CountLines(log, L"Blad: Numer ID=6 jednostki lotniczej sie powtarza."), 1);
}

TEST_F(UnitFiles, AirRowsAreExactAndInvalidRowsAnnounced) {
  auto* air = new cJednostkaLotnicza();
  air->id = 4;
  air->SetName(L"JG 52");
  air->countryId = 2;
  air->x = 1;
  air->y = 2;
  air->SetType(20);
  air->level = 3;
  air->strength = 12.0f;
  air->ownCommander = world.Units().commanders[0];
  air->actionPoints = 1;
  air->startingActionPoints = 2;
  air->supply = 5;
  air->reconDone = true;
  world.Units().airUnits.push_back(air);
  auto* reserve = new cJednostkaLotnicza();
  reserve->id = 5;
  reserve->SetName(L"KG 1");
  reserve->countryId = 2;
  reserve->SetType(22);
  reserve->inReserve = true;
  world.Units().reservePool.push_back(reserve);
  WriteAirUnits(world, Folder());
  std::string bytes = Read("air_units.csv");
  EXPECT_EQ(bytes,
            "#Air units\r\n#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Strength;Commander ID (-1 = no commander "
            "assigned);Attacked [0=false 1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;"
            "Action Points;Starting AP;In reserve [0=false 1=true];Supply;Air recon done? [0=false 1=true];"
            "Available in turns\r\n#On map\r\n4;JG 52;2;1;2;20;3;12;3;0;0;-1;-1;1;2;0;5;1;0;\r\n#In reserve\r\n"
            "5;KG 1;2;-1;-1;22;1;0;-1;0;0;-1;-1;0;0;1;0;0;0;");

  // Two invalid rows: in reserve on a hex, and off the map but not in reserve.
  bytes += "\r\n6;Bad1;2;10;12;21;1;5;-1;0;0;-1;-1;0;0;1;0;0;0;\r\n7;Bad2;2;-1;-1;21;1;5;-1;0;0;-1;-1;0;0;0;0;0;0;";
  dir.Write("air_units.csv", bytes);
  int boxes = 0;
  plat::SetMessageBoxHandler([&](std::wstring_view caption, std::wstring_view) {
    ++boxes;
    EXPECT_EQ(caption, L"air_units.csv");
  });
  twtest::LogCapture log;
  cWorld other;
  auto* commander = new cCommander();
  commander->id = 3;
  other.Units().commanders.push_back(commander);
  LoadAirUnits(other, Pattern());
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_EQ(boxes, 1);
  ASSERT_EQ(other.Units().airUnits.size(), 2u);
  EXPECT_EQ(other.Units().airUnits.front()->ownCommander, commander);
  EXPECT_TRUE(other.Units().airUnits.back()->inReserve);
  EXPECT_TRUE(log.Contains(L"Invalid entries from air_units.csv:"));
  EXPECT_TRUE(log.Contains(L"Bad2;-1;-1;2"));
}

TEST_F(UnitFiles, NavalRowsKeepReserveCommanderAndLinkFleets) {
  auto* fleet = new cFleet();
  fleet->id = 5;
  fleet->name = L"Home Fleet";
  world.Units().fleets.push_back(fleet);
  auto* ship = new cJednostkaMorska();
  ship->id = 1;
  ship->SetName(L"Hood");
  ship->countryId = 1;
  ship->SetType(41);
  ship->fleet = fleet;
  ship->hitPoints = 4;
  ship->maxHitPoints = 6;
  ship->canBeBombed = false;
  ship->airstrikeDone = true;
  world.Units().navalUnits.push_back(ship);
  auto* docked = new cJednostkaMorska();
  docked->id = 2;
  docked->SetName(L"Ark");
  docked->countryId = 1;
  docked->SetType(40);
  docked->inReserve = true;
  docked->ownCommander = world.Units().commanders[0];
  docked->canBeRepaired = false;
  docked->fleetId = 5;  // a reserve ship is written without its fleet
  world.Units().navalReservePool.push_back(docked);
  WriteNavalUnits(world, Folder());
  EXPECT_EQ(Read("naval_units.csv"),
            "#Naval units\r\n#ID;Name;Country ID;Type;Fleet ID;HP;Max HP;Commander ID (-1 = no commander assigned);"
            "In reserve [0=false 1=true];Can be bombed? [0=false 1=true];Airstrike done? [0=false 1=true];"
            "Available in turns;Recon done? [0=false 1=true] ;Can be repaired? [0=false 1=true]\r\n#On map\r\n"
            "1;Hood;1;41;5;4;6;-1;0;0;1;0;0;1;\r\n#In reserve\r\n2;Ark;1;40;-1;0;0;3;1;1;0;0;0;0;");

  cWorld other;
  auto* commander = new cCommander();
  commander->id = 3;
  other.Units().commanders.push_back(commander);
  auto* otherFleet = new cFleet();
  otherFleet->id = 5;
  other.Units().fleets.push_back(otherFleet);
  LoadNavalUnits(other, Pattern());
  ASSERT_EQ(other.Units().navalUnits.size(), 2u);
  const cJednostkaMorska* hood = other.Units().navalUnits.front();
  EXPECT_EQ(hood->fleetId, 5);
  EXPECT_EQ(hood->fleet, nullptr);  // linked only by PlaceShipsInFleets
  EXPECT_FALSE(hood->canBeBombed);
  EXPECT_TRUE(hood->airstrikeDone);
  EXPECT_TRUE(hood->canBeRepaired);
  cJednostkaMorska* reserveShip = other.Units().navalUnits.back();
  EXPECT_EQ(reserveShip->fleetId, -1);
  EXPECT_TRUE(reserveShip->canBeBombed);
  EXPECT_FALSE(reserveShip->airstrikeDone);
  EXPECT_FALSE(reserveShip->canBeRepaired);
  EXPECT_EQ(reserveShip->ownCommander, commander);
  EXPECT_EQ(commander->ledUnit, reserveShip);
  // The reserve ship goes to its pool before the fleets are linked.
  other.Units().navalUnits.pop_back();
  other.Units().navalReservePool.push_back(reserveShip);
  PlaceShipsInFleets(other);
  EXPECT_EQ(other.Units().navalUnits.front()->fleet, otherFleet);
  EXPECT_EQ(otherFleet->GetShipCount(), 1);
}

}  // namespace
