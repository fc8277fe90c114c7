#include "platform/framework.h"

#include <atomic>

namespace plat {
namespace {

// Stands in when no window layer is installed (tools, tests without a
// window): it has no renderer and every operation does nothing.
class HeadlessFramework final : public Framework {
 public:
  void SetCallbackFrameMove(FrameMoveCallback) override {}
  void SetCallbackFrameRender(FrameRenderCallback) override {}
  void SetCallbackKeyboard(KeyboardCallback) override {}
  void SetCallbackMouse(MouseCallback, bool) override {}
  void SetCallbackMsgProc(MsgProcCallback) override {}
  void SetCallbackDeviceCreated(DeviceCallback) override {}
  void SetCallbackDeviceReset(DeviceCallback) override {}
  void SetCallbackDeviceLost(DeviceEventCallback) override {}
  void SetCallbackDeviceDestroyed(DeviceEventCallback) override {}
  void SetCallbackPauseChanged(PauseCallback) override {}
  void SetCursorSettings(bool, bool) override {}
  void SetFrameInterval(int) override {}
  bool CreateWindow(const std::wstring&) override { return false; }
  long CreateDevice(bool, int, int) override { return -1; }
  void MainLoop() override {}
  void Shutdown(int exitCode) override { exitCode_ = exitCode; }
  int GetExitCode() const override { return exitCode_; }
  Renderer* GetRenderer() override { return nullptr; }
  double GetTime() const override { return 0.0; }
  bool IsWindowed() const override { return true; }
  BackBufferDesc GetBackBufferDesc() const override { return {}; }

 private:
  int exitCode_ = 0;
};

std::atomic<Framework*> g_framework{nullptr};

}  // namespace

void Framework::NoteShownOnTop(ScreenSerial top, double frameTime) {
  if (shown_noted_ && top == shown_top_) return;
  shown_top_ = top;
  shown_since_ = frameTime;
  shown_noted_ = true;
}

bool Framework::ShownOnTopFor(ScreenSerial top, double seconds) const {
  return !shown_noted_ || (top == shown_top_ && GetTime() - shown_since_ >= seconds);
}

Framework& GetFramework() {
  static HeadlessFramework headless;
  Framework* installed = g_framework.load(std::memory_order_acquire);
  return installed ? *installed : headless;
}

void SetFramework(Framework* framework) { g_framework.store(framework, std::memory_order_release); }

}  // namespace plat
