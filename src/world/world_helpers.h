#pragma once
// What the model's source files share: texts from the language base and
// the hints of orders written from them, a country's name by its id, the
// alliance groups, a city's supply value by country, the map's sea-zone
// mark and the white, text styles and low-supply mark of the counters.

#include <cstdint>
#include <string>

#include "app/string_base.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
// The mark of the hexes of a chosen sea zone.
constexpr std::uint32_t kMarkSeaZone = 0x4000;
// Text styles 1..3 of a counter's table, by box.
constexpr int kStyleName = 0;
constexpr int kStyleActionPoints = 1;
constexpr int kStyleStrength = 2;
// A unit whose supply level is below this shows the low-supply marker.
constexpr int kLowSupply = 10;

inline std::wstring Text(const char* key) {
  const wchar_t* text = g_StringBase.GetText(key);
  return text != nullptr ? text : L"";
}

// Writes the key's text, formatted with the values, into the hint when one
// is asked for; returns the answer.
template <class... A>
bool Answer(std::wstring* hint, bool answer, const char* key, const A&... values) {
  if (hint) {
    if constexpr (sizeof...(A) == 0) {
      *hint = g_StringBase.GetText(key);
    } else {
      *hint = plat::Format(g_StringBase.GetText(key), values...);
    }
  }
  return answer;
}

inline const wchar_t* CountryName(const cWorld& world, int id) {
  const cCountry* country = world.GetCountry(id);
  return country ? country->name.c_str() : L"";
}

// 1 Allies, 2 Axis, 3 Comintern; 0 for neutral and for any unknown code.
inline int GroupOf(int alliance) { return alliance >= 1 && alliance <= 6 ? (alliance - 1) % 3 + 1 : 0; }

// The per-country working supply value of a city, by country id (index
// id - 1); a country without an entry gets 0.
inline int CitySupplyFor(const cCity& city, int countryId) {
  const int index = countryId - 1;
  if (index < 0 || index >= static_cast<int>(city.supplyInfo.size())) return 0;
  return city.supplyInfo[static_cast<std::size_t>(index)];
}
