#include "world/country.h"

#include "app/settings.h"
#include "app/texture.h"
#include "platform/format.h"
#include "platform/framework.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/world_view.h"
#include "world/cities.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

cTexture* g_pDefaultFlagTexture = nullptr;

// A sheet of unit counters keeps three mip levels where the device takes
// textures wider than 1024 pixels.
std::uint8_t UnitSheetMipLevels() {
  const plat::Renderer* renderer = plat::GetFramework().GetRenderer();
  return renderer != nullptr && renderer->MaxTextureWidth() >= 1025 ? 3 : 1;
}

// Loads an existing file into a new holder; null when the file is missing or
// cannot be loaded.
std::shared_ptr<cTexture> LoadImage(const std::wstring& fileName, std::uint8_t mipLevels) {
  if (!plat::FileExists(plat::ToUtf8(fileName))) return nullptr;
  auto texture = std::make_shared<cTexture>();
  if (texture->Load(fileName.c_str(), cTexture::kFromFile, mipLevels) < 0) return nullptr;
  return texture;
}

// The slot of a unit type's own name; -1 for a type without one.
int UnitTypeNameSlot(int unitType) {
  if (unitType >= 0 && unitType <= 6) return unitType;
  if (unitType >= 20 && unitType <= 22) return unitType - 13;
  if (unitType >= 40 && unitType <= 45) return unitType - 30;
  if (unitType == 60) return 16;
  return -1;
}

// The information bar shows the points of the current country.
void RefreshInformationPanel() {
  ChangeWorldView([](cWorldView& view) { view.RefreshCounters(); });
}

}  // namespace

void SetDefaultFlagTexture(cTexture* texture) { g_pDefaultFlagTexture = texture; }
cTexture* GetDefaultFlagTexture() { return g_pDefaultFlagTexture; }

cCountry::cCountry() = default;

cCountry::~cCountry() = default;

void cCountry::AddDiplomaticPoints(int value) {
  diplomaticPoints += value;
  RefreshInformationPanel();
}

void cCountry::AddProductionPoints(double value) {
  productionPoints += value;
  RefreshInformationPanel();
}

void cCountry::AddStrategicMovementPoints(int value) {
  strategicMovementPoints += value;
  RefreshInformationPanel();
}

void cCountry::AddSeaTransportPoints(int value) {
  seaTransportPoints += value;
  RefreshInformationPanel();
}

void cCountry::AddAmphibiousInvasionPoints(int value) {
  amphibiousInvasionPoints += value;
  RefreshInformationPanel();
}

void cCountry::AddSocialUnrest(float amount) {
  socialUnrest += amount;
  if (socialUnrest < 0.0f) socialUnrest = 0.0f;
  if (socialUnrest > 100.0f) socialUnrest = 100.0f;
}

void cCountry::AddAmphibiousTransportAip(const cWorld& world) {
  const auto& cost = world.constants.amphibiousTransportCost;
  for (const cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->countryId != id || ship->type != kUnitAmphibiousShip || ship->carriedUnit == nullptr) continue;
    const int type = ship->carriedUnit->type;
    if (type >= 0 && type < static_cast<int>(cost.size())) {
      amphibiousInvasionPointsTotal += cost[static_cast<std::size_t>(type)];
    }
  }
}

int cCountry::GetTotalSeaTransportPoints(const cWorld& world) const {
  int total = seaTransportPoints + seaTransportPointsInConvoys;
  // The points bound in the country's loaded sea transports: the transport
  // cost of each carried unit's type.
  const auto& cost = world.constants.seaTransportCost;
  for (const cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->countryId != id || ship->type != kUnitCargoShip || ship->carriedUnit == nullptr) continue;
    const int type = ship->carriedUnit->type;
    if (type >= 0 && type < static_cast<int>(cost.size())) total += cost[static_cast<std::size_t>(type)];
  }
  return total;
}

const wchar_t* cCountry::GetUnitTypeName(int unitType) const {
  const int slot = UnitTypeNameSlot(unitType);
  if (slot < 0 || !unitTypeName[slot]) return nullptr;
  return unitTypeName[slot]->c_str();
}

void cCountry::SetUnitTypeName(int slot, std::wstring_view text) {
  if (slot < 0 || slot >= kUnitTypeNameSlots) return;
  unitTypeName[slot] = std::wstring(text);
}

void cCountry::SaveMapView(float x, float y, float zoom) {
  mapViewX = x;
  mapViewY = y;
  mapViewZoom = zoom;
}

void cCountry::GetMapView(float& x, float& y, float& zoom) const {
  x = mapViewX;
  y = mapViewY;
  zoom = mapViewZoom;
}

void cCountry::LoadUnitSkinTexture(std::wstring_view skinSet) {
  unitSkinTexture.reset();
  unitSkinTexture = LoadImage(
      plat::Format(L"data\\gfx\\[UnitsSkin]%s\\units_%s.png", std::wstring(skinSet), skinName),
      UnitSheetMipLevels());
}

void cCountry::LoadFlagTexture(std::wstring_view scenario) {
  flagTexture.reset();
  flagTexture = LoadImage(plat::Format(L"data\\scenarios\\%s\\Flags\\%s.png", std::wstring(scenario), name), 1);
  if (!flagTexture) flagTexture = LoadImage(plat::Format(L"data\\gfx\\Flags\\%s.png", name), 1);
}

void cCountry::SetNameWithDefaultSkin(std::wstring_view text) {
  name = text;
  skinName = text;
  LoadUnitSkinTexture(g_Settings.UnitsSkin);
}

void cCountry::SetSkinName(std::wstring_view text) {
  skinName = text;
  LoadUnitSkinTexture(g_Settings.UnitsSkin);
}

plat::Texture* cCountry::GetFlagTexture() const {
  if (flagTexture) return flagTexture->Get();
  return g_pDefaultFlagTexture != nullptr ? g_pDefaultFlagTexture->Get() : nullptr;
}

cCity* cCountry::FindMainCity(const cWorld& world) const {
  cCity* supply = nullptr;
  cCity* other = nullptr;
  for (cCity* city : world.Cities()) {
    if (city->GetControllerId() != id) continue;
    const bool isSupply = city->type == kCitySupply || city->type == kCitySupplyPort;
    const bool isOther = city->type == kCityNormal || city->type == kCityPort;
    if (!isSupply && !isOther) continue;
    cCity*& best = isSupply ? supply : other;
    if (best == nullptr || city->productionPoints > best->productionPoints) best = city;
  }
  return supply != nullptr ? supply : other;
}

bool cCountry::HasLostAllOwnCities(const cWorld& world) const {
  if (politicalStrength == -1 || !IsAtWarWithAnyone()) return false;
  for (const cCity* city : world.Cities()) {
    if (city->type < kCitySupply || city->type > kCityPort || city->victoryPoints < 1) continue;
    if (city->GetControllerId() == id && city->GetOwnerId() == id) return false;
  }
  return true;
}
