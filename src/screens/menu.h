// Base of the full-screen menus (main menu, scenario settings, loading
// screen, ...). One menu is current at a time; it receives the frame's
// keyboard, mouse, frame-move and GUI events and draws itself after the map.
#pragma once

#include "gui/dxut_dialog.h"

class CDXUTControl;

class cMenu {
 public:
  // Becomes the current menu and installs the menu callbacks with the
  // framework. The previous current menu is deleted at the end of the frame,
  // since it may be the one whose handler is creating this menu.
  cMenu();
  virtual ~cMenu();
  cMenu(const cMenu&) = delete;
  cMenu& operator=(const cMenu&) = delete;

  virtual void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control);
  virtual void OnKeyboard(unsigned key, bool keyDown, bool altDown);
  virtual void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y);
  virtual void OnFrameMove(double time, float elapsed);
  virtual void OnRender(float elapsed);

  CDXUTDialog& Dialog() { return dialog_; }

 protected:
  CDXUTDialog dialog_;
};

extern cMenu* g_pCurrentMenu;

// Deletes the menus replaced since the last call; the frame render calls it
// when a frame is done, shutdown once more at the end.
void DeleteRetiredMenus();
