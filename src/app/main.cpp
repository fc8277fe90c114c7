// The program entry: brings the application services up in their fixed
// order, runs the frame's main loop and tears everything down again.
//
// The intro screen and the menus install the frame-move, frame-render,
// keyboard and mouse callbacks; until they exist the window stays empty and
// closing it ends the program.
#include <ctime>

#include "app/console_log.h"
#include "app/destroy_game.h"
#include "app/device_events.h"
#include "app/dialog_stack.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/gui_sound.h"
#include "app/input_routing.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "app/version.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/movie.h"
#include "platform/rand.h"
#include "platform/sdl/ffmpeg_movie.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_framework.h"
#include "screens/menu.h"
#include "screens/panel.h"
#include "world/gra.h"

namespace {

// The frame's window-close handling ends the game while the device objects
// still exist (the world's destruction uses the fonts); every other message
// goes to the input routing.
long OnWindowMessage(const plat::Message& message, bool& noFurtherProcessing) {
  if (message.msg == plat::kWmClose) {
    if (g_pWorld != nullptr) DestroyGame();
    return 0;
  }
  return MsgProc(message, noFurtherProcessing);
}

std::wstring WindowTitle() {
  if (kGameBuild % 100 == 0) return plat::Format(L"Tidewrack v%.2f", kGameVersion);
  return plat::Format(L"Tidewrack v%.2f [build %3i]", kGameVersion, kGameBuild);
}

}  // namespace

int main() {
  CreateFrameworkLock();
  g_bRunning = true;
  LogLine(L"Running Tidewrack v%.2f", kGameVersion);

  plat::Srand(static_cast<unsigned>(std::time(nullptr)));

  LoadSettings();
  LoadGuiLayout();

  g_pActiveDialog = nullptr;

  plat::sdl::SdlFramework framework;
  plat::SetFramework(&framework);
  framework.SetCallbackDeviceCreated(OnCreateDevice);
  framework.SetCallbackDeviceReset(OnResetDevice);
  framework.SetCallbackDeviceLost(OnLostDevice);
  framework.SetCallbackDeviceDestroyed(OnDestroyDevice);
  framework.SetCallbackMsgProc(OnWindowMessage);
  framework.SetCallbackPauseChanged(OnPauseChanged);
  framework.SetCursorSettings(true, true);
  framework.SetFrameInterval(g_Settings.FrameIntervalMs);

  if (framework.CreateWindow(WindowTitle()) &&
      framework.CreateDevice(g_Settings.Windowed, g_Settings.ResolutionX, g_Settings.ResolutionY) >= 0) {
    plat::sdl::SdlAudioDevice audio;
    SetAudioDevice(&audio);
    InitSound();
    plat::SetMovieDecoderFactory(plat::sdl::CreateFfmpegMovieDecoder);

    g_StringBase.Load("lang_LANGID.db", true);

    framework.MainLoop();
    SetAudioDevice(nullptr);
  }

  if (g_pWorld != nullptr) DestroyGame();
  g_bRunning = false;
  DeleteFrameworkLock();
  plat::SetFramework(nullptr);
  return framework.GetExitCode();
}
