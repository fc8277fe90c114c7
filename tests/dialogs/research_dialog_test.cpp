// The research dialog: the rows of the six technologies, the price of the
// next investment and the refusals of the invest button, the investment
// paid from the production points, the estimate in the progress hint, and
// a month of research from the investment bought through the dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/research_dialog.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/gui_fixture.h"
#include "land_rules/land_rules_fixture.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/country_reports.h"
#include "rules/research.h"
#include "world/world.h"

namespace {

using twtest::RandFor;
using twtest::RandSequence;

constexpr int kTanksRow = 1, kAircraftRow = 2, kNuclearRow = 5;

class ResearchDialog : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    w_ = std::make_unique<twtest::LandWorld>(std::vector<std::string>{"pp"});
    w_->AddCountries({kAllies, kAxis});
    World().turnState.SetCurrentCountry(&Country());
    sScenarioConstants& k = World().constants;
    k.researchCost.fill(20);
    k.researchLimit.fill(3);
    k.researchFactors.fill(40.0f);
    Country().productionPoints = 100.0;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    w_.reset();
    GuiTest::TearDown();
  }
  cWorld& World() { return *w_->world; }
  cCountry& Country() { return w_->Country(1); }
  cDialogResearchu* Open() {
    auto* dialog = new cDialogResearchu(World());
    PushDialog(dialog);
    return dialog;
  }
  static CDXUTControl* Control(cDialogResearchu* dialog, int id) { return dialog->Dialog().GetControl(id); }
  static std::wstring Hint(cDialogResearchu* dialog, int id) {
    const wchar_t* hint = Control(dialog, id)->GetHint();
    return hint != nullptr ? hint : L"";
  }
  static std::wstring Field(cDialogResearchu* dialog, int id) {
    return dynamic_cast<CDXUTEditBox*>(Control(dialog, id))->GetText();
  }
  static bool InvestEnabled(cDialogResearchu* dialog, int row) {
    return Control(dialog, cDialogResearchu::kInvestId + row)->GetEnabled();
  }
  static void Invest(cDialogResearchu* dialog, int row) {
    dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogResearchu::kInvestId + row, nullptr);
  }
  static std::wstring Text(const char* key) { return g_StringBase.GetText(key); }

  std::unique_ptr<twtest::LandWorld> w_;
};

TEST_F(ResearchDialog, PricesFallWithProgressAndTheButtonsSayWhyNot) {
  Country().techProgress[kTechTanks] = 5;      // (20 - 5) x 40 / 20 = 30
  Country().techProgress[kTechAircraft] = 20;  // all the progress: free
  Country().techLevel[kTechSubmarines] = 3;    // at the top
  Country().techInvestment[kTechNavy] = 3;     // full
  Country().productionPoints = 35.0;
  cDialogResearchu* dialog = Open();
  EXPECT_FLOAT_EQ(dialog->Price(kTechArtillery), 40.0f);
  EXPECT_FLOAT_EQ(dialog->Price(kTechTanks), 30.0f);
  EXPECT_FLOAT_EQ(dialog->Price(kTechAircraft), 0.0f);
  // Rows skip the doctrine: row 2 is the aircraft.
  EXPECT_EQ(Field(dialog, cDialogResearchu::kProgressId + kAircraftRow), L"20/20");
  EXPECT_EQ(Field(dialog, cDialogResearchu::kPriceId + kTanksRow), plat::Format(Text("%.0f_pp"), 30.0));
  EXPECT_EQ(Field(dialog, cDialogResearchu::kLevelId + 3), L"3");

  EXPECT_TRUE(InvestEnabled(dialog, kTanksRow));
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kInvestId + kTanksRow), Text("research_invest_hint"));
  EXPECT_FALSE(InvestEnabled(dialog, 0));  // 40 PP wanted, 35 at hand
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kInvestId), plat::Format(Text("research_invest_hint_not_enough_pp"), 40.0));
  EXPECT_FALSE(InvestEnabled(dialog, 3));
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kInvestId + 3), Text("research_invest_hint_max_level_reached"));
  EXPECT_FALSE(InvestEnabled(dialog, 4));
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kInvestId + 4), Text("research_invest_hint_max_investment"));
  // The top level refuses before the full investment does.
  Country().techInvestment[kTechSubmarines] = 3;
  dialog->Refresh();
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kInvestId + 3), Text("research_invest_hint_max_level_reached"));
}

TEST_F(ResearchDialog, InvestingPaysAndRaisesTheLevelUpToThree) {
  Country().techProgress[kTechTanks] = 5;
  cDialogResearchu* dialog = Open();
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kIconId + kTanksRow), Text("research_investment_level0_hint"));
  Invest(dialog, kTanksRow);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 70.0);
  EXPECT_EQ(Country().techInvestment[kTechTanks], 1);
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kIconId + kTanksRow), Text("research_investment_level1_hint"));
  Invest(dialog, kTanksRow);
  Invest(dialog, kTanksRow);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 10.0);
  EXPECT_EQ(Country().techInvestment[kTechTanks], 3);
  EXPECT_FALSE(InvestEnabled(dialog, kTanksRow));
  // A click the button would refuse changes nothing.
  Invest(dialog, kTanksRow);
  EXPECT_EQ(Country().techInvestment[kTechTanks], 3);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 10.0);
  Invest(dialog, kNuclearRow);  // 40 PP wanted
  EXPECT_EQ(Country().techInvestment[kTechNuclear], 0);
  // Enter and Escape close it.
  dialog->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_TRUE(IsRetiredDialog(dialog));
}

TEST_F(ResearchDialog, TheEstimateIsTheMonthlyStepsAndAMonthAdvancesTheInvestment) {
  EXPECT_EQ(ResearchMonthsLeft(0, 20, 0), -1);
  EXPECT_EQ(ResearchMonthsLeft(0, 20, 1), 6);   // 20 / 3.5 = 5.7
  EXPECT_EQ(ResearchMonthsLeft(0, 20, 3), 2);   // 20 / 10.5 = 1.9
  EXPECT_EQ(ResearchMonthsLeft(9, 20, 2), 2);   // 11 / 7 = 1.57
  EXPECT_EQ(ResearchMonthsLeft(10, 17, 2), 1);  // 7 / 7
  EXPECT_EQ(ResearchMonthsLeft(20, 20, 1), 0);

  cDialogResearchu* dialog = Open();
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kProgressId), Text("research_progress_hint"));
  Invest(dialog, 0);
  Invest(dialog, 0);
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kProgressId), plat::Format(Text("research_progress_hint_months_%i"), 3));
  // The month: two dice of 4 and 5 for the artillery.
  const RandSequence dice({RandFor(1, 6, 4), RandFor(1, 6, 5)});
  sCountryReport report;
  ResearchMonthly(World(), Country(), report);
  EXPECT_EQ(Country().techProgress[kTechArtillery], 9);
  EXPECT_EQ(Country().techInvestment[kTechArtillery], 2);
  const std::wstring expected =
      plat::Format(Text("progress_increased_from_%i_to_%i._estimated_completion_time:_%i_months."), 0, 9, 2);
  EXPECT_NE(report.body.find(expected), std::wstring::npos) << report.body;
  // The dialog opened again shows the new progress and its estimate.
  PopDialogs(1);
  dialog = Open();
  EXPECT_EQ(Field(dialog, cDialogResearchu::kProgressId), L"9/20");
  EXPECT_FLOAT_EQ(dialog->Price(kTechArtillery), 22.0f);
  EXPECT_EQ(Hint(dialog, cDialogResearchu::kProgressId), plat::Format(Text("research_progress_hint_months_%i"), 2));
}

}  // namespace
