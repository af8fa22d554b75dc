#include "table/cell_attributes.h"

MIREL_IMPLEMENT_CLASS(CCell_Attrib, nullptr, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Amount, &CCell_Attrib::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Money, &CCell_Attrib::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Percent, &CCell_Attrib::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Accountant, &CCell_Attrib::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Special, &CCell_Attrib::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CAttrib_Text, &CCell_Attrib::kClass, 2000)
