// The air unit's counter on the map and in panels.
#include "world/jednostka_lotnicza.h"

void cJednostkaLotnicza::Draw(float, float, float, int) {}
void cJednostkaLotnicza::DrawInRect(const plat::RectI&) {}
