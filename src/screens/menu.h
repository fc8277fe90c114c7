// Base of the full-screen menus (main menu, scenario settings, loading
// screen, ...). One menu is current at a time; it receives the frame's
// keyboard, mouse, frame-move and GUI events and draws itself after the map.
#pragma once

#include "gui/dxut_dialog.h"
#include "platform/framework.h"
#include "platform/messages.h"
#include "platform/screen_serial.h"

class CDXUTControl;

class cMenu {
 public:
  // Retires the current menu (logged; it is deleted at the end of the frame,
  // since it may be the one whose handler is creating this menu), clears the
  // hint, hides the dialog part, installs the menu callbacks with the
  // framework and becomes the current menu. Subclasses show the dialog once
  // their controls exist.
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

  // A window message offered to the menu's controls; true when one took it.
  // Under a shown dialog the menu takes none: the dialog is modal, so no
  // click, key, wheel or hover of the menu (a tab, a list row) goes past it.
  // Only the release of a press that no dialog took (the menu's own, made
  // before the dialog came) reaches its controls, to let the pressed one go.
  bool OfferMessage(const plat::Message& message);

  CDXUTDialog& Dialog() { return dialog_; }
  // This menu's identity for the input routing (frame/input_routing.cpp),
  // never given to another.
  plat::ScreenSerial Serial() const { return serial_; }

 protected:
  CDXUTDialog dialog_;

 private:
  const plat::ScreenSerial serial_ = plat::NewScreenSerial();
};

extern cMenu* g_pCurrentMenu;

// Leaves the current menu without opening another (back to the map): the
// current menu becomes null and the old one is freed at the end of the frame.
void RetireCurrentMenu();

// The frame render the menus install: the application's OnFrameRender, then
// g_MenuFrameDrawnHook when one is set.
void MenuFrameRender(double time, float elapsed);
// The render of the whole screen (map screen, menu, dialogs, hint) that
// MenuFrameRender runs; the program installs it at start-up.
void SetScreenRender(plat::FrameRenderCallback render);
// Debugging aid: called after every frame drawn while a menu's callbacks are
// installed. The program sets it only when TW_SCREENSHOT_DIR is given, to
// save a picture of each menu (scripts/menu_walk.sh); otherwise null.
extern void (*g_MenuFrameDrawnHook)();

// Deletes the menus replaced since the last call; the frame render calls it
// when a frame is done, shutdown once more at the end.
void DeleteRetiredMenus();

// The framework's callbacks while a menu is current: they go to the current
// menu; the frame move first runs what the worker thread asked of the main
// thread.
void MenuOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
void MenuOnKeyboardThunk(unsigned key, bool keyDown, bool altDown);
void MenuOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                      int x, int y);
void MenuOnFrameMoveThunk(double time, float elapsed);
