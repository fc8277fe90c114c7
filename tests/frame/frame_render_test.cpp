#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/device_events.h"
#include "dialogs/dialog_stack.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "dialogs/dialog.h"
#include "platform/recording_renderer.h"
#include "screens/menu.h"
#include "screens/panel.h"
#include "screens/map_screen.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

using Log = std::vector<std::string>;

// Notes its drawing together with the framework lock's hold count.
class DrawnDialog : public cDialog {
 public:
  DrawnDialog(int id, Log& log) : cDialog(id), log_(log) {}
  void OnRender(float) override {
    log_.push_back("dialog " + std::to_string(id_) + " lock " +
                   std::to_string(GetFrameworkLockHoldCount()));
  }

 private:
  Log& log_;
};

class DrawnMenu : public cMenu {
 public:
  explicit DrawnMenu(Log& log) : log_(log) {}
  void OnRender(float) override { log_.push_back("menu"); }

 private:
  Log& log_;
};

// Stands for the map screen: the scene step draws the panels.
class DrawnPanel : public cPanel {
 public:
  explicit DrawnPanel(Log& log) : cPanel(-1), log_(log) {}
  void OnRender(float) override { log_.push_back("map"); }

 private:
  Log& log_;
};

class FrameRender : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bRunning = true;
    CreateFrameworkLock();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    g_pWorld = &world_;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    delete negative_;  // the stack removes a never-drawn dialog without closing it
    delete g_pCurrentMenu;
    world_.SetView(nullptr);
    g_pWorld = nullptr;
    g_bRunning = false;
    DeleteFrameworkLock();
  }
  std::vector<plat::DrawRecord::Kind> Kinds() const {
    std::vector<plat::DrawRecord::Kind> kinds;
    for (const auto& record : renderer_.records) kinds.push_back(record.kind);
    return kinds;
  }

  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
  Log log_;
  cDialog* negative_ = nullptr;
};

TEST_F(FrameRender, DrawsMenuThenVisibleDialogsBottomUpUnderTheLock) {
  new DrawnMenu(log_);
  PushDialog(new DrawnDialog(1, log_));
  negative_ = new DrawnDialog(-4, log_);  // kept on the stack, never drawn
  PushDialog(negative_);
  auto* hidden = new DrawnDialog(2, log_);
  PushDialog(hidden);
  hidden->Dialog().SetVisible(false);
  PushDialog(new DrawnDialog(3, log_));

  OnFrameRender(0.0, 0.016f);
  EXPECT_EQ(log_, (Log{"menu", "dialog 1 lock 1", "dialog 3 lock 1"}));
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  using K = plat::DrawRecord::Kind;
  ASSERT_EQ(Kinds(), (std::vector<K>{K::kBegin, K::kClear, K::kEnd}));
  EXPECT_EQ(renderer_.records[1].argb, 0x00000000u);
}

TEST_F(FrameRender, MapScreenOutsidePhasesZeroOneAndFiveAndNothingOnAFailedBeginScene) {
  new DrawnMenu(log_);
  cMapScreen::Panels panels{};
  panels[cMapScreen::kInfo] = new DrawnPanel(log_);
  world_.SetView(std::make_unique<cMapScreen>(world_, panels));
  for (int phase : {0, 1, 5, 2, 7, 12}) {
    world_.SetGameState(phase);
    log_.clear();
    OnFrameRender(0.0, 0.0f);
    // The menu is drawn in every phase and always over the map.
    const bool map = phase != 0 && phase != 1 && phase != 5;
    EXPECT_EQ(log_, (map ? Log{"map", "menu"} : Log{"menu"})) << "phase " << phase;
  }

  twtest::LogCapture capture;
  PushDialog(new DrawnDialog(1, log_));
  renderer_.SetBeginSceneResult(-2005530520);
  renderer_.records.clear();
  log_.clear();
  OnFrameRender(0.0, 0.0f);
  EXPECT_TRUE(log_.empty());
  using K = plat::DrawRecord::Kind;
  EXPECT_EQ(Kinds(), (std::vector<K>{K::kBegin, K::kEnd}));
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_TRUE(capture.Contains(L"-- Begin scene problem (-2005530520)"));
}

}  // namespace
