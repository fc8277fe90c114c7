#include "platform/sdl/sdl_framework.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace {

using namespace plat;
using namespace plat::sdl;

// Enough of a renderer for the frame; the frame never draws by itself.
class NullRenderer final : public Renderer {
 public:
  std::unique_ptr<Texture> LoadTexture(const std::string&) override { return nullptr; }
  std::unique_ptr<Texture> CreateTexture(int, int) override { return nullptr; }
  std::unique_ptr<Font> CreateFont(const std::wstring&, int, int) override { return nullptr; }
  int MaxTextureWidth() const override { return 4096; }
  int ScreenWidth() const override { return 0; }
  int ScreenHeight() const override { return 0; }
  long BeginScene() override { return 0; }
  void Clear(std::uint32_t) override {}
  void EndScene() override {}
  void DrawQuad(const Texture&, const RectI&, const PointF[4], std::uint32_t, float) override {}
  void DrawLines(const PointF*, int, std::uint32_t) override {}
};

class SdlFrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fw_ = std::make_unique<SdlFramework>([this](SDL_Window*) -> std::unique_ptr<Renderer> {
      ++renderersMade_;
      return std::make_unique<NullRenderer>();
    });
    fw_->SetCallbackDeviceCreated([this](const BackBufferDesc& d) {
      Log("created " + Size(d));
      return createdResult_;
    });
    fw_->SetCallbackDeviceReset([this](const BackBufferDesc& d) {
      Log("reset " + Size(d));
      return resetResult_;
    });
    fw_->SetCallbackDeviceLost([this] { Log("lost"); });
    fw_->SetCallbackDeviceDestroyed([this] { Log("destroyed"); });
    fw_->SetCallbackPauseChanged([this](bool p) { Log(p ? "pause" : "resume"); });
  }
  void TearDown() override { SetClock(nullptr); }

  static std::string Size(const BackBufferDesc& d) {
    return std::to_string(d.width) + "x" + std::to_string(d.height);
  }
  void Log(const std::string& s) { log_.push_back(s); }
  void Open(int w = 800, int h = 600) {
    ASSERT_TRUE(fw_->CreateWindow(L"Tidewrack v1.01"));
    ASSERT_EQ(fw_->CreateDevice(true, w, h), 0);
    log_.clear();
  }
  static SDL_Event WindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
  }

  std::unique_ptr<SdlFramework> fw_;
  std::vector<std::string> log_;
  long createdResult_ = 0;
  long resetResult_ = 0;
  int renderersMade_ = 0;
};

TEST_F(SdlFrameworkTest, WindowHiddenUntilDeviceThenCreatedAndResetWithSize) {
  ASSERT_TRUE(fw_->CreateWindow(L"Tidewrack v1.01 \u00e9"));
  ASSERT_NE(fw_->Window(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(fw_->Window()), "Tidewrack v1.01 \xC3\xA9");
  EXPECT_NE(SDL_GetWindowFlags(fw_->Window()) & SDL_WINDOW_HIDDEN, 0u);
  EXPECT_EQ(fw_->GetRenderer(), nullptr);

  EXPECT_EQ(fw_->CreateDevice(true, 800, 600), 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"created 800x600", "reset 800x600"}));
  EXPECT_NE(fw_->GetRenderer(), nullptr);
  EXPECT_TRUE(fw_->IsWindowed());
  EXPECT_EQ(fw_->GetBackBufferDesc().width, 800);
  EXPECT_EQ(fw_->GetBackBufferDesc().height, 600);
  EXPECT_EQ(SDL_GetWindowFlags(fw_->Window()) & SDL_WINDOW_HIDDEN, 0u);
  int w = 0, h = 0;
  SDL_GetWindowSize(fw_->Window(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
}

TEST_F(SdlFrameworkTest, FailingCreatedCallbackFailsTheDeviceAndTheLoopEndsAtOnce) {
  createdResult_ = -7;
  ASSERT_TRUE(fw_->CreateWindow(L"t"));
  EXPECT_EQ(fw_->CreateDevice(true, 640, 480), -7);
  EXPECT_EQ(fw_->GetRenderer(), nullptr);
  int frames = 0;
  fw_->SetCallbackFrameMove([&](double, float) { ++frames; });
  fw_->MainLoop();
  EXPECT_EQ(frames, 0);
  // Nothing was created, so nothing is lost or destroyed.
  EXPECT_EQ(log_, (std::vector<std::string>{"created 640x480"}));
  EXPECT_NE(fw_->GetExitCode(), 0);
}

TEST_F(SdlFrameworkTest, FailingResetCallbackDestroysWhatWasCreated) {
  resetResult_ = -3;
  ASSERT_TRUE(fw_->CreateWindow(L"t"));
  EXPECT_EQ(fw_->CreateDevice(true, 640, 480), -3);
  EXPECT_EQ(log_, (std::vector<std::string>{"created 640x480", "reset 640x480", "destroyed"}));
  EXPECT_EQ(fw_->GetRenderer(), nullptr);
}

TEST_F(SdlFrameworkTest, LoopRunsFramesUntilQuitThenLosesAndDestroysTheDevice) {
  Open();
  int renders = 0;
  fw_->SetCallbackFrameMove([&](double, float) { Log("move"); });
  fw_->SetCallbackFrameRender([&](double, float) {
    Log("render");
    if (++renders == 2) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  });
  // The close reaches the program while the device still exists.
  fw_->SetCallbackMsgProc([&](const Message& m, bool&) {
    if (m.msg == kWmClose) Log("close");
    return 0L;
  });
  fw_->MainLoop();
  EXPECT_EQ(log_, (std::vector<std::string>{"move", "render", "move", "render", "close", "lost",
                                            "destroyed"}));
  EXPECT_EQ(fw_->GetRenderer(), nullptr);
  EXPECT_EQ(fw_->Window(), nullptr);
  EXPECT_EQ(fw_->GetExitCode(), 0);
}

TEST_F(SdlFrameworkTest, MessagesReachMsgProcFirstAndMayStopThere) {
  Open();
  std::vector<std::string> seen;
  bool consume = false;
  fw_->SetCallbackMsgProc([&](const Message& m, bool& noFurther) {
    seen.push_back("msg " + std::to_string(m.msg));
    noFurther = consume;
    return 0L;
  });
  fw_->SetCallbackKeyboard([&](unsigned key, bool down, bool alt) {
    seen.push_back("key " + std::to_string(key) + (down ? " down" : " up") + (alt ? " alt" : ""));
  });
  fw_->SetCallbackMouse(
      [&](bool l, bool, bool, bool, bool, int wheel, int x, int y) {
        seen.push_back("mouse " + std::to_string(l) + " " + std::to_string(wheel) + " " + std::to_string(x) + "," +
                       std::to_string(y));
      },
      false);

  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.sym = SDLK_ESCAPE;
  fw_->HandleEvent(key);
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.x = 5;
  move.motion.y = 6;
  fw_->HandleEvent(move);  // moves not asked for: message only
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_LEFT;
  click.button.clicks = 1;
  click.button.x = 7;
  click.button.y = 8;
  fw_->HandleEvent(click);
  EXPECT_EQ(seen, (std::vector<std::string>{"msg 256", "key 27 down", "msg 512", "msg 513", "mouse 1 0 7,8"}));

  seen.clear();
  consume = true;
  fw_->HandleEvent(key);
  fw_->HandleEvent(click);
  EXPECT_EQ(seen, (std::vector<std::string>{"msg 256", "msg 513"}));

  seen.clear();
  consume = false;
  fw_->SetCallbackMouse([&](bool, bool, bool, bool, bool, int, int x, int y) {
    seen.push_back("mouse " + std::to_string(x) + "," + std::to_string(y));
  }, true);
  fw_->HandleEvent(move);
  EXPECT_EQ(seen, (std::vector<std::string>{"msg 512", "mouse 5,6"}));
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

}  // namespace

namespace {

}  // namespace
