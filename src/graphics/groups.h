#pragma once
// Groups, rotated characters, buttons and embedded items.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "text/text_obj.h"
#include "model/pending_record.h"

class CGroupObj : public CBasicObj {
    MIREL_DECLARE_CLASS(CGroupObj)
public:
    MIREL_PENDING_RECORD(CGroupObj)
};

class CRotateChar : public CBasicObj {
    MIREL_DECLARE_CLASS(CRotateChar)
public:
    MIREL_PENDING_RECORD(CRotateChar)
};

class TButton : public CTextObj {
    MIREL_DECLARE_CLASS(TButton)
public:
    MIREL_PENDING_RECORD(TButton)
    bool IsButton() const override { return true; }
};

class CDrawObj : public CTextObj {
    MIREL_DECLARE_CLASS(CDrawObj)
public:
    MIREL_PENDING_RECORD(CDrawObj)
};

class COleObj : public CBasicObj {
    MIREL_DECLARE_CLASS(COleObj)
public:
    MIREL_PENDING_RECORD(COleObj)
};

class COleItem : public mirel::CMirelObject {
    MIREL_DECLARE_CLASS(COleItem)
public:
    MIREL_PENDING_RECORD(COleItem)
};
