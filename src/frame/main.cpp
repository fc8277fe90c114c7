// The program entry: brings the application services up in their fixed
// order, runs the frame's main loop and tears everything down again.
//
// The intro screen and the menus install the frame-move, frame-render,
// keyboard and mouse callbacks.
//
// Debugging aid: with TW_SCREENSHOT_DIR set, every menu that has been shown
// for a few frames is saved as "<dir>/<n>_<class>.png" (a message over it,
// a refused start say, as "<dir>/<n>_<class>_cDialogTekstowy.png", a
// question as "<dir>/<n>_<class>_cDialogPotwierdzenia.png"; the map
// screen, at each zoom it settles on, as "<dir>/<n>_MapScreen.png"; with a
// unit's range marked "_MapScreen_range", with an attack being set up
// "_MapScreen_attack", under a dialog "_MapScreen_<dialog class>"; each map
// picture is followed by a line "map view <x> <y> <zoom>"; a dialog the end
// of an impulse shows as "<dir>/<n>_EndOfImpulse_<dialog class>.png", one its
// sea battles show as "<dir>/<n>_SeaBattles_<dialog class>.png"; in the
// computer's turn each move the player watches as
// "<dir>/<n>_ComputerMove.png" and a dialog as
// "<dir>/<n>_ComputerPhase_<dialog class>.png"), and the time from the start
// of main() to the first drawn main-menu frame is printed on stdout
// (scripts/menu_walk.sh uses both).
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "world/jednostka_ladowa.h"
#include "screens/destroy_game.h"
#include "frame/device_events.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "app/framework_lock.h"
#include "app/gui_layout.h"
#include "app/gui_sound.h"
#include "frame/input_routing.h"
#include "frame/screenshot_pacer.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "app/sound.h"
#include "files/save_folders.h"
#include "frame/startup.h"
#include "frame/window_rest.h"
#include "app/string_base.h"
#include "app/version.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/movie.h"
#include "platform/rand.h"
#include "platform/text.h"
#include "platform/sdl/ffmpeg_movie.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/demangle.h"
#include "platform/sdl/sdl_display_loss.h"
#include "platform/sdl/sdl_framework.h"
#include "platform/sdl/quick_png.h"
#include "platform/sdl/sdl_renderer.h"
#include "screens/intro.h"
#include "screens/main_menu.h"
#include "screens/menu.h"
#include "world/world.h"
#include "world/game_phase.h"

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

// The display is gone (the X server ended, the window was killed): nothing
// can be shown or asked any more. The game ends as the fatal exit ends it,
// without the static destructors that would run under the worker thread.
void OnDisplayLost() {
  LogLine(L"ERROR: The connection to the display was lost: the game ends");
  EndProcessAtOnce(1);
}

// No window could be made (there is no display, say): the reason goes to the
// log and to the terminal the game was started from, and the game ends.
void TellNoWindow(const std::string& reason) {
  const std::wstring line = L"ERROR: " + plat::FromUtf8(reason);
  LogLine(line);
  std::fprintf(stderr, "%s\n", plat::ToUtf8(line).c_str());
}

// The Unicode layer of old Windows versions: Linux always has what it gave.
bool LoadUnicodeLayer() { return true; }

// --- TW_SCREENSHOT_DIR (debugging aid, see the top of the file) -----------
const std::chrono::steady_clock::time_point g_ProgramStart = std::chrono::steady_clock::now();
std::string g_ScreenshotDir;
cScreenshotPacer g_ShotPacer;
int g_ShotCount = 0;
bool g_MainMenuTimed = false;

// What is on the screen: the menu, or the map screen at its zoom.
std::wstring ShownScreen(std::string& name) {
  if (g_pCurrentMenu != nullptr) {
    name = plat::ClassName(typeid(*g_pCurrentMenu));
    // A message over the menu (a start refused) or a question (whether to
    // load a changed save) is pictured on its own.
    const cDialog* dialog = VisibleActiveDialog();
    if (dynamic_cast<const cDialogTekstowy*>(dialog) != nullptr ||
        dynamic_cast<const cDialogPotwierdzenia*>(dialog) != nullptr) {
      name += '_';
      name += plat::ClassName(typeid(*dialog));
      return plat::Format(L"%p %p", static_cast<const void*>(g_pCurrentMenu), static_cast<const void*>(dialog));
    }
    return plat::Format(L"%p", static_cast<const void*>(g_pCurrentMenu));
  }
  // The map in its menu state shows a dialog of its own (the save dialog).
  const int phase = g_pWorld != nullptr ? g_pWorld->GetGameState() : kPhaseNothingLoaded;
  if (phase == kPhaseHumanTurn || (phase == kPhasePaused && VisibleActiveDialog() != nullptr)) {
    const cTurnState& turn = g_pWorld->turnState;
    const cDialog* dialog = VisibleActiveDialog();
    const int sides = turn.attack != nullptr ? turn.attack->CountAttackingSides() : 0;
    name = "MapScreen";
    if (dialog != nullptr) {
      name += '_';
      name += plat::ClassName(typeid(*dialog));
    } else if (turn.attack != nullptr) {
      name += "_attack";
    } else if (turn.mode != 0) {
      name += "_range";
    }
    const cMap& map = g_pWorld->GetMap();
    return plat::Format(L"map %.3f %.0f %.0f %p %p %i %i", g_Settings.MapZoom, map.viewX, map.viewY,
                        static_cast<const void*>(dialog), static_cast<const void*>(turn.selectedHex), turn.mode,
                        sides);
  }
  // The computer's turn: each of its moves the player watches, and a
  // dialog it shows (its combat report).
  if (phase == kPhaseComputerPlayers || phase == kPhaseComputerMove) {
    if (const cDialog* dialog = VisibleActiveDialog()) {
      name = "ComputerPhase_" + plat::ClassName(typeid(*dialog));
      return plat::Format(L"computer %p", static_cast<const void*>(dialog));
    }
    const cJednostkaLadowa* mover = g_pWorld->turnState.move.unit;
    if (phase == kPhaseComputerMove && mover != nullptr) {
      name = "ComputerMove";
      return plat::Format(L"computer move %p", static_cast<const void*>(mover));
    }
    return {};
  }
  // The end of an impulse waits while the player answers what it shows (an
  // event), and its sea battles while the player reads theirs (a raider's
  // surprise attack): those dialogs over the map are pictured too.
  if ((phase == kPhaseEndOfTurn || phase == kPhaseSeaBattles) && VisibleActiveDialog() != nullptr) {
    const cDialog* dialog = VisibleActiveDialog();
    name = (phase == kPhaseEndOfTurn ? "EndOfImpulse_" : "SeaBattles_") + plat::ClassName(typeid(*dialog));
    return plat::Format(L"end %p", static_cast<const void*>(dialog));
  }
  return {};
}

void SaveMenuScreenshot() {
  std::string name;
  const std::wstring screen = ShownScreen(name);
  if (!g_MainMenuTimed && dynamic_cast<const cMainMenu*>(g_pCurrentMenu) != nullptr) {
    g_MainMenuTimed = true;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - g_ProgramStart);
    std::printf("first main-menu frame after %lld ms\n", static_cast<long long>(ms.count()));
    std::fflush(stdout);
  }
  // Some frames in, so that the hint and the controls have settled and a
  // dialog that has just opened has faded in; a computer's move is caught
  // on its way.
  if (!g_ShotPacer.Frame(screen, name == "ComputerMove" ? 3 : 20)) return;
  auto* renderer = dynamic_cast<plat::sdl::SdlRenderer*>(plat::GetFramework().GetRenderer());
  if (renderer == nullptr || renderer->Native() == nullptr) return;
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(renderer->Native(), &w, &h) != 0) return;
  SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (shot == nullptr) return;
  const std::string path = g_ScreenshotDir + "/" + std::to_string(++g_ShotCount) + "_" + name + ".png";
  if (SDL_RenderReadPixels(renderer->Native(), nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels,
                           shot->pitch) == 0 &&
      plat::sdl::SaveSurfacePngQuickly(*shot, path)) {
    std::printf("screenshot %s\n", path.c_str());
    // Where the map lies, so that a script can find the hexes on the screen.
    if (name.rfind("MapScreen", 0) == 0 && g_pWorld != nullptr) {
      const cMap& map = g_pWorld->GetMap();
      std::printf("map view %.2f %.2f %.5f\n", map.viewX, map.viewY, g_Settings.MapZoom);
    }
    std::fflush(stdout);
  }
  SDL_FreeSurface(shot);
}

}  // namespace

int main() {
  SetMainThreadToCurrent();
  CreateFrameworkLock();
  g_bRunning = true;
  LogLine(L"Running Tidewrack v%.2f", kGameVersion);
  if (!LoadUnicodeLayer()) ExitUnicodeLayerMissing();

  plat::Srand(static_cast<unsigned>(std::time(nullptr)));

  LoadSettings();
  LoadGuiLayout();
  // Copies left by saves whose process died.
  TidySaveCopiesAtStart();

  g_pCurrentMenu = nullptr;
  g_pActiveDialog = nullptr;

  if (const char* dir = std::getenv("TW_SCREENSHOT_DIR"); dir != nullptr && *dir != '\0') {
    g_ScreenshotDir = dir;
    g_MenuFrameDrawnHook = SaveMenuScreenshot;
  }

  plat::sdl::SdlFramework framework;
  plat::SetFramework(&framework);
  framework.SetCallbackDeviceCreated(OnCreateDevice);
  framework.SetCallbackDeviceReset(OnResetDevice);
  framework.SetCallbackDeviceLost(OnLostDevice);
  framework.SetCallbackDeviceDestroyed(OnDestroyDevice);
  framework.SetCallbackMsgProc(OnWindowMessage);
  framework.SetCallbackPauseChanged(OnPauseChanged);
  // The main thread holds the framework lock over each frame's input,
  // frame move and render; the worker gets it between frames.
  framework.SetFrameGuard(GuardFrameWithFrameworkLock);
  // An idle window waits for input and shows a frame only when it changed.
  framework.SetRestCheck([] { return WindowMayRest(g_pWorld); });
  SetScreenRender(OnFrameRender);
  framework.SetCursorSettings(true, true);
  framework.SetFrameInterval(g_Settings.FrameIntervalMs);

  const bool windowMade = framework.CreateWindow(VersionTitle(kGameVersion, kGameBuild));
  if (!windowMade) TellNoWindow(framework.WindowError());
  if (windowMade &&
      framework.CreateDevice(g_Settings.Windowed, g_Settings.ResolutionX, g_Settings.ResolutionY) >= 0) {
    plat::sdl::InstallDisplayLostHandler(OnDisplayLost);
    if (auto* renderer = dynamic_cast<plat::sdl::SdlRenderer*>(framework.GetRenderer())) {
      LogLine(L"Renderer: %hs, %hs", renderer->Name().c_str(), framework.RendererChoice().c_str());
    }
    plat::sdl::SdlAudioDevice audio;
    SetAudioDevice(&audio);
    InitSound();
    plat::SetMovieDecoderFactory(plat::sdl::CreateFfmpegMovieDecoder);

    // The intro runs inside the main loop (its movies and logos are drawn
    // frame by frame); this starts it and installs its callbacks.
    StartIntro();

    g_StringBase.Load("lang_LANGID.db", true);

    framework.MainLoop();
    // The menus and dialogs left hold GUI objects: free them while the
    // frame still exists.
    RetireCurrentMenu();
    DeleteRetiredMenus();
    SetAudioDevice(nullptr);
  }

  if (g_pWorld != nullptr) DestroyGame();
  g_bRunning = false;
  DeleteFrameworkLock();
  plat::SetFramework(nullptr);
  return framework.GetExitCode();
}
