// The elections and orientation choice: the buttons a country of each
// leaning is offered, the answer handed to the listener, cancel, and the
// random button's even pick among the three choices.
#include <array>
#include <string>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "dialogs/orientation_choice_dialog.h"
#include "gui/dxut_button.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/rand.h"
#include "world/country.h"

namespace {

// Records the ids of the answers it is told.
class Listener : public cDialog {
 public:
  Listener() : cDialog(-5) {}
  void OnGUIEvent(unsigned, int controlId, CDXUTControl*) override { answers.push_back(controlId); }
  std::vector<int> answers;
};

class OrientationChoiceDialog : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    country_.name = L"Hillmark";
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    GuiTest::TearDown();
  }
  cDialogWyborow* Open(int orientation, bool elections) {
    country_.orientation = orientation;
    auto* dialog = new cDialogWyborow(country_, elections);
    PushDialog(dialog);
    dialog->SetListener(&listener_);
    return dialog;
  }
  static void Click(cDialogWyborow& dialog, int id) {
    dialog.OnGUIEvent(EVENT_BUTTON_CLICKED, id, dialog.Dialog().GetControl(id));
  }
  static std::wstring TextOf(cDialog& dialog, int id) {
    CDXUTControl* control = dialog.Dialog().GetControl(id);
    if (auto* button = dynamic_cast<CDXUTButton*>(control)) return button->GetText();
    if (auto* label = dynamic_cast<CDXUTStatic*>(control)) return label->GetText();
    return L"<none>";
  }

  cCountry country_;
  Listener listener_;
};

TEST_F(OrientationChoiceDialog, EachLeaningIsOfferedItsRegimeAndTheOtherTwoSides) {
  struct {
    int orientation;
    std::array<int, 3> ids;
    std::array<const wchar_t*, 3> texts;
  } const cases[] = {
      {3, {0, 4, 5}, {L"diplomacy_elections_democracy", L"diplomacy_elections_pro_axis", L"diplomacy_elections_pro_communist"}},
      {4, {1, 3, 5}, {L"diplomacy_elections_nationalist_regime", L"diplomacy_elections_pro_allied", L"diplomacy_elections_pro_communist"}},
      {5, {2, 4, 3}, {L"diplomacy_elections_communist_regime", L"diplomacy_elections_pro_axis", L"diplomacy_elections_pro_allied"}},
  };
  for (const auto& c : cases) {
    cDialogWyborow* dialog = Open(c.orientation, true);
    for (std::size_t k = 0; k < 3; ++k) {
      ASSERT_NE(dialog->ChoiceButtons()[k], nullptr);
      EXPECT_EQ(dialog->ChoiceButtons()[k]->GetID(), c.ids[k]) << c.orientation;
      EXPECT_EQ(TextOf(*dialog, c.ids[k]), c.texts[k]) << c.orientation;
    }
    EXPECT_EQ(TextOf(*dialog, cDialogWyborow::kRandomId), L"diplomacy_elections_random");
    EXPECT_EQ(TextOf(*dialog, cDialogWyborow::kCancelId), L"diplomacy_elections_cancel");
    EXPECT_EQ(OrientationChoice, cDialogWyborow::kCancelled);
    PopDialogs(-1);
  }
  // A regime has no choice to make: the texts and cancel only.
  cDialogWyborow* regime = Open(1, false);
  EXPECT_EQ(regime->Dialog().GetControl(cDialogWyborow::kRandomId), nullptr);
  EXPECT_EQ(regime->ChoiceButtons()[0], nullptr);
  EXPECT_EQ(TextOf(*regime, cDialogWyborow::kTitleId), L"diplomacy_change_orientation_of_country_title");
  EXPECT_EQ(TextOf(*regime, cDialogWyborow::kCancelId), L"diplomacy_change_orientation_cancel");
}

TEST_F(OrientationChoiceDialog, AChoiceOrCancelGoesToTheListenerAndClosesTheDialog) {
  cDialogWyborow* dialog = Open(4, true);
  Click(*dialog, 3);
  EXPECT_EQ(OrientationChoice, 3);
  EXPECT_TRUE(g_DialogStack.empty());
  dialog = Open(4, false);
  EXPECT_EQ(OrientationChoice, cDialogWyborow::kCancelled);
  Click(*dialog, cDialogWyborow::kCancelId);
  EXPECT_EQ(OrientationChoice, cDialogWyborow::kCancelled);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(listener_.answers, (std::vector<int>{3, cDialogWyborow::kCancelId}));
}

TEST_F(OrientationChoiceDialog, TheRandomButtonPicksEachOfTheThreeEvenly) {
  // Every 16th value of the generator's whole range: an even pick gives each
  // choice a third of them.
  std::array<int, 6> picked{};
  for (int r = 0; r <= plat::kRandMax; r += 16) {
    plat::ScopedRandOverride draw([r] { return r; });
    Click(*Open(3, true), cDialogWyborow::kRandomId);
    ASSERT_TRUE(g_DialogStack.empty());
    DeleteRetiredDialogs();
    ++picked[static_cast<std::size_t>(OrientationChoice)];
  }
  EXPECT_EQ(picked, (std::array<int, 6>{683, 0, 0, 0, 683, 682}));
  EXPECT_EQ(listener_.answers.size(), 2048u);
}

}  // namespace
