// The main menu: single player (the scenario menu), preferences, credits and
// exit, over the main wallpaper, with the version line at the bottom left.
// The credits movie plays inside the main loop: while it runs the dialog is
// hidden, each frame draws the movie and Esc stops movie and music.
#pragma once

#include <memory>

#include "screens/menu.h"

class cMoviePlayer;
class cMusicPlayer;

// Texture-table slot of the menus' wallpaper.
constexpr int kMenuWallpaperSlot = 3;

// Control ids.
constexpr int kMainMenuFrame = 70;
constexpr int kMainMenuStart = 71;
constexpr int kMainMenuPreferences = 72;
constexpr int kMainMenuCredits = 73;
constexpr int kMainMenuExit = 74;
constexpr int kVersionLineId = 7001;

// Draws a menu wallpaper from a texture-table slot over the whole back
// buffer: layout entry 1 is the source rectangle, scaled to the screen.
void DrawMenuWallpaper(int slot);
// Adds the version line static (id 7001) at the bottom left of the screen.
void AddVersionLine(CDXUTDialog& dialog);

class cMainMenu : public cMenu {
 public:
  cMainMenu();
  ~cMainMenu() override;

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  void OnFrameMove(double time, float elapsed) override;
  void OnRender(float elapsed) override;

 private:
  void StartCredits();
  void EndCredits();

  std::unique_ptr<cMoviePlayer> credits_;
  // The credits music plays on the game's music player when there is one,
  // else on one of our own made for the credits.
  std::unique_ptr<cMusicPlayer> ownMusic_;
  cMusicPlayer* music_ = nullptr;
};
