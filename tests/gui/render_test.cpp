#include "gui_fixture.h"

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

struct Quad {
  plat::RectI source;
  int left, top, right, bottom;  // on screen
};

class Drawing : public GuiTest {
 protected:
  // The textured quads of the last render, in submission order.
  std::vector<Quad> Quads() const {
    std::vector<Quad> out;
    for (const plat::DrawRecord* r : renderer_.Quads()) {
      out.push_back({r->source, static_cast<int>(r->corners[0].x + 0.5f), static_cast<int>(r->corners[0].y + 0.5f),
                     static_cast<int>(r->corners[2].x + 0.5f), static_cast<int>(r->corners[2].y + 0.5f)});
    }
    return out;
  }
  static std::vector<std::pair<int, int>> Spans(const std::vector<Quad>& quads) {
    std::vector<std::pair<int, int>> out;
    for (const Quad& q : quads) out.push_back({q.left, q.right});
    return out;
  }
};

TEST_F(Drawing, ButtonCapsAndMiddleByWidth) {
  struct Case {
    int width;
    std::vector<std::pair<int, int>> spans;  // left cap, right cap, middle
  } cases[] = {
      {8, {{100, 104}, {104, 108}}},
      {10, {{100, 105}, {105, 110}}},
      {11, {{100, 105}, {106, 111}, {105, 106}}},
      {80, {{100, 105}, {175, 180}, {105, 175}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    dialog_->RemoveAllControls();
    dialog_->AddButton(1, L"", 100, 50, c.width, 30);
    Render();
    const std::vector<Quad> quads = Quads();
    EXPECT_EQ(Spans(quads), c.spans);
    ASSERT_GE(quads.size(), 2u);
    EXPECT_EQ(quads[0].source.left, 136);  // normal-look left cap
    EXPECT_EQ(quads[0].top, 50);
    EXPECT_EQ(quads[0].bottom, 80);
  }
}

TEST_F(Drawing, ProgressBarFillAtMinMidAndMax) {
  g_GuiLayout[300] = {0, 0, 110, 25};
  struct Case {
    int value;
    int fill;
    std::vector<std::pair<int, int>> spans;
  } cases[] = {
      {0, 0, {{0, 5}, {105, 110}, {5, 105}}},
      {50, 50, {{0, 5}, {105, 110}, {5, 105}, {5, 55}}},
      {100, 100, {{0, 5}, {105, 110}, {5, 105}, {5, 105}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    dialog_->RemoveAllControls();
    CDXUTProgressBar* bar = nullptr;
    dialog_->AddProgressBarFromLayout(300, 0, 100, c.value, &bar);
    EXPECT_EQ(bar->GetFillWidth(), c.fill);
    Render();
    const std::vector<Quad> quads = Quads();
    EXPECT_EQ(Spans(quads), c.spans);
    ASSERT_GE(quads.size(), 2u);
    // Filled caps come from the lower row of the sheet.
    EXPECT_EQ(quads[0].source.top, c.value > 0 ? 1910 : 1885);
    EXPECT_EQ(quads[1].source.top, c.value >= 100 ? 1910 : 1885);
    bar->SetRange(7, 7);  // an empty range fills nothing instead of dividing by zero
    EXPECT_EQ(bar->GetFillWidth(), 0);
  }
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
