// The sounds of the air war. Either thread may resolve an air order; the
// sound is played by the main thread in its next frame move.
#pragma once

// Plays a sound effect (an SND_ slot) through the world's view.
void PlayAirSound(int effect);
