#include "scenario_sources.h"

#include <charconv>
#include <set>
#include <sstream>

namespace scen {

namespace {

// Lines without their line end; "#" starts a comment line.
class Lines {
 public:
  explicit Lines(const std::string& text) : text_(text) {}
  bool Next(std::string& line) {
    while (pos_ < text_.size()) {
      std::size_t end = text_.find('\n', pos_);
      if (end == std::string::npos) end = text_.size();
      line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      ++number_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t first = line.find_first_not_of(" \t");
      if (first == std::string::npos || line[first] == '#') continue;
      return true;
    }
    return false;
  }
  int Number() const { return number_; }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

std::string Trimmed(const std::string& s) {
  const std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  const std::size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

// The words from index from on, joined by single blanks.
std::string Rest(const std::vector<std::string>& w, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < w.size(); ++i) {
    if (!s.empty()) s += ' ';
    s += w[i];
  }
  return s;
}

bool Int(const std::string& s, int& v) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

bool Real(const std::string& s, double& v) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

bool Fail(std::string& error, int line, const std::string& message) {
  error = "line " + std::to_string(line) + ": " + message;
  return false;
}

// "x,y"
bool Pos(const std::string& s, sHexPos& p) {
  const std::size_t comma = s.find(',');
  return comma != std::string::npos && Int(s.substr(0, comma), p.x) && Int(s.substr(comma + 1), p.y);
}

// Splits at '|' into trimmed parts.
std::vector<std::string> Bars(const std::string& s) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = s.find('|', start);
    parts.push_back(Trimmed(s.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return parts;
}

}  // namespace

bool ParseMap(const std::string& text, sMapSource& out, std::string& error) {
  out = sMapSource{};
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] == "size") {
      if (w.size() != 3 || !Int(w[1], out.width) || !Int(w[2], out.height) || out.width < 1 || out.height < 1 ||
          out.width > 1000 || out.height > 1000) {
        return Fail(error, lines.Number(), "size needs a width and a height of 1 to 1000");
      }
      continue;
    }
    if (out.width == 0) return Fail(error, lines.Number(), "\"size\" must come first");
    if (w[0] == "terrain" || w[0] == "owner" || w[0] == "seazone") {
      std::vector<std::string>& grid = w[0] == "terrain" ? out.terrain : w[0] == "owner" ? out.owner : out.seazone;
      if (!grid.empty()) return Fail(error, lines.Number(), "second \"" + w[0] + "\" grid");
      for (int y = 0; y < out.height; ++y) {
        if (!lines.Next(line)) return Fail(error, lines.Number(), w[0] + ": too few rows");
        const std::string row = Trimmed(line);
        if (static_cast<int>(row.size()) != out.width) {
          return Fail(error, lines.Number(), w[0] + ": a row must be " + std::to_string(out.width) + " characters");
        }
        grid.push_back(row);
      }
      continue;
    }
    if (w[0] == "river") {
      if (w.size() < 4) return Fail(error, lines.Number(), "a river needs a name and at least two hexes");
      sRiver river;
      river.name = w[1];
      for (std::size_t i = 2; i < w.size(); ++i) {
        sHexPos p;
        if (!Pos(w[i], p) || p.x < 0 || p.y < 0 || p.x >= out.width || p.y >= out.height) {
          return Fail(error, lines.Number(), "river " + river.name + ": bad hex " + w[i]);
        }
        if (!river.hexes.empty() && SideTowards(river.hexes.back(), p) < 0) {
          return Fail(error, lines.Number(), "river " + river.name + ": " + w[i] + " is not next to the hex before it");
        }
        river.hexes.push_back(p);
      }
      out.rivers.push_back(river);
      continue;
    }
    if (w[0] == "fort") {
      const std::size_t colon = line.find(':');
      sFortLine fort;
      if (w.size() < 4 || colon == std::string::npos || !Int(w[1], fort.level) || fort.level < 1 || fort.level > 5) {
        return Fail(error, lines.Number(), "expected: fort <level 1-5> <name>: x,y ...");
      }
      fort.name = Trimmed(line.substr(line.find(w[1]) + w[1].size(), colon - line.find(w[1]) - w[1].size()));
      for (const std::string& word : Words(line.substr(colon + 1))) {
        sHexPos p;
        if (!Pos(word, p) || p.x < 0 || p.y < 0 || p.x >= out.width || p.y >= out.height) {
          return Fail(error, lines.Number(), fort.name + ": bad hex " + word);
        }
        fort.hexes.push_back(p);
      }
      if (fort.hexes.empty()) return Fail(error, lines.Number(), fort.name + ": no hexes");
      out.forts.push_back(fort);
      continue;
    }
    return Fail(error, lines.Number(), "unknown word " + w[0]);
  }
  if (out.terrain.empty() || out.owner.empty() || out.seazone.empty()) {
    error = "the terrain, owner and seazone grids are all needed";
    return false;
  }
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const bool water = out.terrain[y][x] == '~';
      if (water != (out.owner[y][x] == '.') || water == (out.seazone[y][x] == '.')) {
        error = "hex " + std::to_string(x) + "," + std::to_string(y) +
                ": water must have a sea zone and no owner, land an owner and no sea zone";
        return false;
      }
      if (std::string("~pfrshmd").find(out.terrain[y][x]) == std::string::npos) {
        error = "hex " + std::to_string(x) + "," + std::to_string(y) + ": unknown terrain letter";
        return false;
      }
    }
  }
  for (const sFortLine& fort : out.forts) {
    for (const sHexPos& p : fort.hexes) {
      if (out.terrain[p.y][p.x] == '~') {
        error = fort.name + ": a fort on the water at " + std::to_string(p.x) + "," + std::to_string(p.y);
        return false;
      }
    }
  }
  return true;
}

bool ParseCountries(const std::string& text, std::vector<sCountrySource>& out, std::string& error) {
  out.clear();
  Lines lines(text);
  std::string line;
  std::set<char> letters;
  std::set<std::string> codes;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] == "war") continue;  // read by ParseWars
    if (w[0] != "country" || w.size() < 16) {
      return Fail(error, lines.Number(),
                  "expected: country letter code alliance orientation zone entry strength "
                  "power region colour pp dp techs flag name");
    }
    sCountrySource c;
    if (w[1].size() != 1 || w[1][0] == '.' || w[1][0] == '~') return Fail(error, lines.Number(), "bad letter");
    c.letter = w[1][0];
    c.code = w[2];
    int* ints[] = {&c.alliance, &c.orientation, &c.zone, &c.entry, &c.strength, &c.power, &c.region};
    for (int i = 0; i < 7; ++i) {
      if (!Int(w[3 + i], *ints[i])) return Fail(error, lines.Number(), "not a whole number: " + w[3 + i]);
    }
    if (c.alliance < 0 || c.alliance > 6) return Fail(error, lines.Number(), "alliance outside 0..6");
    unsigned long colour = 0;
    try {
      std::size_t used = 0;
      colour = std::stoul(w[10], &used, 16);
      if (used != w[10].size() || w[10].size() != 6) throw std::invalid_argument("colour");
    } catch (const std::exception&) {
      return Fail(error, lines.Number(), "colour must be six hex digits RRGGBB");
    }
    c.colour = 0xFF000000u | static_cast<std::uint32_t>(colour);
    if (!Int(w[11], c.productionPoints) || !Int(w[12], c.diplomaticPoints)) {
      return Fail(error, lines.Number(), "points must be whole numbers");
    }
    std::istringstream techs(w[13]);
    std::string t;
    int n = 0;
    while (std::getline(techs, t, ',')) {
      if (n >= 7 || !Int(t, c.tech[static_cast<std::size_t>(n)])) {
        return Fail(error, lines.Number(), "seven technology levels a,b,c,... are needed");
      }
      ++n;
    }
    if (n != 7) return Fail(error, lines.Number(), "seven technology levels a,b,c,... are needed");
    c.flag = w[14];
    c.name = Rest(w, 15);
    if (c.letter != '-' && !letters.insert(c.letter).second) return Fail(error, lines.Number(), "letter used twice");
    if (!codes.insert(c.code).second) return Fail(error, lines.Number(), "code used twice");
    out.push_back(c);
  }
  if (out.empty()) {
    error = "no countries";
    return false;
  }
  return true;
}

bool ParseWars(const std::string& text, std::vector<std::pair<std::string, std::string>>& out, std::string& error) {
  out.clear();
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] != "war") continue;
    if (w.size() != 3 || w[1] == w[2]) return Fail(error, lines.Number(), "expected: war <code> <code>");
    out.emplace_back(w[1], w[2]);
  }
  return true;
}

bool ParseCities(const std::string& text, std::vector<sCitySource>& out, std::string& error) {
  out.clear();
  Lines lines(text);
  std::string line;
  std::set<std::string> names;
  while (lines.Next(line)) {
    const auto w = Words(line);
    sCitySource c;
    if (w.size() < 7 || !Int(w[1], c.pos.x) || !Int(w[2], c.pos.y) || !Int(w[3], c.type) ||
        !Int(w[4], c.victoryPoints) || !Int(w[5], c.productionPoints)) {
      return Fail(error, lines.Number(), "expected: country x y type vp pp name");
    }
    if (c.type < 0 || c.type > 4) return Fail(error, lines.Number(), "city type outside 0..4");
    c.code = w[0];
    c.name = Rest(w, 6);
    if (c.name.find(';') != std::string::npos) return Fail(error, lines.Number(), "a name must not hold ';'");
    if (!names.insert(c.name).second) return Fail(error, lines.Number(), "city name used twice: " + c.name);
    out.push_back(c);
  }
  return true;
}

bool ParseUnits(const std::string& text, sUnitsSource& out, std::string& error) {
  out = sUnitsSource{};
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] == "land" || w[0] == "air") {
      sLandSource u;
      u.air = w[0] == "air";
      if (w.size() < 8 || !Int(w[2], u.type) || !Int(w[3], u.level) || !Int(w[4], u.strength) || !Int(w[5], u.pos.x) ||
          !Int(w[6], u.pos.y)) {
        return Fail(error, lines.Number(), "expected: " + w[0] + " country type level strength x y name");
      }
      const bool typeOk = u.air ? (u.type >= 20 && u.type <= 22) : (u.type >= 0 && u.type <= 6);
      if (!typeOk) return Fail(error, lines.Number(), "unit type outside its range");
      if (u.level < 1 || u.level > 5 || u.strength < 1 || u.strength > 100) {
        return Fail(error, lines.Number(), "level 1-5 and strength 1-100");
      }
      u.code = w[1];
      u.name = Rest(w, 7);
      out.units.push_back(u);
    } else if (w[0] == "fleet" || w[0] == "raiders") {
      const std::size_t semi = line.find(';');
      const std::string expected = "expected: " + w[0] + " country port city; name";
      if (semi == std::string::npos || w.size() < 4) return Fail(error, lines.Number(), expected);
      const auto head = Words(line.substr(0, semi));
      if (head.size() < 3) return Fail(error, lines.Number(), expected);
      sFleetSource f;
      f.raiders = w[0] == "raiders";
      f.code = head[1];
      f.port = Rest(head, 2);
      f.name = Trimmed(line.substr(semi + 1));
      if (f.name.empty()) return Fail(error, lines.Number(), "a fleet needs a name");
      out.fleets.push_back(f);
    } else if (w[0] == "ship") {
      sShipSource s;
      if (w.size() < 4 || !Int(w[2], s.type) || s.type < 40 || s.type > 45) {
        return Fail(error, lines.Number(), "expected: ship country type(40-45) name");
      }
      if (out.fleets.empty()) return Fail(error, lines.Number(), "a ship before any fleet");
      s.code = w[1];
      s.name = Rest(w, 3);
      if (s.code != out.fleets.back().code)
        return Fail(error, lines.Number(), "a ship of another country than its fleet");
      out.fleets.back().ships.push_back(s);
    } else if (w[0] == "commander") {
      sCommanderSource c;
      if (w.size() < 6 || !Int(w[2], c.kind) || !Int(w[3], c.skill) || !Int(w[4], c.experience) || c.kind < 0 ||
          c.kind > 2) {
        return Fail(error, lines.Number(), "expected: commander country kind skill experience name | unit");
      }
      c.code = w[1];
      const auto parts = Bars(Rest(w, 5));
      c.name = parts[0];
      if (parts.size() > 1 && parts[1] != "-") c.unit = parts[1];
      out.commanders.push_back(c);
    } else {
      return Fail(error, lines.Number(), "unknown word " + w[0]);
    }
  }
  return true;
}

bool ParseSea(const std::string& text, sSeaSource& out, std::string& error) {
  out = sSeaSource{};
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] == "zone") {
      sZoneSource z;
      if (w.size() < 5 || w[1].size() != 1 || !Int(w[2], z.anchor.x) || !Int(w[3], z.anchor.y)) {
        return Fail(error, lines.Number(), "expected: zone letter x y name");
      }
      z.letter = w[1][0];
      z.name = Rest(w, 4);
      for (const sZoneSource& other : out.zones) {
        if (other.letter == z.letter || other.name == z.name) return Fail(error, lines.Number(), "zone given twice");
      }
      out.zones.push_back(z);
    } else if (w[0] == "link") {
      const auto parts = Bars(Rest(w, 1));
      if (parts.size() < 2 || parts.size() > 3 || parts[0].empty() || parts[1].empty()) {
        return Fail(error, lines.Number(), "expected: link zone | zone [| strait city]");
      }
      out.links.push_back({parts[0], parts[1], parts.size() == 3 ? parts[2] : std::string()});
    } else {
      return Fail(error, lines.Number(), "unknown word " + w[0]);
    }
  }
  return true;
}

bool ParseLandLinks(const std::string& text, std::vector<sLandLinkSource>& out, std::string& error) {
  out.clear();
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] != "road" && w[0] != "ferry") return Fail(error, lines.Number(), "expected: road|ferry city | city");
    const auto parts = Bars(Rest(w, 1));
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty() || parts[0] == parts[1]) {
      return Fail(error, lines.Number(), "a link joins two different cities: city | city");
    }
    out.push_back({parts[0], parts[1], w[0] == "road" ? 0 : 1});
  }
  return true;
}

bool ParseConsts(const std::string& text, ConstsSource& out, std::string& error) {
  out.clear();
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    int number = 0;
    if (w.size() < 3 || !Int(w[0], number)) return Fail(error, lines.Number(), "expected: line name values...");
    if (number < 1 || number > 184) return Fail(error, lines.Number(), "data line outside 1..184");
    if (out.count(number)) return Fail(error, lines.Number(), "data line given twice");
    std::vector<double> values;
    for (std::size_t i = 2; i < w.size(); ++i) {
      double v = 0;
      if (!Real(w[i], v)) return Fail(error, lines.Number(), "not a number: " + w[i]);
      values.push_back(v);
    }
    out[number] = values;
  }
  return true;
}

bool ParseAiOrders(const std::string& text, sAiOrdersSource& out, std::string& error) {
  out = sAiOrdersSource{};
  Lines lines(text);
  std::string line;
  while (lines.Next(line)) {
    const auto w = Words(line);
    if (w[0] == "target" || w[0] == "patrol") {
      int number = 0;
      if (w.size() < 4 || !Int(w[2], number)) {
        return Fail(error, lines.Number(), "expected: " + w[0] + " code number name");
      }
      if (w[0] == "target") {
        if (number != -1 && number <= 0) return Fail(error, lines.Number(), "a target's strength is -1 or above 0");
        out.targets.push_back({w[1], number, Rest(w, 3)});
      } else {
        if (number <= 0) return Fail(error, lines.Number(), "a patrol's value is above 0");
        out.patrols.push_back({w[1], number, Rest(w, 3)});
      }
    } else if (w[0] == "attack") {
      sAiAttackSource attack;
      attack.code = w.size() == 6 ? w[1] : "";
      bool ok = w.size() == 6;
      for (std::size_t i = 0; ok && i < 3; ++i) ok = Int(w[i + 2], attack.multipleSide[i]);
      ok = ok && Int(w[5], attack.oneSide);
      if (!ok) return Fail(error, lines.Number(), "expected: attack code column column strikes column");
      if (attack.multipleSide[0] < 1 || attack.multipleSide[0] > 7 || attack.multipleSide[1] < 1 ||
          attack.multipleSide[1] > 7 || attack.multipleSide[2] < 0 || attack.oneSide < 1 || attack.oneSide > 7) {
        return Fail(error, lines.Number(), "an attack's columns are 1 to 7, its strikes 0 or more");
      }
      out.attacks.push_back(attack);
    } else if (w[0] == "press") {
      if (w.size() < 3) return Fail(error, lines.Number(), "expected: press code code...");
      out.presses.push_back({w[1], std::vector<std::string>(w.begin() + 2, w.end())});
    } else {
      return Fail(error, lines.Number(), "unknown word " + w[0]);
    }
  }
  return true;
}

sHexPos Neighbour(sHexPos p, int dir) {
  static constexpr int kStepX[6] = {0, 1, 1, 0, -1, -1};
  static constexpr int kStepYEven[6] = {-1, 0, 1, 1, 1, 0};
  static constexpr int kStepYOdd[6] = {-1, -1, 0, 1, 0, -1};
  const bool odd = p.x % 2 != 0;
  return {p.x + kStepX[dir], p.y + (odd ? kStepYOdd[dir] : kStepYEven[dir])};
}

int SideTowards(sHexPos a, sHexPos b) {
  for (int d = 0; d < 6; ++d) {
    if (Neighbour(a, d) == b) return d;
  }
  return -1;
}

std::vector<sHexPos> SmoothChain(std::vector<sHexPos> chain) {
  bool changed = true;
  while (changed) {
    changed = false;
    for (std::size_t i = 1; i + 1 < chain.size(); ++i) {
      if (chain[i - 1] == chain[i + 1]) {  // there and back again
        chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(i), chain.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        changed = true;
        break;
      }
      if (SideTowards(chain[i - 1], chain[i + 1]) >= 0) {  // a corner that can be cut
        chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(i));
        changed = true;
        break;
      }
    }
  }
  return chain;
}

std::vector<std::pair<sHexPos, int>> RiverSides(const std::vector<sHexPos>& rawChain) {
  const std::vector<sHexPos> chain = SmoothChain(rawChain);
  std::vector<std::pair<sHexPos, int>> sides;
  std::set<std::pair<sHexPos, int>> seen;
  auto add = [&](sHexPos h, int side) {
    side = ((side % 6) + 6) % 6;
    // One edge has two names; both are checked before it is listed.
    const std::pair<sHexPos, int> other{Neighbour(h, side), (side + 3) % 6};
    if (seen.count({h, side}) || seen.count(other)) return;
    seen.insert({h, side});
    sides.push_back({h, side});
  };
  int previous = -1;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const int d = SideTowards(chain[i], chain[i + 1]);
    if (d < 0) continue;
    if (previous >= 0) {
      // Around the right side of this hex from where the last step left the
      // river to where this step takes it up (at most two sides).
      int k = (previous + 2) % 6;
      for (int steps = 0; steps < 2 && k != (d + 1) % 6; ++steps) {
        k = (k + 5) % 6;
        if (k != (d + 1) % 6) add(chain[i], k);
      }
    }
    add(chain[i], d + 1);
    add(chain[i + 1], d + 2);
    previous = d;
  }
  return sides;
}

}  // namespace scen
