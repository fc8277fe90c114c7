#include "rules/event_queries.h"

#include "world/event_records.h"

// Interim: the query methods are not read yet; a constant is its value and
// a method answers 0.
double EvaluateOperand(cWorld&, const sEventOperand& operand, int) {
  return IsEventParamDefined(operand.constValue) ? operand.constValue : 0.0;
}
