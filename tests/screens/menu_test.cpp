#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/hint_text.h"
#include "gui/dxut_element.h"
#include "platform/recording_renderer.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

using Events = std::vector<std::string>;

// Notes its construction, its events and its destruction.
class NotedMenu : public cMenu {
 public:
  NotedMenu(std::string name, Events& events) : name_(std::move(name)), events_(events) {
    events_.push_back(name_ + " built, current " + (g_pCurrentMenu == this ? "self" : "other") +
                      ", visible " + (dialog_.GetVisible() ? "yes" : "no"));
  }
  ~NotedMenu() override { events_.push_back(name_ + " deleted"); }
  void OnGUIEvent(unsigned, int controlId, CDXUTControl*) override {
    events_.push_back(name_ + " event " + std::to_string(controlId));
    if (controlId == 1) {
      // Opens the next menu from inside its own handler and keeps using its
      // own members afterwards: the object must still be alive.
      new NotedMenu(name_ + "+", events_);
      events_.push_back(name_ + " still here");
    }
  }
  void OnKeyboard(unsigned key, bool, bool) override { events_.push_back(name_ + " key " + std::to_string(key)); }

 private:
  std::string name_;
  Events& events_;
};

class MenuSwitching : public ::testing::Test {
 protected:
  void TearDown() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
  }
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  twtest::LogCapture log_;
  Events events_;
};

TEST_F(MenuSwitching, SecondMenuRetiresTheFirstAndFreesItAtTheEndOfTheFrame) {
  new NotedMenu("A", events_);
  new NotedMenu("B", events_);
  auto* c = new NotedMenu("C", events_);
  EXPECT_EQ(g_pCurrentMenu, c);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"-- Setting callbacks", L"-- Deleting old menu",
                                                     L"-- Setting callbacks", L"-- Deleting old menu",
                                                     L"-- Setting callbacks"}));
  EXPECT_EQ(events_.size(), 3u);  // nobody deleted yet
  // The frame render ends by freeing the replaced menus.
  framework_.frameRender(0.0, 0.0f);
  EXPECT_EQ(events_, (Events{"A built, current self, visible no", "B built, current self, visible no",
                             "C built, current self, visible no", "B deleted", "A deleted"}));
  EXPECT_EQ(g_pCurrentMenu, c);
}

TEST_F(MenuSwitching, AHandlerMayOpenTheNextMenuAndGoOnRunning) {
  auto* a = new NotedMenu("A", events_);
  // The dialog reports its controls' events through the menu thunk.
  framework_.keyboard(65, true, false);
  a->Dialog().AddButton(1, L"next", 0, 0, 10, 10);
  a->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, a->Dialog().GetControl(1), false);
  ASSERT_NE(g_pCurrentMenu, a);
  // Input now goes to the new menu.
  framework_.keyboard(66, true, false);
  DeleteRetiredMenus();
  EXPECT_EQ(events_, (Events{"A built, current self, visible no", "A key 65", "A event 1",
                             "A+ built, current self, visible no", "A still here", "A+ key 66",
                             "A deleted"}));
}

TEST_F(MenuSwitching, AMenuDeletedDirectlyIsNotFreedAgain) {
  auto* a = new NotedMenu("A", events_);
  new NotedMenu("B", events_);
  delete a;  // retired, but its owner frees it early
  DeleteRetiredMenus();
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "A deleted"), 1);
}

}  // namespace
