#include "graphics/charts.h"

MIREL_IMPLEMENT_CLASS(CTableChart, &CFilledObj::kClass, 2002)
MIREL_IMPLEMENT_CLASS(CAxis, &CBasicObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(CPieCell, &CBasicObj::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CPieChart, &CBasicObj::kClass, 2001)
