// The application frame over SDL2: one window, its renderer (the "device"),
// the event pump that feeds the message, keyboard and mouse callbacks, and
// the frame loop with its limiter. Device events are emulated: created and
// reset in CreateDevice, lost and reset on a resize or mode change, lost and
// destroyed when the loop ends.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/frame_rest.h"
#include "platform/framework.h"
#include "platform/sdl/sdl_messages.h"
#include "platform/sdl/sdl_renderer.h"

namespace plat::sdl {

// Milliseconds to sleep after a frame that took frameMs so that frames start
// intervalMs apart; 0 when there is no limit or the frame took long enough.
int FrameSleepMs(int intervalMs, std::uint32_t frameMs);

// Where a window of the size goes on a display's usable area: centred, but
// with its top-left corner on the area when it is larger.
struct WindowPlace {
  int x = 0;
  int y = 0;
};
WindowPlace PlaceWindow(const SDL_Rect& usable, int width, int height);

// One frame of the window's loop drawn with the renderer by render: while
// the window rests, a probe first, and the frame drawn and shown only when
// its picture changed; a frame drawn is noted when it may begin a rest
// (platform/frame_rest.h). hadInput: input came before the frame; mayRest:
// the program allows a rest now. True when the frame was drawn and shown
// (false: a probe found the picture on the screen unchanged).
bool DrawLoopFrame(SdlRenderer& renderer, FrameRest& rest, const FrameRenderCallback& render, double time,
                   float elapsed, bool hadInput, bool mayRest);

class SdlFramework final : public Framework {
 public:
  using RendererFactory = std::function<std::unique_ptr<Renderer>(SDL_Window*)>;

  // Draws through CreateWindowRenderer.
  SdlFramework() : SdlFramework(RendererFactory(&CreateWindowRenderer)) {}
  // Tests may make the renderer themselves.
  explicit SdlFramework(RendererFactory factory);
  ~SdlFramework() override;
  SdlFramework(const SdlFramework&) = delete;
  SdlFramework& operator=(const SdlFramework&) = delete;

  void SetCallbackFrameMove(FrameMoveCallback cb) override { frameMove_ = std::move(cb); }
  void SetCallbackFrameRender(FrameRenderCallback cb) override { frameRender_ = std::move(cb); }
  void SetCallbackKeyboard(KeyboardCallback cb) override { keyboard_ = std::move(cb); }
  void SetCallbackMouse(MouseCallback cb, bool includeMouseMove) override {
    mouse_ = std::move(cb);
    includeMouseMove_ = includeMouseMove;
  }
  void SetCallbackMsgProc(MsgProcCallback cb) override { msgProc_ = std::move(cb); }
  void SetCallbackDeviceCreated(DeviceCallback cb) override { deviceCreated_ = std::move(cb); }
  void SetCallbackDeviceReset(DeviceCallback cb) override { deviceReset_ = std::move(cb); }
  void SetCallbackDeviceLost(DeviceEventCallback cb) override { deviceLost_ = std::move(cb); }
  void SetCallbackDeviceDestroyed(DeviceEventCallback cb) override { deviceDestroyed_ = std::move(cb); }
  void SetCallbackPauseChanged(PauseCallback cb) override { pauseChanged_ = std::move(cb); }

  void SetCursorSettings(bool showInFullScreen, bool clipInFullScreen) override;
  void SetFrameInterval(int milliseconds) override { frameInterval_ = milliseconds < 0 ? 0 : milliseconds; }

  bool CreateWindow(const std::wstring& title) override;
  long CreateDevice(bool windowed, int width, int height) override;
  void MainLoop() override;
  void Shutdown(int exitCode = 0) override;
  int GetExitCode() const override { return exitCode_; }

  Renderer* GetRenderer() override { return renderer_.get(); }
  double GetTime() const override { return static_cast<double>(elapsedMs_) / 1000.0; }
  bool IsWindowed() const override { return windowed_; }
  BackBufferDesc GetBackBufferDesc() const override { return backBuffer_; }
  std::vector<DisplayMode> GetDisplayModes() const override;
  bool ChangeDisplayMode(bool windowed, int width, int height) override;

  SDL_Window* Window() const { return window_; }
  // Why the last CreateWindow failed, for the program to tell (empty after
  // one that succeeded): "no display: " and the displays named and SDL's
  // reason when there is no display to show the window on.
  const std::string& WindowError() const { return windowError_; }
  // How the window's renderer came to be chosen (renderer_choice.h).
  const std::string& RendererChoice() const { return renderer_choice_; }

  // Handles one event as the loop does (tests feed synthetic events).
  void HandleEvent(const SDL_Event& event);

 private:
  void RouteInput(const TranslatedInput& input);
  // The frame render: shown, or while resting first probed and then drawn
  // only when its picture changed (platform/frame_rest.h).
  void RenderFrame(double time, float elapsed, bool hadInput);
  void ResetDevice(int width, int height);
  void UpdatePause();
  void CloseRequested();
  void ApplyCursorSettings();
  void PlaceOnDisplay();
  void DestroyDevice();
  void CloseWindow();

  RendererFactory factory_;
  std::string renderer_choice_;
  FrameMoveCallback frameMove_;
  FrameRenderCallback frameRender_;
  KeyboardCallback keyboard_;
  MouseCallback mouse_;
  bool includeMouseMove_ = false;
  MsgProcCallback msgProc_;
  DeviceCallback deviceCreated_;
  DeviceCallback deviceReset_;
  DeviceEventCallback deviceLost_;
  DeviceEventCallback deviceDestroyed_;
  PauseCallback pauseChanged_;

  SDL_Window* window_ = nullptr;
  std::string windowError_;
  bool videoInitialised_ = false;
  std::unique_ptr<Renderer> renderer_;
  bool hasDevice_ = false;
  bool windowed_ = true;
  BackBufferDesc backBuffer_;
  bool showCursorFullScreen_ = true;
  bool clipCursorFullScreen_ = false;
  int frameInterval_ = 0;

  InputState input_;
  bool quit_ = false;
  int exitCode_ = 0;
  bool minimised_ = false;
  bool focused_ = true;
  bool paused_ = false;
  std::uint64_t elapsedMs_ = 0;  // loop time, paused spans left out
  FrameRest rest_;
};

}  // namespace plat::sdl
