// Base of the in-game dialogs. A dialog is modal, sits on the dialog stack
// (app/dialog_stack.h) and deletes itself when it closes.
#pragma once

#include "gui/dxut_dialog.h"

class CDXUTControl;

class cDialog {
 public:
  // A minimal dialog with an empty embedded dialog (the dialog stack uses one
  // with id 675 as a placeholder).
  explicit cDialog(int id);
  virtual ~cDialog();

  virtual void OnRender(float elapsed);
  // Clears the active-dialog pointer, destroys the embedded dialog and frees
  // the object.
  virtual void Close();
  virtual void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control);
  virtual void OnKeyboard(unsigned key, bool keyDown, bool altDown);
  virtual void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y);
  virtual void OnReactivate();
  virtual void OnTimerTick();

  int GetId() const { return id_; }
  CDXUTDialog& Dialog() { return dialog_; }

 protected:
  int id_;
  CDXUTDialog dialog_;
};
