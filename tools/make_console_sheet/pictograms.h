// The pictograms the console sheet's icons and its hover boxes share: each
// draws in c within a 120-unit cell; bg is the colour under it, used to cut
// holes.
#pragma once

#include "common/draw.h"

namespace console_sheet {

using IconFn = void (*)(tooldraw::Canvas&, tooldraw::Col c, tooldraw::Col bg);

void IconAnchor(tooldraw::Canvas& k, tooldraw::Col c, tooldraw::Col bg);
void IconFlag(tooldraw::Canvas& k, tooldraw::Col c, tooldraw::Col bg);

// The pictogram size pixels square at (x, y) of the sheet, smoothed, with a
// soft shadow when asked.
void Pictogram(tooldraw::Canvas& s, IconFn fn, int x, int y, int size, tooldraw::Col ink, tooldraw::Col bg,
               bool shadow);

}  // namespace console_sheet
