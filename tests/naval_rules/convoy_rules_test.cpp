// Convoys on the fixture scenario loaded as a game: creation and its
// refusals, removal, the port marks, every refusal of an execution, a convoy
// that sails and delivers supply or production points (raided or not), and a
// save and load that keeps the convoys.
#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/string_base.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "rules/convoys.h"
#include "rules/world_turn.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

// Sea nodes of the fixture: 1 North Sea, 2 Strait (zones), 3 Westport,
// 4 Eastport, 5 Straitport; links 1-2, 1-3, 1-4, 2-5. Westland (1, Allies'
// leader) is at war with Eastmark (2, Axis' leader) and Southia (3, Axis).
constexpr int kFull = 20;

class ConvoyRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    settings_ = twtest::CopyFixtureScenario(dir_.Path());
    LoadWorld(settings_);
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    cWorld& w = *world_;
    sScenarioConstants& k = w.constants;
    k.maxSupply = kFull;
    k.convoyFactors.fill(1.0f);
    // No raids unless a test asks for them.
    k.convoyRouteFactors = {0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    k.convoyAttackValues = {0, 0, 0};
    k.convoyDamageMin.fill(1);
    k.convoyDamageMax.fill(1);
    eastport_ = ConvoyPortCityOfNode(w, kEastport);
    straitport_ = ConvoyPortCityOfNode(w, kStraitport);
    ASSERT_NE(eastport_, nullptr);
    ASSERT_NE(straitport_, nullptr);
    w.ResetCitySupplyRows();
    SetSupply(*eastport_, kEastmark, kFull);
    Country(kEastmark).seaTransportPoints = 10;
    Country(kEastmark).seaTransportPointsInConvoys = 0;
    // Eastmark's two land units draw from Straitport, whose group is its own.
    groups_ = {{eastport_}, {straitport_}};
    for (cJednostkaLadowa* unit : w.Units().landUnits) {
      if (unit->countryId == kEastmark) draws_.push_back({unit, straitport_});
    }
    ASSERT_EQ(draws_.size(), 2u);
  }
  void TearDown() override {
    world_.reset();
    g_pWorld = nullptr;
  }

  cCountry& Country(int id) { return *world_->GetCountry(id); }
  static void SetSupply(cCity& city, int country, int value) {
    city.supplyInfo[static_cast<std::size_t>(country - 1)] = value;
  }
  void Control(const cCity& city, int country) {
    world_->GetMap().GetHex(city.x, city.y).controller = static_cast<std::uint8_t>(country);
  }
  cConvoy Supplies(int owner = kEastmark, int value = 10) {
    cConvoy convoy(*world_, owner, kConvoySupplies, eastport_, straitport_);
    convoy.value = value;
    return convoy;
  }
  cConvoy Production(int value) {
    cConvoy convoy(*world_, kEastmark, kConvoyProduction, eastport_, straitport_);
    convoy.value = value;
    return convoy;
  }
  eConvoyRefusal Run(cConvoy& convoy, sConvoyResult& result) {
    return ExecuteConvoy(*world_, convoy, result, groups_, draws_);
  }

  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder folder_{dir_.Path()};
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  sGameStartSettings settings_;
  std::unique_ptr<cWorld> world_;
  cCity* eastport_ = nullptr;
  cCity* straitport_ = nullptr;
  ConvoyCityGroups groups_;
  std::vector<sConvoySupplyDraw> draws_;
};

TEST_F(ConvoyRules, CreationChecksItsPortsAndRemovalTakesOnlyWhatExists) {
  cWorld& w = *world_;
  cConvoyStore& store = w.Units().convoys;
  const std::size_t before = store.ConvoysOf(kEastmark)->size();
  {
    twtest::LogCapture log;
    EXPECT_EQ(store.AddConvoyBetweenSeaNodes(w, 0, kStraitport, kEastmark), -1);
    EXPECT_EQ(store.AddConvoyBetweenSeaNodes(w, kEastport, 6, kEastmark), -1);
    EXPECT_EQ(store.AddConvoyBetweenSeaNodes(w, kNorthSea, kStraitport, kEastmark), -1);
    EXPECT_EQ(store.AddConvoyBetweenSeaNodes(w, kEastport, kStrait, kEastmark), -1);
    EXPECT_TRUE(log.Contains(L"ERROR: New convoy has departure sea node with ID=0, there's no such sea node!"));
    EXPECT_TRUE(log.Contains(L"ERROR: New convoy has destination sea node with ID=6, there's no such sea node!"));
    EXPECT_TRUE(log.Contains(
        L"ERROR: New convoy has departure sea node with ID=1, there's no port city for this sea node!"));
    EXPECT_TRUE(log.Contains(
        L"ERROR: New convoy has destination sea node with ID=2, there's no port city for this sea node!"));
  }
  EXPECT_EQ(store.ConvoysOf(kEastmark)->size(), before);

  const int next = w.ids.nextConvoyId;
  const int id = store.AddConvoyBetweenSeaNodes(w, kEastport, kStraitport, kEastmark);
  EXPECT_EQ(id, next);
  EXPECT_EQ(w.ids.nextConvoyId, next + 1);
  const cConvoy& made = store.ConvoysOf(kEastmark)->back();
  EXPECT_EQ(made.type, kConvoySupplies);
  EXPECT_EQ(made.value, 0);
  EXPECT_EQ(made.departure, eastport_);
  EXPECT_EQ(made.destination, straitport_);
  EXPECT_EQ(made.departurePortSize, w.GetSeaGraph().GetNode(kEastport)->size);
  EXPECT_TRUE(store.HasConvoyTo(straitport_, kEastmark));
  EXPECT_FALSE(store.HasConvoyTo(eastport_, kEastmark));

  // Scripts: a hex without a city makes nothing; the removal takes every
  // convoy of that owner, type and pair of cities and nothing else.
  EXPECT_EQ(store.AddConvoy(w, kEastmark, kConvoyProduction, 7, 0, 0, straitport_->x, straitport_->y), -1);
  EXPECT_GE(store.AddConvoy(w, kEastmark, kConvoyProduction, 7, eastport_->x, eastport_->y, straitport_->x,
                            straitport_->y),
            0);
  EXPECT_EQ(store.ConvoysOf(kEastmark)->back().value, 7);
  EXPECT_EQ(store.RemoveConvoys(w, kEastmark, kConvoySupplies, 0, 0, straitport_->x, straitport_->y), 0);
  const std::size_t all = store.ConvoysOf(kEastmark)->size();
  EXPECT_EQ(store.RemoveConvoys(w, kEastmark, kConvoySupplies, eastport_->x, eastport_->y, straitport_->x,
                                straitport_->y),
            static_cast<int>(all) - 1);
  ASSERT_EQ(store.ConvoysOf(kEastmark)->size(), 1u);
  EXPECT_EQ(store.ConvoysOf(kEastmark)->front().type, kConvoyProduction);

  // The computer's convoy carries what the destination lacks; a non-port
  // makes nothing.
  SetSupply(*straitport_, kEastmark, 6);
  ASSERT_GE(store.AddSupplyConvoyAi(w, eastport_, straitport_, kEastmark), 0);
  EXPECT_EQ(store.ConvoysOf(kEastmark)->back().value, kFull - 6);
  SetSupply(*straitport_, kEastmark, kFull + 3);
  ASSERT_GE(store.AddSupplyConvoyAi(w, eastport_, straitport_, kEastmark), 0);
  EXPECT_EQ(store.ConvoysOf(kEastmark)->back().value, 0);
  cCity* inland = w.GetMap().GetHex(16, 5).city;  // Ostburg
  ASSERT_NE(inland, nullptr);
  EXPECT_EQ(store.AddSupplyConvoyAi(w, eastport_, inland, kEastmark), -1);

  // Removing one convoy takes the first; a country without any keeps nothing
  // to remove and the others stay as they are.
  const int first = store.ConvoysOf(kEastmark)->front().id;
  EXPECT_TRUE(store.RemoveOneConvoy(kEastmark));
  EXPECT_NE(store.ConvoysOf(kEastmark)->front().id, first);
  store.ConvoysOf(kNeutralia)->clear();
  const std::size_t eastmark = store.ConvoysOf(kEastmark)->size();
  EXPECT_FALSE(store.RemoveOneConvoy(kNeutralia));
  EXPECT_FALSE(store.RemoveOneConvoy(99));
  EXPECT_TRUE(store.ConvoysOf(kNeutralia)->empty());
  EXPECT_EQ(store.ConvoysOf(kEastmark)->size(), eastmark);
}

TEST_F(ConvoyRules, PortMarksOfDeparturesAndDestinations) {
  cWorld& w = *world_;
  cMap& map = w.GetMap();
  auto marked = [&](int node) {
    const sWezelGrafuMorz& n = *w.GetSeaGraph().GetNode(node);
    return (map.GetHex(n.ownShipX, n.ownShipY).markBits & 0x8000u) != 0;
  };
  Control(*straitport_, kSouthia);
  cConvoyStore::MarkDeparturePorts(w, kEastmark);
  EXPECT_TRUE(marked(kEastport));
  EXPECT_FALSE(marked(kStraitport));  // an ally's port is no departure
  EXPECT_FALSE(marked(kWestport));
  cConvoyStore::MarkDestinationPorts(w, kEastmark, kEastport);
  EXPECT_FALSE(marked(kEastport));  // the departure itself
  EXPECT_TRUE(marked(kStraitport));
  EXPECT_FALSE(marked(kWestport));  // the enemy's
}

TEST_F(ConvoyRules, EachRefusalInItsOrderSpendsNothing) {
  // Each case starts from a freshly loaded world.
  struct sCase {
    const char* name;
    std::function<cConvoy()> make;
    eConvoyRefusal expected;
  };
  const std::vector<sCase> cases = {
      {"same city",
       [&] {
         cConvoy c = Supplies();
         c.destination = c.departure;
         return c;
       },
       eConvoyRefusal::kSameCity},
      {"neutral at peace", [&] { return Supplies(kNeutralia); }, eConvoyRefusal::kNeutralAtPeace},
      {"neutral at war sails past the neutral check",
       [&] {
         world_->GetRelations().SetAtWar(kNeutralia, kWestland, true);
         return Supplies(kNeutralia);
       },
       eConvoyRefusal::kDepartureNotFriendly},
      {"production from a city not held",
       [&] {
         Control(*eastport_, kSouthia);
         return Production(5);
       },
       eConvoyRefusal::kDepartureNotOwned},
      {"destination held by the enemy",
       [&] {
         Control(*straitport_, kWestland);
         return Supplies();
       },
       eConvoyRefusal::kDestinationEnemy},
      {"production within one country", [&] { return Production(5); }, eConvoyRefusal::kSameController},
      {"departure held by a neutral",
       [&] {
         Control(*eastport_, kNeutralia);
         return Supplies();
       },
       eConvoyRefusal::kDepartureNotFriendly},
      {"departure short of full supply",
       [&] {
         SetSupply(*eastport_, kEastmark, kFull - 1);
         return Supplies();
       },
       eConvoyRefusal::kDepartureUnsupplied},
      {"departure supplied by a convoy",
       [&] {
         eastport_->convoyInfo[kEastmark - 1] = 1;
         return Supplies();
       },
       eConvoyRefusal::kDepartureUnsupplied},
      {"supplies to a neutral",
       [&] {
         Control(*straitport_, kNeutralia);
         return Supplies();
       },
       eConvoyRefusal::kDestinationNotFriendly},
      {"destination well supplied",
       [&] {
         SetSupply(*straitport_, kEastmark, kFull * 80 / 100);
         return Supplies();
       },
       eConvoyRefusal::kWellSupplied},
      {"strait held by the enemy",
       [&] {
         for (sSeaLink& link : world_->GetSeaGraph().GetNode(kNorthSea)->links) {
           if (link.node == kStrait) link.straitX = 9, link.straitY = 3;
         }
         world_->GetMap().GetHex(9, 3).controller = kWestland;
         return Supplies();
       },
       eConvoyRefusal::kNoSeaRoute},
      {"production of value 0",
       [&] {
         Control(*straitport_, kSouthia);
         return Production(0);
       },
       eConvoyRefusal::kZeroProduction},
      {"owner without production points",
       [&] {
         Control(*straitport_, kSouthia);
         Country(kEastmark).productionPoints = 0.5;
         return Production(5);
       },
       eConvoyRefusal::kNoProduction},
      {"nobody to supply",
       [&] {
         draws_.clear();
         return Supplies();
       },
       eConvoyRefusal::kNoUnitsToSupply},
      {"no sea transport points",
       [&] {
         Country(kEastmark).seaTransportPoints = 0;
         return Supplies();
       },
       eConvoyRefusal::kNoTransportPoints},
      {"too few points for production",
       [&] {
         Control(*straitport_, kSouthia);
         Country(kEastmark).seaTransportPoints = 3;
         return Production(5);
       },
       eConvoyRefusal::kTooFewTransportPoints},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    draws_.clear();
    SetUp();
    cConvoy convoy = c.make();
    cCountry& owner = Country(convoy.owner);
    const int stp = owner.seaTransportPoints;
    const double pp = owner.productionPoints;
    const int supply = straitport_->supplyInfo[kEastmark - 1];
    sConvoyResult result;
    const eConvoyRefusal checked = CheckConvoy(*world_, convoy);
    EXPECT_TRUE(checked == eConvoyRefusal::kNone || checked == c.expected);
    EXPECT_EQ(Run(convoy, result), c.expected);
    EXPECT_EQ(result.resultText, g_StringBase.GetText("convoy_not_executed"));
    EXPECT_EQ(result.stpSent, 0);
    EXPECT_FALSE(result.detailsText.empty());
    EXPECT_EQ(owner.seaTransportPoints, stp);
    EXPECT_EQ(owner.productionPoints, pp);
    EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], supply);
  }
  // The texts name what they refuse.
  cConvoy convoy = Supplies();
  SetSupply(*straitport_, kEastmark, 17);
  sConvoyResult result;
  ASSERT_EQ(Run(convoy, result), eConvoyRefusal::kWellSupplied);
  EXPECT_EQ(result.detailsText, L"Convoy not executed: Straitport is already well-supplied (supply=17)");
  Control(*straitport_, kWestland);
  ASSERT_EQ(Run(convoy, result), eConvoyRefusal::kDestinationEnemy);
  EXPECT_EQ(result.detailsText,
            plat::Format(std::wstring(g_StringBase.GetText(ConvoyRefusalKey(eConvoyRefusal::kDestinationEnemy))),
                         std::wstring(L"Straitport")));
}

TEST_F(ConvoyRules, SuppliesSailDeliverAndTheirPointsComeBackNextTime) {
  cWorld& w = *world_;
  cConvoyStore& store = w.Units().convoys;
  store.ConvoysOf(kEastmark)->clear();
  cConvoy convoy = Supplies(kEastmark, 10);
  store.Add(convoy);
  SetSupply(*straitport_, kEastmark, 3);
  w.impulseCounters[0] = 0;
  const std::size_t reports = w.reports.Reports().size();

  ExecuteCountryConvoys(w, kEastmark, groups_, draws_);
  const std::vector<sConvoyResult>& results = *store.ResultsOf(kEastmark);
  ASSERT_EQ(results.size(), 1u);
  const sConvoyResult& first = results.front();
  EXPECT_EQ(first.resultText, g_StringBase.GetText("success"));
  // Two units at one point each: two points needed, two sent, none lost;
  // what arrives is the full supply.
  EXPECT_EQ(first.stpNeeded, 2);
  EXPECT_EQ(first.stpSent, 2);
  EXPECT_EQ(first.stpLost, 0);
  EXPECT_EQ(first.cargoText, plat::Format(std::wstring(g_StringBase.GetText("supply_for_%i_units")), 2));
  EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], kFull);
  EXPECT_EQ(straitport_->convoyInfo[kEastmark - 1], 1);
  EXPECT_EQ(eastport_->convoyInfo[kEastmark - 1], 0);  // another group
  EXPECT_EQ(Country(kEastmark).seaTransportPoints, 8);
  EXPECT_EQ(Country(kEastmark).seaTransportPointsInConvoys, 2);
  EXPECT_EQ(w.reports.Reports().size(), reports);  // no report before the first real impulse

  // The next impulse: the points come back before the convoy sails again,
  // and the execution is reported. A cost above the convoy's value is cut
  // to the value; too few free points send what there is.
  w.impulseCounters[0] = 1;
  SetSupply(*straitport_, kEastmark, 0);
  w.constants.convoyFactors.fill(4.0f);
  store.ConvoysOf(kEastmark)->front().value = 6;
  Country(kEastmark).seaTransportPoints = 1;  // 1 free + 2 back = 3 of 6
  ExecuteCountryConvoys(w, kEastmark, groups_, draws_);
  const sConvoyResult& second = store.ResultsOf(kEastmark)->front();
  EXPECT_EQ(second.stpNeeded, 6);
  EXPECT_EQ(second.stpSent, 3);
  const std::wstring warning = plat::Format(
      std::wstring(g_StringBase.GetText(
          "warning:_%s_doesn't_have_enough_sea_transport_points_to_carry_all_needed_supplies_(%i_available,_%i_"
          "needed)._all_available_sea_transport_points_have_been_used._")),
      std::wstring(L"Eastmark"), 3, 6);
  EXPECT_EQ(second.detailsText.rfind(warning, 0), 0u);
  EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], 3 * kFull / 6);
  EXPECT_EQ(Country(kEastmark).seaTransportPoints, 0);
  EXPECT_EQ(Country(kEastmark).seaTransportPointsInConvoys, 3);
  ASSERT_EQ(w.reports.Reports().size(), reports + 1);
  EXPECT_EQ(w.reports.Reports().back().type, 24);
  EXPECT_EQ(w.reports.Reports().back().countryId, kEastmark);
  EXPECT_EQ(w.reports.Reports().back().text.rfind(L"Convoy with 6 of supply from Eastport to Straitport", 0), 0u);

  // The supply pass hands over its own lists: groups of any kind of range,
  // entries with a unit and a city.
  struct sEntry {
    cJednostkaLadowa* unit;
    cCity* city;
    int cost;
  };
  std::vector<sEntry> entries;
  for (const sConvoySupplyDraw& draw : draws_) {
    entries.push_back({const_cast<cJednostkaLadowa*>(static_cast<const cJednostkaLadowa*>(draw.unit)),
                       const_cast<cCity*>(draw.city), 0});
  }
  const std::vector<std::list<cCity*>> lists = {{eastport_}, {straitport_}};
  SetSupply(*straitport_, kEastmark, 0);
  w.constants.convoyFactors.fill(1.0f);
  ExecuteCountryConvoysOf(w, kEastmark, lists, entries);
  EXPECT_EQ(store.ResultsOf(kEastmark)->front().resultText, g_StringBase.GetText("success"));
  EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], kFull);
}

TEST_F(ConvoyRules, RaidsMakeAPartialSuccessOrSinkTheConvoy) {
  cWorld& w = *world_;
  // Every raid hits: the Home Fleet's three ships at the North Sea take one
  // point each.
  w.constants.convoyRouteFactors = {100.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  w.constants.convoyFactors.fill(5.0f);  // two units: ten points
  cConvoy convoy = Supplies(kEastmark, 10);
  sConvoyResult result;
  ASSERT_EQ(Run(convoy, result), eConvoyRefusal::kNone);
  EXPECT_EQ(result.stpSent, 10);
  EXPECT_EQ(result.stpLost, 3);
  EXPECT_EQ(result.resultText, g_StringBase.GetText("partial_success"));
  EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], 7 * kFull / 10);
  EXPECT_NE(result.detailsText.find(L"[ATTACKED by enemy FLEET (3 ships), lost 3 STP]"), std::wstring::npos);

  // Three points sent, three lost: the convoy is destroyed.
  SetSupply(*straitport_, kEastmark, 0);
  w.constants.convoyFactors.fill(1.5f);
  Country(kEastmark).seaTransportPoints = 10;
  convoy.value = 3;
  ASSERT_EQ(Run(convoy, result), eConvoyRefusal::kNone);
  EXPECT_EQ(result.stpLost, 3);
  EXPECT_EQ(result.resultText, g_StringBase.GetText("failure"));
  EXPECT_EQ(straitport_->supplyInfo[kEastmark - 1], 0);
}

TEST_F(ConvoyRules, ProductionGoesToTheAllyAndIsCutToWhatTheOwnerHas) {
  cWorld& w = *world_;
  Control(*straitport_, kSouthia);
  Country(kEastmark).productionPoints = 4.5;
  const double southia = Country(kSouthia).productionPoints;
  cConvoy convoy = Production(10);
  sConvoyResult result;
  ASSERT_EQ(Run(convoy, result), eConvoyRefusal::kNone);
  EXPECT_EQ(convoy.value, 4);  // for good
  EXPECT_EQ(result.stpSent, 4);
  EXPECT_EQ(result.resultText, g_StringBase.GetText("success"));
  EXPECT_DOUBLE_EQ(Country(kEastmark).productionPoints, 0.5);
  EXPECT_DOUBLE_EQ(Country(kSouthia).productionPoints, southia + 4.0);
  const std::wstring note = plat::Format(
      std::wstring(g_StringBase.GetText("note:_this_convoy_was_supposed_to_carry_resources_worth_%i_pp,_while_%s_"
                                        "has_only_%i_pp._amount_of_pp_carried_by_convoy_has_been_set_to_%i._")),
      10, std::wstring(L"Eastmark"), 4, 4);
  EXPECT_EQ(result.detailsText.rfind(note, 0), 0u);
  // Without an ally's port on the way the points stay home.
  Control(*straitport_, kEastmark);
  Country(kEastmark).productionPoints = 9.0;
  EXPECT_EQ(Run(convoy, result), eConvoyRefusal::kSameController);
  EXPECT_DOUBLE_EQ(Country(kEastmark).productionPoints, 9.0);
  (void)w;
}

// The results shown: only to a player at this screen, only where there are
// results; on the main thread nothing waits for them to close.
class ResultsView : public twtest::RecordingView {
 public:
  using RecordingView::RecordingView;
  bool ShowConvoyResults(int countryId) override {
    shownFor.push_back(countryId);
    return true;
  }
  bool ConvoyResultsOpen() const override { return true; }
  std::vector<int> shownFor;
};

TEST_F(ConvoyRules, ResultsAreShownToTheHumanCountriesThatHaveThem) {
  cWorld& w = *world_;
  auto owned = std::make_unique<ResultsView>(w);
  ResultsView& view = *owned;
  w.SetView(std::move(owned));
  for (auto& country : w.Countries()) country->human = country->id != kNeutralia;
  cConvoyStore& store = w.Units().convoys;
  for (int id = 1; id <= w.GetCountryCount(); ++id) store.ResultsOf(id)->assign(1, sConvoyResult{});
  store.ResultsOf(kWestland)->clear();
  Country(kSouthia).active = false;
  ExecuteConvoys(w);
  // Westland has none, Southia is out of the game, Neutralia is the
  // computer's and the dummy country never plays.
  EXPECT_EQ(view.shownFor, std::vector<int>{kEastmark});
  w.SetView(nullptr);
}

TEST_F(ConvoyRules, ASavedGameKeepsTheConvoysInTheirOrder) {
  cWorld& w = *world_;
  cConvoyStore& store = w.Units().convoys;
  store.ConvoysOf(kEastmark)->clear();
  ASSERT_GE(store.AddConvoyBetweenSeaNodes(w, kStraitport, kEastport, kEastmark), 0);
  ASSERT_GE(store.AddConvoy(w, kEastmark, kConvoyProduction, 12, eastport_->x, eastport_->y, straitport_->x,
                            straitport_->y),
            0);
  struct sSeen {
    int id, owner, type, value;
    std::wstring from, to;
    bool operator==(const sSeen&) const = default;
  };
  auto census = [](cWorld& world) {
    std::vector<sSeen> out;
    for (int country = 1; country <= world.GetCountryCount(); ++country) {
      for (const cConvoy& c : *world.Units().convoys.ConvoysOf(country)) {
        out.push_back({c.id, c.owner, c.type, c.value, c.departure->GetName(), c.destination->GetName()});
      }
    }
    return out;
  };
  const std::vector<sSeen> before = census(w);
  ASSERT_EQ(before.size(), 2u);
  ASSERT_TRUE(SaveGame(w, L"Convoys", false).ok);
  world_.reset();
  g_pWorld = nullptr;
  LoadWorld(sGameStartSettings{L"data\\save\\Convoys\\%s", 1});
  world_.reset(g_pWorld);
  ASSERT_NE(world_, nullptr);
  EXPECT_EQ(census(*world_), before);
  // New convoys go on from the greatest id kept.
  EXPECT_GT(world_->ids.nextConvoyId, before.back().id);
}

TEST_F(ConvoyRules, ACutOffPortIsSuppliedByItsConvoyAtTheEndOfAnImpulse) {
  cWorld& w = *world_;
  for (auto& country : w.Countries()) country->human = false;
  w.turnsLeft = 100;
  // Eastmark's Guard holds Straitport, and Westland every land hex around
  // it: a pocket of one port city that is no supply source.
  cJednostkaLadowa* guard = nullptr;
  for (cJednostkaLadowa* unit : w.Units().landUnits) {
    if (unit->countryId == kEastmark && unit->IsOnMap() && guard == nullptr) guard = unit;
  }
  ASSERT_NE(guard, nullptr);
  ASSERT_TRUE(guard->PlaceOnHex(*world_, straitport_->x, straitport_->y));
  // Land without a unit cut off from its own cities is absorbed at every
  // end: the ring is laid anew before each.
  const auto encircle = [&] {
    for (int dir = 0; dir < 6; ++dir) {
      sHex* next = w.GetMap().GetNeighbour(straitport_->x, straitport_->y, dir);
      if (next != nullptr && next->IsLand()) next->controller = kWestland;
    }
  };
  encircle();
  cConvoyStore& store = w.Units().convoys;
  store.ConvoysOf(kEastmark)->clear();
  Country(kEastmark).seaTransportPoints = 10;

  EndImpulse(w, true);
  EXPECT_LE(guard->supply, 1) << "the pocket gives only the port's own supply";
  EXPECT_EQ(guard->supplySourceX, straitport_->x);

  store.Add(Supplies(kEastmark, 10));
  encircle();
  EndImpulse(w, true);
  ASSERT_EQ(store.ResultsOf(kEastmark)->size(), 1u);
  EXPECT_EQ(store.ResultsOf(kEastmark)->front().resultText, g_StringBase.GetText("success"))
      << store.ResultsOf(kEastmark)->front().detailsText;
  EXPECT_EQ(guard->supply, w.constants.maxSupply) << "the convoy brings the full supply into the pocket";
  EXPECT_EQ(guard->turnsWithoutSupply, 0);
  EXPECT_LT(Country(kEastmark).seaTransportPoints, 10) << "the convoy's points are at sea";
}

}  // namespace
