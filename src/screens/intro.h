// The intro: the three intro movies, then the studio logo and the game logo
// with their sounds and fades, then the interface textures and the main
// menu. Everything runs inside the frame's main loop: StartIntro installs
// the intro's callbacks and opens the first movie; each frame polls the
// movie or advances the logo sequence.
#pragma once

#include <cstdint>

// Texture-table slots: the logos while the intro runs, then the cursor and
// the console sheet; the default flag sits in slot 0, which games keep.
constexpr int kIntroLogoSlot1 = 1;
constexpr int kIntroLogoSlot2 = 2;
constexpr int kCursorSlot = 1;
constexpr int kConsoleSheetSlot = 2;
constexpr int kDefaultFlagSlot = 0;

// Each logo shows this long (ms) unless skipped; fade in over the first
// 2.55 s, fade out from 5 s on.
constexpr std::uint32_t kLogoShowMs = 8000;

// The intro's state, readable by tests.
struct sIntroState {
  int movie = 0;                 // index of the movie playing; 3 = movies done
  int logoState = 0;             // 0 not begun, 1 first logo, 2 second logo, 3 done
  std::uint32_t startTime = 0;   // tick count when the state began
  std::uint32_t currentTime = 0;
  std::uint32_t fadeColor = 0xFF000000u;
  bool running = false;          // between StartIntro and the main menu
};
extern sIntroState g_Intro;

// Installs the intro's callbacks and starts the first movie (a movie that
// cannot be opened is logged "[FAILED]" and the next one tried).
void StartIntro();

// The intro's callbacks (installed by StartIntro).
void IntroOnFrameMove(double time, float elapsed);
void IntroOnFrameRender(double time, float elapsed);
void IntroOnKeyboard(unsigned key, bool keyDown, bool altDown);
void IntroOnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
                  int y);

// A key-down or left click during the logos: ends both logos at the next
// frame move.
void SkipIntroLogos();
