// The backgrounds of the sea nodes' hover box in the console sheet: three of
// one size stacked, the port of an ally, another port and a sea zone. The
// game writes the node's name into the title strip and the ship counts,
// each with "%i", into the cells the layout gives (tools/make_layout, entries
// 15 to 56); the art under them names what the cells count: a ship's
// silhouette over each column (the naval types 40 to 45 in order), a mark
// before each row (own ships, allied ones, spotted enemies) and, in a port's
// box, a harbour crane before the place of the port's size "current/maximum".
#pragma once

#include "common/draw.h"

namespace console_sheet {

// The box, and where its parts lie within it; the layout's entries 15 to 56
// put the texts in the same places.
struct sSeaNodeBox {
  static constexpr int kWidth = 272, kHeight = 118;
  static constexpr int kTitleStrip = 22;                   // the title's band at the top
  static constexpr int kColumnsLeft = 38, kColumnWidth = 38;  // six columns, naval types 40..45
  static constexpr int kShipsTop = 24, kShipsBottom = 45;  // the silhouettes' band over the columns
  static constexpr int kRowsTop = 46;
  static constexpr int kRowHeight = 22;      // a sea zone's and an allied port's rows
  static constexpr int kLoneRowHeight = 24;  // the one row of another port
  static constexpr int kFooterTop = 92;      // a port's size line, to the bottom border
};

// Draws the three backgrounds one under another from (ox, oy).
void DrawSeaNodeBackgrounds(tooldraw::Canvas& sheet, int ox, int oy);

}  // namespace console_sheet
