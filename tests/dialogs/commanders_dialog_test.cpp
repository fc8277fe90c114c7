// The commanders dialog: the current country's commanders of the unit's
// kind, by skill (ties in the world's order), free ones apart; assigning and
// recalling through the rules, and the buttons' states.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/commanders_dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "platform/recording_renderer.h"
#include "rules/commander_assignment.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/commander.h"
#include "world/jednostka_lotnicza.h"

namespace {

class CommandersDialog : public ::testing::Test {
 protected:
  CommandersDialog() : w_({"ppp", "ppp"}) {
    w_.AddCountries({kAllies, kAxis});
    World().turnState.SetCurrentCountry(&w_.Country(1));
    unit_ = &w_.AddUnit(1, 1, 1);
  }
  ~CommandersDialog() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    for (cCommander* c : World().Units().commanders) delete c;
    World().Units().commanders.clear();
  }
  cWorld& World() { return *w_.world; }
  cCommander& Add(const wchar_t* name, int skill, int country = 1, int type = 0, int state = kCommanderNotAssigned) {
    auto* c = new cCommander();
    c->id = static_cast<int>(World().Units().commanders.size()) + 1;
    c->name = name;
    c->skill = skill;
    c->countryId = country;
    c->type = type;
    c->state = state;
    World().Units().commanders.push_back(c);
    return *c;
  }
  cDialogDowodcow& Open(cUnit& unit) {
    auto* d = new cDialogDowodcow(World(), unit);
    PushDialog(d);
    return *d;
  }
  static std::wstring Rows(const CDXUTListBox* list) {
    std::wstring out;
    for (int i = 0; i < list->GetSize(); ++i) out += list->GetItem(i)->strText + L"\n";
    return out;
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  cJednostkaLadowa* unit_ = nullptr;
};

TEST_F(CommandersDialog, ListsTheCountrysCommandersOfTheKindBySkillKeepingTiesInOrder) {
  Add(L"Bock", 3);
  Add(L"Rundstedt", 5);
  Add(L"Leeb", 3);
  Add(L"Kesselring", 6, 1, 1);  // air
  Add(L"Zhukov", 9, 2);          // another country
  Add(L"Manstein", 4, 1, 0, kCommanderOnHisWay);
  cDialogDowodcow& d = Open(*unit_);
  EXPECT_EQ(Rows(d.FreeList()),
            L"Rundstedt;5;0;commander_status_in_hq\nBock;3;0;commander_status_in_hq\nLeeb;3;0;commander_status_in_hq\n");
  EXPECT_EQ(Rows(d.OtherList()), L"Manstein;4;0;commander_status_heading_to_hq\n");
  EXPECT_EQ(d.FreeList()->GetSelectedIndex(), 0);
  EXPECT_TRUE(d.Dialog().GetControlEnabled(cDialogDowodcow::kAssignId));
  EXPECT_FALSE(d.Dialog().GetControlEnabled(cDialogDowodcow::kRecallId));
}

TEST_F(CommandersDialog, AssignThenRecall) {
  cCommander& rundstedt = Add(L"Rundstedt", 5);
  Add(L"Bock", 3);
  unit_->hqCommanderId = 7;
  cDialogDowodcow& d = Open(*unit_);
  d.OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogDowodcow::kAssignId, nullptr);
  EXPECT_EQ(unit_->ownCommander, &rundstedt);
  EXPECT_EQ(unit_->hqCommanderId, -1);
  EXPECT_EQ(rundstedt.ledUnit, unit_);
  EXPECT_EQ(rundstedt.state, kCommanderAssigned);
  // A unit with a commander: assign off even with a free one left, recall on.
  EXPECT_EQ(d.FreeList()->GetSize(), 1);
  EXPECT_FALSE(d.Dialog().GetControlEnabled(cDialogDowodcow::kAssignId));
  EXPECT_TRUE(d.Dialog().GetControlEnabled(cDialogDowodcow::kRecallId));
  EXPECT_EQ(std::wstring(dynamic_cast<CDXUTEditBox*>(d.Dialog().GetControl(cDialogDowodcow::kUnitCommanderId))
                             ->GetText()),
            L"Rundstedt_(5_/_0)");  // no language base here: the key is itself the format

  d.OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogDowodcow::kRecallId, nullptr);
  EXPECT_EQ(unit_->ownCommander, nullptr);
  EXPECT_EQ(rundstedt.ledUnit, nullptr);
  EXPECT_EQ(rundstedt.state, kCommanderOnHisWay);
  EXPECT_EQ(Rows(d.OtherList()), L"Rundstedt;5;0;commander_status_heading_to_hq\n");
}

TEST_F(CommandersDialog, NoFreeCommanderOfTheKindLeavesAssignDisabled) {
  Add(L"Kesselring", 6, 1, 1);
  cDialogDowodcow& d = Open(*unit_);
  EXPECT_EQ(d.FreeList()->GetSize(), 0);
  EXPECT_FALSE(d.Dialog().GetControlEnabled(cDialogDowodcow::kAssignId));
}

TEST_F(CommandersDialog, AnAirUnitListsOnlyAirCommanders) {
  Add(L"Bock", 3);
  Add(L"Kesselring", 6, 1, 1);
  auto* air = new cJednostkaLotnicza(&World());
  air->countryId = 1;
  air->SetType(kUnitFighter);
  World().Units().airUnits.push_back(air);
  cDialogDowodcow& d = Open(*air);
  EXPECT_EQ(Rows(d.FreeList()), L"Kesselring;6;0;commander_status_in_hq\n");
}

TEST_F(CommandersDialog, TheRulesRefuseWhatTheDialogNeverOffers) {
  cCommander& busy = Add(L"Bock", 3, 1, 0, kCommanderAssigned);
  cCommander& foreign = Add(L"Zhukov", 9, 2);
  cCommander& air = Add(L"Kesselring", 6, 1, 1);
  EXPECT_EQ(AssignCommander(World(), *unit_, busy), eCommanderRefusal::kNotFree);
  EXPECT_EQ(AssignCommander(World(), *unit_, foreign), eCommanderRefusal::kOtherCountry);
  EXPECT_EQ(AssignCommander(World(), *unit_, air), eCommanderRefusal::kWrongKind);
  EXPECT_EQ(RecallCommander(World(), *unit_), eCommanderRefusal::kNoCommander);
  EXPECT_EQ(unit_->ownCommander, nullptr);
}

}  // namespace
