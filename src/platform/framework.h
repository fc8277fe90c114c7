// The application frame: the window, the device life cycle, the main loop
// and its replaceable callbacks, the clock and the frame limit. One instance
// exists (GetFramework()); the SDL window layer provides it, tests may run a
// headless one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/render.h"
#include "platform/screen_serial.h"

namespace plat {

struct BackBufferDesc {
  int width = 0;
  int height = 0;
};

// A screen size the display offers (refresh rates and formats are not told
// apart).
struct DisplayMode {
  int width = 0;
  int height = 0;
};

using FrameMoveCallback = std::function<void(double time, float elapsed)>;
using FrameRenderCallback = std::function<void(double time, float elapsed)>;
using KeyboardCallback = std::function<void(unsigned key, bool keyDown, bool altDown)>;
using MouseCallback = std::function<void(bool left, bool right, bool middle, bool side1, bool side2,
                                         int wheelDelta, int x, int y)>;
// Returns the window procedure's result; sets noFurtherProcessing when the
// message was consumed.
using MsgProcCallback = std::function<long(const Message& message, bool& noFurtherProcessing)>;
using DeviceCallback = std::function<long(const BackBufferDesc& desc)>;  // created / reset
using DeviceEventCallback = std::function<void()>;                      // lost / destroyed
using PauseCallback = std::function<void(bool paused)>;
using FrameGuardCallback = std::function<void(bool begin)>;
using RestCheckCallback = std::function<bool()>;

class Framework {
 public:
  virtual ~Framework() = default;

  // Each callback may be replaced at any time, also from inside a callback.
  virtual void SetCallbackFrameMove(FrameMoveCallback cb) = 0;
  virtual void SetCallbackFrameRender(FrameRenderCallback cb) = 0;
  // Mouse moves are reported only when includeMouseMove is set.
  virtual void SetCallbackKeyboard(KeyboardCallback cb) = 0;
  virtual void SetCallbackMouse(MouseCallback cb, bool includeMouseMove) = 0;
  virtual void SetCallbackMsgProc(MsgProcCallback cb) = 0;
  virtual void SetCallbackDeviceCreated(DeviceCallback cb) = 0;
  virtual void SetCallbackDeviceReset(DeviceCallback cb) = 0;
  virtual void SetCallbackDeviceLost(DeviceEventCallback cb) = 0;
  virtual void SetCallbackDeviceDestroyed(DeviceEventCallback cb) = 0;
  virtual void SetCallbackPauseChanged(PauseCallback cb) = 0;

  // Shows the cursor in full screen and confines it to the window there.
  virtual void SetCursorSettings(bool showInFullScreen, bool clipInFullScreen) = 0;
  // Milliseconds between frames; 0 = no limit.
  virtual void SetFrameInterval(int milliseconds) = 0;

  // false when the window cannot be made.
  virtual bool CreateWindow(const std::wstring& title) = 0;
  // Creates the renderer; runs the device-created and device-reset
  // callbacks. Returns 0 or a negative failure code.
  virtual long CreateDevice(bool windowed, int width, int height) = 0;
  // Runs until the window closes or Shutdown is asked; then runs the
  // device-lost and device-destroyed callbacks.
  virtual void MainLoop() = 0;
  virtual void Shutdown(int exitCode = 0) = 0;
  virtual int GetExitCode() const = 0;

  virtual Renderer* GetRenderer() = 0;  // null before CreateDevice
  virtual double GetTime() const = 0;   // seconds since the loop began
  virtual bool IsWindowed() const = 0;
  virtual BackBufferDesc GetBackBufferDesc() const = 0;

  // The sizes the display offers, each once; empty when it cannot tell (a
  // frame without a display).
  virtual std::vector<DisplayMode> GetDisplayModes() const { return {}; }
  // Changes the size and the window mode of a running device: the window is
  // resized (or goes to or leaves full screen) and the device-lost and
  // device-reset callbacks run with the new size. False, with nothing
  // changed, when the frame cannot do it.
  virtual bool ChangeDisplayMode(bool windowed, int width, int height) {
    (void)windowed;
    (void)width;
    (void)height;
    return false;
  }

  // Called by the main loop with true before a frame's input, frame move
  // and render, and with false after them, before the wait for the next
  // frame: the program holds its lock over each frame with it.
  void SetFrameGuard(FrameGuardCallback guard) { frame_guard_ = std::move(guard); }
  // Asked after each frame move: true when the program has nothing going on
  // that the player waits to see, so that an idle window may rest (wait for
  // input between frames and show a frame only when its picture changed;
  // platform/frame_rest.h). Without one the window never rests.
  void SetRestCheck(RestCheckCallback check) { rest_check_ = std::move(check); }

  // What lies on top in the pictures shown: the program notes its serial
  // (platform/screen_serial.h; kNoScreen for none) and the frame's time as
  // it draws each frame. ShownOnTopFor is true once top has been on the
  // screen for seconds or more of the frames' time (GetTime); a frame that
  // has drawn nothing cannot tell, and says true.
  void NoteShownOnTop(ScreenSerial top, double frameTime);
  bool ShownOnTopFor(ScreenSerial top, double seconds) const;

 protected:
  void GuardFrame(bool begin) {
    if (frame_guard_) frame_guard_(begin);
  }
  bool MayRest() const { return rest_check_ && rest_check_(); }

 private:
  FrameGuardCallback frame_guard_;
  RestCheckCallback rest_check_;
  ScreenSerial shown_top_ = kNoScreen;
  double shown_since_ = 0.0;  // the time of the first frame that showed it
  bool shown_noted_ = false;
};

Framework& GetFramework();
// Installs the frame in use (the SDL window layer does at start-up; tests may
// install a fake). The caller keeps it alive while installed.
void SetFramework(Framework* framework);

}  // namespace plat
