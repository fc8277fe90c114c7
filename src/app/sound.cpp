#include "app/sound.h"

#include <cstdlib>
#include <string>

#include "app/fatal_exit.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"

const sSoundEffectInfo g_SoundEffects[SND_EFFECT_COUNT] = {
    {"AirStrike", 1},          {"AirToAirCombat", 1},     {"ButtonClick", 3},
    {"CheckboxChanged", 3},    {"ComboboxChanged", 1},    {"EditboxChanged", 5},
    {"EditboxString", 1},      {"InfantryMarching", 1},   {"IntroSoundGameLogo", 1},
    {"IntroSoundLogo", 1},     {"ItemClick", 3},          {"LandCombat", 3},
    {"ListboxDoubleClick", 3}, {"ListboxSelection", 3},   {"MainMenuMusicLoop", 1},
    {"NuclearAttack", 1},      {"PlaneFlying", 1},        {"RadiobuttonChanged", 3},
    {"Scrolling", 1},          {"ShoreBombardment", 1},   {"SliderChanged", 1},
    {"StrategicBombardment", 1}, {"TankRolling", 1},      {"TruckDriving", 1},
    {"drum_roll", 1},          {"NavalGun", 1},           {"AirRecon", 1},
    {"StrategicDeployLand", 1}, {"Paradrop", 1},          {"Invasion", 1},
    {"Buying", 1},
};

std::unique_ptr<plat::Sound> g_Sounds[kSoundSlotCount];

namespace {

plat::AudioDevice* g_audioDevice = nullptr;

}  // namespace

void SetAudioDevice(plat::AudioDevice* device) { g_audioDevice = device; }
plat::AudioDevice* GetAudioDevice() { return g_audioDevice; }

void InitSound() {
  for (auto& slot : g_Sounds) {
    if (slot) slot->Stop();
    slot.reset();
  }

  plat::AudioDevice* device = g_audioDevice;
  if (!device || !device->Initialize()) {
    LogLine(g_StringBase.GetText("error_initializing_directsound._exiting."));
    FatalExit(1);
    return;
  }
  if (!device->SetPrimaryFormat(1, 22050, 8)) {
    LogLine(g_StringBase.GetText("error_while_setting_primary_buffer_for_sound._exiting."));
    FatalExit(1);
    return;
  }

  for (int i = 0; i < SND_EFFECT_COUNT; ++i) {
    const sSoundEffectInfo& info = g_SoundEffects[i];
    std::string path = plat::ResolvePath(std::string("data\\sound\\") + info.name + ".wav");
    g_Sounds[i] = device->LoadSound(path, info.voices);
    if (!g_Sounds[i]) {
      LogLine(L"Error while loading %hs.wav!", info.name);
    }
  }
}

long SoundVolumeFromFraction(float volume) {
  return static_cast<long>(volume * 10000.0f - 10000.0f);
}

void PlaySoundEffect(int slot, bool looping) {
  if (slot < 0 || slot >= kSoundSlotCount || !g_Sounds[slot]) return;
  g_Sounds[slot]->Stop();
  const long volume = SoundVolumeFromFraction(g_Settings.SfxVolume);
  if (looping) {
    g_Sounds[slot]->PlayLooping(volume);
  } else {
    g_Sounds[slot]->Play(volume);
  }
}
