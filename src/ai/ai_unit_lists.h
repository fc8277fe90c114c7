// The computer opponent's picture of the forces on the map: every land and
// air unit sorted into its own, its allies', its enemies' and the others',
// and its own ships. The lists point into the world's unit lists without
// owning anything; a step that kills or moves units builds them again (or
// drops the dead with DropDeadUnits) before they are read once more.
#pragma once

#include <vector>

class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;
class cWorld;

namespace ai {

struct sAiUnitLists {
  std::vector<cJednostkaLadowa*> ownLand;  // strongest first
  std::vector<cJednostkaLadowa*> alliedLand;
  std::vector<cJednostkaLadowa*> enemyLand;
  std::vector<cJednostkaLadowa*> otherLand;
  std::vector<cJednostkaLotnicza*> ownAir;
  std::vector<cJednostkaLotnicza*> alliedAir;
  std::vector<cJednostkaLotnicza*> enemyAir;
  std::vector<cJednostkaLotnicza*> otherAir;
  std::vector<cJednostkaMorska*> ownNaval;

  void Clear();
};

// Fills the nine lists from the world's lists in their order: land units
// aboard a ship are left out; a unit of the country is its own, else of an
// ally allied, else of a country at war with it enemy, else other; ships of
// the country only. Own land units end sorted strongest first.
void BuildUnitLists(cWorld& world, const cCountry& country, sAiUnitLists& lists);

// Strongest effective combat strength first; equal units keep their order.
bool CompareUnitsByStrength(cJednostkaLadowa* a, cJednostkaLadowa* b);
void SortUnitsByStrength(std::vector<cJednostkaLadowa*>& units);

// Removes every unit that is no longer in the world's lists (killed since
// the lists were built), ships included. Returns the number removed.
int DropDeadUnits(const cWorld& world, sAiUnitLists& lists);

}  // namespace ai
