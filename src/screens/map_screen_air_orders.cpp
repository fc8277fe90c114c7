// The map screen's click that completes an air unit's order: the unit panel
// (or the selection of an own air unit, for a rebase) has set the order mode
// and marked the targets; a click on a marked hex gives the order through
// rules/air_orders.h, which checks it first, and shows its result.
#include "app/console_log.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "rules/air_orders.h"
#include "screens/map_screen.h"
#include "screens/screen_helpers.h"
#include "world/combat_result.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

// Every mark but the selection (bit 0), and also but the sea zone's (0x4000).

void LogRefusal(eAirOrderRefusal refusal) {
  if (const char* key = AirOrderRefusalKey(refusal)) LogLine(L"%s", g_StringBase.GetText(key));
}

}  // namespace

bool cMapScreen::ClickAirOrder(int mode, cJednostka* acting, int column, int row, bool marked) {
  if (mode < kModeBombardment || mode > kModeRebase) return false;
  // A bombardment ends with any click; the other orders only with a click on
  // a target (any other click is read as a new selection).
  if (mode != kModeBombardment && !marked) return false;
  auto* air = dynamic_cast<cJednostkaLotnicza*>(acting);
  cMap& map = world_.GetMap();
  map.ClearHexMarks(mode == kModeBombardment || mode == kModeRecon ? kOrderMarksKeepZone : kOrderMarks, true);
  if (air == nullptr || !marked) {
    RefreshSelection();
    return true;
  }
  sBombardmentResult result;
  eAirOrderRefusal refusal = eAirOrderRefusal::kNone;
  switch (mode) {
    case kModeBombardment:
      LogLine(L"Player action: Air bombardment / %s on (%i, %i)", air->name, column, row);
      refusal = AirBombardment(world_, *air, column, row, result);
      break;
    case kModeAirFight:
      LogLine(L"Player action: Air fight / %s on (%i, %i)", air->name, column, row);
      refusal = AirFight(world_, *air, column, row, result);
      break;
    case kModeNuclear:
      LogLine(L"Player action: Nuclear bombardment / %s on (%i, %i)", air->name, column, row);
      refusal = NuclearStrike(world_, *air, column, row, result);
      break;
    case kModeRecon:
      LogLine(L"Player action: Air recon / %s on (%i, %i)", air->name, column, row);
      refusal = AirRecon(world_, *air, column, row, result);
      break;
    default:
      LogLine(L"Player action: Rebase / %s from (%i, %i) to (%i, %i)", air->name, air->x, air->y, column, row);
      refusal = Rebase(world_, *air, column, row);
      break;
  }
  LogRefusal(refusal);
  // A reconnaissance is reported as a fight is: what it found, or that it
  // found nothing, or the interceptor that turned it back.
  if (refusal == eAirOrderRefusal::kNone && mode != kModeRebase) ShowCombatResult(result);
  RefreshSelection();
  return true;
}
