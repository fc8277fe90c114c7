#include "frame/input_routing.h"
#include "frame/device_events.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/framework_lock.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/control_groups.h"
#include "gui/dxut_dialog.h"
#include "gui/hint_text.h"
#include "platform/framework.h"
#include "platform/input_state.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/panel.h"
#include "support/fake_framework.h"
#include "support/one_memory.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

using Log = std::vector<std::string>;

// A control at the dialog's top-left corner that notes every mouse message
// offered to it and consumes it on request.
class NotingControl : public CDXUTControl {
 public:
  NotingControl(std::string name, Log& log, bool handles)
      : name_(std::move(name)), log_(log), handles_(handles) {
    m_ID = 1;
  }
  bool HandleMouse(const plat::Message&, POINT) override {
    log_.push_back(name_);
    return handles_;
  }

 private:
  std::string name_;
  Log& log_;
  bool handles_;
};

void Offer(CDXUTDialog& dialog, const std::string& name, Log& log, bool handles) {
  dialog.AddControl(std::make_unique<NotingControl>(name, log, handles))->SetSize(10, 10);
}

class NotingMenu : public cMenu {
 public:
  explicit NotingMenu(Log& log) : log_(log) {}
  void OnRender(float) override { log_.push_back("menu"); }
  void OnMouse(bool, bool, bool, bool, bool, int, int x, int) override {
    // The hint object has seen the same mouse event first.
    log_.push_back("menu mouse " + std::to_string(x) + " hint " +
                   std::to_string(g_HintText.GetMouseX()));
  }

 private:
  Log& log_;
};

class NotingPanel : public cPanel {
 public:
  NotingPanel(int id, std::string name, Log& log) : cPanel(id), name_(std::move(name)), log_(log) {}
  void OnGUIEvent(unsigned, int, CDXUTControl*) override { log_.push_back(name_); }
  void OnRender(float) override { log_.push_back(name_ + " drawn"); }
  void MoveBy(int dx, int dy) override {
    log_.push_back(name_ + " by " + std::to_string(dx) + "," + std::to_string(dy));
  }

 private:
  std::string name_;
  Log& log_;
};

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

// The frame's routing of input and its render.
class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bRunning = true;
    CreateFrameworkLock();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    delete negative_;  // the stack removes a never-drawn dialog without closing it
    delete g_pCurrentMenu;
    DeleteRetiredMenus();
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
  // The map screen of the world with six panels, each noting the messages
  // offered to it; handler names the one that consumes them, missing one
  // that is left out.
  void MakePanels(const std::string& handler = "", const std::string& missing = "") {
    g_pWorld = &world_;
    const std::pair<cMapScreen::ePanel, std::string> names[] = {
        {cMapScreen::kInfo, "info"},           {cMapScreen::kUnit, "unit"}, {cMapScreen::kAttack, "attack"},
        {cMapScreen::kDiplomacy, "diplomacy"}, {cMapScreen::kHex, "hex"},   {cMapScreen::kMinimap, "minimap"}};
    cMapScreen::Panels panels{};
    for (const auto& [which, name] : names) {
      if (name == missing) continue;
      panels[which] = new NotingPanel(1, name, log_);
      Offer(panels[which]->Dialog(), name, log_, name == handler);
    }
    world_.SetView(std::make_unique<cMapScreen>(world_, panels));
  }

  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  Log log_;
  cWorld world_;
  cDialog* negative_ = nullptr;
};

TEST_F(Frame, MessageGoesToVisibleDialogThenMenu) {
  auto* menu = new cMenu;
  menu->Dialog().SetVisible(true);  // a subclass shows its dialog once built
  Offer(menu->Dialog(), "menu", log_, true);
  auto* dialog = new cDialog(5);
  PushDialog(dialog);
  Offer(dialog->Dialog(), "dialog", log_, true);

  bool done = false;
  EXPECT_EQ(MsgProc({plat::kWmLButtonDown, 0, 0}, done), 0);
  EXPECT_TRUE(done);
  EXPECT_EQ(log_, (Log{"dialog"}));

  // A message the dialog leaves reaches nothing of the menu, off the dialog
  // or on it: the dialog is modal over a menu.
  dialog->Dialog().RemoveAllControls();
  Offer(dialog->Dialog(), "dialog", log_, false);
  menu->Dialog().GetControl(1)->SetSize(100, 100);
  log_.clear();
  done = false;
  MsgProc({plat::kWmLButtonDown, 0, plat::MakeMouseLParam(50, 50)}, done);
  EXPECT_FALSE(done);
  EXPECT_TRUE(log_.empty());
  log_.clear();
  done = false;
  MsgProc({plat::kWmLButtonDown, 0, 0}, done);
  EXPECT_FALSE(done);
  EXPECT_EQ(log_, (Log{"dialog"}));

  // A hidden dialog is not asked at all.
  dialog->Dialog().SetVisible(false);
  log_.clear();
  MsgProc({plat::kWmLButtonDown, 0, 0}, done);
  EXPECT_EQ(log_, (Log{"menu"}));
}

TEST_F(Frame, MapScreenPanelsInOrderExceptInPhaseOne) {
  g_pWorld = &world_;
  MakePanels();
  bool done = false;
  world_.SetGameState(1);
  MsgProc({plat::kWmLButtonDown, 0, 0}, done);
  EXPECT_TRUE(log_.empty());
  EXPECT_FALSE(done);

  world_.SetGameState(7);
  MsgProc({plat::kWmLButtonDown, 0, 0}, done);
  EXPECT_EQ(log_, (Log{"diplomacy", "hex", "unit", "attack", "minimap", "info"}));
  EXPECT_FALSE(done);

  // The first panel that consumes the message ends the chain; missing
  // panels are passed over.
  TearDown();
  SetUp();
  g_pWorld = &world_;
  world_.SetGameState(7);
  MakePanels("unit", "diplomacy");
  log_.clear();
  MsgProc({plat::kWmLButtonDown, 0, 0}, done);
  EXPECT_EQ(log_, (Log{"hex", "unit"}));
  EXPECT_TRUE(done);
}

// An open dialog lies over the panels: the mouse on it reaches none of them,
// and the control of a panel it covers loses the mouse and its hint.
TEST_F(Frame, ThePanelsUnderAnOpenDialogGetNoMouseWhereItLies) {
  MakePanels();
  world_.SetGameState(7);
  bool done = false;
  const auto move = [&](int x, int y) { MsgProc({plat::kWmMouseMove, 0, plat::MakeMouseLParam(x, y)}, done); };
  move(5, 5);
  ASSERT_NE(g_HintText.GetControl(), nullptr);
  cMapScreen& screen = *LoadedMapScreen();
  ASSERT_EQ(g_HintText.GetControl()->GetDialog(), &screen.Panel(cMapScreen::kInfo)->Dialog());

  auto* dialog = new cDialog(5);
  PushDialog(dialog);
  Offer(dialog->Dialog(), "dialog", log_, false);
  log_.clear();
  move(6, 6);
  MsgProc({plat::kWmLButtonDown, 0, plat::MakeMouseLParam(6, 6)}, done);
  EXPECT_EQ(log_, (Log{"dialog", "dialog"}));
  EXPECT_EQ(g_HintText.GetControl(), dialog->Dialog().GetControl(1)) << "the dialog's own control's hint";
  EXPECT_EQ(screen.Panel(cMapScreen::kInfo)->Dialog().GetMouseOverControl(), nullptr);

  // Off the dialog the panels have the mouse again.
  dialog->Dialog().GetControl(1)->SetSize(4, 4);
  log_.clear();
  move(6, 6);
  EXPECT_EQ(log_, (Log{"diplomacy", "hex", "unit", "attack", "minimap", "info"}));
}

// Notes the keys that reach it.
class KeyMenu : public cMenu {
 public:
  KeyMenu(std::string name, Log& log) : name_(std::move(name)), log_(log) { dialog_.SetVisible(true); }
  void OnKeyboard(unsigned key, bool down, bool) override {
    log_.push_back(name_ + (down ? " down " : " up ") + std::to_string(key));
  }

 private:
  std::string name_;
  Log& log_;
};

// A key held while the screen changes repeats its press: the repeats stay
// with the screen that took the first press (Esc held over the end of the
// logo must not send the next menu back), a fresh press reaches the new
// screen, and a key held on one screen repeats there.
TEST_F(Frame, AHeldKeyRepeatsOnlyOnTheScreenThatTookItsPress) {
  framework_.SetCallbackMsgProc(MsgProc);
  const auto key = [&](unsigned msg, unsigned vk, bool repeat) {
    framework_.Send({msg, vk, repeat ? 1 | plat::kKeyRepeatBit : 1});
  };
  new KeyMenu("main", log_);
  key(plat::kWmKeyDown, plat::kVkEscape, false);
  key(plat::kWmKeyDown, plat::kVkEscape, true);
  new KeyMenu("scenarios", log_);  // a click opened it meanwhile
  key(plat::kWmKeyDown, plat::kVkEscape, true);
  key(plat::kWmKeyUp, plat::kVkEscape, false);
  key(plat::kWmKeyDown, plat::kVkEscape, false);
  EXPECT_EQ(log_, (Log{"main down 27", "main down 27", "scenarios up 27", "scenarios down 27"}));

  // A dialog opened over the menu takes the repeats of no key pressed before.
  log_.clear();
  key(plat::kWmKeyDown, plat::kVkReturn, false);
  PushDialog(new cDialog(5));
  key(plat::kWmKeyDown, plat::kVkReturn, true);
  PopDialogs(1);
  key(plat::kWmKeyDown, plat::kVkReturn, true);
  EXPECT_EQ(log_, (Log{"scenarios down 13", "scenarios down 13"}));
  plat::GetInputState() = plat::KeyAndButtonState{};
}

// Esc held while its menu is freed and the next one is made in its memory:
// the repeats do not reach the new menu.
TEST_F(Frame, AHeldKeyDoesNotRepeatOnAMenuMadeInTheMemoryOfTheOneThatTookItsPress) {
  framework_.SetCallbackMsgProc(MsgProc);
  new twtest::InOneMemory<KeyMenu>("main", log_);
  framework_.Send({plat::kWmKeyDown, plat::kVkEscape, 1});
  RetireCurrentMenu();
  DeleteRetiredMenus();
  new twtest::InOneMemory<KeyMenu>("scenarios", log_);
  framework_.Send({plat::kWmKeyDown, plat::kVkEscape, 1 | plat::kKeyRepeatBit});
  EXPECT_EQ(log_, (Log{"main down 27"}));
  plat::GetInputState() = plat::KeyAndButtonState{};
}

TEST_F(Frame, MenuMouseFeedsHintFirstAndPanelEventsReachFourPanels) {
  new NotingMenu(log_);
  MenuOnMouseThunk(false, false, false, false, false, 0, 77, 5);
  EXPECT_EQ(log_, (Log{"menu mouse 77 hint 77"}));

  log_.clear();
  MakePanels();
  PanelOnGUIEventThunk(0x0101, 3, nullptr);
  EXPECT_EQ(log_, (Log{"unit", "hex", "attack", "diplomacy"}));
}

TEST_F(Frame, FitSquareInRect) {
  sLayoutRect rect{10, 20, 100, 40};
  EXPECT_FLOAT_EQ(FitSquareInRect(rect, 1, 1), 0.4f);
  EXPECT_EQ((std::array<int, 4>{rect.a, rect.b, rect.c, rect.d}), (std::array<int, 4>{40, 20, 40, 40}));

  sLayoutRect tall{0, 0, 30, 90};
  EXPECT_FLOAT_EQ(FitSquareInRect(tall, 2, 2), 1.0f);
  EXPECT_EQ(tall.b, 60);
  sLayoutRect empty{5, 5, 0, 10};
  EXPECT_FLOAT_EQ(FitSquareInRect(empty, 1, 1), 0.0f);
}

TEST_F(Frame, MoveControlGroup) {
  renderer_.SetScreenSize(800, 600);
  MakePanels();
  log_.clear();
  g_GuiLayout[350] = {1, 2, 3, 4};
  EXPECT_FALSE(MoveControlGroup(nullptr, 350, 700, 10, 801, 100, 5, 0));
  EXPECT_EQ(g_GuiLayout[350].a, 1);
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(MoveControlGroup(nullptr, 350, 700, 10, 800, 100, 5, -2));
  EXPECT_EQ((std::array<int, 4>{g_GuiLayout[350].a, g_GuiLayout[350].b, g_GuiLayout[350].c, g_GuiLayout[350].d}),
            (std::array<int, 4>{6, 0, 3, 4}));
  EXPECT_EQ(log_, (Log{"unit by 5,-2"}));

  g_GuiLayout[780] = {9, 9, 9, 9};
  EXPECT_TRUE(MoveControlGroup(nullptr, 780, 0, 0, 10, 10, 1, 1));
  EXPECT_EQ(g_GuiLayout[780].a, 9);

  // Head 82 carries ids 83..171 with it, those of the dialog and, in the
  // layout table, those it lacks (100); 172 stays. Sizes stay the layout's.
  CDXUTDialog dialog;
  for (int id : {83, 171, 172}) {
    CDXUTControl* control = dialog.AddControl(std::make_unique<CDXUTControl>());
    control->SetID(id);
    control->SetLocation(100, 50);
    control->SetSize(20, 10);
  }
  for (int id : {82, 100, 171, 172}) g_GuiLayout[id] = {100, 50, 7, 8};
  EXPECT_TRUE(MoveControlGroup(&dialog, 82, 10, 10, 30, 30, 4, 6));
  EXPECT_EQ((std::array<int, 3>{g_GuiLayout[82].a, g_GuiLayout[82].b, g_GuiLayout[82].c}),
            (std::array<int, 3>{104, 56, 7}));
  EXPECT_EQ(dialog.GetControl(83)->GetX(), 104);
  EXPECT_EQ(dialog.GetControl(171)->GetY(), 56);
  EXPECT_EQ(dialog.GetControl(172)->GetX(), 100);
  EXPECT_EQ((std::array<int, 4>{g_GuiLayout[100].a, g_GuiLayout[171].b, g_GuiLayout[171].d, g_GuiLayout[172].a}),
            (std::array<int, 4>{104, 56, 8, 100}));
}

TEST_F(Frame, DrawsMenuThenVisibleDialogsBottomUpUnderTheLock) {
  new NotingMenu(log_);
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

TEST_F(Frame, MapScreenOutsidePhasesZeroOneAndFiveAndNothingOnAFailedBeginScene) {
  new NotingMenu(log_);
  MakePanels("", "unit");
  for (int phase : {0, 1, 5, 2, 7, 12}) {
    world_.SetGameState(phase);
    log_.clear();
    OnFrameRender(0.0, 0.0f);
    // The menu is drawn in every phase and always over the map.
    const bool map = phase != 0 && phase != 1 && phase != 5;
    const Log drawn = {"minimap drawn", "hex drawn", "attack drawn", "diplomacy drawn", "info drawn", "menu"};
    EXPECT_EQ(log_, (map ? drawn : Log{"menu"})) << "phase " << phase;
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
