// The map screen: while a game runs and no menu is current, the framework's
// keyboard, mouse and frame-move callbacks are the map screen's and the
// frame render draws its scene (the map, two black areas and the panels).
// The map scrolls with the arrow keys, at the screen edges and by dragging,
// and zooms with the wheel, the numpad keys and the minimap's icons.
//
// One object per loaded game: it owns the panels and is the world's view
// (world/world_view.h), made by the loading and freed with the world. Keys
// and clicks that select or give orders act only in the human turn (phase
// 7); while the computer players move only scrolling, zooming, the display
// keys and the panels' own controls act.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <memory>
#include <string_view>

#include "dialogs/units_manager_rows.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/messages.h"
#include "platform/screen_serial.h"
#include "rules/moving_unit_step.h"
#include "rules/sea_battle.h"
#include "world/event_records.h"
#include "world/world_view.h"

class CDXUTControl;
class cJednostka;
class cHexPanel;
class cInfoPanel;
class cMap;
class cMinimapPanel;
class cPanel;
class cWorld;
struct sHex;

class cMapScreen final : public cWorldView, public cSeaBattleView {
 public:
  // The six panels.
  enum ePanel : int { kInfo, kUnit, kAttack, kDiplomacy, kHex, kMinimap, kPanelCount };
  using Panels = std::array<cPanel*, kPanelCount>;

  // Makes the six panels: unit, attack, diplomacy and hex start minimised,
  // the information bar and the minimap are shown. Stops the
  // main menu's music loop and installs the map's hooks (land units drawn
  // on their hexes, the minimap's picture rectangle, the click on an empty
  // hex), the panel mover of the controls' drag and the dialog stack's
  // closed hook, which tells the world's DialogCloses().
  explicit cMapScreen(cWorld& world);
  // The same with the given panels (owned from here; null where missing).
  cMapScreen(cWorld& world, const Panels& panels);
  // Deletes every panel and takes its hooks back.
  ~cMapScreen() override;
  cMapScreen(const cMapScreen&) = delete;
  cMapScreen& operator=(const cMapScreen&) = delete;

  // The world's view.
  void RefreshCounters() override;
  void ShowStatusText(std::wstring_view text) override;
  void RefreshSelection() override;
  void RefreshDateLine() override;
  void RefreshMinimapOwnership() override;
  void EnterComputerPhase() override;
  void LeaveComputerPhase() override;
  void FollowHex(int x, int y) override;
  void GlideToCountryView(const cCountry& country) override;
  void GreetHumanTurn(int countryId) override;
  void ShowMessage(std::wstring_view text, std::wstring_view title) override;
  bool ShowComputerCombatResult(const struct sBombardmentResult& result, float displayMs) override;
  bool ComputerCombatResultOpen() const override;
  bool ShowConvoyResults(int countryId) override;
  bool ConvoyResultsOpen() const override;
  // The event dialog over the map (screens/map_screen_events.cpp).
  bool ShowEventDialog(const sEvent& event) override;
  bool EventDialogOpen() const override;
  // The sea-battle step's: the sea-battle screen.
  void ShowSeaBattle(cSeaBattle& battle) override;
  bool IsMessageOpen() const override;

  // Start of play, from the loading screen to the map screen: the pause
  // wallpaper, what the first human country sees, fonts, the minimap's
  // layer, music, the map screen's callbacks, and whose turn it is.
  void StartGame();
  // Menu over the map (phase 2, menu input, no timed map update) and back
  // to the map screen (map input and the in-game frame move, phase 7).
  void EnterMenuState();
  void EnterMapState();

  // The scene step of the frame render: map, the black areas of the
  // minimap frame and the flag, then the panels (minimap, hex, unit,
  // attack, diplomacy, information).
  void Render(float elapsed);
  void OnKeyboard(unsigned key, bool keyDown, bool altDown);
  // Whether the key press is the hotkey of a dialog on the dialog stack in
  // the human turn: the key is the map screen's then, not the open
  // dialogs', and closes that dialog.
  bool ClosesOpenDialog(unsigned key, bool keyDown) const;
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x, int y);
  // A dialog came over the map while its button was down: the press is
  // over without a click (its release is the dialog's); a drag of the map
  // still ends at its release.
  void DropMousePress();
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control);
  // The in-game frame move: what the worker asked of the main thread, edge
  // and arrow-key scrolling, then the view's zoom, drag and glide.
  void OnFrameMove(double time, float elapsed);
  // A window message offered to the panels in the order diplomacy, hex,
  // unit, attack, minimap, information; true when one took it. Key messages
  // are not offered: the keys are the map screen's.
  bool OfferMessageToPanels(const plat::Message& message);
  // The mouse is on something above the panels (an open dialog): no panel
  // keeps a control under the mouse or shows its hint.
  void ForgetPanelMouseOver();
  // The panel event of a control of the unit, hex, attack or diplomacy
  // panel: every existing one of them gets it, in that order.
  void OnPanelEvent(unsigned event, int controlId, CDXUTControl* control);

  // Null while the panel does not exist.
  cPanel* Panel(ePanel which) const { return panels_[which]; }
  cInfoPanel* InfoPanel() const;
  cHexPanel* HexPanel() const;
  cMinimapPanel* MinimapPanel() const;

  // A text for the status line that stays in place of the idle hint until
  // the next click on the map or the next pending order (a panel's order
  // tells the player its outcome so).
  void ShowStatusNotice(std::wstring_view text);

  // Arrow keys held: bit 0 left, 1 up, 2 right, 3 down.
  std::uint32_t ScrollKeys() const { return scroll_keys_; }

  // This screen's identity for the input routing (frame/input_routing.cpp),
  // never given to another.
  plat::ScreenSerial Serial() const { return serial_; }

 private:
  const plat::ScreenSerial serial_ = plat::NewScreenSerial();

  // The serial of the message ShowMessage put up last; only looked for on
  // the dialog stack (the dialog frees itself when it closes).
  plat::ScreenSerial last_message_ = plat::kNoScreen;

  // What a click on the map did to the pending order: it ends (the order
  // mode goes back to 0) or it stays (the next click completes it).
  enum class eClick { kEnds, kStays };

  struct sMouseState {
    int x = -1, y = -1;
    bool leftDown = false;
    bool pressOnMap = false;
    int pressX = 0, pressY = 0;
  };

  bool IsOverPanel() const;
  // Remembers the hex under the mouse (null: none). A new hex anchors the
  // hint display to the hover box of the hex's sea node, which then follows
  // the mouse, or to nothing when the hex carries no node.
  void HoverHex(sHex* hex);
  void SelectNextUnit();
  // A left click on the hex in the human turn: the player's order
  // (screens/map_screen_orders.cpp).
  void OnMapClick(int column, int row);
  eClick ClickAssaultPlan(cJednostka* clicked, int column, int row);
  // The convoys dialog of the current country: opened in the human turn,
  // closed with every dialog above it when it is in sight, brought back
  // when a pick of ports left it hidden (screens/map_screen_convoys.cpp).
  void ToggleConvoysDialog();
  // Opens the purchases dialog of the current country in the human turn,
  // or closes it when it is open (screens/map_screen_purchases.cpp).
  void TogglePurchasesDialog();
  // The reports and statistics dialog: closed with every dialog above it
  // when open, else opened in the human turn (screens/map_screen_reports.cpp).
  void ToggleReportsDialog();
  // The click that picks a new convoy's departure (mode 14) or destination
  // port (mode 15) while the convoys dialog waits hidden; false when no
  // such pick is pending.
  bool ClickConvoyPort(int mode, const sHex& hex, bool marked);
  // The units manager and the research dialog of the current country:
  // opened in the human turn, closed with every dialog above it when in
  // sight; a units manager a deploy left hidden comes back
  // (screens/map_screen_units_manager.cpp).
  void ToggleUnitsManager();
  void ToggleResearchDialog();
  // The click that deploys the units manager's reserve unit (modes 1 to 3)
  // on a marked hex; false when no deploy is pending.
  bool ClickDeploy(int mode, int column, int row, bool marked);
  // The click that completes an air unit's order (modes 8 to 12: bombardment,
  // air fight, nuclear strike, reconnaissance, rebase) on the clicked hex;
  // false for any other mode.
  bool ClickAirOrder(int mode, cJednostka* acting, int column, int row, bool marked);
  // The click that completes an airborne assault (mode 6) or the unloading
  // of the ship selected in the fleets dialog (mode 16)
  // (screens/map_screen_landings.cpp); false when the click is not one of them.
  bool ClickLandingOrder(int mode, cJednostka* acting, int column, int row, bool marked);
  // The click that completes a pick of the fleets dialog (modes 8, 11, 13
  // and 17 while that dialog is the active one): the order on the hex, then
  // the dialog's OnReactivate (screens/map_screen_fleet_orders.cpp); false when no
  // such pick is pending.
  bool ClickFleetOrder(int mode, int column, int row, bool marked);
  // Opens the fleets dialog of the selected hex's node (a water hex's sea
  // zone, a port city's port) when the current country has fleets there, no
  // dialog is open and the mode is not the bombardment pick.
  void OpenFleetsDialogAt(int column, int row, int mode);
  void ShowAttackPanel();
  // The combat report for the "Delay/HumanCombatResult" time; none when
  // that is 0. True when the report was shown.
  bool ShowCombatResult(const struct sBombardmentResult& result);
  void UpdateStatusBarHint();
  void ClickInfoBarButton(int id);
  void MovePanel(int layoutId, int dx, int dy);
  void InstallHooks();

  cWorld& world_;
  Panels panels_{};
  // The last combat report shown for a computer player (may be closed and
  // freed: only compared with the dialog stack's entries).
  const void* computer_report_ = nullptr;
  sMouseState mouse_;
  double last_scroll_time_ = -1.0;
  // Whether the last frame scrolled by the edges or the arrow keys.
  bool edge_scrolling_ = false;
  // The order mode whose hint the status line shows (-1: none yet).
  int hint_mode_ = -1;
  std::uint32_t scroll_keys_ = 0;
  sHex* hovered_hex_ = nullptr;
  cSeaNodeHoverBox hover_box_;
  // The timed steps of a unit moving across the map.
  cMovingUnitClock moving_clock_;
  // Esc pressed while a human unit was moving: the pause menu opens when the
  // move has ended.
  bool pause_after_move_ = false;
  // The status line's notice (ShowStatusNotice); empty when the hint shows.
  std::wstring status_notice_;
  // The units manager's filters, list mode and pick, kept between openings.
  sUnitsManagerView units_view_;
  // The events the event dialogs show, each with its dialog (only compared
  // with the dialog stack's entries): a copy lives until its dialog has
  // left the stack.
  struct sShownEvent {
    plat::ScreenSerial dialog = plat::kNoScreen;
    sEvent event;
  };
  std::list<sShownEvent> shown_events_;
};

// The loaded game's map screen, or null.
cMapScreen* LoadedMapScreen();
// The loading's maker of a world's view.
std::unique_ptr<cWorldView> MakeMapScreen(cWorld& world);

// The framework's callbacks on the map screen: the visible active dialog
// first, else the loaded game's map screen.
void WorldOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
void WorldOnKeyboardThunk(unsigned key, bool keyDown, bool altDown);
void WorldOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y);
void WorldOnFrameMoveThunk(double time, float elapsed);

// The hex under a screen point (back buffer of screenWidth x screenHeight)
// with the map's view; false when it lies off the grid.
bool PickHexAtScreen(const cMap& map, int x, int y, int screenWidth, int screenHeight, int& column, int& row);
