#include "rules/convoys.h"

// Interim: convoys do not sail yet.
void ExecuteConvoys(cWorld&) {}
