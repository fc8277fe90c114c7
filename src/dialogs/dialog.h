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
  // Clears the active-dialog pointer and retires the object: it is freed
  // at the end of the frame (DeleteRetiredDialogs), so a handler of this
  // dialog that closed it can still return through it.
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

// Frees the dialogs closed since the last call; the frame render calls it
// at the end of every frame.
void DeleteRetiredDialogs();
// Whether dialog was closed and waits to be freed.
bool IsRetiredDialog(const cDialog* dialog);
