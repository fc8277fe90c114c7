#include "platform/sdl/sdl_framework.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/input_state.h"
#include "platform/recording_renderer.h"
#include "sdl_events.h"

namespace {

using namespace plat;
using namespace plat::sdl;
using twtest::WindowEvent;

class SdlFrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fw_ = std::make_unique<SdlFramework>(
        [](SDL_Window*) -> std::unique_ptr<Renderer> { return std::make_unique<RecordingRenderer>(); });
    fw_->SetCallbackDeviceCreated([this](const BackBufferDesc& d) { return Log("created", d, createdResult_); });
    fw_->SetCallbackDeviceReset([this](const BackBufferDesc& d) { return Log("reset", d, resetResult_); });
    fw_->SetCallbackDeviceLost([this] { Log("lost"); });
    fw_->SetCallbackDeviceDestroyed([this] { Log("destroyed"); });
    fw_->SetCallbackPauseChanged([this](bool p) { Log(p ? "pause" : "resume"); });
  }
  // Notes a device call ("created 800x600") and gives its result.
  long Log(const std::string& s, const BackBufferDesc& d, long result) {
    Log(s + " " + std::to_string(d.width) + "x" + std::to_string(d.height));
    return result;
  }
  void Log(const std::string& s) { log_.push_back(s); }
  void Open() {
    ASSERT_TRUE(fw_->CreateWindow(L"Tidewrack v1.01"));
    ASSERT_EQ(fw_->CreateDevice(true, 800, 600), 0);
    log_.clear();
  }

  std::unique_ptr<SdlFramework> fw_;
  std::vector<std::string> log_;
  long createdResult_ = 0;
  long resetResult_ = 0;
};

TEST_F(SdlFrameworkTest, WindowHiddenUntilDeviceThenCreatedAndResetWithSize) {
  ASSERT_TRUE(fw_->CreateWindow(L"Tidewrack v1.01 \u00e9"));
  ASSERT_NE(fw_->Window(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(fw_->Window()), "Tidewrack v1.01 \xC3\xA9");
  EXPECT_NE(SDL_GetWindowFlags(fw_->Window()) & SDL_WINDOW_HIDDEN, 0u);
  EXPECT_EQ(fw_->GetRenderer(), nullptr);

  EXPECT_EQ(fw_->CreateDevice(true, 800, 600), 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"created 800x600", "reset 800x600"}));
  EXPECT_TRUE(fw_->GetRenderer() && fw_->IsWindowed());
  EXPECT_EQ(SDL_GetWindowFlags(fw_->Window()) & SDL_WINDOW_HIDDEN, 0u);
  int w = 0, h = 0;
  SDL_GetWindowSize(fw_->Window(), &w, &h);
  EXPECT_EQ(std::pair(w, h), std::pair(800, 600));
}

// The window is made small and hidden and only then given its size: at that
// size it must still lie wholly on the screen (the dummy display's is
// 1024 x 768), centred where it fits.
TEST_F(SdlFrameworkTest, WindowLiesWhollyOnTheScreenAtItsSize) {
  ASSERT_TRUE(fw_->CreateWindow(L"t"));
  SDL_Rect screen{};
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &screen), 0);
  ASSERT_EQ(std::pair(screen.w, screen.h), std::pair(1024, 768));
  for (const auto& [w, h] : {std::pair(1024, 768), std::pair(800, 600)}) {
    ASSERT_EQ(fw_->CreateDevice(true, w, h), 0);
    int x = -1, y = -1;
    SDL_GetWindowPosition(fw_->Window(), &x, &y);
    EXPECT_EQ(std::pair(x, y), std::pair((1024 - w) / 2, (768 - h) / 2)) << w << "x" << h;
  }
  // Larger than the screen: its top-left corner stays on it.
  const SDL_Rect area{100, 20, 1024, 768};
  EXPECT_EQ(PlaceWindow(area, 1280, 720).x, 100);
  EXPECT_EQ(PlaceWindow(area, 1280, 720).y, 44);
  EXPECT_EQ(PlaceWindow(area, 1000, 800).x, 112);
  EXPECT_EQ(PlaceWindow(area, 1000, 800).y, 20);
}

// A failing reset destroys what was created; a failing created callback
// leaves nothing to lose or destroy, and the loop ends at once.
TEST_F(SdlFrameworkTest, FailingDeviceCallbacksLeaveNoDevice) {
  ASSERT_TRUE(fw_->CreateWindow(L"t"));
  for (const bool created : {false, true}) {
    (created ? createdResult_ : resetResult_) = -7;
    log_.clear();
    EXPECT_EQ(fw_->CreateDevice(true, 640, 480), -7);
    EXPECT_EQ(fw_->GetRenderer(), nullptr);
    std::vector<std::string> expected = {"created 640x480", "reset 640x480", "destroyed"};
    if (created) expected.resize(1);
    EXPECT_EQ(log_, expected);
    createdResult_ = resetResult_ = 0;
  }
  int frames = 0;
  fw_->SetCallbackFrameMove([&](double, float) { ++frames; });
  fw_->MainLoop();
  EXPECT_EQ(frames, 0);
  EXPECT_NE(fw_->GetExitCode(), 0);
}

TEST_F(SdlFrameworkTest, LoopRunsFramesUntilQuitThenLosesAndDestroysTheDevice) {
  Open();
  int renders = 0;
  fw_->SetCallbackFrameMove([&](double, float) { Log("move"); });
  fw_->SetCallbackFrameRender([&](double, float) {
    Log("render");
    if (++renders == 2) {
      SDL_Event quit{SDL_QUIT};
      SDL_PushEvent(&quit);
    }
  });
  // The close reaches the program while the device still exists.
  fw_->SetCallbackMsgProc([&](const Message& m, bool&) {
    if (m.msg == kWmClose) Log("close");
    return 0L;
  });
  fw_->MainLoop();
  EXPECT_EQ(log_, (std::vector<std::string>{"move", "render", "move", "render", "close", "lost", "destroyed"}));
  EXPECT_FALSE(fw_->GetRenderer() || fw_->Window());
  EXPECT_EQ(fw_->GetExitCode(), 0);
}

TEST_F(SdlFrameworkTest, MessagesReachMsgProcFirstAndMayStopThere) {
  Open();
  bool consume = false;
  fw_->SetCallbackMsgProc([&](const Message& m, bool& noFurther) {
    Log("msg " + std::to_string(m.msg));
    noFurther = consume;
    return 0L;
  });
  fw_->SetCallbackKeyboard([&](unsigned key, bool, bool) { Log("key " + std::to_string(key)); });
  const auto mouse = [&](bool moves) {
    fw_->SetCallbackMouse([&](bool l, bool, bool, bool, bool, int, int x, int y) {
      Log("mouse " + std::to_string(l) + " " + std::to_string(x) + "," + std::to_string(y));
    }, moves);
  };
  mouse(false);
  const SDL_Event key = twtest::Key(true, SDLK_ESCAPE), move = twtest::Motion(5, 6);
  const SDL_Event click = twtest::Button(true, SDL_BUTTON_LEFT, 7, 8);
  for (const SDL_Event& e : {key, move, click}) fw_->HandleEvent(e);  // moves not asked for: message only
  consume = true;
  for (const SDL_Event& e : {key, click}) fw_->HandleEvent(e);
  consume = false;
  mouse(true);
  fw_->HandleEvent(move);
  EXPECT_EQ(log_, (std::vector<std::string>{"msg 256", "key 27", "msg 512", "msg 513", "mouse 1 7,8",  // passed on
                                            "msg 256", "msg 513",                                        // stopped
                                            "msg 512", "mouse 0 5,6"}));
}

TEST_F(SdlFrameworkTest, ResizeLosesAndResetsAndMinimisePauses) {
  Open();
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1024, 768));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1024, 768));  // no change: nothing
  EXPECT_EQ(fw_->GetBackBufferDesc().width, 1024);
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));  // windowed: no pause
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_RESTORED));
  EXPECT_EQ(log_, (std::vector<std::string>{"lost", "reset 1024x768", "pause", "resume"}));
}

// The focus and the mouse's presence over the window are kept for the map's
// scrolling: a window in the background or left by the mouse scrolls no map.
TEST_F(SdlFrameworkTest, FocusAndMouseOverTheWindowFollowTheWindowEvents) {
  Open();
  KeyAndButtonState& state = GetInputState();
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_LEAVE));
  EXPECT_EQ(std::pair(state.HasFocus(), state.IsMouseInWindow()), std::pair(false, false));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_ENTER));
  EXPECT_EQ(std::pair(state.HasFocus(), state.IsMouseInWindow()), std::pair(false, true));
  fw_->HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_EQ(std::pair(state.HasFocus(), state.IsMouseInWindow()), std::pair(true, true));
}

}  // namespace
