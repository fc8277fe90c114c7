// Purchases: the prices of every kind of item by level and by the purchases
// made so far, the build times, a purchase that pays and puts the unit in
// its reserve pool, refusals that cost nothing, and the dialog's rows, level
// buttons, buy button and prices read again after each purchase.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/purchases_dialog.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "platform/messages.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "rules/purchases.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

namespace {

class Purchases : public ::testing::Test {
 protected:
  Purchases() : w_({"ppp", "ppp"}) {
    w_.AddCountries({kAllies, kAxis});
    cCountry& c = Country();
    c.active = true;
    c.productionPoints = 1000.0;
    c.techLevel.fill(5);
    World().turnState.SetCurrentCountry(&c);
    sScenarioConstants& k = World().constants;
    k.levelCostFactors = {2.0f, 4.0f, 3.0f, 6.0f, 4.0f, 8.0f, 3.0f};
    for (int i = 0; i < 5; ++i) k.landBaseStrength[static_cast<std::size_t>(i)].fill(10.0f + static_cast<float>(i));
    k.replacementBase = 30;  // land: x1 for levels 1-4, x2 for level 5
    k.airBaseStrength = {100, 80, 60};
    k.airCostFactorsB = {0.5f, 0.6f, 0.8f};
    k.replacementMultiplier = 50;  // air: x1, x1, x2, x2, x3
    k.purchaseFactors = {40.0f, 35.0f, 20.0f, 12.0f};
    k.purchaseOffsets = {10.0f, 15.0f, 25.0f};
    k.purchaseSlopes = {1.0f, 1.5f, 2.0f};
    k.navalTypeStrength = {12, 15, 8, 4, 3, 3};
    k.maxSupply = 10;
    for (int item = 0; item < 14; ++item) k.SetValue(154, item + 1, item % 3 + 1);
  }
  ~Purchases() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  cWorld& World() { return *w_.world; }
  cCountry& Country() { return w_.Country(1); }
  float Price(int item, int level) { return PurchasePrice(World(), Country(), item, level); }
  ePurchaseRefusal Buy(int item, int level, const std::wstring& name = std::wstring()) {
    return Purchase(World(), sPurchaseOrder{1, item, level, name});
  }
  std::vector<cJednostka*>& Reserve() { return World().Units().reservePool; }
  std::vector<cJednostkaMorska*>& ShipReserve() { return World().Units().navalReservePool; }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
};

TEST_F(Purchases, PricesOfUnitsByTypeAndLevel) {
  const struct {
    int item, level;
    float price;
  } table[] = {
      {0, 1, 2 * 10 * 1},   // infantry division, level 1
      {0, 4, 2 * 13 * 1},   // 30% x 3 = 90: still no surcharge
      {0, 5, 2 * 14 * 2},   // 30% x 4 = 120: one whole surcharge
      {5, 2, 8 * 11 * 1},   // armoured corps
      {6, 1, 3 * 10 * 1},   // airborne division
      {7, 1, 100 * 0.5f},   // fighter
      {7, 3, 100 * 0.5f * 2},
      {8, 2, 80 * 0.6f},
      {9, 5, 60 * 0.8f * 3},  // strategic bomber
      {10, 1, 40},          // carrier: one price whatever the level
      {13, 4, 12},          // submarine
      {17, 1, 0},           // no such item
  };
  for (const auto& row : table) {
    EXPECT_FLOAT_EQ(Price(row.item, row.level), row.price) << "item " << row.item << " level " << row.level;
  }
}

TEST_F(Purchases, PricesOfPointsRiseWithThePurchasesSoFar) {
  EXPECT_FLOAT_EQ(Price(kPurchaseStrategicMovement, 1), 10.0f);
  Country().strategicMovementPurchases = 3;
  EXPECT_FLOAT_EQ(Price(kPurchaseStrategicMovement, 1), 13.0f);
  EXPECT_FLOAT_EQ(Price(kPurchaseSeaTransport, 1), 15.0f);
  Country().seaTransportPoints = 25;  // two whole lots of ten
  EXPECT_FLOAT_EQ(Price(kPurchaseSeaTransport, 1), 2 * 1.5f + 15.0f);
  Country().amphibiousInvasionPurchases = 2;
  EXPECT_FLOAT_EQ(Price(kPurchaseAmphibious, 1), 2 * 2.0f + 25.0f);
}

TEST_F(Purchases, BuildTimesComeByItemCodeAndTypesAndLimitsByItem) {
  const sScenarioConstants& k = World().constants;
  for (int item = 0; item < 14; ++item) EXPECT_EQ(PurchaseBuildTime(k, item), item % 3 + 1) << item;
  EXPECT_EQ(PurchaseBuildTime(k, kPurchaseSeaTransport), 0);
  EXPECT_EQ(PurchaseItemUnitType(9), kUnitStrategicBomber);
  EXPECT_EQ(PurchaseItemUnitType(12), kUnitCruiser);
  EXPECT_EQ(PurchaseItemUnitType(14), -1);
  Country().techLevel = {2, 4, 1, 3, 1, 1, 0};
  EXPECT_EQ(PurchaseLevelLimit(Country(), 3), 2);  // artillery
  EXPECT_EQ(PurchaseLevelLimit(Country(), 4), 4);  // tanks
  EXPECT_EQ(PurchaseLevelLimit(Country(), 8), 3);  // aircraft
  EXPECT_EQ(PurchaseLevelLimit(Country(), 11), -1);
}

TEST_F(Purchases, AUnitBoughtPaysAndWaitsInTheReservePool) {
  Country().SetUnitTypeName(0, L"Rifle Division");
  const int nextLand = World().ids.nextLandUnitId;
  const int nextAir = World().ids.nextAirUnitId;
  int draws = 0;
  plat::ScopedRandOverride dice([&] { return draws++ == 0 ? 7 : 8; });  // 7 % 90 + 10 = 17, then 18
  ASSERT_EQ(Buy(0, 2), ePurchaseRefusal::kNone);
  ASSERT_EQ(Buy(0, 2), ePurchaseRefusal::kNone);
  ASSERT_EQ(Reserve().size(), 2u);
  auto* first = dynamic_cast<cJednostkaLadowa*>(Reserve()[0]);
  auto* second = dynamic_cast<cJednostkaLadowa*>(Reserve()[1]);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->id, nextLand);
  EXPECT_EQ(second->id, nextLand + 1);
  EXPECT_EQ(World().ids.nextLandUnitId, nextLand + 2);
  EXPECT_EQ(first->name, L"17 Rifle Division");
  EXPECT_EQ(second->name, L"18 Rifle Division");
  EXPECT_EQ(first->countryId, 1);
  EXPECT_EQ(first->level, 2);
  EXPECT_EQ(first->strength, 100);
  EXPECT_EQ(first->supply, 10);
  EXPECT_EQ(first->availableInTurns, 1);
  EXPECT_TRUE(first->inReserve);
  EXPECT_FALSE(first->IsOnMap());
  EXPECT_EQ(first->hqCommanderId, -1);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0 - 2 * 22.0);

  // An air unit comes at its type's full strength, with a name even though
  // the country has none of its own for the type.
  ASSERT_EQ(Buy(8, 1), ePurchaseRefusal::kNone);
  auto* air = dynamic_cast<cJednostkaLotnicza*>(Reserve().back());
  ASSERT_NE(air, nullptr);
  EXPECT_EQ(air->id, nextAir);
  EXPECT_FLOAT_EQ(air->strength, 80.0f);
  EXPECT_EQ(air->name, L"18 " + cUnit::GetSubtypeText(&World(), kUnitTacticalBomber));
  EXPECT_EQ(air->availableInTurns, 3);
}

TEST_F(Purchases, AShipBoughtWaitsInTheShipReserveWithTheHitPointsOfItsType) {
  const int nextShip = World().ids.nextShipId;
  ASSERT_EQ(Buy(11, 1, L"Resolute"), ePurchaseRefusal::kNone);
  ASSERT_EQ(ShipReserve().size(), 1u);
  const cJednostkaMorska& ship = *ShipReserve()[0];
  EXPECT_EQ(ship.id, nextShip);
  EXPECT_EQ(ship.type, kUnitBattleship);
  EXPECT_EQ(ship.name, L"Resolute");
  EXPECT_EQ(ship.hitPoints, 15);
  EXPECT_EQ(ship.maxHitPoints, 15);
  EXPECT_EQ(ship.fleet, nullptr);
  EXPECT_EQ(ship.availableInTurns, 3);
  EXPECT_TRUE(Reserve().empty());
  EXPECT_DOUBLE_EQ(Country().productionPoints, 965.0);
}

TEST_F(Purchases, PointsBoughtAreAddedAndCounted) {
  ASSERT_EQ(Buy(kPurchaseStrategicMovement, 1), ePurchaseRefusal::kNone);
  ASSERT_EQ(Buy(kPurchaseStrategicMovement, 1), ePurchaseRefusal::kNone);  // the second at 11
  EXPECT_EQ(Country().strategicMovementPoints, 2);
  EXPECT_EQ(Country().strategicMovementPurchases, 2);
  ASSERT_EQ(Buy(kPurchaseSeaTransport, 1), ePurchaseRefusal::kNone);
  EXPECT_EQ(Country().seaTransportPoints, 10);
  ASSERT_EQ(Buy(kPurchaseAmphibious, 1), ePurchaseRefusal::kNone);
  EXPECT_EQ(Country().amphibiousInvasionPoints, 1);
  EXPECT_EQ(Country().amphibiousInvasionPurchases, 1);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0 - 10 - 11 - 15 - 25);
  EXPECT_TRUE(Reserve().empty());
  EXPECT_TRUE(ShipReserve().empty());
}

TEST_F(Purchases, ARefusedPurchaseChangesNothing) {
  Country().techLevel[kTechArtillery] = 3;
  Country().productionPoints = 20.0;  // exactly an infantry division at level 1
  const sIdCounters ids = World().ids;
  EXPECT_EQ(Buy(0, 4), ePurchaseRefusal::kLevelNotAvailable);
  EXPECT_EQ(Buy(0, 0), ePurchaseRefusal::kLevelNotAvailable);
  EXPECT_EQ(Buy(1, 1), ePurchaseRefusal::kCannotAfford);  // 40
  EXPECT_EQ(Buy(kPurchaseAmphibious, 1), ePurchaseRefusal::kCannotAfford);
  EXPECT_EQ(Buy(17, 1), ePurchaseRefusal::kUnknownItem);
  EXPECT_EQ(Purchase(World(), sPurchaseOrder{2, 0, 1, L""}), ePurchaseRefusal::kNoCountry);  // not active
  EXPECT_DOUBLE_EQ(Country().productionPoints, 20.0);
  EXPECT_EQ(Country().amphibiousInvasionPoints, 0);
  EXPECT_EQ(Country().amphibiousInvasionPurchases, 0);
  EXPECT_TRUE(Reserve().empty());
  EXPECT_EQ(World().ids.nextLandUnitId, ids.nextLandUnitId);
  EXPECT_EQ(World().ids.nextAirUnitId, ids.nextAirUnitId);
  EXPECT_EQ(Buy(0, 1), ePurchaseRefusal::kNone);  // a price equal to the points is paid
  EXPECT_DOUBLE_EQ(Country().productionPoints, 0.0);
}

class PurchasesDialog : public Purchases {
 protected:
  cDialogZakupow& Open() {
    auto* d = new cDialogZakupow(World());
    PushDialog(d);
    return *d;
  }
  static std::wstring Value(cDialogZakupow& d, int id) {
    auto* edit = dynamic_cast<CDXUTEditBox*>(d.Dialog().GetControl(id));
    return edit != nullptr ? std::wstring(edit->GetText()) : L"<none>";
  }
  static std::wstring Row(cDialogZakupow& d, int row) {
    const DXUTListBoxItem* item = d.List()->GetItem(row);
    return item != nullptr ? std::wstring(item->strText) : L"<none>";
  }
  static CDXUTRadioButton* Level(cDialogZakupow& d, int level) {
    return dynamic_cast<CDXUTRadioButton*>(d.Dialog().GetControl(cDialogZakupow::kFirstLevelId + level - 1));
  }
  static void Key(cDialogZakupow& d, unsigned key) { d.OnKeyboard(key, true, false); }
};

TEST_F(PurchasesDialog, LevelsAboveTheTechnologyShowNoPriceAndTheirButtonsAreOff) {
  Country().techLevel[kTechArtillery] = 2;
  cDialogZakupow& d = Open();
  ASSERT_EQ(d.List()->GetSize(), 7);
  const std::wstring infantry = cUnit::GetSubtypeText(&World(), 0);
  EXPECT_EQ(Row(d, 0), infantry + L";1;20.00;22.00;-;-;-");
  EXPECT_EQ(Row(d, 4), cUnit::GetSubtypeText(&World(), 4) + L";2;40.00;44.00;48.00;52.00;112.00");  // by the tanks level
  EXPECT_EQ(d.SelectedItem(), 0);
  EXPECT_EQ(d.ChosenLevel(), 1);
  for (int level = 1; level <= 5; ++level) {
    EXPECT_TRUE(Level(d, level)->GetVisible());
    EXPECT_EQ(Level(d, level)->GetEnabled(), level <= 2) << level;
  }
  // A level chosen under the armoured type drops to what the artillery
  // allows once an infantry row is selected again.
  Key(d, plat::kVkDown);
  Key(d, plat::kVkDown);
  Key(d, plat::kVkDown);
  Key(d, plat::kVkDown);
  EXPECT_EQ(d.SelectedItem(), 4);
  Key(d, '4');
  EXPECT_EQ(d.ChosenLevel(), 4);
  EXPECT_TRUE(Level(d, 4)->GetChecked());
  EXPECT_FLOAT_EQ(d.CurrentPrice(), 52.0f);
  Key(d, plat::kVkUp);
  EXPECT_EQ(d.ChosenLevel(), 2);
  EXPECT_TRUE(Level(d, 2)->GetChecked());
  EXPECT_FALSE(Level(d, 4)->GetChecked());
  Key(d, '5');  // not enabled: nothing changes
  EXPECT_EQ(d.ChosenLevel(), 2);
  // Ships and points have no levels.
  Key(d, plat::kVkRight);
  Key(d, plat::kVkRight);
  EXPECT_EQ(d.SelectedItem(), 10);
  EXPECT_FALSE(Level(d, 1)->GetVisible());
  EXPECT_EQ(Row(d, 1), cUnit::GetSubtypeText(&World(), kUnitBattleship) + L";3;35.00");
}

TEST_F(PurchasesDialog, ThePriceMustNotExceedThePointsAtHand) {
  Country().productionPoints = 20.0;
  cDialogZakupow& d = Open();
  EXPECT_EQ(Value(d, cDialogZakupow::kCostId), L"20.00_pp");
  EXPECT_EQ(Value(d, cDialogZakupow::kAvailableId), L"20.00_pp");
  EXPECT_TRUE(d.Dialog().GetControlEnabled(cDialogZakupow::kBuyId));
  Country().productionPoints = 19.99;
  d.RefreshSelection();
  EXPECT_FALSE(d.Dialog().GetControlEnabled(cDialogZakupow::kBuyId));
  Key(d, plat::kVkReturn);  // a disabled buy does nothing
  EXPECT_TRUE(Reserve().empty());
  EXPECT_DOUBLE_EQ(Country().productionPoints, 19.99);
}

TEST_F(PurchasesDialog, BuyingTwiceInOneOpeningPaysTheRisingPrice) {
  cDialogZakupow& d = Open();
  for (int i = 0; i < 3; ++i) Key(d, plat::kVkRight);
  ASSERT_EQ(d.SelectedItem(), kPurchaseStrategicMovement);
  EXPECT_EQ(d.Preview(), nullptr);
  EXPECT_EQ(Row(d, 0), L"strat_mov_pts;10.00");
  Key(d, plat::kVkReturn);
  EXPECT_FLOAT_EQ(d.CurrentPrice(), 11.0f);
  EXPECT_EQ(Row(d, 0), L"strat_mov_pts;11.00");
  EXPECT_EQ(Value(d, cDialogZakupow::kCostId), L"11.00_pp");
  Key(d, plat::kVkReturn);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0 - 10.0 - 11.0);
  EXPECT_EQ(Country().strategicMovementPoints, 2);
  EXPECT_EQ(d.List()->GetSelectedIndex(), 0);
  Key(d, plat::kVkDown);
  Key(d, plat::kVkReturn);
  EXPECT_EQ(Row(d, 1), L"sea_trans_pts;16.50");
}

TEST_F(PurchasesDialog, TheUnitBoughtIsThePreviewShownAndANewOneIsDrawn) {
  int draw = 0;
  plat::ScopedRandOverride dice([&] { return draw++; });
  cDialogZakupow& d = Open();
  Key(d, plat::kVkRight);  // air
  Key(d, '3');
  ASSERT_NE(d.Preview(), nullptr);
  const std::wstring shown = d.Preview()->name;
  Key(d, plat::kVkReturn);
  ASSERT_EQ(Reserve().size(), 1u);
  EXPECT_EQ(Reserve()[0]->name, shown);
  EXPECT_EQ(Reserve()[0]->level, 3);
  EXPECT_EQ(Reserve()[0]->type, kUnitFighter);
  EXPECT_NE(d.Preview()->name, shown);
  EXPECT_EQ(d.Preview()->id, 0);  // the preview takes no id
  Key(d, plat::kVkEscape);
  EXPECT_EQ(FindDialogById(cDialogZakupow::kId), nullptr);
}

TEST_F(PurchasesDialog, ThePreviewStandIsAFixedSquareOfTheSheetWhereverTheDialogStands) {
  cDialogZakupow& d = Open();
  auto* image = dynamic_cast<CDXUTImage*>(d.Dialog().GetControl(cDialogZakupow::kPreviewId));
  ASSERT_NE(image, nullptr);
  const plat::RectI source = image->m_rcSource;
  EXPECT_EQ(source.right - source.left, source.bottom - source.top);
  EXPECT_GT(source.left, 0);
  EXPECT_GT(source.top, 0);
  // The layout moves the stand on the screen, never the square it shows.
  const sLayoutRect saved = g_GuiLayout[cDialogZakupow::kPreviewId];
  g_GuiLayout[cDialogZakupow::kPreviewId] = {40, 50, 300, 120};
  cDialogZakupow other(World());
  g_GuiLayout[cDialogZakupow::kPreviewId] = saved;
  auto* moved = dynamic_cast<CDXUTImage*>(other.Dialog().GetControl(cDialogZakupow::kPreviewId));
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->m_rcSource.left, source.left);
  EXPECT_EQ(moved->m_rcSource.top, source.top);
  EXPECT_EQ(moved->m_rcSource.right, source.right);
  EXPECT_EQ(moved->m_rcSource.bottom, source.bottom);
  EXPECT_EQ(moved->GetBoundingBox().left, 40 + (300 - 120) / 2);
  EXPECT_EQ(moved->GetBoundingBox().right - moved->GetBoundingBox().left, 120);
}

}  // namespace
