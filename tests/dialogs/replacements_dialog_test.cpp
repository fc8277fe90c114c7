// Replacements: the price of a strength point by type and level, the most
// points a unit may buy (what the country can pay, the supply limit, the
// room left; never below 0), the order itself, and the dialog's slider,
// values and buttons.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialog_stack.h"
#include "dialogs/replacements_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_scrollbar.h"
#include "platform/recording_renderer.h"
#include "rules/replacements.h"
#include "world/replacement_prices.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/jednostka_lotnicza.h"

namespace {

class Replacements : public ::testing::Test {
 protected:
  Replacements() : w_({"ppp", "ppp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).productionPoints = 1000.0;
    World().turnState.SetCurrentCountry(&w_.Country(1));
    LandUnitConstants().baseStrength[0].fill(10.0f);  // level 1
    LandUnitConstants().baseStrength[1].fill(12.0f);  // level 2
    World().constants.replacementFactors.fill(20.0f);  // 10 x 20 / 100 = 2.0 a point
    World().constants.replacementBase = 25;             // +25% a level
    World().constants.airCostFactorsA = {3.0f, 4.0f, 6.0f};
    World().constants.replacementMultiplier = 50;
    World().constants.supplyEffectE.fill(20);
    World().constants.supplyEffectF.fill(6);
    World().constants.airBaseStrength = {100, 100, 100};
    land_ = &w_.AddUnit(1, 1, 1);
    land_->strength = 95;
    land_->supply = 8;
    land_->turnsWithoutSupply = 0;
    land_->actionPoints = land_->startingActionPoints = 4;
  }
  ~Replacements() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  cWorld& World() { return *w_.world; }
  cJednostkaLotnicza& Air(float strength, int level = 1) {
    auto* air = new cJednostkaLotnicza(&World());
    air->countryId = 1;
    air->SetType(kUnitTacticalBomber);
    air->x = 2;
    air->y = 0;
    air->strength = strength;
    air->level = level;
    air->supply = 8;
    air->turnsWithoutSupply = 0;
    air->actionPoints = air->startingActionPoints = 2;
    World().Units().airUnits.push_back(air);
    w_.Hex(2, 0).unit = air;
    return *air;
  }
  int Max(cJednostka& unit) { return ReplacementMaximum(World(), unit); }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  cJednostkaLadowa* land_ = nullptr;
};

TEST_F(Replacements, PricePerPointByKindAndLevel) {
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(World(), *land_), 2.0f);  // level 1: the base price
  land_->level = 2;
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(World(), *land_), 12.0f * 0.2f * 1.25f);
  cJednostkaLotnicza& air = Air(2.0f);
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(World(), air), 4.0f);
  air.level = 3;
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(World(), air), 4.0f + 4.0f * 0.5f * 2.0f);
  land_->SetType(kUnitArtificialHarbour);  // a type without a price
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(World(), *land_), 0.0f);
  EXPECT_EQ(Max(*land_), 0);
}

TEST_F(Replacements, MaximumIsTheSmallestOfWhatCanBePaidTheSupplyLimitAndTheRoomLeft) {
  EXPECT_EQ(Max(*land_), 5);  // 100 - 95
  land_->strength = 50;
  EXPECT_EQ(Max(*land_), 20);  // the supply limit
  w_.Hex(1, 1).owner = 2;
  EXPECT_EQ(Max(*land_), 10);  // on a hex of another country
  w_.Hex(1, 1).owner = 1;
  w_.Country(1).productionPoints = 7.5;
  EXPECT_EQ(Max(*land_), 3);  // 7.5 / 2.0, truncated
  w_.Country(1).productionPoints = -4.0;
  EXPECT_EQ(Max(*land_), 0);
  land_->supply = 500;  // the limit table is read within its bounds
  w_.Country(1).productionPoints = 1000.0;
  EXPECT_EQ(Max(*land_), 20);
}

// On a scale of 100 an air unit stands far above its supply limit: it fills
// up to its type's full strength, the limit at a time.
TEST_F(Replacements, AnAirUnitFillsUpToItsTypesFullStrengthTheSupplyLimitAtATime) {
  cJednostkaLotnicza& air = Air(2.0f);
  EXPECT_EQ(Max(air), 6);  // the supply limit
  air.strength = 97.0f;
  EXPECT_EQ(Max(air), 3);  // 100 - 97
  EXPECT_EQ(CheckBuyReplacements(World(), air, 3), eReplacementRefusal::kNone);
  air.strength = 100.0f;
  EXPECT_EQ(Max(air), 0);
  EXPECT_NE(CheckBuyReplacements(World(), air, 1), eReplacementRefusal::kNone);
}

TEST_F(Replacements, BuyingPaysAndStrengthensAndRefusesWhatIsNotAllowed) {
  land_->reachableHexes.push_back({});
  EXPECT_EQ(BuyReplacements(World(), *land_, 0), eReplacementRefusal::kNothingToBuy);
  EXPECT_EQ(BuyReplacements(World(), *land_, 6), eReplacementRefusal::kAboveMaximum);
  EXPECT_EQ(land_->strength, 95);
  EXPECT_DOUBLE_EQ(w_.Country(1).productionPoints, 1000.0);
  EXPECT_EQ(BuyReplacements(World(), *land_, 4), eReplacementRefusal::kNone);
  EXPECT_EQ(land_->strength, 99);
  EXPECT_EQ(land_->actionPoints, 0);
  EXPECT_TRUE(land_->reachableHexes.empty());
  EXPECT_DOUBLE_EQ(w_.Country(1).productionPoints, 992.0);
}

class ReplacementsDialog : public Replacements {
 protected:
  std::wstring Value(cDialogUzupelnien& d, int id) {
    auto* edit = dynamic_cast<CDXUTEditBox*>(d.Dialog().GetControl(id));
    return edit != nullptr ? std::wstring(edit->GetText()) : L"<none>";
  }
};

TEST_F(ReplacementsDialog, TheSliderRunsToTheMaximumAndTheValuesFollowIt) {
  land_->strength = 50;  // combat strength 5.0
  auto* d = new cDialogUzupelnien(World(), *land_);
  PushDialog(d);
  EXPECT_EQ(d->Maximum(), 20);
  int lo = -1, hi = -1;
  d->Slider()->GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 20);
  EXPECT_EQ(Value(*d, cDialogUzupelnien::kStrengthAfterId), L"5.00 (50%)");
  EXPECT_EQ(Value(*d, cDialogUzupelnien::kPriceId), L"0.00_pp");  // the key is itself the format
  d->Slider()->SetValue(10);
  d->RefreshValues();
  EXPECT_EQ(Value(*d, cDialogUzupelnien::kStrengthAfterId), L"6.00 (60%)");
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kMaxId, nullptr);
  EXPECT_EQ(d->Slider()->GetValue(), 20);
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kOkId, nullptr);
  EXPECT_EQ(land_->strength, 70);
  EXPECT_DOUBLE_EQ(w_.Country(1).productionPoints, 960.0);
}

TEST_F(ReplacementsDialog, OkAtZeroAndAnEmptyRangeChangeNothing) {
  w_.Country(1).productionPoints = 0.0;
  auto* d = new cDialogUzupelnien(World(), *land_);
  PushDialog(d);
  EXPECT_EQ(d->Maximum(), 0);
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kMaxId, nullptr);  // the slider's range is empty
  EXPECT_EQ(d->Slider()->GetValue(), 0);
  d->Slider()->UpdateRects();
  EXPECT_EQ(d->Slider()->ValueFromPos(100), 0);
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kOkId, nullptr);
  EXPECT_EQ(land_->strength, 95);
  EXPECT_EQ(land_->actionPoints, 4);
  EXPECT_DOUBLE_EQ(w_.Country(1).productionPoints, 0.0);
  EXPECT_EQ(VisibleActiveDialog(), nullptr);
}

TEST_F(ReplacementsDialog, AnAirUnitShowsItsStrengthAfterAsAWholeNumber) {
  cJednostkaLotnicza& air = Air(2.0f);
  auto* d = new cDialogUzupelnien(World(), air);
  PushDialog(d);
  d->Slider()->SetValue(3);
  d->RefreshValues();
  EXPECT_EQ(Value(*d, cDialogUzupelnien::kStrengthAfterId), L"5");
}

}  // namespace
