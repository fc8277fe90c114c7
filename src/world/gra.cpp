#include "world/gra.h"

#include "app/console_log.h"

cWorld* g_pWorld = nullptr;

cWorld::cWorld() : map_(std::make_unique<cMap>()) {}

cWorld::~cWorld() = default;

void cWorld::LoadMap(std::wstring_view pathPattern) { map_ = std::make_unique<cMap>(pathPattern); }

void cWorld::SetGameState(int state) {
  game_state_.store(state);
  LogLine(L"---- Game state = %i", state);
}

void cWorld::RenderMapScreen(float) { ++map_screen_calls_.renders; }

void cWorld::OnKeyboard(unsigned, bool, bool) { ++map_screen_calls_.keys; }

void cWorld::OnMouse(bool, bool, bool, bool, bool, int, int, int) { ++map_screen_calls_.mouse; }

void cWorld::OnGUIEvent(unsigned, int, CDXUTControl*) { ++map_screen_calls_.guiEvents; }
