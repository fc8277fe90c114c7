// The convoys dialog on the fixture scenario: its list, the controls and
// hints by the selection, the cargo switch, the value slider, moving and
// deleting convoys, and a new convoy from the ports picked on the map.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/string_base.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog_stack.h"
#include "files/world_loader.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/format.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {


class ConvoysDialog : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    world_->constants.convoyValueStep = 5;
    world_->constants.convoyValueLimit = 50;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GuiTest::TearDown();
  }
  cDialogKonwojow* Open(int countryId) {
    auto* dialog = new cDialogKonwojow(*world_, countryId);
    PushDialog(dialog);
    return dialog;
  }
  template <class T>
  static T* Control(cDialogKonwojow* dialog, int id) {
    return dynamic_cast<T*>(dialog->Dialog().GetControl(id));
  }
  static std::wstring Hint(cDialogKonwojow* dialog, int id) {
    const CDXUTControl* control = dialog->Dialog().GetControl(id);
    return control && control->GetHint() ? control->GetHint() : L"";
  }
  static std::wstring Row(cDialogKonwojow* dialog, int index) { return dialog->List()->GetItem(index)->strText; }
  static void Click(cDialogKonwojow* dialog, int id) { dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, id, nullptr); }
  static void SelectRow(cDialogKonwojow* dialog, int index) {
    dialog->List()->SelectItem(index, false);
    dialog->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogKonwojow::kListId, dialog->List());
  }
  static const wchar_t* Text(const char* key) { return g_StringBase.GetText(key); }
  void ExpectNothingSelected(cDialogKonwojow* dialog) {
    EXPECT_EQ(dialog->SelectedIndex(), -1);
    EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDeleteId)->GetEnabled());
    EXPECT_EQ(Hint(dialog, cDialogKonwojow::kDeleteId), Text("convoys_delete_hint_no_selection"));
    EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kUpId)->GetEnabled());
    EXPECT_EQ(Hint(dialog, cDialogKonwojow::kUpId), Text("convoys_moveup_hint_no_selection"));
    EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDownId)->GetEnabled());
    EXPECT_EQ(Hint(dialog, cDialogKonwojow::kDownId), Text("convoys_movedown_hint_no_selection"));
    for (int id : {cDialogKonwojow::kTypeProductionId, cDialogKonwojow::kTypeSuppliesId}) {
      EXPECT_FALSE(Control<CDXUTRadioButton>(dialog, id)->GetEnabled());
      EXPECT_FALSE(Control<CDXUTRadioButton>(dialog, id)->GetChecked());
    }
    EXPECT_FALSE(Control<CDXUTSlider>(dialog, cDialogKonwojow::kSliderId)->GetEnabled());
    EXPECT_FALSE(Control<CDXUTStatic>(dialog, cDialogKonwojow::kValueTextId)->GetVisible());
    EXPECT_TRUE(Control<CDXUTButton>(dialog, cDialogKonwojow::kNewId)->GetEnabled());
    EXPECT_TRUE(Control<CDXUTButton>(dialog, cDialogKonwojow::kExitId)->GetEnabled());
  }

  std::unique_ptr<cWorld> world_;
};

TEST_F(ConvoysDialog, ListsTheCountrysConvoysWithNothingSelected) {
  cDialogKonwojow* eastmark = Open(kEastmark);
  ASSERT_NE(eastmark->List(), nullptr);
  ASSERT_EQ(eastmark->List()->GetSize(), 1);
  EXPECT_EQ(Row(eastmark, 0), std::wstring(L"Eastport;Straitport;") + Text("convoys_type_supply") + L";0");
  ExpectNothingSelected(eastmark);
  PopDialogs(1);
  // Westland has none: an empty list, the same controls.
  cDialogKonwojow* westland = Open(kWestland);
  EXPECT_EQ(westland->List()->GetSize(), 0);
  ExpectNothingSelected(westland);
}

TEST_F(ConvoysDialog, SelectionSwitchesCargoSetsValueMovesAndDeletes) {
  cConvoyStore& store = world_->Units().convoys;
  const int second = store.AddConvoyBetweenSeaNodes(*world_, kStraitport, kEastport, kEastmark);
  const int third = store.AddConvoyBetweenSeaNodes(*world_, kEastport, kStraitport, kEastmark);
  ASSERT_GT(third, second);
  cDialogKonwojow* dialog = Open(kEastmark);
  ASSERT_EQ(dialog->List()->GetSize(), 3);

  // The first row: up is refused, down offered, supplies checked.
  SelectRow(dialog, 0);
  EXPECT_EQ(dialog->SelectedIndex(), 0);
  EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kUpId)->GetEnabled());
  EXPECT_EQ(Hint(dialog, cDialogKonwojow::kUpId), Text("convoys_moveup_hint_is_topmost"));
  EXPECT_TRUE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDownId)->GetEnabled());
  EXPECT_EQ(Hint(dialog, cDialogKonwojow::kDownId), Text("convoys_movedown_hint"));
  EXPECT_TRUE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDeleteId)->GetEnabled());
  EXPECT_TRUE(Control<CDXUTRadioButton>(dialog, cDialogKonwojow::kTypeSuppliesId)->GetChecked());
  EXPECT_FALSE(Control<CDXUTRadioButton>(dialog, cDialogKonwojow::kTypeProductionId)->GetChecked());
  EXPECT_TRUE(Control<CDXUTStatic>(dialog, cDialogKonwojow::kValueTextId)->GetVisible());

  // The last row: down is refused.
  SelectRow(dialog, 2);
  EXPECT_TRUE(Control<CDXUTButton>(dialog, cDialogKonwojow::kUpId)->GetEnabled());
  EXPECT_EQ(Hint(dialog, cDialogKonwojow::kUpId), Text("convoys_moveup_hint"));
  EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDownId)->GetEnabled());
  EXPECT_EQ(Hint(dialog, cDialogKonwojow::kDownId), Text("convoys_movedown_hint_is_bottommost"));

  // Production points: the value jumps to the top of the new range, the
  // port size times the production factor; the slider follows.
  const int portSize = world_->GetSeaGraph().GetNode(kEastport)->size;
  dialog->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogKonwojow::kTypeProductionId, nullptr);
  const cConvoy& picked = (*store.ConvoysOf(kEastmark))[2];
  EXPECT_EQ(picked.id, third);
  EXPECT_EQ(picked.type, kConvoyProduction);
  EXPECT_EQ(picked.value, portSize * 5);
  auto* slider = Control<CDXUTSlider>(dialog, cDialogKonwojow::kSliderId);
  int low = -1, high = -1;
  slider->GetRange(low, high);
  EXPECT_EQ(high, portSize * 5);
  EXPECT_EQ(slider->GetValue(), portSize * 5);
  EXPECT_EQ(dialog->SelectedIndex(), 2);
  EXPECT_EQ(Row(dialog, 2), std::wstring(L"Eastport;Straitport;") + Text("convoys_type_production") +
                                plat::Format(L";%i", portSize * 5));
  // Back to supplies: the supply factor's top.
  dialog->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogKonwojow::kTypeSuppliesId, nullptr);
  EXPECT_EQ((*store.ConvoysOf(kEastmark))[2].value, portSize * 50);
  // The slider sets the value and its text.
  slider->SetValueInternal(7, false, false);
  dialog->OnGUIEvent(EVENT_SLIDER_VALUE_CHANGED, cDialogKonwojow::kSliderId, slider);
  EXPECT_EQ((*store.ConvoysOf(kEastmark))[2].value, 7);
  EXPECT_EQ(std::wstring(Control<CDXUTStatic>(dialog, cDialogKonwojow::kValueTextId)->GetText()),
            plat::Format(std::wstring(Text("convoys_value_%i")), 7));

  // Up twice: it sails first now and stays selected.
  Click(dialog, cDialogKonwojow::kUpId);
  Click(dialog, cDialogKonwojow::kUpId);
  EXPECT_EQ(store.ConvoysOf(kEastmark)->front().id, third);
  EXPECT_EQ(dialog->SelectedIndex(), 0);
  EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kUpId)->GetEnabled());
  Click(dialog, cDialogKonwojow::kUpId);  // refused at the top
  EXPECT_EQ(store.ConvoysOf(kEastmark)->front().id, third);
  Click(dialog, cDialogKonwojow::kDownId);
  EXPECT_EQ((*store.ConvoysOf(kEastmark))[1].id, third);
  EXPECT_EQ(dialog->SelectedIndex(), 1);

  // Deleting leaves no selection; the others keep their order.
  Click(dialog, cDialogKonwojow::kDeleteId);
  ASSERT_EQ(store.ConvoysOf(kEastmark)->size(), 2u);
  EXPECT_EQ((*store.ConvoysOf(kEastmark))[1].id, second);
  EXPECT_EQ(dialog->List()->GetSize(), 2);
  ExpectNothingSelected(dialog);
  // A list of one disables both moves.
  Click(dialog, cDialogKonwojow::kDeleteId);  // nothing selected: nothing goes
  EXPECT_EQ(store.ConvoysOf(kEastmark)->size(), 2u);
  SelectRow(dialog, 0);
  Click(dialog, cDialogKonwojow::kDeleteId);
  SelectRow(dialog, 0);
  EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kUpId)->GetEnabled());
  EXPECT_FALSE(Control<CDXUTButton>(dialog, cDialogKonwojow::kDownId)->GetEnabled());
}

TEST_F(ConvoysDialog, ANewConvoyIsPickedOnTheMapAndSelected) {
  cDialogKonwojow* dialog = Open(kEastmark);
  SelectRow(dialog, 0);
  Click(dialog, cDialogKonwojow::kNewId);
  // The dialog hides while the player picks the departure among the own
  // ports.
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_EQ(world_->turnState.mode, kModeConvoyDeparture);
  const sWezelGrafuMorz& eastport = *world_->GetSeaGraph().GetNode(kEastport);
  const sWezelGrafuMorz& westport = *world_->GetSeaGraph().GetNode(kWestport);
  EXPECT_NE(world_->GetMap().GetHex(eastport.ownShipX, eastport.ownShipY).markBits & 0x8000u, 0u);
  EXPECT_EQ(world_->GetMap().GetHex(westport.ownShipX, westport.ownShipY).markBits & 0x8000u, 0u);
  // Only one port picked: nothing is made.
  dialog->SetDepartureNode(kEastport);
  EXPECT_EQ(dialog->AddPickedConvoy(), -1);
  EXPECT_EQ(world_->Units().convoys.ConvoysOf(kEastmark)->size(), 1u);
  dialog->SetDestinationNode(kStraitport);
  const int id = dialog->AddPickedConvoy();
  ASSERT_GE(id, 1);
  ASSERT_EQ(dialog->List()->GetSize(), 2);
  EXPECT_EQ(dialog->SelectedIndex(), 1);
  EXPECT_EQ(world_->Units().convoys.ConvoysOf(kEastmark)->back().id, id);
  EXPECT_EQ(Row(dialog, 1), std::wstring(L"Eastport;Straitport;") + Text("convoys_type_supply") + L";0");
  // A new pick starts afresh.
  Click(dialog, cDialogKonwojow::kNewId);
  EXPECT_EQ(dialog->DepartureNode(), 0);
  Click(dialog, cDialogKonwojow::kExitId);
  EXPECT_TRUE(g_DialogStack.empty());
}

}  // namespace
