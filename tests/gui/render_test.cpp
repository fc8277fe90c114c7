#include "gui_fixture.h"

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

// The controls' pictures (caps, middles, fills in each state) are covered by
// the kitchen-sink golden picture; here what no picture shows.
using Drawing = GuiTest;

TEST_F(Drawing, ProgressBarFillFollowsTheValueAndAnEmptyRangeFillsNothing) {
  g_GuiLayout[300] = {0, 0, 110, 25};
  CDXUTProgressBar* bar = nullptr;
  dialog_->AddProgressBarFromLayout(300, 0, 100, 50, &bar);
  EXPECT_EQ(bar->GetFillWidth(), 50);
  bar->SetValue(100);
  EXPECT_EQ(bar->GetFillWidth(), 100);
  bar->SetRange(7, 7);  // instead of dividing by zero
  EXPECT_EQ(bar->GetFillWidth(), 0);
}

TEST_F(Drawing, ResourceManagerSharesFontNodesByFaceHeightAndWeight) {
  CDXUTDialogResourceManager& manager = GetGlobalDialogResourceManager();
  CDXUTDialog other;
  // Both dialogs bound the same eight fonts and the one sheet.
  EXPECT_EQ(dialog_->GetFontIndex(1), other.GetFontIndex(1));
  EXPECT_EQ(dialog_->GetTextureIndex(0), other.GetTextureIndex(0));
  const int before = manager.FontCount();
  dialog_->SetFont(5, L"ARIAL", guitest::kFontHeight, 400);  // case does not matter
  EXPECT_EQ(manager.FontCount(), before);
  other.SetFont(5, L"Arial", guitest::kFontHeight, 700);     // another weight
  EXPECT_EQ(manager.FontCount(), before + 1);
  EXPECT_NE(dialog_->GetFontIndex(5), other.GetFontIndex(5));
  dialog_->SetFont(9, L"Tahoma", 12, 400);  // grows the slots with unbound ones
  EXPECT_EQ(dialog_->GetFont(8), nullptr);
  EXPECT_EQ(dialog_->GetTexture(0)->Width(), 2048);
  EXPECT_EQ(manager.AddTexture(L"DATA\\GFX\\gui.png"), dialog_->GetTextureIndex(0));
}

class TabFrame : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_GuiLayout[400] = {0, 0, 400, 200};
    for (int id = 401; id <= 406; ++id) dialog_->AddButton(id, L"", 0, 100, 10, 10);
    dialog_->AddTabFrameFromLayout(400, &tabs_);
    tabs_->AddTab(L"One", 10, 401, 402);    // caption 24 px: header 44 wide
    tabs_->AddTab(L"Two", 20, 403, 404);
    tabs_->AddTab(L"Three", 30, 405, 406);  // 40 px: 60 wide
  }
  std::vector<bool> Shown() const {
    std::vector<bool> out;
    for (int id = 401; id <= 406; ++id) out.push_back(dialog_->GetControl(id)->GetVisible());
    return out;
  }
  CDXUTTabFrame* tabs_ = nullptr;
};

TEST_F(TabFrame, SelectTabClampsAndReportsWhenAsked) {
  struct Case {
    int index;
    bool send;
    int selected;
  } cases[] = {{7, false, 2}, {-4, true, 0}, {1, true, 1}};
  for (const Case& c : cases) {
    Events().clear();
    tabs_->SelectTab(c.index, c.send);
    EXPECT_EQ(tabs_->GetSelectedTab(), c.selected) << c.index;
    EXPECT_EQ(Events().size(), c.send ? 1u : 0u);
  }
  EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true, true, false, false}));
  EXPECT_EQ(Events(), (std::vector<Event>{{EVENT_TABFRAME_CHANGED, 400}}));
  EXPECT_EQ(tabs_->GetSelectedTab(-2), -1);
  tabs_->RemoveAllTabs();
  EXPECT_EQ(tabs_->GetSelectedTab(), -1);
  tabs_->SelectTab(1, true);  // no tabs: nothing
  EXPECT_EQ(tabs_->GetSelectedTab(), -1);
}

TEST_F(TabFrame, HeaderHitTest) {
  struct Case {
    int x, y;
    bool consumed;
    int selected;  // after the click
    std::size_t events;
  } cases[] = {
      {43, 5, true, 0, 1},    // inside the first header (even when already selected)
      {44, 5, true, 1, 1},    // exactly caption width + 20: the second
      {88, 5, true, 2, 1},    // 44 + 44
      {147, 5, true, 2, 1},   // last pixel of the third
      {148, 5, true, 2, 0},   // right of the last header: consumed, no change
      {10, 30, false, 2, 0},  // below the strip
  };
  for (const Case& c : cases) {
    Events().clear();
    EXPECT_EQ(Down(c.x, c.y), c.consumed) << c.x;
    Up(c.x, c.y);
    EXPECT_EQ(tabs_->GetSelectedTab(), c.selected) << c.x;
    EXPECT_EQ(Events().size(), c.events) << c.x;
  }
}

}  // namespace
