#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/lines.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/country.h"
#include "world/world.h"
#include "world/relations.h"

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
  bool BothWays(int a, int b) { return M().IsAtWar(a, b) && M().IsAtWar(b, a); }
};

TEST_F(Relations, AllianceGroups) {
  AddCountries({{L"N1", 0}, {L"N2", 0}, {L"Allies", 1}, {L"AlliesLead", 4}, {L"AlliesLead2", 4}, {L"Axis", 2}});
  EXPECT_FALSE(C(1).IsAlliedWith(2));  // two neutrals
  EXPECT_FALSE(C(1).IsAlliedWith(3));  // neutral and member
  EXPECT_TRUE(C(3).IsAlliedWith(4));   // 1 and 4
  EXPECT_TRUE(C(4).IsAlliedWith(5));   // 4 and 4
  EXPECT_TRUE(C(3).IsAlliedWith(3));
  EXPECT_FALSE(C(3).IsAlliedWith(6));
  // Nobody (a hex without controller) is allied with no one.
  EXPECT_FALSE(C(3).IsAlliedWith(0));
  EXPECT_TRUE(C(3).IsInAlliance(1));
  EXPECT_TRUE(C(3).IsInAlliance(4));
  EXPECT_TRUE(C(4).IsInAlliance(1));
  EXPECT_FALSE(C(4).IsInAlliance(2));
  EXPECT_FALSE(C(1).IsInAlliance(0));
  EXPECT_TRUE(C(3).IsAllianceRepresented());
  EXPECT_FALSE(C(1).IsAllianceRepresented());
  // Side: Axis, Allies, Comintern, neutral.
  EXPECT_EQ(C(6).GetAllianceSide(), 1);
  EXPECT_EQ(C(4).GetAllianceSide(), 2);
  EXPECT_EQ(C(1).GetAllianceSide(), 4);
}

TEST_F(Relations, WarFlagsAreDirectional) {
  AddCountries({{L"A", 0}, {L"B", 0}, {L"C", 0}});
  M().SetAtWar(1, 1, true);
  EXPECT_FALSE(M().IsAtWar(1, 1));
  EXPECT_FALSE(C(1).IsAtWarWithAnyone());
  M().SetAtWar(1, 2, true);
  EXPECT_TRUE(C(1).IsAtWarWith(2));
  EXPECT_FALSE(C(2).IsAtWarWith(1));
  EXPECT_TRUE(C(1).IsAtWarWithAnyone());
  EXPECT_FALSE(C(2).IsAtWarWithAnyone());
  // Nobody is at war with no one.
  EXPECT_FALSE(C(1).IsAtWarWith(0));
  EXPECT_FALSE(M().IsAtWar(0, 2));
  // ClearWarsOf only ends the wars a has declared.
  M().SetAtWar(3, 2, true);
  M().SetAtWar(2, 3, true);
  M().SetAtWar(3, 1, true);  // declared by 3 only
  M().ClearWarsOf(2);
  EXPECT_FALSE(M().IsAtWar(2, 3));
  EXPECT_FALSE(M().IsAtWar(3, 2));
  EXPECT_TRUE(M().IsAtWar(1, 2));  // 2 never declared on 1
  M().ClearWarsOf(1);
  EXPECT_FALSE(M().IsAtWar(1, 2));
  EXPECT_TRUE(M().IsAtWar(3, 1));
}

TEST_F(Relations, JoiningSpreadsWars) {
  AddCountries({{L"UK", 4}, {L"France", 1}, {L"Germany", 5}, {L"Italy", 2}, {L"Poland", 0}, {L"Sweden", 0}});
  War(1, 3);  // the leader fights Germany
  War(5, 4);  // the newcomer fights Italy
  War(5, 2);  // and a future ally: no peace comes of joining
  C(5).JoinAlliance(1);
  EXPECT_EQ(C(5).alliance, 1);
  EXPECT_EQ(C(5).allianceEntry, 100);
  EXPECT_TRUE(BothWays(1, 4));  // leader now fights Italy
  EXPECT_TRUE(BothWays(2, 4));  // France too
  EXPECT_TRUE(BothWays(5, 3));  // the leader's enemy is the newcomer's
  EXPECT_TRUE(BothWays(5, 2));  // still at war with France
  EXPECT_FALSE(M().IsAtWar(2, 2));
  EXPECT_FALSE(C(6).IsAtWarWithAnyone());
  EXPECT_FALSE(M().IsAtWar(2, 3));  // France's own peace with Germany is no one's business here
  EXPECT_TRUE(log.Contains(L"own war Poland-Italy causes war UK-Italy"));
  EXPECT_TRUE(log.Contains(L"own war Poland-Italy causes war France-Italy"));
  EXPECT_TRUE(log.Contains(L"leader's war UK-Germany causes war Poland-Germany"));
  for (const auto& line : log.Lines()) EXPECT_EQ(line.find(L"war France-France"), std::wstring::npos) << line;
}

TEST_F(Relations, JoiningWithoutLeaderEndsTheProcess) {
  AddCountries({{L"Germany", 2}, {L"Poland", 0}});
  EXPECT_EXIT(C(2).JoinAlliance(2), ::testing::ExitedWithCode(1), "");
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
        "3;Gamma;0;1;1\r\n"
        "1;Alpha;0;0;1;1;1\n"  // fields past n are ignored
        "2;Beta;1");           // short line, no line end
  Write("losses.csv", "#\n1;Alpha;0;2.5;7\n3;Gamma;0.25\n");
  M().Load(Pattern(), 3);
  EXPECT_EQ(M().GetCount(), 3);
  EXPECT_TRUE(M().IsAtWar(3, 2));
  EXPECT_FALSE(M().IsAtWar(3, 1));
  EXPECT_FALSE(M().IsAtWar(3, 3));  // marked, but never at war with itself
  EXPECT_TRUE(M().IsAtWar(1, 3));
  EXPECT_FALSE(M().IsAtWar(1, 2));
  EXPECT_TRUE(M().IsAtWar(2, 1));
  EXPECT_FALSE(M().IsAtWar(2, 3));
  EXPECT_FLOAT_EQ(M().GetLosses(1, 2), 2.5f);
  EXPECT_FLOAT_EQ(M().GetLosses(1, 3), 7.0f);
  EXPECT_FLOAT_EQ(M().GetLosses(3, 1), 0.25f);
  EXPECT_EQ(M().GetLosses(2, 1), 0.0f);
  EXPECT_TRUE(log.Contains(L"Otwarcie OK"));
}

TEST_F(RelationsFile, LoadStartsFromPeace) {
  AddCountries({{L"A", 0}, {L"B", 0}});
  War(1, 2);
  M().AddLosses(1, 2, 5.0f);
  Write("relations.csv", "1;A;0;0\n");
  Write("losses.csv", "");  // an empty losses file is fine
  M().Load(Pattern(), 2);
  EXPECT_FALSE(M().IsAtWar(1, 2));
  EXPECT_FALSE(M().IsAtWar(2, 1));
  EXPECT_EQ(M().GetLosses(1, 2), 0.0f);
}

TEST_F(RelationsFile, MissingFilesAndWrongIdsEndTheProcess) {
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  EXPECT_TRUE(log.Contains(L"Blad otwarcia pliku! (nie istnieje?)"));
  EXPECT_FALSE(log.Contains(L"Otwarcie OK"));
  Write("relations.csv", "1;A;0;0\n");  // losses missing
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  EXPECT_TRUE(log.Contains(L"Otwarcie OK"));
  Write("relations.csv", "1;A;0;0\n3;C;0;0\n");
  Write("losses.csv", "");
  EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "");
  // The ended process wrote its reason to the same log.
  EXPECT_TRUE(log.Contains(L"Error in file " + plat::FromUtf8(dir.Path().string()) + L"\\relations.csv line no. 2"));
  const std::pair<const char*, const char*> bad[] = {{"0;Nobody;0;0\n", ""}, {"1;A;0;0\n", "x;A;0;0\n"}};
  for (const auto& [relations, losses] : bad) {
    Write("relations.csv", relations);
    Write("losses.csv", losses);
    EXPECT_EXIT(M().Load(Pattern(), 2), ::testing::ExitedWithCode(1), "") << relations << losses;
  }
}

}  // namespace
