#include "app/gui_sound.h"

#include "app/music_player.h"
#include "app/settings.h"
#include "app/sound.h"

int GuiEventSoundSlot(unsigned code) {
  switch (code) {
    case 0x0101: return SND_BUTTON_CLICK;          // button clicked
    case 0x0201: return SND_COMBOBOX_CHANGED;      // combo box selection changed
    case 0x0301: return SND_RADIOBUTTON_CHANGED;   // radio button changed
    case 0x0401: return SND_CHECKBOX_CHANGED;      // check box changed
    case 0x0501: return SND_SLIDER_CHANGED;        // slider value changed
    case 0x0601: return SND_EDITBOX_STRING;        // edit box string entered
    case 0x0602: return SND_EDITBOX_CHANGED;       // edit box changed
    case 0x0701: return SND_LISTBOX_DOUBLE_CLICK;  // list box item double-clicked
    case 0x0702: return SND_LISTBOX_SELECTION;     // list box selection
    default: return -1;
  }
}

void PlayGuiEventSound(unsigned code, int /*id*/, CDXUTControl* control) {
  if (!control) return;
  int slot = GuiEventSoundSlot(code);
  if (slot < 0 || !g_Sounds[slot]) return;
  // Unlike the game's other effects this one is not stopped first, so quick
  // clicks overlap on the effect's voices.
  g_Sounds[slot]->Play(SoundVolumeFromFraction(g_Settings.SfxVolume));
}

void OnPauseChanged(bool paused) {
  if (!g_pMusicPlayer) return;
  g_pMusicPlayer->SetVolume(paused ? 0.0f : g_Settings.MusicVolume);
}
