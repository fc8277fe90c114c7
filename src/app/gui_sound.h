// The sound every GUI event makes, and the music's answer to the game being
// paused (window minimised, or focus lost in full screen).
#pragma once

class CDXUTControl;

// The effect slot of a GUI event code of the toolkit, or -1 when the code
// makes no sound.
int GuiEventSoundSlot(unsigned code);

// Plays the event's effect at the effects volume of the settings; nothing
// for a null control, a code without a sound or an empty slot.
void PlayGuiEventSound(unsigned code, int id, CDXUTControl* control);

// Mutes the music player of the game while paused and gives it the music
// volume of the settings again afterwards; nothing without a player.
void OnPauseChanged(bool paused);
