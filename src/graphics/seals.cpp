#include "graphics/seals.h"

MIREL_IMPLEMENT_CLASS(CSeal, &CBasicObj::kClass, 2004)
MIREL_IMPLEMENT_CLASS(CRectSeal, &CTextFrame::kClass, 2002)
