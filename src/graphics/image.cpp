#include "graphics/image.h"

MIREL_IMPLEMENT_CLASS(CImage, &CBasicObj::kClass, 2000)
MIREL_IMPLEMENT_CLASS(CFrameImage, &CImage::kClass, 2004)
MIREL_IMPLEMENT_CLASS(CWMFFrame, &CBasicObj::kClass, 2001)
MIREL_IMPLEMENT_CLASS(CDibmap, nullptr, 2000)
MIREL_IMPLEMENT_CLASS(CMetaFile, nullptr, 2000)
