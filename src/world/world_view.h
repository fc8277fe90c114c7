// What the rules and the turn flow ask of the screen that shows the world.
// The map screen implements it and the world owns it while a game runs; the
// world's own code never reaches a panel or a menu otherwise.
//
// The dialogs the worker waits for (a message, the convoy results, the
// computer's combat report, an event): whether one is still open is asked
// under the framework lock, again as soon as the view has told the world's
// DialogCloses() that a dialog closed, and otherwise once a poll of the
// wait. A view whose dialogs close tells it every time one does.
#pragma once

#include <functional>
#include <string_view>

class cCountry;
struct sBombardmentResult;
struct sEvent;

class cWorldView {
 public:
  virtual ~cWorldView() = default;

  // The information bar's counters of the current country.
  virtual void RefreshCounters() = 0;
  // The status line of the information bar (line feeds already blanks).
  virtual void ShowStatusText(std::wstring_view text) = 0;
  // The panels that show the selected hex and unit, and the pending attack.
  virtual void RefreshSelection() = 0;
  // The minimap's date line.
  virtual void RefreshDateLine() = 0;
  // The minimap's ownership layer painted again from the map: land changed
  // hands. A view without a minimap has nothing to paint.
  virtual void RefreshMinimapOwnership() {}
  // Around the computer players' phase: the bar is locked and the hideable
  // panels are hidden (each keeps its state), open dialogs close, phase 9;
  // and the way back, each panel as it was, phase 7 set last.
  virtual void EnterComputerPhase() = 0;
  virtual void LeaveComputerPhase() = 0;
  // The camera: the view moves to centre the hex (a unit being shown).
  virtual void FollowHex(int x, int y) = 0;
  // The view glides to where the country last looked at the map, or to its
  // main city when it has no stored view (the glide's phase 12).
  virtual void GlideToCountryView(const cCountry& country) = 0;
  // The greeting of a human country whose turn begins (not waited for).
  virtual void GreetHumanTurn(int countryId) = 0;
  // The results of the country's convoys over the map (not waited for);
  // false when nothing was opened. Main thread.
  virtual bool ShowConvoyResults(int /*countryId*/) { return false; }
  // Whether convoy results opened that way are still open (asked under the
  // framework lock).
  virtual bool ConvoyResultsOpen() const { return false; }
  // A message with an OK button over the map (not waited for).
  virtual void ShowMessage(std::wstring_view text, std::wstring_view title) = 0;
  // The combat report of a computer player's fight, closing by itself after
  // displayMs; false when none was shown. Main thread (the worker asks
  // through RunOnMainThread, then waits while ComputerCombatResultOpen
  // says it is open: until the player or the countdown closes it).
  virtual bool ShowComputerCombatResult(const sBombardmentResult&, float) { return false; }
  virtual bool ComputerCombatResultOpen() const { return false; }
  // Whether the last message put up is still open: the end of an impulse
  // waits until the player has read it. A view that shows no messages has
  // none open.
  virtual bool IsMessageOpen() const { return false; }
  // The event dialog of an event fired for a human country (not waited
  // for): the dialog applies the option the player picks. The event must
  // outlive the dialog. False when none was opened. Main thread (the worker
  // asks through RunOnMainThread and waits while EventDialogOpen says so).
  virtual bool ShowEventDialog(const sEvent&) { return false; }
  virtual bool EventDialogOpen() const { return false; }
};

// Applies change to the loaded world's view on the main thread: at once when
// called there, else posted to the main-thread queue and applied in the
// next frame move (the worker never touches a GUI object). Nothing happens
// while no world or no view exists at that time.
void ChangeWorldView(std::function<void(cWorldView&)> change);
// The view follows the hex (cWorldView::FollowHex) the same way: a unit or
// a place a rule acts on is shown.
void FollowHexInView(int x, int y);
