// What an event script needs to know of its scenario, read from the
// scenario's readable sources and written tables: country ids by their codes,
// city hexes by their names, sea node ids by their names, and the land and
// owners of September 1939 hex by hex (for the stripes of hexes that change
// hands).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace evscript {

struct Hex {
  int x = 0, y = 0;
};

// One vertical run of hexes (x, y0) .. (x, y0 + count - 1).
struct Stripe {
  int x = 0, y0 = 0, count = 0;
};

class ScenarioGeo {
 public:
  // Reads countries.txt, cities.txt, map.txt and units.txt of the source folder and
  // sea_nodes.csv of the written scenario folder; throws std::runtime_error
  // naming the file and line it could not use.
  ScenarioGeo(const std::filesystem::path& sources, const std::filesystem::path& scenario);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int CountryCount() const { return static_cast<int>(codes_.size()); }
  // The id of the country of a two-letter code ("DE" is 1); throws when unknown.
  int Country(const std::string& code) const;
  // The hex of a city by its name; throws when unknown.
  Hex City(const std::string& name) const;
  // The id of a sea zone or port by its name; throws when unknown.
  int SeaNode(const std::string& name) const;
  bool IsLand(int x, int y) const;
  // True when a land or air unit stands on the hex at the scenario's start
  // (units.txt): a unit an event puts there would not be made while it stays.
  bool OccupiedAtStart(int x, int y) const;
  // The country id that owned the hex on 1 September 1939 (0 for water).
  int OwnerIn1939(int x, int y) const;
  // The vertical runs of the land hexes that the country owned in 1939 and
  // that pass the test, column by column from the west.
  std::vector<Stripe> Region(const std::string& code, const std::function<bool(int, int)>& inside) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::string> codes_;  // by id - 1
  std::map<char, int> letters_;     // map letter -> country id
  std::map<std::string, Hex> cities_;
  std::map<std::string, int> seaNodes_;
  std::vector<std::string> terrain_, owner_;
  std::set<std::pair<int, int>> occupied_;
};

}  // namespace evscript
