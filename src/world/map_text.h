// A compact text description of a map, from which the map writer makes
// "map.tdw" (test fixtures, the sample scenario). Lines end in LF or CR LF;
// "#" starts a comment line; words are separated by blanks.
//
//   size W H                 first; every cell starts as water
//   terrain                  then H lines of W letters, one per cell:
//                            ~ water, p plain, f forest, r rough, s swamp,
//                            h hill, m mountain, d desert
//   owner | controller | original | seazone | variant
//                            then H lines of W whole numbers; "owner" also
//                            sets controller and original owner
//   coastal auto             every land cell beside water is coastal
//   coastal X Y 0|1
//   river X Y MASK           river sides of a cell (bit d = side d)
//   fort X Y LEVEL
//   extra X Y VALUE
//   weather X Y VALUE        current weather (0 good, 1 snow, 2 mud)
//   noweather X Y            weather rolls do not apply to the cell
//   mud|winter X1 Y1 X2 Y2 P1 .. P12
//                            monthly chances for columns X1..X2, rows
//                            Y1..Y2 (both inclusive)
#pragma once

#include <string>
#include <string_view>

class cMap;

// Fills map from the description. On an error returns false with a message
// naming the line; the map is then unspecified.
bool BuildMapFromText(std::string_view text, cMap& map, std::string& error);
