// The sound effects: 100 slots of which the first 31 hold the game's wave
// effects, loaded once at start-up by InitSound. The audio device comes from
// SetAudioDevice (the window layer installs the SDL one; tests a fake).
#pragma once

#include <memory>

#include "platform/audio.h"

constexpr int kSoundSlotCount = 100;

enum eSoundEffect {
  SND_AIR_STRIKE = 0,
  SND_AIR_TO_AIR_COMBAT,
  SND_BUTTON_CLICK,
  SND_CHECKBOX_CHANGED,
  SND_COMBOBOX_CHANGED,
  SND_EDITBOX_CHANGED,
  SND_EDITBOX_STRING,
  SND_INFANTRY_MARCHING,
  SND_INTRO_SOUND_GAME_LOGO,
  SND_INTRO_SOUND_LOGO,
  SND_ITEM_CLICK,
  SND_LAND_COMBAT,
  SND_LISTBOX_DOUBLE_CLICK,
  SND_LISTBOX_SELECTION,
  SND_MAIN_MENU_MUSIC_LOOP,
  SND_NUCLEAR_ATTACK,
  SND_PLANE_FLYING,
  SND_RADIOBUTTON_CHANGED,
  SND_SCROLLING,
  SND_SHORE_BOMBARDMENT,
  SND_SLIDER_CHANGED,
  SND_STRATEGIC_BOMBARDMENT,
  SND_TANK_ROLLING,
  SND_TRUCK_DRIVING,
  SND_DRUM_ROLL,
  SND_NAVAL_GUN,
  SND_AIR_RECON,
  SND_STRATEGIC_DEPLOY_LAND,
  SND_PARADROP,
  SND_INVASION,
  SND_BUYING,
  SND_EFFECT_COUNT
};

struct sSoundEffectInfo {
  const char* name;  // file "data\sound\<name>.wav"
  int voices;        // how many times it may sound at once
};

extern const sSoundEffectInfo g_SoundEffects[SND_EFFECT_COUNT];

// The slots; empty where nothing is loaded.
extern std::unique_ptr<plat::Sound> g_Sounds[kSoundSlotCount];

// The device the effects and the music use; null when none is installed.
// The caller keeps it alive while installed.
void SetAudioDevice(plat::AudioDevice* device);
plat::AudioDevice* GetAudioDevice();

// Empties every slot, starts the sound system (logs its failure and ends the
// process with code 1) and loads the effects; an effect that fails to load
// is logged and its slot stays empty.
void InitSound();

// An effects volume 0..1 in hundredths of a decibel: trunc(v * 10000 - 10000).
long SoundVolumeFromFraction(float volume);

// Plays the effect of a slot as the game's callers do: stops and rewinds it,
// then plays it at the effects volume of the settings. An empty slot or a
// slot out of range plays nothing.
void PlaySoundEffect(int slot, bool looping = false);
