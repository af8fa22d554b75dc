#pragma once
// Pictures and their containers.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "model/basic_obj.h"
#include "model/pending_record.h"

class CImage : public CBasicObj {
    MIREL_DECLARE_CLASS(CImage)
public:
    MIREL_PENDING_RECORD(CImage)
    // True when the picture is shown tiled or stretched over the whole page.
    virtual bool CoversPage() const { return false; }
};

class CFrameImage : public CImage {
    MIREL_DECLARE_CLASS(CFrameImage)
public:
    MIREL_PENDING_RECORD(CFrameImage)
};

class CWMFFrame : public CBasicObj {
    MIREL_DECLARE_CLASS(CWMFFrame)
public:
    MIREL_PENDING_RECORD(CWMFFrame)
};

class CDibmap : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CDibmap)
public:
    MIREL_PENDING_RECORD(CDibmap)
};

class CMetaFile : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(CMetaFile)
public:
    MIREL_PENDING_RECORD(CMetaFile)
};
