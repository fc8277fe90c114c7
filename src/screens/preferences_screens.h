// Where the preferences are opened: the settings menu of the main menu
// (without a game) and the preferences dialog over a running game (the pause
// menu, F1 on the map). When the dialog is closed, a changed screen size or
// window mode is applied at once.
#pragma once

#include "screens/menu.h"

class cWorld;

// Control id of the settings menu's title.
constexpr int kSettingsMenuTitle = 80;
// Texture-table slot of the settings menu's wallpaper.
constexpr int kSettingsWallpaperSlot = 7;

// The preferences screen reached from the main menu: its wallpaper, its
// title and the preferences dialog on top of the dialog stack. Closing the
// dialog opens a new main menu, which replaces this one.
class cSettingsMenu : public cMenu {
 public:
  cSettingsMenu();
  void OnRender(float elapsed) override;
};

// Opens the preferences dialog over the game of world; closing it returns
// to the map.
void OpenPreferencesOverGame(cWorld& world);

// Applies "Main/ResolutionX", "Main/ResolutionY" and "Main/Fullscreen" of the
// settings table when they differ from the screen in use and the layout of
// that size exists: the frame changes the window, the layout of the new size
// is loaded and, with a game, the map's view and its screen with the panels
// are made again for it. Returns whether the screen changed; when the frame
// cannot change it the old screen stays and the failure is logged.
bool ApplyDisplayPreferences(cWorld* world);
