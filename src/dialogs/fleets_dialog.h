// The fleets dialog: the current country's fleets at one node of the sea
// graph and the ships of the selected fleet, with every naval order. The
// orders are the rules' (rules/fleet_management.h, rules/fleet_orders.h);
// each button is enabled or disabled by the order's own check, the reason
// shown as its hint. Orders that need a target on the map hide the dialog,
// mark the targets and set the map's pick mode; the map screen gives the
// order on the clicked hex and calls OnReactivate. While open the dialog is
// the world's fleet watcher: a fleet deleted anywhere leaves its selection
// in that same step.
#pragma once

#include <vector>

#include "app/texture.h"
#include "dialogs/dialog.h"
#include "world/fleet.h"
#include "world/map_modes.h"

class cJednostkaMorska;
class cWorld;
class CDXUTListBox;
struct sHex;
struct sWezelGrafuMorz;

class cDialogFlot : public cDialog, public cFleetWatcher {
 public:
  static constexpr int kId = 550;
  static constexpr int kTitleId = 551;
  static constexpr int kPictureId = 552;
  static constexpr int kFleetListId = 555;
  static constexpr int kRenameFleetId = 556;
  static constexpr int kMoveFleetId = 557;
  static constexpr int kActiveId = 558;
  static constexpr int kRegularId = 560;
  static constexpr int kRaidersId = 561;
  static constexpr int kShipListId = 564;
  static constexpr int kCreateFleetId = 566;
  static constexpr int kMoveShipsId = 567;
  static constexpr int kRenameShipId = 568;
  static constexpr int kCommanderId = 569;
  static constexpr int kRepairId = 570;
  static constexpr int kDisbandId = 571;
  static constexpr int kUnloadId = 572;
  static constexpr int kReconId = 573;
  static constexpr int kAirStrikeId = 574;
  static constexpr int kShoreBombardmentId = 575;
  static constexpr int kTransportedId = 577;
  static constexpr int kCloseId = 578;
  // The yes of the disband question, heard as its listener.
  static constexpr int kDisbandYesId = 705;

  // What OnReactivate has to finish.
  enum ePending : int {
    kPendingNone = 0,
    kPendingRenameFleet = 1,
    kPendingRenameShip = 2,
    kPendingMoveShips = 3,
    kPendingShoreBombardment = 5,
    kPendingAirStrike = 6,
    kPendingRecon = 7,
    kPendingUnload = 8,
    kPendingCommander = 9,
  };

  // The dialog of the node with the id; it registers as the world's fleet
  // watcher and fills both lists.
  cDialogFlot(cWorld& world, int seaNodeId);
  ~cDialogFlot() override;

  // Stops hearing of fleets, then closes.
  void Close() override;
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  // After a prompt or the commanders dialog, and after a pick on the map:
  // finishes the pending order, refills the lists, and closes when no fleet
  // of the country is left at the node, else shows itself after the
  // "Delay/HumanReconAfter" time.
  void OnReactivate() override;
  // The fleet leaves the selection (the world deletes it).
  void RemoveFleet(const cFleet* fleet) override;

  // Drops from the ship selection the ships no longer in the selected fleet
  // (sunk or moved while the dialog waited); the map screen calls it before
  // it reads the selection.
  void DropLostShips();
  // The selection at the index, clamped to the last one; null when none.
  cFleet* GetSelectedFleetAt(int index) const;
  cJednostkaMorska* GetSelectedUnitAt(int index) const;
  // The ship whose cargo the map's unloading pick lands: the first selected.
  cJednostkaMorska* GetSingleSelectedShip() override;
  int SelectedFleetCount() const { return static_cast<int>(fleets_.size()); }
  int SelectedShipCount() const { return static_cast<int>(ships_.size()); }
  int SeaNodeId() const { return node_id_; }
  int Pending() const { return pending_; }

  // Refills the fleet list keeping the selection (then the ship list);
  // returns the number of rows.
  int FillFleetList();

  CDXUTListBox* FleetList() const { return fleet_list_; }
  CDXUTListBox* ShipList() const { return ship_list_; }
  // The file the ship picture was loaded from (empty while hidden).
  const std::wstring& PictureFile() const { return picture_file_; }

 private:
  void UpdateFleetSelection();
  void FillShipList();
  void RefreshShipControls();
  void RefreshShipButtons();
  void ShowShipPicture();
  void ShowTransported();
  // Hides the dialog for a pick on the map with the mode.
  void BeginMapPick(int pending, int mode);
  void AskDisband();
  void AskMoveShips();
  void FinishPending();
  void StopWatching();

  cWorld& world_;
  int node_id_;
  std::vector<cFleet*> fleets_;
  std::vector<cJednostkaMorska*> ships_;
  int pending_ = kPendingNone;
  cTexture picture_;
  std::wstring picture_file_;
  CDXUTListBox* fleet_list_ = nullptr;
  CDXUTListBox* ship_list_ = nullptr;
  // Set while the dialog changes its own controls, whose events it ignores.
  bool updating_ = false;
  // Registered as the world's fleet watcher (until closed).
  bool watching_ = false;
};

// The node whose fleets a hex shows: a water hex its sea zone, a land hex
// the port it carries (a port city's hex carries its port); 0 for none.
int FleetsNodeOfHex(const cWorld& world, const sHex& hex);
// Opens the fleets dialog for the node of the hex (x, y) when the current
// country has fleets there, no dialog is open and the order mode is not the
// bombardment pick. True when it opened.
bool OpenFleetsDialogAtHex(cWorld& world, int x, int y, int mode);
