#include "table/expression.h"

MIREL_IMPLEMENT_CLASS(CExpression, nullptr, 2000)
