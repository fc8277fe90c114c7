#include "screens/sea_battle_menu.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/console_log.h"
#include "app/draw_objects.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_element.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "map_drawing/hex_drawing.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/messages.h"
#include "rules/sea_battle.h"
#include "screens/map_screen.h"
#include "screens/panel.h"
#include "screens/screen_helpers.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/world.h"

namespace {

constexpr float kStartZoom = 0.4f;
constexpr int kStartScrollX = 1245;
constexpr int kStartScrollY = 1470;
constexpr int kScrollMaxX = 2490;
constexpr int kScrollMaxY = 2940;
constexpr int kScrollMin = 83;
constexpr float kWheelPerZoom = 2400.0f;
constexpr float kZoomSpeed = 0.5f;        // per second
constexpr float kScrollSpeed = 1000.0f;   // grid pixels per second
constexpr float kScrollFactor = 2.0f;
constexpr int kTitleElement = 1;  // the title font
constexpr int kCrestWidth = 236;
constexpr int kCrestHeight = 96;
constexpr int kCrestGap = 4;
// The open sea around the field, where the view shows past its edges.
constexpr std::uint32_t kOpenSea = 0xFF0F2A40u;


bool IsTransport(const cJednostkaMorska* ship) {
  return ship != nullptr && (ship->type == kUnitCargoShip || ship->type == kUnitAmphibiousShip);
}

}  // namespace

cSeaBattleMenu::cSeaBattleMenu(cWorld& world, cSeaBattle& battle) : world_(world), battle_(battle) {
  world_.SetGameState(kPhaseSeaBattleScreen);
  PopDialogs(-1);
  LogLine(L"----- Sea Battle Screen -----");
  crest_.Load(L"data\\gfx\\seabattle_crest.png", cTexture::kFromFile, 1);
  AddControls();

  savedZoom_ = g_Settings.MapZoom;
  savedTargetZoom_ = g_MapTargetScale;
  zoom_ = targetZoom_ = kStartZoom;
  zoomMatrix_ = plat::Matrix2D::Scaling(zoom_, zoom_);
  scrollX_ = scrollTargetX_ = kStartScrollX;
  scrollMaxX_ = kScrollMaxX;
  scrollY_ = scrollTargetY_ = kStartScrollY;
  scrollMaxY_ = kScrollMaxY;

  PlaceFormations();
  // The screen hears of every ship that leaves the field and of the end.
  battle_.shipLeftHook = [this](int shipId) {
    for (sSeaBattleCell& cell : grid_.Cells()) {
      if (cell.ship != nullptr && cell.ship->id == shipId) ClearCellUnit(cell.hex.x, cell.hex.y);
    }
  };
  battle_.endedHook = [this] { EnableCloseOnly(); };
  ShowTurnsLeft();
  ShowLog();
  if (battle_.Ended()) EnableCloseOnly();
  dialog_.SetVisible(true);
}

void cSeaBattleMenu::AddControls() {
  const plat::RectI frame = DXUTLayoutRect(kSeaBattleFrameId);
  dialog_.AddFrame(kSeaBattleFrameId, frame.left, frame.top, frame.right, frame.bottom, 0);
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kSeaBattleTitleId, Text("seabattle_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = kTitleElement;
    title->SetTextFormat(kCentred);
    title->SetEnabled(false);
  }
  const std::wstring name = plat::Format(std::wstring(L"Sea battle at %s"), battle_.seaAreaName.c_str());
  CDXUTStatic* which = nullptr;
  dialog_.AddStaticFromLayout(kSeaBattleNameId, name.c_str(), &which);
  if (which != nullptr) {
    which->SetTextFormat(kCentred);
    which->SetEnabled(false);
  }
  AddLabeledEditBox(dialog_, kSeaBattleTurnsId, L"-", Text("seabattle_turns_left_hint"), kSeaBattleTurnsLabelId,
                    Text("seabattle_turns_left"));
  AddLabeledEditBox(dialog_, kSeaBattleTimeoutId, L"-", Text("seabattle_next_turn_timeout_hint"),
                    kSeaBattleTimeoutLabelId, Text("seabattle_next_turn_timeout"));
  dialog_.AddStaticFromLayout(kSeaBattleLogLabelId, Text("seabattle_log"));
  dialog_.AddMemoFromLayout(kSeaBattleLogId, L"");
  dialog_.AddButtonFromLayout(kSeaBattleRetreatId, Text("seabattle_retreat"), Text("seabattle_retreat_hint"));
  dialog_.AddButtonFromLayout(kSeaBattleAutoEndId, Text("seabattle_auto_end"), Text("seabattle_auto_end_hint"));
  dialog_.AddButtonFromLayout(kSeaBattleShotId, Text("seabattle_execute_shot"), Text("seabattle_next_turn_hint"));
  dialog_.AddButtonFromLayout(kSeaBattleNextTurnId, Text("seabattle_next_turn"), Text("seabattle_next_turn_hint"));
  dialog_.AddButtonFromLayout(kSeaBattleCloseId, Text("seabattle_close"), Text("seabattle_close_hint"));
  // In a play-by-e-mail game the battle plays itself: nothing to press but
  // the close button at its end.
  const bool pbem = world_.playByEmail;
  if (CDXUTControl* retreat = dialog_.GetControl(kSeaBattleRetreatId)) retreat->SetVisible(!pbem);
  for (int id : {kSeaBattleNextTurnId, kSeaBattleShotId, kSeaBattleAutoEndId}) Enable(id, !pbem);
  Enable(kSeaBattleRetreatId, false);
  Enable(kSeaBattleCloseId, false);
}

void cSeaBattleMenu::PlaceFormations() {
  for (int side = 0; side < 2; ++side) {
    for (const cSeaBattleGrid::sPlaced& placed : grid_.PlaceSide(side, battle_.Side(side))) {
      battle_.SetGridColumn(placed.ship->id, placed.x);
    }
  }
}

void cSeaBattleMenu::Enable(int id, bool enabled) { dialog_.SetControlEnabled(id, enabled); }

void cSeaBattleMenu::ShowTurnsLeft() {
  if (auto* turns = dynamic_cast<CDXUTEditBox*>(dialog_.GetControl(kSeaBattleTurnsId))) {
    turns->SetText(plat::Format(std::wstring(L"%i"), battle_.roundsLeft).c_str());
  }
}

void cSeaBattleMenu::ShowLog() {
  if (auto* memo = dynamic_cast<CDXUTMemo*>(dialog_.GetControl(kSeaBattleLogId))) {
    memo->SetText(battle_.battleLog.c_str());
    memo->ScrollToEnd();
  }
}

void cSeaBattleMenu::SetTimeoutText(const wchar_t* text) {
  if (auto* timeout = dynamic_cast<CDXUTEditBox*>(dialog_.GetControl(kSeaBattleTimeoutId))) timeout->SetText(text);
}

void cSeaBattleMenu::ApplyAutoEnd() {
  if (battle_.autoEnd) Click(kSeaBattleAutoEndId);
}

void cSeaBattleMenu::EnableCloseOnly() {
  for (int id : {kSeaBattleNextTurnId, kSeaBattleShotId, kSeaBattleAutoEndId, kSeaBattleRetreatId}) Enable(id, false);
  Enable(kSeaBattleCloseId, true);
}

void cSeaBattleMenu::ClearCellUnit(int x, int y) {
  if (!cSeaBattleGrid::Inside(x, y)) return;
  sSeaBattleCell& cell = grid_.Cell(x, y);
  cell.ship = nullptr;
  // A ship that left is nobody's pick any more.
  cell.hex.markBits &= ~kCellSelectionMarks;
  if (selectedCell_ == &cell) selectedCell_ = nullptr;
  if (previousCell_ == &cell) previousCell_ = nullptr;
}

void cSeaBattleMenu::ExecuteShot() {
  battle_.PlayRound();
  ShowTurnsLeft();
  ShowLog();
}

bool cSeaBattleMenu::HasMoved(const cJednostkaMorska& ship) const { return moved_.count(ship.id) != 0; }

void cSeaBattleMenu::MarkMoveCells(const cJednostkaMorska& ship) {
  grid_.MarkMoveCells(battle_.GridColumn(ship.id), ship.type == kUnitAircraftCarrier, HasMoved(ship));
}

void cSeaBattleMenu::Click(int controlId) {
  OnGUIEvent(EVENT_BUTTON_CLICKED, controlId, dialog_.GetControl(controlId));
}

void cSeaBattleMenu::ForgetSelection() {
  selectedCell_ = nullptr;
  previousCell_ = nullptr;
  grid_.ClearMarks(kCellSelectionMarks);
  pickMode_ = 0;
}

bool cSeaBattleMenu::AutomaticPlay() const { return battle_.autoEnd || battle_.nextRound; }

cJednostkaMorska* cSeaBattleMenu::PickedShooter() const {
  cJednostkaMorska* acting = battle_.firstSideActs ? battle_.firstSideSelected : battle_.secondSideSelected;
  for (const sSeaBattleCell& cell : grid_.Cells()) {
    if ((cell.hex.markBits & kCellPicked) != 0) return cell.ship == acting ? acting : nullptr;
  }
  return nullptr;
}

void cSeaBattleMenu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  switch (controlId) {
    case kSeaBattleRetreatId: {
      // The picked ship tries, even when a click on open water came after
      // the pick.
      cJednostkaMorska* ship = nullptr;
      for (const sSeaBattleCell& cell : grid_.Cells()) {
        if ((cell.hex.markBits & kCellPicked) != 0) ship = cell.ship;
      }
      if (ship != nullptr) battle_.TryRetreat(*ship);
      ForgetSelection();
      Enable(kSeaBattleRetreatId, false);
      ShowTurnsLeft();
      ShowLog();
      return;
    }
    case kSeaBattleCloseId:
      CloseScreen();
      return;
    case kSeaBattleNextTurnId:
    case kSeaBattleAutoEndId:
      for (int id : {kSeaBattleShotId, kSeaBattleNextTurnId, kSeaBattleAutoEndId, kSeaBattleRetreatId}) {
        Enable(id, false);
      }
      ForgetSelection();
      if (controlId == kSeaBattleNextTurnId) {
        battle_.RequestNextRound();
      } else {
        battle_.RequestAutoEnd();
      }
      return;
    case kSeaBattleShotId:
      ForgetSelection();
      ExecuteShot();
      return;
    default:
      return;
  }
}

void cSeaBattleMenu::CloseScreen() {
  LogLine(L"----- Sea Battle Screen closed -----");
  // The battle may be freed as soon as the worker goes on: nothing of it is
  // touched after the phase below.
  battle_.shipLeftHook = nullptr;
  battle_.endedHook = nullptr;
  RetireCurrentMenu();
  plat::Framework& framework = plat::GetFramework();
  framework.SetCallbackMouse(WorldOnMouseThunk, true);
  framework.SetCallbackKeyboard(WorldOnKeyboardThunk);
  framework.SetCallbackFrameMove(WorldOnFrameMoveThunk);
  g_Settings.MapZoom = savedZoom_;
  g_MapTargetScale = savedTargetZoom_;
  world_.SetGameState(kPhaseSeaBattles);
}

void cSeaBattleMenu::OnKeyboard(unsigned key, bool keyDown, bool) {
  unsigned bit = 0;
  switch (key) {
    case plat::kVkLeft: bit = 1u; break;
    case plat::kVkUp: bit = 2u; break;
    case plat::kVkRight: bit = 4u; break;
    case plat::kVkDown: bit = 8u; break;
    default: return;
  }
  scrollKeys_ = keyDown ? (scrollKeys_ | bit) : (scrollKeys_ & ~bit);
}

bool cSeaBattleMenu::OverControl(int x, int y) const {
  return dialog_.GetControlAtPoint(POINT{x, y}) != nullptr;
}

void cSeaBattleMenu::OnMouse(bool left, bool right, bool, bool, bool, int wheelDelta, int x, int y) {
  const bool leftPressed = left && !leftDown_;
  const bool rightPressed = right && !rightDown_;
  leftDown_ = left;
  rightDown_ = right;
  mouseX_ = x;
  mouseY_ = y;
  // The player of a play-by-e-mail game only watches.
  if (world_.playByEmail) return;
  if (OverControl(x, y)) return;
  int width = 0, height = 0;
  GetScreenSize(width, height);
  if (wheelDelta != 0 && width > 0 && height > 0) {
    const float least = std::min(static_cast<float>(width) / kSeaBattleGridWidth,
                                 static_cast<float>(height) / kSeaBattleGridHeight);
    targetZoom_ = std::clamp(targetZoom_ + static_cast<float>(wheelDelta) / kWheelPerZoom, least, 1.0f);
  }
  const bool canPick = !AutomaticPlay() && battle_.roundsLeft > 0;
  if (rightPressed) {
    selectedCell_ = nullptr;
    previousCell_ = nullptr;
    pickMode_ = 0;
    if (canPick) {
      Enable(kSeaBattleRetreatId, false);
      grid_.ClearMarks(kCellSelectionMarks);
    }
  }
  if (!leftPressed || !canPick) return;
  int column = -1, row = -1;
  if (!cSeaBattleGrid::PickCell(x, y, width, height, zoom_, scrollX_, scrollY_, column, row)) return;
  LeftClick(column, row);
}

void cSeaBattleMenu::LeftClick(int column, int row) {
  previousCell_ = selectedCell_;
  selectedCell_ = &grid_.Cell(column, row);
  sSeaBattleCell& cell = *selectedCell_;
  if (cell.ship == nullptr) {
    sSeaBattleCell* from = previousCell_;
    if (pickMode_ == 1 && from != nullptr && from->ship != nullptr && !HasMoved(*from->ship) &&
        SeaBattleHalf(from->hex.x) != -1 && SeaBattleHalf(from->hex.x) == SeaBattleHalf(cell.hex.x) &&
        (cell.hex.markBits & kCellMoveTo) != 0) {
      MoveShip(*from, cell);
    }
    return;
  }
  const int half = SeaBattleHalf(cell.hex.x);
  const bool acting = (half == 0) == battle_.firstSideActs;
  if (acting) {
    cJednostkaMorska& ship = *cell.ship;
    const cCountry* country = world_.GetCountry(ship.countryId);
    const bool human = country != nullptr && country->human;
    Enable(kSeaBattleRetreatId, human && !HasMoved(ship));
    if (!human) {
      // The computer's ships are not the player's to command.
      selectedCell_ = previousCell_;
      return;
    }
    if (previousCell_ != nullptr) previousCell_->hex.markBits &= ~kCellPicked;
    grid_.ClearMarks(kCellPicked | kCellTarget);
    if (half == 0) {
      battle_.SelectFirstSideShip(ship.id);
    } else {
      battle_.SelectSecondSideShip(ship.id);
    }
    cell.hex.markBits |= kCellPicked;
    pickMode_ = 1;
    MarkMoveCells(ship);
    return;
  }
  Enable(kSeaBattleRetreatId, false);
  ClickTarget(cell);
}

void cSeaBattleMenu::MoveShip(sSeaBattleCell& from, sSeaBattleCell& to) {
  cJednostkaMorska& ship = *from.ship;
  grid_.ClearMarks(kCellPicked);
  to.ship = &ship;
  from.ship = nullptr;
  battle_.SetGridColumn(ship.id, to.hex.x);
  moved_.insert(ship.id);
  pickMode_ = 0;
  MarkMoveCells(ship);
  if (SeaBattleHalf(to.hex.x) == 0) {
    battle_.SelectFirstSideShip(ship.id);
  } else {
    battle_.SelectSecondSideShip(ship.id);
  }
  Enable(kSeaBattleRetreatId, false);
}

void cSeaBattleMenu::ClickTarget(sSeaBattleCell& cell) {
  cJednostkaMorska& ship = *cell.ship;
  // Only the ship the player picked, and which the battle will fire with,
  // takes aim; a transport neither fires nor is aimed at while a transport
  // is the other side's selection.
  cJednostkaMorska* shooter = PickedShooter();
  if (!battle_.IsTargetable(ship) || shooter == nullptr || IsTransport(shooter)) return;
  const bool firstSide = SeaBattleHalf(cell.hex.x) == 0;
  auto select = [&] {
    if (firstSide) {
      battle_.SelectFirstSideShip(ship.id);
    } else {
      battle_.SelectSecondSideShip(ship.id);
    }
  };
  if (pickMode_ == 1) {
    const cJednostkaMorska* otherSelected = firstSide ? battle_.firstSideSelected : battle_.secondSideSelected;
    if (IsTransport(otherSelected)) return;
    select();
    grid_.ClearMarks(kCellMoveTo);
    cell.hex.markBits |= kCellTarget;
    pickMode_ = 2;
  } else if (pickMode_ == 2) {
    if ((cell.hex.markBits & kCellTarget) != 0) {
      grid_.ClearMarks(kCellSelectionMarks);
      ExecuteShot();
      pickMode_ = 0;
    } else {
      grid_.ClearMarks(kCellTarget);
      cell.hex.markBits |= kCellTarget;
      select();
    }
  }
}

void cSeaBattleMenu::OnFrameMove(double time, float elapsed) {
  if (battle_.autoEnd) {
    battle_.countdown -= elapsed;
    if (battle_.countdown >= 0.0f) {
      SetTimeoutText(plat::Format(std::wstring(L"%.1f"), static_cast<double>(battle_.countdown)).c_str());
    } else {
      Click(kSeaBattleShotId);
      if (battle_.roundsLeft <= 0) {
        battle_.autoEnd = false;
        SetTimeoutText(L"-");
      }
      battle_.PresetRoundTimer();
    }
  }
  if (battle_.nextRound) {
    battle_.countdown -= elapsed;
    if (battle_.countdown >= 0.0f) {
      SetTimeoutText(plat::Format(std::wstring(L"%.1f"), static_cast<double>(battle_.countdown)).c_str());
    } else {
      const int before = battle_.roundsLeft;
      Click(kSeaBattleShotId);
      if (battle_.roundsLeft != before) {
        battle_.nextRound = false;
        for (int id : {kSeaBattleNextTurnId, kSeaBattleShotId, kSeaBattleAutoEndId}) {
          Enable(id, battle_.roundsLeft > 0);
        }
        SetTimeoutText(L"-");
      }
      battle_.PresetRoundTimer();
    }
  }

  int width = 0, height = 0;
  GetScreenSize(width, height);
  const bool inside = mouseX_ >= 0 && mouseY_ >= 0 && mouseX_ < width && mouseY_ < height;
  if (inside && !OverControl(mouseX_, mouseY_)) {
    const sLayoutRect& edges = g_GuiLayout[kSeaBattleScrollEdgesId];
    const float step = kScrollSpeed * elapsed;
    float tx = static_cast<float>(scrollTargetX_), ty = static_cast<float>(scrollTargetY_);
    if (mouseX_ <= edges.a || (scrollKeys_ & 1u) != 0) tx -= step / zoom_;
    if (mouseX_ >= edges.c || (scrollKeys_ & 4u) != 0) tx += step / zoom_;
    if (mouseY_ <= edges.b || (scrollKeys_ & 2u) != 0) ty -= step;
    if (mouseY_ >= edges.d || (scrollKeys_ & 8u) != 0) ty += step;
    tx = std::clamp(tx, 0.0f, static_cast<float>(scrollMaxX_));
    ty = std::clamp(ty, 0.0f, static_cast<float>(scrollMaxY_));
    SetScrollTarget(static_cast<int>(tx), static_cast<int>(ty), kScrollFactor);
  }
  UpdateView(elapsed);
  lastFrameTimeX_ = lastFrameTimeY_ = time;
}

void cSeaBattleMenu::SetScrollTarget(int x, int y, float factor) {
  scrollTargetX_ = std::max(std::min(x, scrollMaxX_), kScrollMin);
  scrollTargetY_ = std::max(std::min(y, scrollMaxY_), kScrollMin);
  scrollVelocityX_ = factor * static_cast<float>(scrollTargetX_ - scrollX_);
  scrollVelocityY_ = factor * static_cast<float>(scrollTargetY_ - scrollY_);
  if (std::fabs(scrollVelocityX_) < 0.1f) scrollVelocityX_ = scrollVelocityX_ < 0.0f ? -0.1f : 0.1f;
  if (std::fabs(scrollVelocityY_) < 0.1f) scrollVelocityY_ = scrollVelocityY_ < 0.0f ? -0.1f : 0.05f;
}

namespace {

// The position moved toward its target by velocity x elapsed (at least a
// pixel), stopping on the target.
int Approach(int position, int target, float velocity, float elapsed) {
  if (position == target) return position;
  const float moved = static_cast<float>(position) + velocity * elapsed;
  const bool passed = target > position ? moved >= static_cast<float>(target) : moved <= static_cast<float>(target);
  const bool wrongWay = (target > position) != (velocity > 0.0f);
  if (passed) return target;
  if (wrongWay) return position;
  // A step under a pixel still moves one: cut to a whole pixel it would
  // leave the position short of its target for good.
  const int next = static_cast<int>(moved);
  if (next == position) return target > position ? position + 1 : position - 1;
  return next;
}

}  // namespace

void cSeaBattleMenu::UpdateView(float elapsed) {
  if (zoom_ != targetZoom_) {
    const float step = elapsed * kZoomSpeed;
    zoom_ = targetZoom_ > zoom_ ? std::min(targetZoom_, zoom_ + step) : std::max(targetZoom_, zoom_ - step);
    zoomMatrix_ = plat::Matrix2D::Scaling(zoom_, zoom_);
  }
  scrollX_ = Approach(scrollX_, scrollTargetX_, scrollVelocityX_, elapsed);
  scrollY_ = Approach(scrollY_, scrollTargetY_, scrollVelocityY_, elapsed);
}

void cSeaBattleMenu::OnRender(float elapsed) {
  if (!dialog_.GetVisible()) return;
  if (plat::Renderer* renderer = plat::GetFramework().GetRenderer()) renderer->Clear(kOpenSea);
  if (plat::SpriteBatch* sprite = g_pSprite) {
    int width = 0, height = 0;
    GetScreenSize(width, height);
    const plat::Matrix2D previous = sprite->GetTransform();
    sprite->SetTransform(zoomMatrix_);
    sprite->Begin();
    const float x0 = static_cast<float>(width) / (2.0f * zoom_) - static_cast<float>(scrollX_);
    const float y0 = static_cast<float>(height) / (2.0f * zoom_) - static_cast<float>(scrollY_);
    // The ships alone in the middle of their hexes, as the farthest band of
    // the naval counters draws them (the nearer bands leave room under a
    // counter for names, which the battle's hexes never show).
    sUnitAppearance* const mapLook = g_NavalAppearance.current;
    g_NavalAppearance.current = &FarthestUnitAppearance(g_NavalAppearance);
    for (const sSeaBattleCell& cell : grid_.Cells()) {
      float x = 0.0f, y = 0.0f;
      cSeaBattleGrid::CellOrigin(cell.hex.x, cell.hex.y, x, y);
      DrawHexTile(*sprite, cell.hex, {x0 + x, y0 + y, LayerDepth(kLayerUnits)}, battle_.firstSideActs, cell.ship);
    }
    g_NavalAppearance.current = mapLook;
    sprite->End();
    sprite->SetTransform(previous);
  }
  dialog_.OnRender(elapsed);
  // The crest under the title, over the frame.
  if (plat::SpriteBatch* sprite = g_pSprite; sprite != nullptr && crest_.Get() != nullptr) {
    const plat::RectI title = DXUTLayoutRect(kSeaBattleTitleId);  // {x, y, width, height}
    const float x = static_cast<float>(title.left + (title.right - kCrestWidth) / 2);
    const float y = static_cast<float>(title.top + title.bottom + kCrestGap);
    sprite->Begin();
    sprite->Draw(*crest_.Get(), nullptr, x, y, 0.0f, 0xFFFFFFFFu);
    sprite->End();
  }
}

void OpenSeaBattleScreen(cWorld& world, cSeaBattle& battle) { (new cSeaBattleMenu(world, battle))->ApplyAutoEnd(); }
