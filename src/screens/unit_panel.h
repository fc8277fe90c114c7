// The unit panel: the land or air unit standing on the selected hex. It
// shows the unit's picture, name, owner and flag, size, level, supply and
// its source, action points, commander, strength, effectiveness and
// entrenchment bonus, and a row of icons whose enabled state and hint come
// from the unit's own checks (the panel decides nothing itself). The icons
// give the orders: rename, upgrade to a corps, level up, go to the supplying
// city, the commanders and replacements dialogs, disband, undo of the last
// move, the strategic move (its destinations marked on the map), the air
// missions, the airborne assault and the loading onto a ship.
#pragma once

#include <string>

#include "app/texture.h"
#include "screens/panel.h"

class cJednostka;
class cWorld;
struct sHex;

constexpr int kUnitPanelFrameId = 351;
constexpr int kUnitPanelBlockLast = 390;
constexpr int kUnitPictureId = 352;
constexpr int kUnitNameLabelId = 353;
constexpr int kUnitNameId = 354;
constexpr int kUnitRenameIconId = 355;
constexpr int kUnitOwnerId = 358;
constexpr int kUnitFlagId = 357;
constexpr int kUnitSizeId = 360;
constexpr int kUnitUpgradeIconId = 361;
constexpr int kUnitLevelId = 363;
constexpr int kUnitLevelUpIconId = 364;
constexpr int kUnitSupplyId = 366;
constexpr int kUnitSupplyIconId = 367;
constexpr int kUnitPointsId = 369;
constexpr int kUnitCommanderId = 371;
constexpr int kUnitCommanderIconId = 372;
constexpr int kUnitStrengthId = 374;
constexpr int kUnitReplacementsIconId = 375;
constexpr int kUnitEffectivenessId = 377;
constexpr int kUnitBonusId = 379;
constexpr int kUnitDisbandIconId = 380;
constexpr int kUnitUndoIconId = 381;
constexpr int kUnitStrategicMoveIconId = 382;
constexpr int kUnitAirborneIconId = 383;
constexpr int kUnitAmphibiousIconId = 384;
constexpr int kUnitSeaTransportIconId = 385;
constexpr int kUnitAirFightIconId = 386;
constexpr int kUnitBombardIconId = 387;
constexpr int kUnitReconIconId = 388;
constexpr int kUnitNuclearIconId = 390;

// What the panel waits for while one of its prompts is open.
enum ePanelPending : int {
  kPendingNone = 0,
  kPendingRename = 1,
  kPendingCommanders = 2,
  kPendingReplacements = 3,
  kPendingDisband = 4,
};

class cUnitPanel : public cPanel {
 public:
  explicit cUnitPanel(cWorld& world);

  // Fills every control from the unit on the selected hex; with no unit (or
  // one the viewing side has not spotted) every value is "-" and every icon
  // disabled. Runs on the main thread.
  void Refresh();
  // The icons' orders and the answers of the panel's prompts.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // Refreshes first when the selected hex no longer holds the shown unit (it
  // was killed or has left), so a gone unit leaves the panel in the next
  // frame whatever removed it.
  void OnRender(float elapsed) override;

  cJednostka* ShownUnit() const { return shown_; }
  int PendingAction() const { return pending_; }
  // The hex of the city that supplies the shown unit (the supply icon's
  // target), or null.
  sHex* SupplyHex() const { return supply_hex_; }

 private:
  // The shown unit, when it still stands on the selected hex; otherwise the
  // panel refreshes and answers null (a unit killed or moved away since the
  // last refresh is never acted on).
  cJednostka* LiveShownUnit();
  void ShowPicture(const cJednostka& unit);
  void FillSupply(const cJednostka& unit);
  void FillOrderIcons(cJednostka& unit);
  void SetIcon(int id, bool enabled, const std::wstring& hint);

  // The orders (unit_panel_actions.cpp).
  void StartMapOrder(cJednostka& unit, int controlId);
  // The airborne assault icon: mode 6 and the drop targets marked.
  void StartParadrop(cJednostka& unit);
  // The loading icons: the unit goes aboard a new ship of the type (44 or
  // 45) at the port next to it; then nothing is selected, no order is
  // pending and the status line names the port whose fleets sail the ship.
  void LoadOntoShip(cJednostka& unit, int shipType);
  void OpenRename(cJednostka& unit);
  void OpenDisband(cJednostka& unit);
  void Disband();
  void OnAnswer(int controlId);

  cWorld& world_;
  cJednostka* shown_ = nullptr;
  int pending_ = kPendingNone;
  sHex* supply_hex_ = nullptr;
  cTexture picture_;
  std::wstring picture_file_;
};

// The unit picture for a type, level and country: the first of
// "data\gfx\Units images\<type>_<level>_<country>.png", "<type>_<level>.png",
// "<type>.png" and "default.png" that exists.
std::wstring FindUnitPictureFile(int type, int level, int countryId);
