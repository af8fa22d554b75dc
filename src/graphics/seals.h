#pragma once
// Round and square seals.
// Registered with their places in the class hierarchy; their records come
// later (see docs/pending-records.md).

#include "text/text_frame.h"
#include "model/pending_record.h"

class CSeal : public CBasicObj {
    MIREL_DECLARE_CLASS(CSeal)
public:
    MIREL_PENDING_RECORD(CSeal)
};

class CRectSeal : public CTextFrame {
    MIREL_DECLARE_CLASS(CRectSeal)
public:
    MIREL_PENDING_RECORD(CRectSeal)
};
