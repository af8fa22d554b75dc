#include "text/text_frame.h"

MIREL_IMPLEMENT_CLASS(CTextFrame, &CTextObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(CPageHeadFoot, &CTextFrame::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CSingleRowText, &CTextFrame::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CRotateRow, &CSingleRowText::kClass, 2000)
