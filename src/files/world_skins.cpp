#include "files/world_skins.h"

#include "app/skins.h"
#include "files/eye_candies_file.h"
#include "platform/format.h"
#include "world/world.h"

void LoadWorldMapSkin(cWorld& world, std::wstring_view name) {
  // The decorations of the scenario are placed for this skin's picture (none
  // without one).
  LoadMapSkin(name, [&world](bool hasPicture) {
    LoadMapEyeCandies(world.GetMap(), hasPicture, plat::Format(L"data\\scenarios\\%s", world.scenarioName));
  });
}

void LoadWorldUnitsSkin(cWorld& world, std::wstring_view name) {
  LoadUnitsSkin(name);
  // Every country takes its unit sheet from the new skin.
  world.LoadCountryUnitSkins(name);
}
