#include "graphics/shapes.h"

MIREL_IMPLEMENT_CLASS(CLine, &CBasicObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(CArrowLine, &CLine::kClass, 2001)
MIREL_IMPLEMENT_CLASS(CPolyLine, &CFilledObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CDrawRect, &CFilledObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CRectangle, &CFilledObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CDataRectangle, &CRectangle::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CCircle, &CFilledObj::kClass, 2003)
MIREL_IMPLEMENT_CLASS(COutCirPoly, &CFilledObj::kClass, 2002)
