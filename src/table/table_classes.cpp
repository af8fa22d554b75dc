#include "table/table_classes.h"

MIREL_IMPLEMENT_CLASS(CTableFrame, &CBasicObj::kClass, 2003)
MIREL_IMPLEMENT_CLASS(CTableRC, &CBasicObj::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CTableCell, &CTextObj::kClass, 2003)
