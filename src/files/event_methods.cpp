#include "files/event_methods.h"

// Interim: the method tables are filled by the event loader's work.
const std::vector<sEventMethod>& EventQueryMethods() {
  static const std::vector<sEventMethod> methods;
  return methods;
}

const std::vector<sEventMethod>& EventEffectMethods() {
  static const std::vector<sEventMethod> methods;
  return methods;
}
