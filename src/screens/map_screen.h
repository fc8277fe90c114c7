// The map screen: while a game runs and no menu is current, the framework's
// keyboard, mouse and frame-move callbacks are the map screen's and the
// frame render draws its scene (the map, two black areas and the panels).
// The map scrolls with the arrow keys, at the screen edges and by dragging,
// and zooms with the wheel, the numpad keys and the minimap's icons.
#pragma once

#include <cstdint>

class CDXUTControl;
class cMap;
class cWorld;

// Creates the six panels' globals that exist so far (information, hex and
// minimap; unit, attack and diplomacy come with later work). The hex panel
// starts minimised; the information bar and the minimap are shown.
void CreateMapScreenPanels();
// Deletes every panel; their globals become null.
void DestroyMapScreenPanels();

// The scene step of the frame render: map, the black areas of the minimap
// frame and the flag, then the panels (minimap, hex, unit, attack,
// diplomacy, information).
void RenderMapScreenScene(cWorld& world, float elapsed);

// The map screen's handlers.
void MapScreenOnKeyboard(cWorld& world, unsigned key, bool keyDown, bool altDown);
void MapScreenOnMouse(cWorld& world, bool left, bool right, bool middle, bool side1, bool side2,
                      int wheelDelta, int x, int y);
void MapScreenOnGUIEvent(cWorld& world, unsigned event, int controlId, CDXUTControl* control);

// The in-game frame move: edge and arrow-key scrolling, then the view's
// zoom, drag and glide.
void OnInGameFrameMove(double time, float elapsed);

// Around the computer players' phase: refresh the bar and the date line,
// lock the bar and hide the four hideable panels (keeping their state; the
// dialogs are closed and phase 9 set); and give each its own state back
// (phase 7).
void MinimizePanelsForComputerPhase();
void RestorePanelsAfterComputerPhase();

// Arrow keys held: bit 0 left, 1 up, 2 right, 3 down.
extern std::uint32_t g_ScrollKeys;

// The hex under a screen point (back buffer of screenWidth x screenHeight)
// with the map's view; false when it lies off the grid.
bool PickHexAtScreen(const cMap& map, int x, int y, int screenWidth, int screenHeight, int& column, int& row);
