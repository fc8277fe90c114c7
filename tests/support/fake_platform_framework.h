// A frame for tests: no window, a renderer the test chooses (usually a
// RecordingRenderer), stored callbacks the test can fire, a settable screen
// size and clock. Installs itself as the frame in use while it lives. It
// knows no GUI toolkit, so every layer's tests can use it; tests that draw
// with the toolkit use FakeFramework (support/fake_framework.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/framework.h"
#include "platform/messages.h"

namespace twtest {

class FakePlatformFramework : public plat::Framework {
 public:
  explicit FakePlatformFramework(plat::Renderer* renderer = nullptr) : renderer_(renderer) {
    plat::SetFramework(this);
  }
  ~FakePlatformFramework() override { plat::SetFramework(nullptr); }
  FakePlatformFramework(const FakePlatformFramework&) = delete;
  FakePlatformFramework& operator=(const FakePlatformFramework&) = delete;

  void SetCallbackFrameMove(plat::FrameMoveCallback cb) override { frameMove = std::move(cb); }
  void SetCallbackFrameRender(plat::FrameRenderCallback cb) override { frameRender = std::move(cb); }
  void SetCallbackKeyboard(plat::KeyboardCallback cb) override { keyboard = std::move(cb); }
  void SetCallbackMouse(plat::MouseCallback cb, bool includeMouseMove) override {
    mouse = std::move(cb);
    mouseMoves = includeMouseMove;
  }
  void SetCallbackMsgProc(plat::MsgProcCallback cb) override { msgProc = std::move(cb); }
  void SetCallbackDeviceCreated(plat::DeviceCallback cb) override { deviceCreated = std::move(cb); }
  void SetCallbackDeviceReset(plat::DeviceCallback cb) override { deviceReset = std::move(cb); }
  void SetCallbackDeviceLost(plat::DeviceEventCallback cb) override { deviceLost = std::move(cb); }
  void SetCallbackDeviceDestroyed(plat::DeviceEventCallback cb) override { deviceDestroyed = std::move(cb); }
  void SetCallbackPauseChanged(plat::PauseCallback cb) override { pauseChanged = std::move(cb); }

  void SetCursorSettings(bool show, bool clip) override {
    cursorShown = show;
    cursorClipped = clip;
  }
  void SetFrameInterval(int milliseconds) override { frameInterval = milliseconds; }

  bool CreateWindow(const std::wstring& title) override {
    windowTitle = title;
    return true;
  }
  // Runs the created and reset callbacks like the real frame.
  long CreateDevice(bool isWindowed, int width, int height) override {
    windowed = isWindowed;
    desc = {width, height};
    if (deviceCreated) {
      long r = deviceCreated(desc);
      if (r < 0) return r;
    }
    return deviceReset ? deviceReset(desc) : 0;
  }
  // Runs frames while frames remain (framesToRun), then lost + destroyed.
  // A frame is what the window layer's loop makes of it: the frame guard
  // around the input (beforeFrame, which may send messages, keys and mouse
  // events with Send), the frame move and the render, then frameSleepMs.
  void MainLoop() override {
    while (framesToRun-- > 0 && !shutdown) {
      GuardFrame(true);
      if (beforeFrame) beforeFrame();
      time += 0.1;
      if (!shutdown && frameMove) frameMove(time, 0.1f);
      if (!shutdown && frameRender) frameRender(time, 0.1f);
      GuardFrame(false);
      if (frameSleepMs > 0) plat::Sleep(frameSleepMs);
    }
    if (deviceLost) deviceLost();
    if (deviceDestroyed) deviceDestroyed();
  }
  // Routes one input as the window layer does: the message first, then the
  // key or the mouse unless the message was taken. The left button's state
  // the mouse reports follows every press and release, taken or not.
  void Send(const plat::Message& message) {
    leftDown = message.msg == plat::kWmLButtonDown || message.msg == plat::kWmLButtonDblClk ? true
               : message.msg == plat::kWmLButtonUp                                        ? false
                                                                                          : leftDown;
    bool taken = false;
    if (msgProc) msgProc(message, taken);
    if (taken) return;
    if (message.msg == plat::kWmKeyDown || message.msg == plat::kWmKeyUp) {
      if (keyboard) keyboard(static_cast<unsigned>(message.wParam), message.msg == plat::kWmKeyDown, false);
      return;
    }
    if (!mouse) return;
    const int x = static_cast<std::int16_t>(message.lParam & 0xFFFF);
    const int y = static_cast<std::int16_t>((message.lParam >> 16) & 0xFFFF);
    const int wheel = message.msg == plat::kWmMouseWheel ? static_cast<std::int16_t>((message.wParam >> 16) & 0xFFFF) : 0;
    if (message.msg == plat::kWmMouseMove && !mouseMoves) return;
    mouse(leftDown, false, false, false, false, wheel, x, y);
  }
  void Shutdown(int code) override {
    shutdown = true;
    exitCode = code;
  }
  int GetExitCode() const override { return exitCode; }

  plat::Renderer* GetRenderer() override { return renderer_; }
  void SetRenderer(plat::Renderer* renderer) { renderer_ = renderer; }
  double GetTime() const override { return time; }
  bool IsWindowed() const override { return windowed; }
  plat::BackBufferDesc GetBackBufferDesc() const override { return desc; }
  std::vector<plat::DisplayMode> GetDisplayModes() const override { return displayModes; }

  plat::FrameMoveCallback frameMove;
  plat::FrameRenderCallback frameRender;
  plat::KeyboardCallback keyboard;
  plat::MouseCallback mouse;
  bool mouseMoves = false;
  plat::MsgProcCallback msgProc;
  plat::DeviceCallback deviceCreated, deviceReset;
  plat::DeviceEventCallback deviceLost, deviceDestroyed;
  plat::PauseCallback pauseChanged;
  bool cursorShown = false, cursorClipped = false;
  int frameInterval = 0;
  std::wstring windowTitle;
  bool windowed = true;
  plat::BackBufferDesc desc{1024, 768};
  std::vector<plat::DisplayMode> displayModes;
  double time = 0;
  int framesToRun = 0;
  int frameSleepMs = 0;
  std::function<void()> beforeFrame;
  bool leftDown = false;
  bool shutdown = false;
  int exitCode = 0;

 private:
  plat::Renderer* renderer_;
};

}  // namespace twtest
