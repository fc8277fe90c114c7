// The event pictures that are scenes rather than maps, in the manner of
// period posters: flat silhouettes against graded skies.
#pragma once

#include "make_event_pictures/picture_frame.h"

namespace evpic {

// A treaty on a desk: the text, two signatures and seals, pen and inkwell.
void TreatyScene(Canvas& k, const Fonts& fonts, const std::string& heading);
// Ski troops in a snowbound pine forest; in the storm a frozen tank stands
// in driving snow instead.
void WinterScene(Canvas& k, bool storm);
// A harbour under fire (battleships and shell splashes) or a convoy at sea
// with its escort.
void SeaScene(Canvas& k, bool battle);
// London at night: searchlights, bombers, fires and the skyline.
void BlitzScene(Canvas& k);
// Paris at dusk: the tower, the roofs and the lowered tricolour.
void ParisScene(Canvas& k);
// Tanks in the desert with dunes, palms and dust.
void DesertScene(Canvas& k);
// A train of flat wagons carrying machines away from smoking factories; at
// the station, a saloon carriage at a border platform with its sign.
void TrainScene(Canvas& k, const Fonts& fonts, bool station);
// Westminster at dawn above the river, and the microphone of a broadcast.
void WestminsterScene(Canvas& k);

}  // namespace evpic
