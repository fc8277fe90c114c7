// The diplomacy panel: the political state of the country that controls the
// selected hex (name and flag, social unrest, war economy, alliance, alliance
// entry, orientation, zone of influence, political strength and the
// countries at war with it) and the actions the current country may take:
// towards a foreign country declare war, exert pressure, stage a coup
// d'etat; towards itself delay or hasten its alliance entry, hold elections,
// change its orientation. Each button is enabled and hinted by its rule's
// check; a click asks for confirmation or a choice where one is needed,
// calls the rule and shows its result text in a message.
#pragma once

#include <string>

#include "screens/panel.h"

class cCountry;
class cWorld;

class cDiplomacyPanel : public cPanel {
 public:
  // What the panel waits for from a dialog it opened.
  enum ePending : int { kNone = 0, kDeclareWarAnswer = 1, kElectionsChoice = 2, kOrientationChoice = 3 };

  explicit cDiplomacyPanel(cWorld& world);

  // Fills the panel for the selected hex's controller and the current
  // country (the turn state's).
  void Refresh();
  // The panel's buttons, the yes/no answer (705/706), and the choice
  // dialog's answers (0-5, 938); other ids are ignored.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  int Pending() const { return pending_; }

 private:
  // The rule's result text in a message titled title; underAnswer: the
  // dialog that answered is still on top of the stack.
  void ShowResult(const std::wstring& text, const std::wstring& title, bool underAnswer = false);
  void OnAction(int controlId);
  void OnChoice(int orientation);

  cWorld& world_;
  cCountry* target_ = nullptr;
  cCountry* acting_ = nullptr;
  int pending_ = kNone;
};

constexpr int kDiplomacyFrameId = 601;
constexpr int kDiplomacyBlockLast = 627;
constexpr int kDiplomacyDeclareWarId = 602;
constexpr int kDiplomacyPressureId = 603;
constexpr int kDiplomacyCoupId = 604;
constexpr int kDiplomacyDelayEntryId = 605;
constexpr int kDiplomacyHastenEntryId = 606;
constexpr int kDiplomacyElectionsId = 607;
constexpr int kDiplomacyOrientationId = 608;
constexpr int kDiplomacyFlagId = 610;
constexpr int kDiplomacyCountryId = 611;
constexpr int kDiplomacyUnrestId = 613;
constexpr int kDiplomacyWarEconomyId = 615;
constexpr int kDiplomacyAllianceId = 617;
constexpr int kDiplomacyEntryId = 619;
constexpr int kDiplomacyOrientationNameId = 621;
constexpr int kDiplomacyZoneId = 623;
constexpr int kDiplomacyStrengthId = 625;
constexpr int kDiplomacyWarListId = 627;
