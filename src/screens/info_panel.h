// The information bar along the top of the map screen: the current
// country's flag, name and points, one status line, the handles that show,
// hide and drag the other panels, and the command icons. Its controls' events
// go to the map screen; the bar itself only builds, refreshes and locks.
#pragma once

#include <string_view>

#include "screens/panel.h"

class cCountry;

class cInfoPanel : public cPanel {
 public:
  cInfoPanel();

  // Flag and name of the current country; its counters only when it is
  // human-controlled (a computer country leaves the last human's values).
  void RefreshCounters();
  // The same for a given country (null: nothing changes).
  void RefreshCountersFor(const cCountry* country);
  // The status line (main thread; the worker's texts come through the
  // world's view).
  void SetStatusText(std::wstring_view text);
  // Computer phase: no keyboard, mouse or code-sent events, the four panel
  // handles hidden and the blinking indicator shown; and back (keyboard
  // input stays off).
  void LockForComputerPhase();
  void UnlockAfterComputerPhase();

  // Animates the indicator, then draws the bar (minimised or not).
  void OnRender(float elapsed) override;
};

// Layout ids of the bar's controls.
constexpr int kInfoBarId = 292;
constexpr int kInfoStatusId = 293;
constexpr int kInfoProductionId = 294;
constexpr int kInfoDiplomacyId = 296;
constexpr int kInfoStrategicId = 298;
constexpr int kInfoSeaTransportId = 300;
constexpr int kInfoSeaInvasionId = 302;
constexpr int kInfoNuclearId = 304;
constexpr int kInfoNameBackId = 330;
constexpr int kInfoFlagId = 331;
constexpr int kInfoNameId = 332;
constexpr int kInfoCommandBackId = 335;
constexpr int kInfoUnitHandleId = 350;
constexpr int kInfoHexHandleId = 400;
constexpr int kInfoAttackHandleId = 450;
constexpr int kInfoDiplomacyHandleId = 600;
constexpr int kInfoComputerIndicatorId = 7542;
// Command icons.
constexpr int kCmdPurchases = 336;
constexpr int kCmdUnits = 337;
constexpr int kCmdResearch = 339;
constexpr int kCmdReports = 340;
constexpr int kCmdConvoys = 341;
constexpr int kCmdOptions = 342;
constexpr int kCmdEndTurn = 343;
constexpr int kCmdHotkeys = 344;

// Where the interface pictures of the panels lie in the interface sheet
// (texture table slot 2, "data\gfx\console.png").
constexpr int kPanelHandleSheetX = 200;   // four 32 x 32 handles side by side
constexpr int kPanelHandleSheetY = 620;   // disabled, normal, mouse-over stacked
constexpr int kPanelHandleSize = 32;
constexpr int kComputerIndicatorSheetY = 1390;  // two 200 x 200 pictures from x 0
