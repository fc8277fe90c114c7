// Base of the in-game dialogs. A dialog is modal, sits on the dialog stack
// (dialogs/dialog_stack.h) and deletes itself when it closes. Besides its id it
// carries a countdown with an action at expiry, and a listener: the dialog
// that is told which button closed this one.
#pragma once

#include "gui/dxut_dialog.h"
#include "platform/screen_serial.h"

class CDXUTControl;

class cJednostkaMorska;
class cDialog {
 public:
  // What happens when the countdown runs out.
  enum ExpiryAction : int { kExpiryNothing = 0, kExpiryClose = 1, kExpiryHide = 2, kExpiryShow = 3 };

  // A minimal dialog with an empty embedded dialog (the dialog stack uses one
  // with id 675 as a placeholder).
  explicit cDialog(int id);
  // A dialog on a frame at (x, y, width, height): with an id above 0 the frame
  // is a control of that id that drags the whole dialog.
  cDialog(int id, int x, int y, int width, int height);
  virtual ~cDialog();
  cDialog(const cDialog&) = delete;
  cDialog& operator=(const cDialog&) = delete;

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
  virtual void OnTimerTick(float elapsed);

  // Runs the countdown by elapsed seconds (the frame move calls it on the
  // active dialog). A stopped timer or a negative countdown does nothing; at
  // zero or below the countdown becomes -1 and the expiry action is done.
  void UpdateTimer(float elapsed);
  // Sets the countdown in seconds with its expiry action and lets it run.
  void StartCountdown(float seconds, int action);
  // A stopped timer keeps its remaining seconds; clearing the flag resumes.
  void SetTimerStopped(bool stopped) { timer_stopped_ = stopped ? 1 : 0; }
  bool IsTimerStopped() const { return timer_stopped_ != 0; }
  float GetCountdown() const { return countdown_; }
  int GetExpiryAction() const { return expiry_action_; }

  // The dialog told of this dialog's answer; not owned, may be null. A
  // listener that is deleted first is taken off every dialog it listened to.
  void SetListener(cDialog* listener) { listener_ = listener; }
  cDialog* GetListener() const { return listener_; }

  int GetId() const { return id_; }
  // This dialog's identity for the input routing (frame/input_routing.cpp),
  // never given to another.
  plat::ScreenSerial Serial() const { return serial_; }
  // The one ship selected in this dialog for a map order (the fleets
  // dialog's answer); null when none or several are selected.
  virtual cJednostkaMorska* GetSingleSelectedShip() { return nullptr; }
  CDXUTDialog& Dialog() { return dialog_; }

 protected:
  // A keyboard shortcut: the button-clicked event of button id, sent through
  // the dialog's own callback as if the button had been clicked. From then
  // on the dialog also receives the events of controls changed by code.
  void ClickButton(int id);
  // Passes a button event to the listener, when there is one.
  void NotifyListener(unsigned event, int controlId, CDXUTControl* control);

  int timer_stopped_ = 1;
  float countdown_ = -1.0f;
  int expiry_action_ = kExpiryNothing;
  int id_;
  cDialog* listener_ = nullptr;
  CDXUTDialog dialog_;

 private:
  const plat::ScreenSerial serial_ = plat::NewScreenSerial();
};

// Frees the dialogs closed since the last call; the frame render calls it
// at the end of every frame.
void DeleteRetiredDialogs();
// Whether dialog was closed and waits to be freed.
bool IsRetiredDialog(const cDialog* dialog);

// Installed by the dialogs: the active dialog gets the event when visible.
void DialogOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
