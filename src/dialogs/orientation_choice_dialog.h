// The choice of a country's new orientation in elections or in a change of
// orientation, for a country that leans to one side (pro-allied, pro-axis or
// pro-communist): it may become the regime of its own side or lean to either
// other side. Three choice buttons (each with the id of the orientation it
// picks), a button that lets chance pick one of the three evenly, and cancel.
// The dialog only answers: OrientationChoice holds the choice (6 when
// cancelled) and the listener receives the button's id; the listener carries
// the elections or the change out.
#pragma once

#include <array>

#include "dialogs/dialog.h"

class CDXUTButton;
class cCountry;

// The last answer: an orientation 0-5, or 6 when the dialog was cancelled
// (also while one is open). Main thread only.
extern int OrientationChoice;

class cDialogWyborow : public cDialog {
 public:
  static constexpr int kId = 930;
  static constexpr int kTitleId = 932;
  static constexpr int kMessageId = 933;
  static constexpr int kCancelId = 938;
  static constexpr int kRandomId = 10212;
  static constexpr int kCancelled = 6;

  // elections: the texts of elections, else those of a change of
  // orientation. A country of orientation 0-2 gets no choice buttons.
  cDialogWyborow(const cCountry& country, bool elections);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  // The choice buttons in their order on screen (null for a country without
  // choices).
  const std::array<CDXUTButton*, 3>& ChoiceButtons() const { return choice_buttons_; }

 private:
  std::array<CDXUTButton*, 3> choice_buttons_{};
};
