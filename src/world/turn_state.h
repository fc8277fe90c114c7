// Whose turn it is and what the player has selected, and the two routines
// that decide the order of countries within an impulse: all Axis countries
// move first (strongest political standing first), then the Allies, the
// Comintern and the neutrals.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "world/land_attack_plan.h"
#include "world/land_move_records.h"

class cCountry;
class cJednostka;
class cJednostkaLadowa;
class cUnit;
class cWorld;
struct sHex;

class cTurnState {
 public:
  // No current country, nothing hovered or selected, mode 0.
  cTurnState() = default;

  // Makes the country current and decides whether its actions are shown:
  // always, except for a country of an alliance while
  // "Gameplay/ShowAlliesActions" is off.
  void SetCurrentCountry(cCountry* country);
  // The id of the current country, 0 while there is none.
  int CurrentCountryId() const;

  // Centres the map on the current country's main city; with glide set and
  // the phase not 9, the phase becomes 12 (the view glides, its end sets 7).
  // Nothing happens without a current country or a main city.
  void CenterOnCurrentCountry(cWorld& world, bool glide);

  // Clears the selected hex and unit and every hex mark.
  void Deselect(cWorld& world);

  // Selects the hex (x, y) of the world's map: the selected unit becomes
  // none and every mark is cleared; a land hex, or a water hex without a
  // sea zone, gets the selection mark (bit 1) and its unit becomes the
  // selected unit; a water hex of a sea zone marks the whole zone (0x4000).
  // Outside the map nothing is selected. The panels are refreshed.
  void SelectHex(cWorld& world, int x, int y);

  // Replaces the pending attack by a new set-up of the defender on its hex
  // and the attackers of hex sides 0 to 5 (null: no attacker on that side).
  // Returns the new set-up.
  cLandAttack& SetAttack(cJednostka* defender, int defenderX, int defenderY, cJednostka* side0 = nullptr,
                         cJednostka* side1 = nullptr, cJednostka* side2 = nullptr, cJednostka* side3 = nullptr,
                         cJednostka* side4 = nullptr, cJednostka* side5 = nullptr);
  // Deletes the pending attack.
  void ClearAttack();
  // Deletes the pending attack when it attacks from two or more sides and
  // its defender was already attacked, or one of its attackers already
  // attacked, in this impulse. A one-sided attack stays.
  void DropInvalidAttack();

  // Builds the move record and the undo record for a move of the unit to
  // (tx, ty) from the unit's last movement range, and plays the unit's
  // marching sound when it is visible. The caller then takes the unit off
  // its start hex and sets the phase (rules/land_move.h does both). False,
  // with both records left as they were, when the target is not in the
  // range or the path back from it does not reach the unit.
  bool FindLandPath(cWorld& world, cJednostkaLadowa& unit, int tx, int ty);

  // A unit that leaves the world (killed, sent to the reserve) is dropped
  // from the selection, the move and undo records and the pending attack in
  // the same step; the panels are refreshed.
  void ForgetUnit(const cUnit* unit);

  // The next human country to play: the first unfinished human country in
  // the order of moves; when every human country has finished, the first
  // human country after the current one in that order (else the first
  // before it), never the current one itself; null when there is none.
  cCountry* FindNextHumanCountry(const std::vector<std::unique_ptr<cCountry>>& countries) const;

  // The country whose turn it is; null until the game starts.
  cCountry* currentCountry = nullptr;
  // The country whose side the map shows; set to the current country at
  // every hand-over to a human.
  cCountry* viewCountry = nullptr;
  sHex* selectedHex = nullptr;
  cUnit* selectedUnit = nullptr;
  // The pending order mode 0 to 18 (0: no order).
  int mode = 0;
  // The unit walking across the map and its remaining path.
  cLandMove move;
  // The pending land attack, or null.
  std::unique_ptr<cLandAttack> attack;
  // The undo record of the last land move.
  cMoveUndo undo;
  // Whether the current country's actions are shown to the player.
  bool showActions = false;
};

// The next country to move in this impulse: among the active countries that
// have not finished their turn, the Axis first, then the Allies, the
// Comintern and the neutrals; within a group the highest political strength
// (the earlier country on a tie; -5 or less never). Null ends the impulse.
// Logs its choice.
cCountry* PickCurrentCountry(const std::vector<std::unique_ptr<cCountry>>& countries);

// Whether PickCurrentCountry can ever pick the country: active, of a known
// alliance code (0-6) and of political strength above -5.
bool CanCountryEverMove(const cCountry& country);
// Whether some country is played by a human (active or not) while none of
// them can ever move: impulses would follow each other with nobody to hand
// a turn to. A world without any human country is played by the computer
// alone and is not stalled.
bool HumanCountriesStalled(const std::vector<std::unique_ptr<cCountry>>& countries);
// Whether some human country can ever move.
bool AnyHumanCountryCanMove(const std::vector<std::unique_ptr<cCountry>>& countries);

// Erases every country that has finished its turn or is not human-controlled.
void RemoveFinishedOrComputerCountries(std::vector<cCountry*>& countries);

// Shows the text, line feeds turned into blanks, as the status line of the
// information bar when the bar exists.
void ShowStatusText(std::wstring_view text);
