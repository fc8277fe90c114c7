#include "gui_fixture.h"

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

class Controls : public GuiTest {};

// Mouse sequences on a button at (100, 100, 80 x 30); the dialog sits at
// (10, 20), so screen points are offset by it.
struct ClickCase {
  const char* name;
  std::vector<std::pair<unsigned, std::pair<int, int>>> messages;  // dialog-relative points
  bool enabled;
  std::size_t clicks;
};

TEST_F(Controls, ButtonClicksOnlyOnPressAndReleaseInside) {
  const ClickCase cases[] = {
      {"inside", {{plat::kWmLButtonDown, {110, 110}}, {plat::kWmLButtonUp, {170, 125}}}, true, 1},
      {"release outside", {{plat::kWmLButtonDown, {110, 110}}, {plat::kWmLButtonUp, {300, 110}}}, true, 0},
      {"press outside", {{plat::kWmLButtonDown, {90, 110}}, {plat::kWmLButtonUp, {110, 110}}}, true, 0},
      {"double-click presses", {{plat::kWmLButtonDblClk, {110, 110}}, {plat::kWmLButtonUp, {110, 110}}}, true, 1},
      {"disabled", {{plat::kWmLButtonDown, {110, 110}}, {plat::kWmLButtonUp, {110, 110}}}, false, 0},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    dialog_->SetLocation(10, 20);
    CDXUTButton* button = nullptr;
    ASSERT_EQ(dialog_->AddButton(7, L"OK", 100, 100, 80, 30, 0, false, &button), S_OK);
    button->SetEnabled(c.enabled);
    for (const auto& [msg, pt] : c.messages) Send(msg, pt.first + 10, pt.second + 20);
    EXPECT_EQ(Events(), std::vector<Event>(c.clicks, Event{EVENT_BUTTON_CLICKED, 7}));
    EXPECT_EQ(Plays(SND_BUTTON_CLICK), c.clicks);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(plat::GetInputState().HasCapture());
    TearDown();
  }
}

// An edit-type control (type 8) standing in for the edit box: it takes the
// focus and leaves all keys alone.
class FakeEditBox : public CDXUTControl {
 public:
  explicit FakeEditBox(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_EDITBOX; }
  bool CanHaveFocus() override { return true; }
};

TEST_F(Controls, HotkeysFireOnKeyUpOnlyAndNotWhileAnEditBoxHasTheFocus) {
  dialog_->AddButton(7, L"OK", 0, 0, 50, 20, 'K');
  dialog_->AddButton(8, L"Hidden", 0, 30, 50, 20, 'H');
  dialog_->GetControl(8)->SetVisible(false);
  CDXUTCheckBox* check = nullptr;
  dialog_->AddCheckBox(9, L"Check", 0, 60, 50, 20, false, 'C', false, &check);
  struct Case {
    unsigned msg, key;
    std::vector<Event> events;
  } cases[] = {
      {plat::kWmKeyDown, 'K', {}},
      {plat::kWmKeyUp, 'K', {{EVENT_BUTTON_CLICKED, 7}}},
      {plat::kWmKeyUp, 'H', {}},  // hidden controls have no hotkey
      {plat::kWmKeyUp, 'C', {{EVENT_CHECKBOX_CHANGED, 9}}},
      {plat::kWmKeyUp, 'X', {}},
  };
  for (const Case& c : cases) {
    Events().clear();
    dialog_->MsgProc({c.msg, c.key, 0});
    EXPECT_EQ(Events(), c.events) << static_cast<char>(c.key) << " " << c.msg;
  }
  EXPECT_TRUE(check->GetChecked());

  CDXUTControl* edit = dialog_->AddControl(std::make_unique<FakeEditBox>(dialog_.get()));
  CDXUTDialog::RequestFocus(edit);
  Events().clear();
  EXPECT_FALSE(KeyUp('K'));
  EXPECT_TRUE(Events().empty());
}

TEST_F(Controls, DisabledStaticLetsTheClickThroughToTheButtonBelow) {
  dialog_->AddButton(7, L"OK", 0, 0, 100, 30);
  CDXUTStatic* label = nullptr;
  dialog_->AddStatic(20, L"Label", 0, 0, 100, 30, false, &label);
  EXPECT_FALSE(label->GetEnabled());  // factories make labels disabled
  Down(10, 10);
  Up(10, 10);
  EXPECT_EQ(Events(), (std::vector<Event>{{EVENT_BUTTON_CLICKED, 7}}));
  // Enabled, the label is found first and takes the click, which does
  // nothing (the button, focused by the first click, would see it first).
  Events().clear();
  CDXUTDialog::ClearFocus();
  label->SetEnabled(true);
  EXPECT_EQ(dialog_->GetControlAtPoint({10, 10}), label);
  Down(10, 10);
  Up(10, 10);
  EXPECT_TRUE(Events().empty());
}

TEST_F(Controls, RadioGroupAndReclickOfTheCheckedButton) {
  CDXUTRadioButton *a = nullptr, *b = nullptr, *other = nullptr;
  dialog_->AddRadioButton(1, 5, L"A", 0, 0, 100, 20, true, 0, false, &a);
  dialog_->AddRadioButton(2, 5, L"B", 0, 30, 100, 20, false, 0, false, &b);
  dialog_->AddRadioButton(3, 6, L"Other", 0, 60, 100, 20, true, 0, false, &other);
  EXPECT_TRUE(Events().empty());  // program-made changes, non-user events off
  Down(5, 35);
  Up(5, 35);
  EXPECT_FALSE(a->GetChecked());
  EXPECT_TRUE(b->GetChecked());
  EXPECT_TRUE(other->GetChecked());
  // Clicked again while checked: still checked, and reported again.
  Down(5, 35);
  Up(5, 35);
  EXPECT_TRUE(b->GetChecked());
  EXPECT_EQ(Events(), (std::vector<Event>(2, Event{EVENT_RADIOBUTTON_CHANGED, 2})));
  EXPECT_EQ(Plays(SND_RADIOBUTTON_CHANGED), 2u);
}

TEST_F(Controls, LayoutFactoriesPlaceByIdAndBoundCheckTheTable) {
  g_GuiLayout[200] = {40, 50, 60, 20};
  CDXUTButton* button = nullptr;
  dialog_->AddButtonFromLayout(200, L"A", L"hint a", 0, &button);
  EXPECT_EQ(button->GetBoundingBox().right, 100);
  EXPECT_EQ(button->GetBoundingBox().bottom, 70);
  twtest::LogCapture log;
  for (int id : {-1, kLayoutEntries, 1 << 30}) {
    CDXUTStatic* label = nullptr;
    EXPECT_EQ(dialog_->AddStaticFromLayout(id, L"x", &label), S_OK);
    EXPECT_EQ(label->GetBoundingBox().Width(), 0);
  }
  EXPECT_EQ(log.Lines().size(), 3u);
  g_GuiLayout[kLayoutEntries - 1] = {1, 2, 3, 4};
  CDXUTProgressBar* bar = nullptr;
  dialog_->AddProgressBarFromLayout(kLayoutEntries - 1, 0, 10, 99, &bar);
  EXPECT_EQ(bar->GetBoundingBox().right, 4);
  EXPECT_EQ(bar->GetValue(), 10);
}

}  // namespace
