#include "text/emend.h"

MIREL_IMPLEMENT_CLASS(CEmend, nullptr, 1)
MIREL_IMPLEMENT_CLASS(CEmendInfo, nullptr, 2)
