#include "graphics/groups.h"

MIREL_IMPLEMENT_CLASS(CGroupObj, &CBasicObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CRotateChar, &CBasicObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(TButton, &CTextObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CDrawObj, &CTextObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(COleObj, &CBasicObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(COleItem, nullptr, 2000)
