// The world object and the relations between its countries.
#include <gtest/gtest.h>

#include <tuple>

#include <string>
#include <vector>

#include "app/texture.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/map_text.h"
#include "world/report_store.h"

namespace {

struct Relations : ::testing::Test {
  cWorld world;
  twtest::LogCapture log;

  void SetUp() override { g_pWorld = &world; }
  void TearDown() override { g_pWorld = nullptr; }

  // Countries 1..n named by the given names and alliance codes, all at peace.
  void AddCountries(std::initializer_list<std::pair<const wchar_t*, int>> countries) {
    for (const auto& [name, code] : countries) twtest::AddCountry(world, code, name);
    world.GetRelations().Reset(world.GetCountryCount());
  }
  cCountry& C(int id) { return *world.GetCountry(id); }
  cRelationsMatrix& M() { return world.GetRelations(); }
  void War(int a, int b) {
    M().SetAtWar(a, b, true);
    M().SetAtWar(b, a, true);
  }
  // The war flags of countries 1..n, row by row ('1' at war).
  std::string Wars(int n) {
    std::string flags;
    for (int a = 1; a <= n; ++a)
      for (int b = 1; b <= n; ++b) flags += M().IsAtWar(a, b) ? '1' : '0';
    return flags;
  }
};

TEST_F(Relations, AllianceGroups) {
  AddCountries({{L"N1", 0}, {L"N2", 0}, {L"Allies", 1}, {L"AlliesLead", 4}, {L"AlliesLead2", 4}, {L"Axis", 2}});
  // {a, b, allied}: neutrals are allied with nobody, codes 1 and 4 make one
  // group, and nobody (a hex without controller, 0) is allied with no one.
  const int allied[][3] = {{1, 2, 0}, {1, 3, 0}, {3, 4, 1}, {4, 5, 1}, {3, 3, 1}, {3, 6, 0}, {3, 0, 0}};
  for (const auto& c : allied) EXPECT_EQ(C(c[0]).IsAlliedWith(c[1]), c[2] == 1) << c[0] << "-" << c[1];
  // {country, alliance, in it}
  const int member[][3] = {{3, 1, 1}, {3, 4, 1}, {4, 1, 1}, {4, 2, 0}, {1, 0, 0}};
  for (const auto& c : member) EXPECT_EQ(C(c[0]).IsInAlliance(c[1]), c[2] == 1) << c[0] << " in " << c[1];
}

TEST_F(Relations, WarFlagsAreDirectional) {
  AddCountries({{L"A", 0}, {L"B", 0}, {L"C", 0}});
  M().SetAtWar(1, 1, true);
  EXPECT_FALSE(C(1).IsAtWarWithAnyone());
  M().SetAtWar(1, 2, true);
  EXPECT_EQ(Wars(3), "010000000");
  EXPECT_TRUE(C(1).IsAtWarWith(2));
  EXPECT_TRUE(C(1).IsAtWarWithAnyone());
  EXPECT_FALSE(C(2).IsAtWarWithAnyone());
  // Nobody is at war with no one.
  EXPECT_FALSE(C(1).IsAtWarWith(0));
  EXPECT_FALSE(M().IsAtWar(0, 2));
  // ClearWarsOf ends, both ways, only the wars a has declared.
  M().SetAtWar(3, 2, true);
  M().SetAtWar(2, 3, true);
  M().SetAtWar(3, 1, true);  // declared by 3 only
  M().ClearWarsOf(2);
  EXPECT_EQ(Wars(3), "010000100");  // 2 never declared on 1
  M().ClearWarsOf(1);
  EXPECT_EQ(Wars(3), "000000100");
}

TEST_F(Relations, JoiningSpreadsWars) {
  AddCountries({{L"UK", 4}, {L"France", 1}, {L"Germany", 5}, {L"Italy", 2}, {L"Poland", 0}, {L"Sweden", 0}});
  War(1, 3);  // the leader fights Germany
  War(5, 4);  // the newcomer fights Italy
  War(5, 2);  // and a future ally: no peace comes of joining
  C(5).JoinAlliance(world, 1);
  EXPECT_EQ(C(5).alliance, 1);
  EXPECT_EQ(C(5).allianceEntry, 100);
  // UK and France now fight Italy and Poland fights Germany. Poland's own
  // war on France spreads to the leader as well, but never to France itself;
  // France's own peace with Germany is no one's business here.
  EXPECT_EQ(Wars(6), "011100" "100110" "100010" "110010" "011100" "000000");
  EXPECT_TRUE(log.Contains(L"own war Poland-Italy causes war UK-Italy"));
  EXPECT_TRUE(log.Contains(L"leader's war UK-Germany causes war Poland-Germany"));
}

TEST_F(Relations, JoiningWithoutLeaderEndsTheProcess) {
  AddCountries({{L"Germany", 2}, {L"Poland", 0}});
  EXPECT_EXIT(C(2).JoinAlliance(world, 2), ::testing::ExitedWithCode(1), "");
}

// The relations and losses files.
struct RelationsFile : Relations {
  twtest::FakeFramework frame;
  twtest::TempDir dir;
  void Write(const char* name, const std::string& text) { dir.Write(name, text); }
  // The folder's path pattern, written the game's way.
  std::wstring Pattern() const { return plat::FromUtf8(dir.Path().string()) + L"\\%s"; }
};

TEST_F(RelationsFile, ReadsFlagsAndLosses) {
  Write("relations.csv",
        "# id;name;1;2;3\r\n"
        "\r\n"
        "3;Gamma;0;1;1;\r\n"
        "1;Alpha;0;0;1;1;1\n"  // fields past n are warned about and ignored
        "2;Beta;1;0;0");       // no line end
  Write("losses.csv", "#\r1;Alpha;0;2.5;7\n3;Gamma;0.25;0;0\n2;Beta;0;0;0;\n");
  M().Load(Pattern(), 3);
  EXPECT_EQ(M().GetCount(), 3);
  EXPECT_EQ(Wars(3), "001100010");  // 3 marked against itself, but never at war with itself
  const float losses[][3] = {{1, 2, 2.5f}, {1, 3, 7.0f}, {3, 1, 0.25f}, {2, 1, 0.0f}};
  for (const auto& [a, b, value] : losses) EXPECT_FLOAT_EQ(M().GetLosses(static_cast<int>(a), static_cast<int>(b)), value) << a << "-" << b;
  EXPECT_TRUE(log.Contains(L"Otwarcie OK"));
  EXPECT_TRUE(log.Contains(L"WARNING: " + plat::FromUtf8(dir.Path().string()) +
                           L"\\relations.csv line 4: 7 fields where 5 are read; the fields from column 6 on are ignored"));
}

TEST_F(RelationsFile, LoadStartsFromPeace) {
  AddCountries({{L"A", 0}, {L"B", 0}});
  War(1, 2);
  M().AddLosses(1, 2, 5.0f);
  Write("relations.csv", "1;A;0;0\n2;B;0;0\n");
  Write("losses.csv", "1;A;0;0\n2;B;0;0\n");
  M().Load(Pattern(), 2);
  EXPECT_EQ(Wars(2), "0000");
  EXPECT_EQ(M().GetLosses(1, 2), 0.0f);
}

TEST_F(RelationsFile, MissingFilesAndWrongIdsEndTheProcess) {
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  EXPECT_TRUE(log.Contains(L"Blad otwarcia pliku! (nie istnieje?)"));
  Write("relations.csv", "1;A;0;0\n2;B;0;0\n");  // losses missing
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  Write("relations.csv", "1;A;0;0\n3;C;0;0\n");
  Write("losses.csv", "1;A;0;0\n2;B;0;0\n");
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  // The ended process wrote its reason to the same log.
  const std::wstring folder = plat::FromUtf8(dir.Path().string());
  EXPECT_TRUE(log.Contains(L"Error in file " + folder + L"\\relations.csv line no. 2"));
  // Every row is needed whole and once, and every cell is a number: a row
  // left out or cut short would silently make peace. Errors of the losses
  // name the losses file.
  const std::tuple<const char*, const char*, std::wstring> cases[] = {
      {"1;A;0;1\n", "1;A;0;0\n2;B;0;0\n", L"ERROR: " + folder + L"\\relations.csv: no row for country 2"},
      {"", "1;A;0;0\n2;B;0;0\n", L"ERROR: " + folder + L"\\relations.csv: no row for country 1"},
      {"1;A;0;1\n2;B;1\n", "", L"ERROR: " + folder +
           L"\\relations.csv line 2: 3 fields where 4 are needed (the id, the name and one cell for each of 2 countries)"},
      {"1;A;0;1\n1;A;0;1\n", "", L"ERROR: " + folder + L"\\relations.csv line 2: the row of country 1 is given twice, on lines 1 and 2"},
      {"1;A;0;x\n2;B;1;0\n", "", L"ERROR: " + folder + L"\\relations.csv line 1 column 4: war flag \"x\" is not a whole number"},
      {"1;A;0;1\n2;B;1;0\n", "1;A;0;0\n", L"ERROR: " + folder + L"\\losses.csv: no row for country 2"},
      {"1;A;0;1\n2;B;1;0\n", "1;A;0;nan\n2;B;0;0\n", L"ERROR: " + folder + L"\\losses.csv line 1 column 4: losses \"nan\" is not a number"},
      {"1;A;0;1\n2;B;1;0\n", "9;A;0;0\n", L"ERROR: " + folder + L"\\losses.csv line 1 column 1: country id \"9\" is not one of 1 to 2"},
  };
  for (const auto& [relations, losses, line] : cases) {
    Write("relations.csv", relations);
    Write("losses.csv", losses);
    EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(log.Lines().back(), line) << relations << "|" << losses;
  }
  EXPECT_TRUE(log.Contains(L"Error in file " + folder + L"\\losses.csv line no. 1"));
}


constexpr const char* kFixture = "size 4 3\nterrain\npppp\npff~\npp~~\nowner\n1 1 2 2\n1 1 2 0\n1 1 0 0\n";

TEST(WorldObject, DestructionStopsTheWorkerFirstThenFrees) {
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  twtest::LogCapture log;
  auto* world = new cWorld();
  std::string error;
  ASSERT_TRUE(BuildMapFromText(kFixture, world->GetMap(), error)) << error;
  ASSERT_EQ(g_Textures[10].Create(16, 16), 0);
  auto flag = std::make_shared<cTexture>();
  ASSERT_EQ(flag->Create(8, 8), 0);
  twtest::AddCountry(*world).flagTexture = flag;
  twtest::AddCity(*world, 1, 1);

  int stops = 0;
  world->SetWorkerStopHook([&] {
    ++stops;
    // Nothing is freed yet, and the phase already says so.
    EXPECT_EQ(world->GetGameState(), 15);
    EXPECT_EQ(world->GetMap().GetWidth(), 4);
    EXPECT_NE(world->GetMap().GetHex(1, 1).city, nullptr);
    EXPECT_NE(g_Textures[10].Get(), nullptr);
    EXPECT_NE(flag->Get(), nullptr);
    EXPECT_TRUE(log.Contains(L"---- Game state = 15"));
  });
  delete world;
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(g_Textures[10].Get(), nullptr);
  EXPECT_EQ(flag->Get(), nullptr);  // the country's flag was given back
}

TEST(WorldObject, DropSupplyRoleOnlyInTheCountrysOriginalLand) {
  cWorld world;
  std::string error;
  ASSERT_TRUE(BuildMapFromText(kFixture, world.GetMap(), error)) << error;
  // Types 0..4 on country 1's land; supply cities on country 2's land and
  // one off the map (never touched, never a crash).
  const int cities[][3] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 2}, {1, 1, 3}, {0, 2, 4}, {2, 0, 0}, {3, 0, 2}, {9, 9, 0}};
  for (const auto& c : cities) twtest::AddCity(world, c[0], c[1], c[2]);
  auto types = [&] {
    std::vector<int> out;
    for (const cCity* c : world.Cities()) out.push_back(c->type);
    return out;
  };
  world.DropSupplyRoleOfCountryCities(1);
  EXPECT_EQ(types(), (std::vector<int>{1, 1, 3, 3, 4, 0, 2, 0}));
  world.DropSupplyRoleOfCountryCities(2);
  EXPECT_EQ(types(), (std::vector<int>{1, 1, 3, 3, 4, 1, 3, 0}));
}

// Every rule files its reports one way: stamped with the world's date (the
// day derived from the impulse of the month) and its impulse counter, kept
// in order, each country's own.
TEST(WorldObject, AFiledReportCarriesTheWorldsDateAndImpulse) {
  cWorld world;
  world.constants.turnsPerMonth.fill(3);
  world.GetDate() = sGameDate{};
  world.GetDate().turn = 2;
  world.GetDate().month = 5;
  world.GetDate().year = 1941;
  world.impulseCounters[0] = 17;
  FileReport(world, 7, 2, L"first");
  FileReport(world, 7, 3, L"second");
  const std::list<sReport>& reports = world.reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  const sReport& first = reports.front();
  EXPECT_EQ(std::tuple(first.type, first.countryId, first.text), std::tuple(7, 2, std::wstring(L"first")));
  EXPECT_EQ(std::tuple(first.year, first.month, first.day, first.impulse), std::tuple(1941, 5, 11, 17));
  EXPECT_EQ(first.extra, 1);
  EXPECT_EQ(reports.back().countryId, 3);
  std::list<sReport> own;
  EXPECT_EQ(world.reports.Filter(own, 3, 7).size(), 1u);
}

}  // namespace
