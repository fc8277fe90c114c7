#include "platform/sdl/sdl_framework.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/clock.h"
#include "platform/clipboard.h"
#include "platform/input_state.h"
#include "platform/message_box.h"
#include "platform/sdl/sdl_clipboard.h"
#include "platform/sdl/renderer_choice.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/text.h"

namespace plat::sdl {

namespace {

// Failure codes in the form device results take (negative).
constexpr long kFail = -2147467259L;        // 0x80004005
constexpr long kInvalidArg = -2147024809L;  // 0x80070057

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

// The displays the environment names, for the text that tells there is no
// display: "DISPLAY=:0", or "DISPLAY is not set", and the Wayland one when
// set.
std::string NamedDisplays() {
  const char* x = std::getenv("DISPLAY");
  std::string text = x != nullptr && *x != '\0' ? "DISPLAY=" + std::string(x) : "DISPLAY is not set";
  if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland != nullptr && *wayland != '\0') {
    text += ", WAYLAND_DISPLAY=" + std::string(wayland);
  }
  return text;
}

// SDL's reason for each display driver the environment names (X11 for
// DISPLAY, Wayland for WAYLAND_DISPLAY), asked of the driver by name once
// SDL has fallen back from it: " (x11: <reason>)"; empty when none is named.
// SDL's video must be shut down.
std::string DisplayDriverReasons() {
  std::string reasons;
  for (const auto& [variable, driver] : {std::pair{"DISPLAY", "x11"}, std::pair{"WAYLAND_DISPLAY", "wayland"}}) {
    const char* named = std::getenv(variable);
    if (named == nullptr || *named == '\0') continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
    } else {
      reasons += std::string(reasons.empty() ? " (" : "; ") + driver + ": " + SDL_GetError();
    }
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  }
  return reasons.empty() ? reasons : reasons + ")";
}

}  // namespace

int FrameSleepMs(int intervalMs, std::uint32_t frameMs) {
  if (intervalMs <= 0 || frameMs >= static_cast<std::uint32_t>(intervalMs)) return 0;
  return intervalMs - static_cast<int>(frameMs);
}

SdlFramework::SdlFramework(RendererFactory factory) : factory_(std::move(factory)) {}

SdlFramework::~SdlFramework() {
  if (&GetFramework() == this) SetFramework(nullptr);
  // No callbacks here: the objects they reach may be gone by now. The loop's
  // end is where the device is given up in order.
  renderer_.reset();
  CloseWindow();
}

void SdlFramework::SetCursorSettings(bool showInFullScreen, bool clipInFullScreen) {
  showCursorFullScreen_ = showInFullScreen;
  clipCursorFullScreen_ = clipInFullScreen;
  ApplyCursorSettings();
}

void SdlFramework::ApplyCursorSettings() {
  if (!window_) return;
  const bool fullScreen = hasDevice_ && !windowed_;
  SDL_ShowCursor(!fullScreen || showCursorFullScreen_ ? SDL_ENABLE : SDL_DISABLE);
  SDL_SetWindowGrab(window_, fullScreen && clipCursorFullScreen_ ? SDL_TRUE : SDL_FALSE);
}

bool SdlFramework::CreateWindow(const std::wstring& title) {
  if (window_) return true;
  quit_ = false;  // a new window runs a new loop
  windowError_.clear();
  if (!videoInitialised_) {
    if (renderer_choice_.empty()) renderer_choice_ = ChooseRenderDriver();
    if (SDL_InitSubSystem(kSubsystems) != 0) {
      // SDL's error is read before any other call of SDL's can replace it.
      windowError_ = "no display: " + NamedDisplays() + "; SDL's video did not start: " + SDL_GetError();
      exitCode_ = 1;
      return false;
    }
    // Without a display SDL goes on with a video driver that shows nothing;
    // the game runs there only when it is asked for by SDL_VIDEODRIVER
    // (the tests and tools do), never unseen by chance.
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const char* current = SDL_GetCurrentVideoDriver();
    if ((asked == nullptr || *asked == '\0') && IsHeadlessDriver(current)) {
      const std::string driver = current;
      SDL_QuitSubSystem(kSubsystems);
      windowError_ = "no display: " + NamedDisplays() + "; SDL's video opened none" + DisplayDriverReasons() +
                     " and fell back to its " + driver + " driver, which shows nothing (SDL_VIDEODRIVER=" + driver +
                     " runs the game unseen)";
      exitCode_ = 1;
      return false;
    }
    videoInitialised_ = true;
  }
  // The software renderer draws into the window's surface, which on X11 is
  // shared memory the server shows. Left to itself SDL makes that surface
  // the texture of an OpenGL renderer: the GL driver (some 60 MB of it with
  // Mesa) loaded only to copy the picture. A hint from the environment
  // still decides.
  const char* videoDriver = SDL_GetCurrentVideoDriver();
  if (videoDriver != nullptr && std::strcmp(videoDriver, "x11") == 0) {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  }
  // Hidden until the device gives it its size and mode.
  window_ = SDL_CreateWindow(ToUtf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
                             SDL_WINDOW_HIDDEN);
  if (!window_) {
    windowError_ = std::string("the window could not be made: ") + SDL_GetError();
    SDL_QuitSubSystem(kSubsystems);
    videoInitialised_ = false;
    exitCode_ = 1;
    return false;
  }
  // The GUI's clipboard and mouse capture go to the system while the window lives.
  static SdlClipboard clipboard;
  SetClipboard(&clipboard);
  GetInputState().SetCaptureHook([](bool capture) { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); });
  InstallSdlMessageBox(window_);
  return true;
}

long SdlFramework::CreateDevice(bool windowed, int width, int height) {
  if (!window_) {
    exitCode_ = 1;
    return kFail;
  }
  if (width <= 0 || height <= 0) {
    exitCode_ = 1;
    return kInvalidArg;
  }
  if (hasDevice_) DestroyDevice();

  windowed_ = windowed;
  SDL_SetWindowSize(window_, width, height);
  // The window was made at a small size and placed for it; at its real size
  // it is placed again, so that it lies wholly on the screen.
  PlaceOnDisplay();
  if (!windowed && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) {
    SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "full screen failed, staying windowed: %s", SDL_GetError());
    windowed_ = true;
  }
  if (windowed_) SDL_SetWindowFullscreen(window_, 0);

  renderer_ = factory_ ? factory_(window_) : nullptr;
  if (!renderer_) {
    // No accelerated renderer here (a headless display, say): draw in software.
    const char* previous = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const std::string saved = previous ? previous : "";
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    renderer_ = factory_ ? factory_(window_) : nullptr;
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, previous ? saved.c_str() : nullptr);
  }
  if (!renderer_) {
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "renderer creation failed: %s", SDL_GetError());
    exitCode_ = 1;
    return kFail;
  }
  SDL_ShowWindow(window_);
  // An X server without a window manager keeps the place the window had
  // when it was first shown at its old size: it is placed again now.
  PlaceOnDisplay();

  int w = width, h = height;
  SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0) {
    w = width;
    h = height;
  }
  backBuffer_ = BackBufferDesc{w, h};

  if (DeviceCallback created = deviceCreated_) {
    const long hr = created(backBuffer_);
    if (hr < 0) {
      renderer_.reset();
      exitCode_ = 1;
      return hr;
    }
  }
  hasDevice_ = true;
  if (DeviceCallback reset = deviceReset_) {
    const long hr = reset(backBuffer_);
    if (hr < 0) {
      // What the created callback made is given up; nothing was reset, so
      // there is nothing to lose.
      if (DeviceEventCallback destroyed = deviceDestroyed_) destroyed();
      hasDevice_ = false;
      renderer_.reset();
      exitCode_ = 1;
      return hr;
    }
  }
  ApplyCursorSettings();
  return 0;
}

void SdlFramework::ResetDevice(int width, int height) {
  if (!hasDevice_ || width <= 0 || height <= 0) return;
  rest_.Wake();
  if (auto* sdl = dynamic_cast<SdlRenderer*>(renderer_.get())) sdl->ForgetKept();
  if (DeviceEventCallback lost = deviceLost_) lost();
  backBuffer_ = BackBufferDesc{width, height};
  if (DeviceCallback reset = deviceReset_) {
    if (reset(backBuffer_) < 0) {
      SDL_LogError(SDL_LOG_CATEGORY_RENDER, "device reset failed at %dx%d", width, height);
    }
  }
}

std::vector<DisplayMode> SdlFramework::GetDisplayModes() const {
  std::vector<DisplayMode> modes;
  if (!videoInitialised_) return modes;
  const int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
  auto add = [&](int w, int h) {
    if (w <= 0 || h <= 0) return;
    for (const DisplayMode& m : modes) {
      if (m.width == w && m.height == h) return;
    }
    modes.push_back({w, h});
  };
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(display, i, &mode) == 0) add(mode.w, mode.h);
  }
  // A display that lists no modes (a virtual one) still has its desktop.
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(display, &desktop) == 0) add(desktop.w, desktop.h);
  return modes;
}

bool SdlFramework::ChangeDisplayMode(bool windowed, int width, int height) {
  if (!window_ || !hasDevice_ || width <= 0 || height <= 0) return false;
  // Out of full screen first, so that the window takes the new size.
  SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowSize(window_, width, height);
  // A window grown where it stood could reach past the screen: it is
  // centred on its display again.
  PlaceOnDisplay();
  bool nowWindowed = windowed;
  if (!windowed && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) {
    SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "full screen failed, staying windowed: %s", SDL_GetError());
    nowWindowed = true;
  }
  windowed_ = nowWindowed;
  // The window manager may refuse the size: the device takes what the window got.
  int w = width, h = height;
  SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0) {
    w = width;
    h = height;
  }
  ResetDevice(w, h);
  ApplyCursorSettings();
  return w == width && h == height;
}

WindowPlace PlaceWindow(const SDL_Rect& usable, int width, int height) {
  // Centred on each axis where it fits; where it does not, its top-left
  // corner stays on the screen (the title and the menus are there).
  auto axis = [](int start, int room, int size) { return size >= room ? start : start + (room - size) / 2; };
  return {axis(usable.x, usable.w, width), axis(usable.y, usable.h, height)};
}

void SdlFramework::PlaceOnDisplay() {
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0 || usable.w <= 0 || usable.h <= 0) {
    if (SDL_GetDisplayBounds(display, &usable) != 0 || usable.w <= 0 || usable.h <= 0) {
      SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
      return;
    }
  }
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  const WindowPlace place = PlaceWindow(usable, w, h);
  SDL_SetWindowPosition(window_, place.x, place.y);
}

void SdlFramework::DestroyDevice() {
  if (hasDevice_) {
    if (DeviceEventCallback lost = deviceLost_) lost();
    if (DeviceEventCallback destroyed = deviceDestroyed_) destroyed();
    hasDevice_ = false;
  }
  renderer_.reset();
}

void SdlFramework::CloseWindow() {
  if (window_) {
    SetClipboard(nullptr);
    SetMessageBoxHandler(nullptr);
    GetInputState().SetCaptureHook(nullptr);
    SDL_SetWindowGrab(window_, SDL_FALSE);
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
  if (videoInitialised_) {
    SDL_QuitSubSystem(kSubsystems);
    videoInitialised_ = false;
  }
}

void SdlFramework::Shutdown(int exitCode) {
  exitCode_ = exitCode;
  quit_ = true;
}

// The program hears of the close while its device objects still exist, so
// it can end the game before they go.
void SdlFramework::CloseRequested() {
  if (quit_) return;
  Message close;
  close.msg = kWmClose;
  bool noFurtherProcessing = false;
  if (MsgProcCallback cb = msgProc_) cb(close, noFurtherProcessing);
  quit_ = true;
}

void SdlFramework::UpdatePause() {
  const bool pause = minimised_ || (!windowed_ && !focused_);
  if (pause == paused_) return;
  paused_ = pause;
  if (PauseCallback cb = pauseChanged_) cb(pause);
}

void SdlFramework::RouteInput(const TranslatedInput& input) {
  bool noFurtherProcessing = false;
  if (input.message) {
    FeedInputState(*input.message, GetInputState());
    if (MsgProcCallback cb = msgProc_) cb(*input.message, noFurtherProcessing);
  }
  if (noFurtherProcessing) return;
  if (input.key) {
    if (KeyboardCallback cb = keyboard_) cb(input.key->key, input.key->down, input.key->alt);
  }
  if (input.mouse && (!input.mouse->move || includeMouseMove_)) {
    const MouseArgs& m = *input.mouse;
    if (MouseCallback cb = mouse_) cb(m.left, m.right, m.middle, m.side1, m.side2, m.wheelDelta, m.x, m.y);
  }
}

void SdlFramework::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      CloseRequested();
      return;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          CloseRequested();
          return;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (event.window.data1 != backBuffer_.width || event.window.data2 != backBuffer_.height) {
            ResetDevice(event.window.data1, event.window.data2);
          }
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          minimised_ = true;
          UpdatePause();
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          minimised_ = false;
          UpdatePause();
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          focused_ = true;
          GetInputState().SetFocus(true);
          UpdatePause();
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          focused_ = false;
          GetInputState().SetFocus(false);
          UpdatePause();
          break;
        case SDL_WINDOWEVENT_ENTER:
          GetInputState().SetMouseInWindow(true);
          break;
        case SDL_WINDOWEVENT_LEAVE:
          GetInputState().SetMouseInWindow(false);
          break;
        default:
          break;
      }
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      // The renderer lost its targets: the same as a lost and reset device.
      ResetDevice(backBuffer_.width, backBuffer_.height);
      break;
    default:
      break;
  }
  input_.mods = static_cast<Uint16>(SDL_GetModState());
  for (const TranslatedInput& input : TranslateEvent(event, input_)) RouteInput(input);
}

void SdlFramework::MainLoop() {
  if (window_ && hasDevice_) {
    elapsedMs_ = 0;
    std::uint32_t last = GetTickCount();
    while (!quit_) {
      // Idle: wait for input, or for the rest interval to pass, before the
      // next frame; the waiting holds no lock.
      if (rest_.Resting()) SDL_WaitEventTimeout(nullptr, FrameRest::kRestMs);
      const std::uint32_t frameStart = GetTickCount();
      GuardFrame(true);
      SDL_Event event;
      bool hadInput = false;
      while (!quit_ && SDL_PollEvent(&event)) {
        HandleEvent(event);
        hadInput = true;
      }
      if (quit_) {
        GuardFrame(false);
        break;
      }
      if (paused_) {
        GuardFrame(false);
        // Minimised or in the background in full screen: no frames, and the
        // clock stands still until the window comes back.
        SDL_WaitEventTimeout(nullptr, 100);
        last = GetTickCount();
        rest_.Wake();
        continue;
      }
      const std::uint32_t now = GetTickCount();
      const std::uint32_t step = now - last;
      last = now;
      elapsedMs_ += step;
      const double time = GetTime();
      const float elapsed = static_cast<float>(step) / 1000.0f;
      if (FrameMoveCallback move = frameMove_) move(time, elapsed);
      if (!quit_) RenderFrame(time, elapsed, hadInput);
      GuardFrame(false);
      if (quit_) break;
      const int sleep = FrameSleepMs(frameInterval_, GetTickCount() - frameStart);
      if (sleep > 0) plat::Sleep(sleep);
    }
  }
  DestroyDevice();
  CloseWindow();
}

void SdlFramework::RenderFrame(double time, float elapsed, bool hadInput) {
  FrameRenderCallback render = frameRender_;
  if (!render) return;
  auto* sdl = dynamic_cast<SdlRenderer*>(renderer_.get());
  if (sdl == nullptr) {
    render(time, elapsed);
    return;
  }
  DrawLoopFrame(*sdl, rest_, render, time, elapsed, hadInput, MayRest());
}

bool DrawLoopFrame(SdlRenderer& renderer, FrameRest& rest, const FrameRenderCallback& render, double time,
                   float elapsed, bool hadInput, bool mayRest) {
  // A changed picture is drawn whole: drawn only in the areas of the calls
  // that changed, the blinking markers under an open dialog came out as
  // dark squares over the dialog's text.
  DrawNotes& notes = renderer.Notes();
  if (rest.Resting()) {
    // A probe: the picture is only fingerprinted, and drawn only when it
    // changed.
    notes.Reset();
    notes.SetProbing(true);
    render(time, elapsed);
    notes.SetProbing(false);
    const std::uint64_t probed = notes.Fingerprint();
    if (!rest.ProbeMustBeShown(probed, hadInput, mayRest)) return false;
    if (!hadInput && mayRest) {
      // The picture shown before this one (the other state of the map's
      // blinking markers) is put back as it was drawn; otherwise the
      // picture on the screen is kept for the next change.
      if (renderer.ShowFormerPicture(probed)) {
        rest.AfterShownFrame(probed, hadInput, mayRest);
        return true;
      }
      renderer.KeepFormerPicture();
    }
    // The probe has been told the time already.
    elapsed = 0.0f;
  }
  // A frame after input, or while the program has something going on, is
  // not noted: it cannot begin a rest.
  const bool note = !hadInput && mayRest;
  notes.Reset();
  notes.SetNoting(note);
  render(time, elapsed);
  notes.SetNoting(true);
  if (note) {
    renderer.NoteShownPicture();
  } else {
    renderer.ForgetShownPicture();
  }
  rest.AfterShownFrame(notes.Fingerprint(), hadInput, mayRest);
  return true;
}

}  // namespace plat::sdl
