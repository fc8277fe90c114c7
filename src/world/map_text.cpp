#include "world/map_text.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "platform/lines.h"
#include "world/map.h"

namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool Number(std::string_view word, int& value) {
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

int TerrainOfLetter(char c) {
  switch (c) {
    case '~': return kTerrainWater;
    case 'p': return kTerrainPlain;
    case 'f': return kTerrainForest;
    case 'r': return kTerrainRough;
    case 's': return kTerrainSwamp;
    case 'h': return kTerrainHill;
    case 'm': return kTerrainMountain;
    case 'd': return kTerrainDesert;
    default: return -1;
  }
}

class Parser {
 public:
  Parser(std::string_view text, cMap& map) : lines_(text), map_(map) {}

  bool Run(std::string& error) {
    std::string_view line;
    while (NextLine(line)) {
      const auto w = Words(line);
      if (!Command(w)) {
        std::ostringstream s;
        s << "line " << line_ << ": " << error_;
        error = s.str();
        return false;
      }
    }
    if (map_.GetWidth() == 0) {
      error = "no \"size\" line";
      return false;
    }
    return true;
  }

 private:
  bool NextLine(std::string_view& line) {
    while (lines_.Next(line)) {
      line_ = static_cast<int>(lines_.LineNumber());
      const auto w = Words(line);
      if (w.empty() || w[0].front() == '#') continue;
      return true;
    }
    return false;
  }

  bool Fail(const std::string& message) {
    error_ = message;
    return false;
  }

  bool Numbers(const std::vector<std::string_view>& w, std::size_t from, int* out, std::size_t count) {
    if (w.size() != from + count) return Fail("expected " + std::to_string(count) + " numbers");
    for (std::size_t i = 0; i < count; ++i) {
      if (!Number(w[from + i], out[i])) return Fail("not a whole number: " + std::string(w[from + i]));
    }
    return true;
  }

  sHex* Cell(int x, int y) {
    if (!map_.IsInside(x, y)) {
      Fail("cell outside the map");
      return nullptr;
    }
    return &map_.GetHex(x, y);
  }

  bool Byte(int v) {
    if (v < 0 || v > 255) return Fail("value outside 0..255");
    return true;
  }

  bool Command(const std::vector<std::string_view>& w) {
    const std::string_view cmd = w[0];
    if (cmd == "size") {
      int v[2];
      if (!Numbers(w, 1, v, 2)) return false;
      if (v[0] < 1 || v[1] < 1 || v[0] > 32767 || v[1] > 32767) return Fail("size outside 1..32767");
      if (map_.GetWidth() != 0) return Fail("second \"size\" line");
      map_.SetWidth(v[0]);
      map_.SetHeight(v[1]);
      map_.CreateHexes();
      return true;
    }
    if (map_.GetWidth() == 0) return Fail("\"size\" must come first");
    if (cmd == "terrain") return TerrainGrid();
    if (cmd == "owner" || cmd == "controller" || cmd == "original" || cmd == "seazone" || cmd == "variant") {
      return NumberGrid(cmd);
    }
    if (cmd == "coastal" && w.size() == 2 && w[1] == "auto") {
      for (sHex& h : map_.Hexes()) {
        if (!h.IsLand()) continue;
        for (int d = 0; d < 6; ++d) {
          const sHex* n = map_.GetNeighbour(h.x, h.y, d);
          if (n && n->IsWater()) h.coastal = 1;
        }
      }
      return true;
    }
    if (cmd == "noweather") {
      int v[2];
      if (!Numbers(w, 1, v, 2)) return false;
      sHex* h = Cell(v[0], v[1]);
      if (!h) return false;
      h->hasWeather = 0;
      return true;
    }
    if (cmd == "coastal" || cmd == "river" || cmd == "fort" || cmd == "extra" || cmd == "weather") {
      int v[3];
      if (!Numbers(w, 1, v, 3)) return false;
      sHex* h = Cell(v[0], v[1]);
      if (!h || !Byte(v[2])) return false;
      const auto b = static_cast<std::uint8_t>(v[2]);
      if (cmd == "coastal") h->coastal = b ? 1 : 0;
      if (cmd == "river") {
        if (v[2] > 63) return Fail("river mask outside 0..63");
        h->riverMask = b;
      }
      if (cmd == "fort") h->fortification = b;
      if (cmd == "extra") h->extra = b;
      if (cmd == "weather") h->weather = b;
      return true;
    }
    if (cmd == "mud" || cmd == "winter") {
      int v[16];
      if (!Numbers(w, 1, v, 16)) return false;
      for (int i = 4; i < 16; ++i) {
        if (!Byte(v[i])) return false;
      }
      if (!map_.IsInside(v[0], v[1]) || !map_.IsInside(v[2], v[3]) || v[0] > v[2] || v[1] > v[3]) {
        return Fail("rectangle outside the map");
      }
      for (int y = v[1]; y <= v[3]; ++y) {
        for (int x = v[0]; x <= v[2]; ++x) {
          sHex& h = map_.GetHex(x, y);
          std::uint8_t* chance = cmd == "mud" ? h.mudChance : h.winterChance;
          for (int m = 0; m < 12; ++m) chance[m] = static_cast<std::uint8_t>(v[4 + m]);
        }
      }
      return true;
    }
    return Fail("unknown word: " + std::string(cmd));
  }

  bool TerrainGrid() {
    for (int y = 0; y < map_.GetHeight(); ++y) {
      std::string_view line;
      if (!NextLine(line)) return Fail("terrain: too few rows");
      const auto w = Words(line);
      if (w.size() != 1 || static_cast<int>(w[0].size()) != map_.GetWidth()) {
        return Fail("terrain: a row must be " + std::to_string(map_.GetWidth()) + " letters");
      }
      for (int x = 0; x < map_.GetWidth(); ++x) {
        const int t = TerrainOfLetter(w[0][static_cast<std::size_t>(x)]);
        if (t < 0) return Fail(std::string("terrain: unknown letter ") + w[0][static_cast<std::size_t>(x)]);
        map_.GetHex(x, y).terrain = static_cast<std::uint8_t>(t);
      }
    }
    return true;
  }

  bool NumberGrid(std::string_view what) {
    for (int y = 0; y < map_.GetHeight(); ++y) {
      std::string_view line;
      if (!NextLine(line)) return Fail(std::string(what) + ": too few rows");
      const auto w = Words(line);
      if (static_cast<int>(w.size()) != map_.GetWidth()) {
        return Fail(std::string(what) + ": a row must be " + std::to_string(map_.GetWidth()) + " numbers");
      }
      for (int x = 0; x < map_.GetWidth(); ++x) {
        int v = 0;
        if (!Number(w[static_cast<std::size_t>(x)], v)) return Fail("not a whole number");
        sHex& h = map_.GetHex(x, y);
        if (what == "seazone") {
          if (v < 0 || v > 65535) return Fail("sea zone outside 0..65535");
          h.seaZone = static_cast<std::uint16_t>(v);
          continue;
        }
        if (!Byte(v)) return false;
        const auto b = static_cast<std::uint8_t>(v);
        if (what == "owner") h.owner = h.controller = h.originalOwner = b;
        if (what == "controller") h.controller = b;
        if (what == "original") h.originalOwner = b;
        if (what == "variant") h.tileVariant = b;
      }
    }
    return true;
  }

  plat::LineReader lines_;
  cMap& map_;
  int line_ = 0;
  std::string error_;
};

}  // namespace

bool BuildMapFromText(std::string_view text, cMap& map, std::string& error) {
  return Parser(text, map).Run(error);
}
