// Whole-map passes that complete the cells after loading.
#include <stdexcept>

#include "app/console_log.h"
#include "platform/message_box.h"
#include "world/world.h"
#include "world/map.h"

void cMap::AddRiverMouths() {
  for (int x = 0; x < width_; ++x) {
    for (int y = 0; y < height_; ++y) {
      bool river[6];
      GetHex(x, y).ZwrocWektorRzek(river);
      for (int s = 0; s < 6; ++s) {
        if (!river[s]) continue;
        // The river's side s ends at its two corners; a water hex on either
        // corner gets the mouth drawn on the side it shares with the river.
        if (sHex* n = GetNeighbour(x, y, (s + 5) % 6); n && n->IsWater()) {
          n->riverMask = static_cast<std::uint8_t>(n->riverMask | (1u << s) | kRiverMouthBit);
        }
        if (sHex* n = GetNeighbour(x, y, (s + 1) % 6); n && n->IsWater()) {
          n->riverMask = static_cast<std::uint8_t>(n->riverMask | (1u << ((s + 3) % 6)) | kRiverMouthBit);
        }
      }
    }
  }
}

void cMap::CreateFrontMarks() {
  if (width_ == 0 || height_ == 0) throw std::runtime_error("Error, map can't have width nor heigth = 0");
  front_marks_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

void cMap::AssignCoastalSeaZones() {
  for (sHex& h : hexes_) {
    if (!h.IsLand()) continue;
    for (int dir = 0; dir < 6; ++dir) {
      const sHex* n = GetNeighbour(h.x, h.y, dir);
      if (n && n->IsWater() && n->seaZone != 0) h.seaZone = n->seaZone;
    }
  }
}

void cMap::RefreshBorderFlags(const cWorld& world) {
  RefreshBorderFlags([&world](int seaZone) { return world.GetSeaNodeKind(seaZone); });
}

void cMap::RefreshBorderFlags(const SeaNodeLookup& seaNodeKind) {
  static constexpr std::uint16_t kSeaBits[4] = {0, kSeaBorderSide1, kSeaBorderSide2, kSeaBorderSide3};
  for (sHex& h : hexes_) {
    h.UpdateBorderFlags(*this);
    if (h.IsLand()) continue;
    if (seaNodeKind(h.seaZone) == eSeaNodeKind::kPort) continue;
    for (int side = 1; side <= 3; ++side) {
      const sHex* n = GetNeighbour(h.x, h.y, side);
      if (!n) continue;
      if (n->IsWater() && n->seaZone != h.seaZone && seaNodeKind(n->seaZone) == eSeaNodeKind::kOpenSea) {
        h.borderFlags |= kSeaBits[side];
      } else {
        h.borderFlags &= static_cast<std::uint16_t>(~kSeaBits[side]);
      }
    }
  }
}

bool ValidateHexOwnership(const cMap& map, int countryCount) {
  bool logged = false;
  auto bad = [countryCount](int id) { return id < 1 || id > countryCount; };
  for (int x = 0; x < map.GetWidth(); ++x) {
    for (int y = 0; y < map.GetHeight(); ++y) {
      const sHex& h = map.GetHex(x, y);
      if (!h.IsLand()) continue;
      if (bad(h.controller)) {
        LogLine(L"ERR: Hex (%d, %d) ma nieprawidlowego posiadacza (%d)", x, y, h.controller);
        logged = true;
      }
      if (bad(h.owner)) {
        LogLine(L"ERR: Hex (%d, %d) ma nieprawidlowego wlasciciela (%d)", x, y, h.owner);
        logged = true;
      }
      if (bad(h.originalOwner)) {
        LogLine(L"ERR: Hex (%d, %d) ma nieprawidlowego wlasciciela pierwotnego (%d)", x, y, h.originalOwner);
        logged = true;
      }
    }
  }
  // Loading goes on either way; the box only points the player at the log.
  if (logged) {
    plat::ShowMessageBox(L"Invalid ctr ids on hexes", L"Logged invalid controllers/owners/orig owners of hexes");
  }
  return logged;
}
