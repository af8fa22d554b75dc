#pragma once
// Text frames, headers and footers, single-row and rotated rows.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "text/text_obj.h"
#include "model/pending_record.h"

class CTextFrame : public CTextObj {
    MIREL_DECLARE_CLASS(CTextFrame)
public:
    MIREL_PENDING_RECORD(CTextFrame)
};

class CPageHeadFoot : public CTextFrame {
    MIREL_DECLARE_CLASS(CPageHeadFoot)
public:
    MIREL_PENDING_RECORD(CPageHeadFoot)
    int GetHandleCount() const override { return 0; }
};

class CSingleRowText : public CTextFrame {
    MIREL_DECLARE_CLASS(CSingleRowText)
public:
    MIREL_PENDING_RECORD(CSingleRowText)
};

class CRotateRow : public CSingleRowText {
    MIREL_DECLARE_CLASS(CRotateRow)
public:
    MIREL_PENDING_RECORD(CRotateRow)
};
