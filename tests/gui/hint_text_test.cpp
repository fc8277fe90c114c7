#include "gui/hint_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "frame/device_events.h"
#include "app/gui_layout.h"
#include "app/hoverable.h"
#include "app/texture.h"
#include "gui/dxut_dialog.h"
#include "platform/clock.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"

namespace {

class Tooltip final : public cHoverable {
 public:
  void GetTooltipSize(int& width, int& height) override {
    width = 50;
    height = 40;
  }
  void DrawTooltip(float x, float y) override { drawn.push_back({x, y}); }
  std::vector<plat::PointF> drawn;
};

class HintText : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    renderer_.SetScreenSize(800, 600);
    font_ = renderer_.CreateFont(L"Tahoma", 10, 400);  // 5 pixels a character
    g_GuiFonts[0].font = font_.get();
    g_pSprite = &sprite_;
    hint_.Init(16, 20, 500, nullptr);
  }
  void TearDown() override {
    g_pSprite = nullptr;
    g_GuiFonts[0].font = nullptr;
    plat::SetClock(nullptr);
  }
  // One frame after ms milliseconds; true when the hint text was drawn.
  bool Frame(int ms) {
    clock_.Advance(ms);
    renderer_.records.clear();
    hint_.OnFrameRender();
    return !renderer_.Texts().empty();
  }

  plat::ManualClock clock_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  std::unique_ptr<plat::Font> font_;
  plat::SpriteBatch sprite_{renderer_};
  cHintText hint_;
};

TEST_F(HintText, BoxFlipsAtTheRightAndBottomEdges) {
  Tooltip tooltip;
  hint_.SetAnchor(&tooltip);
  hint_.Draw(100, 100);
  hint_.Draw(790, 590);  // 806 + 50 > 800 and 610 + 40 > 600
  hint_.Draw(734, 100);  // 750 + 50 stays on screen
  ASSERT_EQ(tooltip.drawn.size(), 3u);
  EXPECT_FLOAT_EQ(tooltip.drawn[0].y, 120);
  EXPECT_FLOAT_EQ(tooltip.drawn[1].x, 790 - 50);
  EXPECT_FLOAT_EQ(tooltip.drawn[1].y, 590 - 40);
  EXPECT_FLOAT_EQ(tooltip.drawn[2].x, 750);

  // A text box flips the same way: frame pieces of the GUI sheet
  // around the text, which sits inside the margin.
  g_Textures[2].Create(256, 2048);
  hint_.SetText(L"abcd");
  renderer_.records.clear();
  hint_.Draw(780, 10);
  g_Textures[2].Release();
  ASSERT_EQ(renderer_.Texts().size(), 1u);
  EXPECT_FLOAT_EQ(renderer_.Texts()[0]->corners[0].x, 780 - 30 + 5);
  EXPECT_FLOAT_EQ(renderer_.Texts()[0]->corners[0].y, 30 + 5);
  const auto quads = renderer_.Quads();
  // A 30 x 20 box: the middle row of pieces has no height and is left out.
  ASSERT_EQ(quads.size(), 6u);
  EXPECT_FLOAT_EQ(quads[0]->corners[0].x, 750);
  EXPECT_FLOAT_EQ(quads[5]->corners[2].x, 780);  // bottom-right corner piece
  EXPECT_FLOAT_EQ(quads[5]->corners[2].y, 50);
}

TEST_F(HintText, DelayAndTheSameControlTwice) {
  CDXUTControl control;
  control.SetID(7);
  control.SetHint(L"hello");
  hint_.SetControl(&control);
  EXPECT_FALSE(Frame(300));
  EXPECT_EQ(hint_.GetWaited(), 300);
  // The same control again keeps the time running.
  hint_.SetControl(&control);
  EXPECT_EQ(hint_.GetWaited(), 300);
  EXPECT_NE(hint_.GetText(), nullptr);
  EXPECT_FALSE(Frame(300));  // reaches 600 >= 500: shown from the next frame
  EXPECT_TRUE(Frame(16));
  EXPECT_EQ(hint_.GetRunningTime(), 616);
  // Forcing the control takes its hint anew: none clears the waited time.
  control.SetHint(nullptr);
  hint_.SetControl(&control, true);
  EXPECT_EQ(hint_.GetText(), nullptr);
  EXPECT_EQ(hint_.GetWaited(), 0);
  EXPECT_FALSE(Frame(1000));
  EXPECT_EQ(hint_.GetWaited(), 0);
}

}  // namespace
