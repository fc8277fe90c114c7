#include "make_events/scenario_geo.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace evscript {

namespace {

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

[[noreturn]] void Refuse(const std::filesystem::path& path, std::size_t line, const std::string& why) {
  throw std::runtime_error(path.string() + ":" + std::to_string(line + 1) + ": " + why);
}

}  // namespace

ScenarioGeo::ScenarioGeo(const std::filesystem::path& sources, const std::filesystem::path& scenario) {
  const auto countries = sources / "countries.txt";
  const std::vector<std::string> countryLines = Lines(countries);
  for (std::size_t i = 0; i < countryLines.size(); ++i) {
    std::istringstream in(countryLines[i]);
    std::string word, letter, code;
    if (!(in >> word) || word != "country") continue;
    if (!(in >> letter >> code) || letter.size() != 1) Refuse(countries, i, "country line");
    codes_.push_back(code);
    letters_[letter[0]] = static_cast<int>(codes_.size());
  }

  const auto cities = sources / "cities.txt";
  const std::vector<std::string> cityLines = Lines(cities);
  for (std::size_t i = 0; i < cityLines.size(); ++i) {
    if (cityLines[i].empty() || cityLines[i][0] == '#') continue;
    std::istringstream in(cityLines[i]);
    std::string code, name;
    int x = 0, y = 0, type = 0, vp = 0, pp = 0;
    if (!(in >> code >> x >> y >> type >> vp >> pp)) Refuse(cities, i, "city line");
    std::getline(in >> std::ws, name);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    cities_[name] = Hex{x, y};
  }

  const auto map = sources / "map.txt";
  const std::vector<std::string> mapLines = Lines(map);
  std::vector<std::string>* grid = nullptr;
  for (std::size_t i = 0; i < mapLines.size(); ++i) {
    const std::string& line = mapLines[i];
    if (line.rfind("size ", 0) == 0) {
      std::istringstream in(line.substr(5));
      if (!(in >> width_ >> height_) || width_ <= 0 || height_ <= 0) Refuse(map, i, "size");
      continue;
    }
    if (line == "terrain") grid = &terrain_;
    else if (line == "owner") grid = &owner_;
    else if (grid != nullptr && !line.empty() && line[0] != '#' && static_cast<int>(grid->size()) < height_) {
      if (static_cast<int>(line.size()) != width_) Refuse(map, i, "grid row of another width");
      grid->push_back(line);
    } else if (grid != nullptr && static_cast<int>(grid->size()) == height_) {
      grid = nullptr;
    }
  }
  if (static_cast<int>(terrain_.size()) != height_ || static_cast<int>(owner_.size()) != height_)
    throw std::runtime_error(map.string() + ": terrain or owner grid incomplete");

  const auto units = sources / "units.txt";
  const std::vector<std::string> unitLines = Lines(units);
  for (std::size_t i = 0; i < unitLines.size(); ++i) {
    std::istringstream in(unitLines[i]);
    std::string kind, code;
    int type = 0, level = 0, strength = 0, x = 0, y = 0;
    if (!(in >> kind) || (kind != "land" && kind != "air")) continue;
    if (!(in >> code >> type >> level >> strength >> x >> y)) Refuse(units, i, "unit line");
    occupied_.insert({x, y});
  }

  const auto nodes = scenario / "sea_nodes.csv";
  const std::vector<std::string> nodeLines = Lines(nodes);
  for (std::size_t i = 0; i < nodeLines.size(); ++i) {
    if (nodeLines[i].empty() || nodeLines[i][0] == '#') continue;
    std::istringstream in(nodeLines[i]);
    std::string id, name;
    if (!std::getline(in, id, ';') || !std::getline(in, name, ';')) Refuse(nodes, i, "sea node line");
    seaNodes_[name] = std::stoi(id);
  }
}

int ScenarioGeo::Country(const std::string& code) const {
  for (std::size_t i = 0; i < codes_.size(); ++i)
    if (codes_[i] == code) return static_cast<int>(i) + 1;
  throw std::runtime_error("no country " + code);
}

Hex ScenarioGeo::City(const std::string& name) const {
  const auto found = cities_.find(name);
  if (found == cities_.end()) throw std::runtime_error("no city " + name);
  return found->second;
}

int ScenarioGeo::SeaNode(const std::string& name) const {
  const auto found = seaNodes_.find(name);
  if (found == seaNodes_.end()) throw std::runtime_error("no sea node " + name);
  return found->second;
}

bool ScenarioGeo::IsLand(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return terrain_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] != '~';
}

bool ScenarioGeo::OccupiedAtStart(int x, int y) const { return occupied_.count({x, y}) != 0; }

int ScenarioGeo::OwnerIn1939(int x, int y) const {
  if (!IsLand(x, y)) return 0;
  const auto found = letters_.find(owner_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
  return found == letters_.end() ? 0 : found->second;
}

std::vector<Stripe> ScenarioGeo::Region(const std::string& code, const std::function<bool(int, int)>& inside) const {
  const int country = Country(code);
  std::vector<Stripe> stripes;
  for (int x = 0; x < width_; ++x) {
    for (int y = 0; y < height_; ++y) {
      if (OwnerIn1939(x, y) != country || !inside(x, y)) continue;
      if (!stripes.empty() && stripes.back().x == x && stripes.back().y0 + stripes.back().count == y) {
        ++stripes.back().count;
      } else {
        stripes.push_back(Stripe{x, y, 1});
      }
    }
  }
  return stripes;
}

}  // namespace evscript
