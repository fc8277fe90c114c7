// A commander: leads the unit he is attached to, and the units of his
// country near it come under his command.
#pragma once

#include <string>

class cUnit;

enum eCommanderState : int {
  kCommanderNotAssigned = 0,
  kCommanderOnHisWay = 1,  // on his way to headquarters
  kCommanderAssigned = 2,
};

class cCommander {
 public:
  int id = 0;
  std::wstring name;
  int countryId = 0;
  int type = 0;  // 0 land, 1 air, 2 naval (compared with a unit's category)
  int skill = 0;
  int experience = 0;
  int state = kCommanderNotAssigned;
  cUnit* ledUnit = nullptr;  // the unit he is attached to; not owned

  // What the death of his unit does to him: on his way to headquarters,
  // leading nothing.
  void ReleaseFromUnit() {
    state = kCommanderOnHisWay;
    ledUnit = nullptr;
  }
};
