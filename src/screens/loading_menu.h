// The loading screen: a wallpaper and a progress bar shown while a scenario
// or a saved game is built into a new world. Loading holds the main thread,
// so every progress step draws a frame at once. Input is ignored.
#pragma once

#include "screens/menu.h"

class CDXUTProgressBar;

constexpr int kLoadingProgressBarId = 263;

class cLoadingMenu : public cMenu {
 public:
  cLoadingMenu();

  // Sets the bar (clamped to 0..100 by the bar), logs " Progress = %i%%"
  // with the value as given and draws one frame.
  void SetProgress(int percent);
  // The end of loading: starts the worker thread and makes the scenario
  // settings menu current (this screen is retired by it).
  void CreateNextMenu();

  void OnRender(float elapsed) override;

 private:
  // The frame drawn while loading holds the main thread: this screen alone
  // (no map, no dialogs). Menus retired since the last frame are not freed
  // here: the handler that started loading is still running in one of them.
  void DrawFrameNow();

  CDXUTProgressBar* bar_ = nullptr;
  double last_frame_time_ = -1.0;
};
