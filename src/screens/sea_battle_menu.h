// The sea-battle screen: the full-screen menu on which a sea battle of the
// end of an impulse is watched and, where a side is human, fought. The two
// sides' ships stand on a 31 x 31 field of hexes; the player moves each of
// his ships once within its side's zone, picks the acting ship and its
// target and fires, or lets the rounds run; the log, the turns left and the
// countdown of the automatic rounds stand in the column on the right. The
// battle (cSeaBattle) decides everything; the screen turns the mouse into
// its selections, moves and shots.
//
// Made, switched in and removed on the main thread only (the worker asks for
// it through the main-thread request queue and sleeps while it is shown).
// While it is current the game phase is 5; its close button gives the
// framework back to the map screen and sets phase 4, which lets the worker
// go on.
#pragma once

#include <set>

#include "app/texture.h"
#include "platform/render.h"
#include "screens/menu.h"
#include "screens/sea_battle_grid.h"

class cJednostkaMorska;
class cSeaBattle;
class cWorld;

constexpr int kSeaBattleFrameId = 650;
constexpr int kSeaBattleTitleId = 651;
constexpr int kSeaBattleNameId = 652;
constexpr int kSeaBattleTurnsLabelId = 653;
constexpr int kSeaBattleTurnsId = 654;
constexpr int kSeaBattleLogLabelId = 655;
constexpr int kSeaBattleLogId = 656;
constexpr int kSeaBattleRetreatId = 657;
constexpr int kSeaBattleCloseId = 658;
constexpr int kSeaBattleNextTurnId = 659;
constexpr int kSeaBattleShotId = 660;
constexpr int kSeaBattleAutoEndId = 661;
constexpr int kSeaBattleTimeoutLabelId = 662;
constexpr int kSeaBattleTimeoutId = 663;
// The screen-edge margins that scroll the field: left x, top y, right x,
// bottom y.
constexpr int kSeaBattleScrollEdgesId = 291;

class cSeaBattleMenu : public cMenu {
 public:
  // Phase 5, the dialogs over the map closed, the controls, the field with
  // both sides' formations, the view at zoom 0.4 over the middle; shown.
  cSeaBattleMenu(cWorld& world, cSeaBattle& battle);

  // When the battle's auto-end flag is set, presses the auto-end button, so
  // that a battle the player only watches runs to its end at once.
  void ApplyAutoEnd();
  // The battle is over: only the close button stays enabled.
  void EnableCloseOnly();
  // A ship left the field (sunk or retreated).
  void ClearCellUnit(int x, int y);
  // One round of the battle; the turns left and the log follow.
  void ExecuteShot();
  void MarkMoveCells(const cJednostkaMorska& ship);
  void SetScrollTarget(int x, int y, float factor);
  void UpdateView(float elapsed);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x, int y) override;
  void OnFrameMove(double time, float elapsed) override;
  void OnRender(float elapsed) override;

  // What the tests and the drawing read.
  cSeaBattleGrid& Grid() { return grid_; }
  int PickMode() const { return pickMode_; }
  float Zoom() const { return zoom_; }
  float TargetZoom() const { return targetZoom_; }
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  const sSeaBattleCell* SelectedCell() const { return selectedCell_; }
  bool HasMoved(const cJednostkaMorska& ship) const;

 private:
  void AddControls();
  void PlaceFormations();
  void ShowLog();
  void ShowTurnsLeft();
  void SetTimeoutText(const wchar_t* text);
  void Click(int controlId);
  void ForgetSelection();
  void LeftClick(int column, int row);
  void MoveShip(sSeaBattleCell& from, sSeaBattleCell& to);
  void ClickTarget(sSeaBattleCell& cell);
  void CloseScreen();
  bool OverControl(int x, int y) const;
  bool AutomaticPlay() const;
  // The ship of the acting side that the battle will fire with, when it is
  // the one the player picked.
  cJednostkaMorska* PickedShooter() const;
  void Enable(int id, bool enabled);

  cWorld& world_;
  cSeaBattle& battle_;
  plat::Matrix2D zoomMatrix_;
  float scrollVelocityX_ = 0.0f, scrollVelocityY_ = 0.0f;
  int scrollY_ = 0, scrollTargetY_ = 0, scrollMaxY_ = 0;
  double lastFrameTimeY_ = 0.0;
  int scrollX_ = 0, scrollTargetX_ = 0, scrollMaxX_ = 0;
  double lastFrameTimeX_ = 0.0;
  cSeaBattleGrid grid_;
  sSeaBattleCell* selectedCell_ = nullptr;
  sSeaBattleCell* previousCell_ = nullptr;
  int pickMode_ = 0;
  float savedZoom_ = 1.0f;
  float savedTargetZoom_ = 1.0f;
  float zoom_ = 0.4f, targetZoom_ = 0.4f;
  // The ships that have moved in this battle (by unit id).
  std::set<int> moved_;
  // The pointer and the buttons as the last mouse call left them, and the
  // arrow keys held (bit 0 left, 1 up, 2 right, 3 down).
  int mouseX_ = -1, mouseY_ = -1;
  bool leftDown_ = false, rightDown_ = false;
  unsigned scrollKeys_ = 0;
  // The plate under the title: two warships trading fire.
  cTexture crest_;
};

// The screen for the loaded game's map screen (cSeaBattleView): made the
// current menu, its automatic play started when the battle asks for it.
void OpenSeaBattleScreen(cWorld& world, cSeaBattle& battle);
