// The world object: the whole state of one loaded game. For now it holds the
// game phase and receives the map screen's drawing and input; the map, the
// countries and the units join it as they are built.
#pragma once

#include <atomic>
#include <memory>
#include <string_view>

#include "world/map.h"

class CDXUTControl;

class cWorld {
 public:
  cWorld();
  ~cWorld();
  cWorld(const cWorld&) = delete;
  cWorld& operator=(const cWorld&) = delete;

  // Stores the game phase and logs "---- Game state = %i".
  void SetGameState(int state);
  int GetGameState() const { return game_state_.load(); }

  // The map screen: map, units and panels.
  void RenderMapScreen(float elapsed);
  void OnKeyboard(unsigned key, bool keyDown, bool altDown);
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta, int x,
               int y);
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control);

  // Until the map screen is built the world only counts the map-screen calls
  // it receives, which shows where the frame sends its drawing and input.
  struct sMapScreenCalls {
    int renders = 0;
    int keys = 0;
    int mouse = 0;
    int guiEvents = 0;
  };
  const sMapScreenCalls& MapScreenCalls() const { return map_screen_calls_; }

  // The hex map; empty until LoadMap reads "map.tdw" through the folder's
  // path pattern (a fatal data error ends the process there).
  cMap& GetMap() { return *map_; }
  const cMap& GetMap() const { return *map_; }
  void LoadMap(std::wstring_view pathPattern);

  // Until the countries and the sea graph are built: no countries, and no
  // sea-zone id names a sea-graph node.
  int GetCountryCount() const { return 0; }
  eSeaNodeKind GetSeaNodeKind(int /*seaZone*/) const { return eSeaNodeKind::kNone; }

 private:
  std::unique_ptr<cMap> map_;
  // Shared by the main thread and the worker thread.
  std::atomic<int> game_state_{0};
  sMapScreenCalls map_screen_calls_;
};

// The loaded game; null when none is loaded.
extern cWorld* g_pWorld;
